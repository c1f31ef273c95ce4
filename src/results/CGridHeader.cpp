#include "results/CGridHeader.h"

#include <QMouseEvent>
#include <QPainter>

CGridHeader::CGridHeader(QWidget *parent) : QHeaderView(Qt::Horizontal, parent) {
    setSectionsClickable(true);
    setSectionsMovable(false);
    setHighlightSections(false);
    setSortIndicatorShown(false);
    setStretchLastSection(false);
    setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

void CGridHeader::SetSortArrow(int column, bool ascending) {
    const int previous = m_sortColumn;
    m_sortColumn = column;
    m_ascending = ascending;
    if (previous >= 0)
        updateSection(previous);
    if (column >= 0)
        updateSection(column);
}

QPolygon CGridHeader::ArrowCorners(const QRect &cell, int s, bool ascending) {
    // Right and bottom as exclusive edges, the way the measures count them.
    const int right = cell.left() + cell.width();
    const int bottom = cell.top() + cell.height();
    const int top = cell.top() + 2 * s - 1;
    const int low = bottom - 2 * s;
    const int tipX = right - 4 * s;
    if (ascending)
        return QPolygon(
            {QPoint(tipX, top), QPoint(right - (5 * s + 2), low), QPoint(right - 3 * s, low)});
    return QPolygon(
        {QPoint(tipX, low), QPoint(right - (5 * s + 1), top), QPoint(right - 3 * s, top)});
}

void CGridHeader::paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const {
    if (logicalIndex == m_sortColumn)
        PaintSortedSection(painter, rect, logicalIndex);
    else
        QHeaderView::paintSection(painter, rect, logicalIndex);
}

void CGridHeader::PaintSortedSection(QPainter *painter, const QRect &rect, int logicalIndex) const {
    painter->save();
    painter->setClipRect(rect);
    painter->fillRect(rect, palette().color(QPalette::Button));

    // A frame like the standard cells', so the sorted one does not stand out.
    painter->setPen(palette().color(QPalette::Mid));
    painter->drawLine(rect.topRight(), rect.bottomRight());
    painter->drawLine(rect.bottomLeft(), rect.bottomRight());

    const int s = fontMetrics().horizontalAdvance(QLatin1Char(' '));
    QRect titleRect = rect.adjusted(2 * s, 0, -(2 * s + 6 * s), 0);
    if (logicalIndex == m_pressedColumn)
        titleRect.translate(1, 2);
    const QString title =
        model() ? model()->headerData(logicalIndex, orientation()).toString() : QString();
    Qt::Alignment alignment = Qt::AlignLeft;
    if (model())
        alignment = model()
                        ->headerData(logicalIndex, orientation(), Qt::TextAlignmentRole)
                        .value<Qt::Alignment>() &
                    Qt::AlignHorizontal_Mask;
    if (!alignment)
        alignment = Qt::AlignLeft;
    painter->setFont(font());
    painter->setPen(palette().color(QPalette::ButtonText));
    painter->drawText(titleRect, int(alignment | Qt::AlignVCenter) | Qt::TextSingleLine,
                      fontMetrics().elidedText(title, Qt::ElideRight, titleRect.width()));

    // Lit from the top left: the edges facing it in the highlight colour.
    const QPolygon arrow = ArrowCorners(rect, s, m_ascending);
    const QColor light = palette().color(QPalette::Light);
    const QColor shadow = palette().color(QPalette::Dark);
    const QPoint tip = arrow.point(0);
    const QPoint baseLeft = arrow.point(1);
    const QPoint baseRight = arrow.point(2);
    painter->setPen(QPen(shadow, 0));
    painter->drawLine(tip, baseLeft);
    if (!m_ascending)
        painter->drawLine(baseLeft, baseRight);
    painter->setPen(QPen(light, 0));
    painter->drawLine(tip, baseRight);
    if (m_ascending)
        painter->drawLine(baseLeft, baseRight);
    painter->restore();
}

void CGridHeader::mousePressEvent(QMouseEvent *event) {
    m_pressedColumn =
        event->button() == Qt::LeftButton ? logicalIndexAt(event->position().toPoint()) : -1;
    if (m_pressedColumn >= 0 && m_pressedColumn == m_sortColumn)
        updateSection(m_pressedColumn);
    QHeaderView::mousePressEvent(event);
}

void CGridHeader::mouseReleaseEvent(QMouseEvent *event) {
    const int pressed = m_pressedColumn;
    m_pressedColumn = -1;
    if (pressed >= 0)
        updateSection(pressed);
    QHeaderView::mouseReleaseEvent(event);
}
