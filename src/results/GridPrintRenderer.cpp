#include "results/GridPrintRenderer.h"

#include <algorithm>
#include <cmath>

#include <QFontMetrics>
#include <QPagedPaintDevice>
#include <QPainter>

#include "framework/GridCellDelegate.h"
#include "framework/ShortenText.h"
#include "results/GridModel.h"

GridPrintRenderer::GridPrintRenderer(const GridModel &model, std::vector<int> screenWidths,
                                     int screenXWidth, QFont printFont, QString versionText)
    : m_model(model), m_screenWidths(std::move(screenWidths)), m_screenXWidth(screenXWidth),
      m_font(std::move(printFont)), m_versionText(std::move(versionText)) {}

QString GridPrintRenderer::LimitWarning() {
    return QStringLiteral("WARNING: Limit exceeded. Cannot print one or more rows.");
}

GridPrintMetrics GridPrintRenderer::Metrics(QPaintDevice &device) const {
    const QFontMetricsF font(m_font, &device);
    return GridPrintMetrics::Compute(QFontMetrics(m_font, &device).height(),
                                     font.horizontalAdvance(QLatin1Char('x')), m_screenXWidth,
                                     device.height());
}

int GridPrintRenderer::PageCount(QPaintDevice &device) const {
    return Metrics(device).PageCount(m_model.RowCount());
}

std::vector<GridPrintRenderer::Span> GridPrintRenderer::Spans(double scale) const {
    const int columns = std::min(m_model.ColumnCount(), static_cast<int>(m_screenWidths.size()));
    std::vector<Span> spans;
    // Edges are rounded from the exact sum, so rounding never adds up along a row.
    double right = 0;
    int left = 0;
    for (int column = 0; column < columns; ++column) {
        right += std::max(m_screenWidths[column], 0) * scale;
        const int edge = static_cast<int>(std::lround(right));
        // The text keeps the room from the column's edges the screen gives it.
        const int screenInset =
            column == 0 ? GridCellDelegate::LabelInset : GridCellDelegate::CellInset;
        const int inset =
            std::min(static_cast<int>(std::lround(screenInset * scale)), (edge - left) / 2);
        spans.push_back({left, edge - left, inset});
        left = edge;
    }
    return spans;
}

void GridPrintRenderer::DrawText(QPainter &painter, const QFontMetrics &font, const QString &text,
                                 int column, const Span &span, int top, int height) const {
    if (text.isEmpty())
        return;
    const int left = span.left + span.inset;
    const int width = span.width - 2 * span.inset;
    const ShortText shown = ShortenText(
        text, [&font](const QString &part) { return font.horizontalAdvance(part); }, width, 0);
    Qt::Alignment horizontal = Qt::AlignLeft;
    if (column > 0 && !shown.shortened)
        horizontal = m_model.ColumnAlignment(column) & Qt::AlignHorizontal_Mask;
    if (!horizontal)
        horizontal = Qt::AlignLeft;
    painter.drawText(QRect(left, top, width, height),
                     int(horizontal | Qt::AlignVCenter) | Qt::TextSingleLine, shown.text);
}

int GridPrintRenderer::DrawHeader(QPainter &painter, const QFontMetrics &font,
                                  const std::vector<Span> &spans, int top) const {
    const int lh = font.height();
    for (size_t column = 0; column < spans.size(); ++column)
        DrawText(painter, font, GridModel::DisplayText(m_model.ColumnTitle(int(column))),
                 int(column), spans[column], top, lh);
    const int right = spans.empty() ? 0 : spans.back().left + spans.back().width;
    const int rule = top + lh + lh / 4;
    painter.drawLine(0, rule, right, rule);
    return top + 2 * lh;
}

int GridPrintRenderer::DrawFooter(QPainter &painter, const QFontMetrics &font, int width,
                                  int bottom, int page) const {
    const int lh = font.height();
    const QRect footer(0, bottom - lh, width, lh);
    const int flags = Qt::AlignVCenter | Qt::TextSingleLine;
    painter.drawText(footer, flags | Qt::AlignLeft, m_versionText);
    painter.drawText(footer, flags | Qt::AlignRight, QStringLiteral("Page: %1").arg(page));
    const int rule = bottom - lh - lh / 4;
    painter.drawLine(0, rule, width, rule);
    return bottom - 2 * lh;
}

void GridPrintRenderer::RenderPage(QPainter &painter, int page) const {
    QPaintDevice &device = *painter.device();
    const GridPrintMetrics metrics = Metrics(device);
    const int lh = metrics.lineHeight;
    const int width = device.width();
    const std::vector<Span> spans = Spans(metrics.scale);

    painter.save();
    painter.setFont(m_font);
    painter.setPen(QPen(Qt::black, 0));
    const QFontMetrics font(m_font, &device);
    const int top = DrawHeader(painter, font, spans, 0);
    DrawFooter(painter, font, width, device.height(), page);

    // Only the page's own rows are drawn: drawing every row clipped to the
    // page would cost each page the whole grid.
    const int first = (page - 1) * metrics.rowsPerPage;
    const int end = std::min(first + metrics.rowsPerPage, m_model.RowCount());
    painter.setClipRect(QRect(0, top, width, metrics.rowsPerPage * lh));
    for (int row = first; row < end; ++row) {
        const int y = top + (row - first) * lh;
        if (row > metrics.lastPrintableRow) {
            painter.drawText(QPoint(0, y + font.ascent()), LimitWarning());
            break;
        }
        for (size_t column = 0; column < spans.size(); ++column)
            DrawText(painter, font, GridModel::DisplayText(m_model.Cell(row, int(column))),
                     int(column), spans[column], y, lh);
    }
    painter.restore();
}

int GridPrintRenderer::Print(QPagedPaintDevice &device, int first, int last) const {
    const int pages = PageCount(device);
    first = first <= 0 ? 1 : first;
    last = last <= 0 ? pages : std::min(last, pages);
    if (first > last)
        return 0;
    QPainter painter;
    if (!painter.begin(&device))
        return -1;
    for (int page = first; page <= last; ++page) {
        if (page > first)
            device.newPage();
        RenderPage(painter, page);
    }
    painter.end();
    return last - first + 1;
}
