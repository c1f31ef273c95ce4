#include "results/CListViewEx.h"

#include <QHeaderView>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include "framework/GridCellDelegate.h"
#include "framework/WaitCursor.h"
#include "results/CGridHeader.h"

namespace {

// Pixels a row adds to the height of its text.
constexpr int RowPadding = 4;

} // namespace

CListViewEx::CListViewEx(QWidget *parent) : QTableView(parent) {
    m_model = new GridModel(this);
    m_header = new CGridHeader(this);
    m_delegate = new GridCellDelegate(this);
    setHorizontalHeader(m_header);
    setModel(m_model);
    setItemDelegate(m_delegate);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    setCornerButtonEnabled(false);
    setShowGrid(false);
    setWordWrap(false);
    setFrameShape(QFrame::NoFrame);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setTabKeyNavigation(false);
    UpdateRowHeight();
    connect(m_header, &QHeaderView::sectionClicked, this, &CListViewEx::SortByColumn);
}

CListViewEx::~CListViewEx() = default;

void CListViewEx::ClearGrid() {
    m_model->Clear();
    // The arrow goes with the old columns; SortColumn and SortAscending stay.
    m_header->SetSortArrow(-1, false);
    viewport()->update();
}

void CListViewEx::InsertGridColumn(const std::string &title, int position,
                                   Qt::Alignment alignment) {
    position = std::clamp(position, 0, GridColumnCount());
    m_model->InsertColumn(position, title, alignment);
    setColumnWidth(position, TextWidth(GridModel::DisplayText(title)) + 15);
}

std::string CListViewEx::GetColumnTitle(int column) const {
    const std::string &title = m_model->ColumnTitle(column);
    size_t length = std::min(title.size(), size_t(GridModel::DisplayLimit));
    // Never half a UTF-8 character: back off to the start of the one cut.
    if (length < title.size())
        while (length > 0 && (static_cast<unsigned char>(title[length]) & 0xC0) == 0x80)
            --length;
    return title.substr(0, length);
}

int CListViewEx::TextWidth(const QString &text) const {
    return fontMetrics().horizontalAdvance(text);
}

int CListViewEx::SelectedRowCount() const {
    return static_cast<int>(selectionModel()->selectedRows().size());
}

bool CListViewEx::IsRowSelected(int row) const {
    return selectionModel()->isRowSelected(row, QModelIndex());
}

void CListViewEx::SelectRow(int row, bool selected) {
    if (row < 0 || row >= RowCount())
        return;
    selectionModel()->select(m_model->index(row, 0), (selected ? QItemSelectionModel::Select
                                                               : QItemSelectionModel::Deselect) |
                                                         QItemSelectionModel::Rows);
}

void CListViewEx::SetGridLines(bool on, const QColor &colour, bool redraw) {
    m_gridLines = on;
    if (on)
        m_gridColour = colour;
    if (redraw)
        viewport()->repaint();
}

void CListViewEx::SortByColumn(int column) {
    if (column < 0 || column >= GridColumnCount())
        return;
    m_sortAscending = column != m_sortColumn || !m_sortAscending;
    {
        WaitCursor wait;
        m_model->Sort(column, m_sortAscending);
    }
    m_sortColumn = column;
    m_header->SetSortArrow(column, m_sortAscending);
    viewport()->update();
}

int CListViewEx::TopRow() const { return rowAt(0); }

void CListViewEx::EnsureRowVisible(int row) {
    if (row < 0 || row >= RowCount())
        return;
    QScrollBar *bar = verticalScrollBar();
    const int clientHeight = viewport()->height();
    auto partlyVisible = [&] {
        const int top = rowViewportPosition(row);
        return top + rowHeight(row) > 0 && top < clientHeight;
    };
    auto fullyVisible = [&] {
        const int top = rowViewportPosition(row);
        return top >= 0 && top + rowHeight(row) <= clientHeight;
    };
    // A page at a time until some of the row shows, then a line at a time.
    while (!partlyVisible()) {
        const int before = bar->value();
        bar->triggerAction(row >= TopRow() ? QAbstractSlider::SliderPageStepAdd
                                           : QAbstractSlider::SliderPageStepSub);
        if (bar->value() == before)
            break;
    }
    while (!fullyVisible()) {
        const int before = bar->value();
        bar->triggerAction(rowViewportPosition(row) >= 0 ? QAbstractSlider::SliderSingleStepAdd
                                                         : QAbstractSlider::SliderSingleStepSub);
        if (bar->value() == before)
            break;
    }
}

void CListViewEx::UpdateRowHeight() {
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + RowPadding);
}

void CListViewEx::changeEvent(QEvent *event) {
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        UpdateRowHeight();
        m_header->setFont(font());
    }
}

void CListViewEx::focusInEvent(QFocusEvent *event) {
    // Qt makes the first row current when the view gets the focus without one.
    // No row was chosen, so none gets the focus rectangle or counts as changed;
    // the arrow keys still start from the first row.
    const bool hadCurrent = currentIndex().isValid();
    m_takingFocus = true;
    QTableView::focusInEvent(event);
    if (!hadCurrent && currentIndex().isValid())
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    m_takingFocus = false;
    viewport()->update();
}

void CListViewEx::focusOutEvent(QFocusEvent *event) {
    QTableView::focusOutEvent(event);
    viewport()->update();
}

