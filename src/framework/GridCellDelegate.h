#pragma once

#include <QStyledItemDelegate>

// Draws the text of one cell of the result grid or a wizard list. The row's background, focus
// rectangle and grid lines are the view's (CListViewEx); this only places the text: the first cell
// shortened with a reserve of 4 pixels and drawn 2 pixels inside its edges, the others with a
// reserve of 12 and 6 pixels inside. A shortened text is drawn left-aligned whatever the column's
// alignment.
class GridCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    static constexpr int LabelReserve = 4;
    static constexpr int LabelInset = 2;
    static constexpr int CellReserve = 12;
    static constexpr int CellInset = 6;

    using QStyledItemDelegate::QStyledItemDelegate;

    // option.state's State_Selected picks the highlight text colour.
    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
};
