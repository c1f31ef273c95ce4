#include "wizards/CListCtrlEx.h"

#include <QHeaderView>
#include <QPainter>
#include <QStyleOptionFocusRect>

#include "framework/GridCellDelegate.h"

CListCtrlEx::CListCtrlEx(const QStringList &headers, QWidget *parent) : QTreeWidget(parent) {
    setColumnCount(int(headers.size()));
    setHeaderLabels(headers);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    header()->setSectionsMovable(false);
    header()->setStretchLastSection(true);
    setItemDelegate(new GridCellDelegate(this));
    connect(this, &QTreeWidget::itemSelectionChanged, this, [this] {
        const int row = FirstSelected();
        if (row >= 0)
            Q_EMIT RowStateChanged(row);
    });
}

int CListCtrlEx::InsertItem(int row, const QString &text) {
    row = std::clamp(row, 0, GetItemCount());
    auto *item = new QTreeWidgetItem;
    item->setText(0, text);
    insertTopLevelItem(row, item);
    return row;
}

void CListCtrlEx::SetItemText(int row, int column, const QString &text) {
    if (QTreeWidgetItem *item = topLevelItem(row))
        item->setText(column, text);
}

QString CListCtrlEx::GetItemText(int row, int column) const {
    const QTreeWidgetItem *item = topLevelItem(row);
    return item ? item->text(column) : QString();
}

void CListCtrlEx::DeleteItem(int row) { delete takeTopLevelItem(row); }

void CListCtrlEx::DeleteAllItems() { clear(); }

int CListCtrlEx::GetSelectedCount() const { return int(selectedItems().size()); }

int CListCtrlEx::FirstSelected() const {
    for (int row = 0; row < GetItemCount(); ++row)
        if (topLevelItem(row)->isSelected())
            return row;
    return -1;
}

void CListCtrlEx::SelectRow(int row) {
    if (QTreeWidgetItem *item = topLevelItem(row))
        setCurrentItem(item);
}

QList<QStringList> CListCtrlEx::Rows() const {
    QList<QStringList> rows;
    for (int row = 0; row < GetItemCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < columnCount(); ++column)
            cells << topLevelItem(row)->text(column);
        rows << cells;
    }
    return rows;
}

void CListCtrlEx::drawRow(QPainter *painter, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const {
    const bool highlighted = selectionModel()->isSelected(index);
    QRect bounds = option.rect;
    bounds.setRight(std::max(bounds.right(), viewport()->width() - 1));
    painter->fillRect(bounds, palette().color(QPalette::Active,
                                              highlighted ? QPalette::Highlight : QPalette::Base));
    QStyleOptionViewItem cell = option;
    cell.state = highlighted ? (option.state | QStyle::State_Selected)
                             : (option.state & ~QStyle::State_Selected);
    for (int column = 0; column < columnCount(); ++column) {
        cell.rect = QRect(columnViewportPosition(column), option.rect.top(), columnWidth(column),
                          option.rect.height());
        itemDelegate()->paint(painter, cell, model()->index(index.row(), column, index.parent()));
    }
    if (hasFocus() && currentIndex().row() == index.row()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = bounds;
        focus.backgroundColor = palette().color(highlighted ? QPalette::Highlight : QPalette::Base);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, this);
    }
}
