#pragma once

#include <QHeaderView>

// The column header of a CListViewEx. The sorted column's cell is drawn here,
// with its sort arrow; the other cells keep the standard drawing. The arrow's
// measures are in units of the width of a space in the header font, so it
// scales with the font.
class CGridHeader : public QHeaderView {
    Q_OBJECT
public:
    explicit CGridHeader(QWidget *parent = nullptr);

    // Shows the arrow on `column` (-1: no arrow).
    void SetSortArrow(int column, bool ascending);
    int SortArrowColumn() const { return m_sortColumn; }
    bool SortArrowAscending() const { return m_ascending; }

    // The arrow's three corners for a cell, tip first, then the base from left
    // to right.
    static QPolygon ArrowCorners(const QRect &cell, int spaceWidth, bool ascending);

protected:
    void paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void PaintSortedSection(QPainter *painter, const QRect &rect, int logicalIndex) const;

    int m_sortColumn = -1;
    bool m_ascending = false;
    int m_pressedColumn = -1;
};
