#include "framework/GridCellDelegate.h"

#include <QPainter>

#include "framework/ShortenText.h"

void GridCellDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                             const QModelIndex &index) const {
    const bool label = index.column() == 0;
    const int reserve = label ? LabelReserve : CellReserve;
    const int inset = label ? LabelInset : CellInset;
    const QFontMetrics &metrics = option.fontMetrics;
    const ShortText shown = ShortenText(
        index.data(Qt::DisplayRole).toString(),
        [&metrics](const QString &text) { return metrics.horizontalAdvance(text); },
        option.rect.width(), reserve);

    Qt::Alignment horizontal = Qt::AlignLeft;
    if (!label && !shown.shortened)
        horizontal =
            index.data(Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignHorizontal_Mask;
    if (!horizontal)
        horizontal = Qt::AlignLeft;

    const bool selected = option.state & QStyle::State_Selected;
    painter->save();
    painter->setFont(option.font);
    painter->setPen(option.palette.color(QPalette::Active,
                                         selected ? QPalette::HighlightedText : QPalette::Text));
    const QRect textRect = option.rect.adjusted(inset, 0, -inset, 0);
    painter->drawText(textRect,
                      int(horizontal | Qt::AlignVCenter) | Qt::TextSingleLine | Qt::TextDontClip,
                      shown.text);
    painter->restore();
}