void CListViewEx::UpdateRow(int row) {
    if (row < 0 || row >= RowCount())
        return;
    viewport()->update(QRect(0, rowViewportPosition(row), viewport()->width(), rowHeight(row)));
}

void CListViewEx::currentChanged(const QModelIndex &current, const QModelIndex &previous) {
    QTableView::currentChanged(current, previous);
    if (previous.isValid())
        UpdateRow(previous.row());
    if (current.isValid()) {
        UpdateRow(current.row());
        if (!m_takingFocus)
            m_lastChangedRow = current.row();
    }
}

void CListViewEx::selectionChanged(const QItemSelection &selected,
                                   const QItemSelection &deselected) {
    QTableView::selectionChanged(selected, deselected);
    const QItemSelection &named = selected.isEmpty() ? deselected : selected;
    int last = -1;
    for (const QItemSelectionRange &range : named)
        last = std::max(last, range.bottom());
    if (last >= 0)
        m_lastChangedRow = last;
}

QRegion CListViewEx::visualRegionForSelection(const QItemSelection &selection) const {
    // A selected row is highlighted out to the client width.
    QRegion region;
    const int width = viewport()->width();
    for (const QItemSelectionRange &range : selection) {
        const int top = rowViewportPosition(range.top());
        const int bottom = rowViewportPosition(range.bottom()) + rowHeight(range.bottom());
        region += QRect(0, top, width, bottom - top);
    }
    return region;
}

void CListViewEx::paintEvent(QPaintEvent *event) {
    QPainter painter(viewport());
    const QRect exposed = event->rect();
    painter.fillRect(exposed, palette().color(QPalette::Active, QPalette::Base));
    if (RowCount() == 0 || GridColumnCount() == 0)
        return;
    const int first = std::max(rowAt(exposed.top()), 0);
    int last = rowAt(exposed.bottom());
    if (last < 0)
        last = RowCount() - 1;
    if (rowViewportPosition(first) > exposed.bottom())
        return;
    for (int row = first; row <= last; ++row)
        PaintRow(painter, row, exposed);
}

void CListViewEx::DrawDottedLine(QPainter &painter, QPoint from, QPoint to) const {
    // Every other pixel, starting with the first.
    QPolygon dots;
    if (from.x() == to.x()) {
        for (int y = from.y(); y <= to.y(); y += 2)
            dots << QPoint(from.x(), y);
    } else {
        for (int x = from.x(); x <= to.x(); x += 2)
            dots << QPoint(x, from.y());
    }
    painter.drawPoints(dots);
}

void CListViewEx::PaintRow(QPainter &painter, int row, const QRect &exposed) {
    const int top = rowViewportPosition(row);
    const int height = rowHeight(row);
    const int bottom = top + height; // exclusive
    const int columns = GridColumnCount();
    const int left = columnViewportPosition(0);
    const int columnsRight = left + m_header->length();
    const int clientWidth = viewport()->width();

    const bool selected = selectionModel()->isRowSelected(row, QModelIndex());
    const bool highlighted = selected && (hasFocus() || m_showSelectionAlways);
    const int highlightRight =
        m_highlightToClientWidth && clientWidth > columnsRight ? clientWidth : columnsRight;
    const QRect highlight(left, top, highlightRight - left, height);
    const QPalette &colours = palette();
    painter.fillRect(highlight, colours.color(QPalette::Active,
                                              highlighted ? QPalette::Highlight : QPalette::Base));

    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.font = font();
    option.fontMetrics = fontMetrics();
    option.palette = colours;
    if (highlighted)
        option.state |= QStyle::State_Selected;
    else
        option.state &= ~QStyle::State_Selected;
    for (int column = 0; column < columns; ++column) {
        const QRect cell(columnViewportPosition(column), top, columnWidth(column), height);
        if (cell.right() < exposed.left() || cell.left() > exposed.right())
            continue;
        option.rect = cell;
        m_delegate->paint(&painter, option, m_model->index(row, column));
    }

    if (hasFocus() && currentIndex().row() == row) {
        painter.setPen(colours.color(QPalette::Active,
                                     highlighted ? QPalette::HighlightedText : QPalette::Text));
        const QRect frame = highlight.adjusted(0, 0, -1, -1);
        DrawDottedLine(painter, frame.topLeft(), frame.topRight());
        DrawDottedLine(painter, frame.bottomLeft(), frame.bottomRight());
        DrawDottedLine(painter, frame.topLeft(), frame.bottomLeft());
        DrawDottedLine(painter, frame.topRight(), frame.bottomRight());
    }

    if (!m_gridLines)
        return;
    painter.setPen(QPen(m_gridColour, 0));
    // Rounded up to an even line, so the dots of adjacent rows line up.
    const int dottedTop = top % 2 == 0 ? top : top + 1;
    int edge = 0;
    for (int column = 0; column < columns; ++column) {
        edge += columnWidth(column);
        const int x = left + edge - 1;
        DrawDottedLine(painter, QPoint(x, dottedTop), QPoint(x, bottom - 1));
    }
    if (bottom != 0)
        DrawDottedLine(painter, QPoint(0, bottom - 1),
                       QPoint(std::max(columnsRight, clientWidth) - 1, bottom - 1));
}
