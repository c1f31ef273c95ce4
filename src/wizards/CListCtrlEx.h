#pragma once

#include <QString>
#include <QStringList>
#include <QTreeWidget>

// The row list of a wizard page: a single-selection report list whose rows are
// drawn as the result grid draws them (highlight across the row, shortened
// cell texts, a focus rectangle), without grid lines, sorting or menus.
class CListCtrlEx : public QTreeWidget {
    Q_OBJECT
public:
    CListCtrlEx(const QStringList &headers, QWidget *parent = nullptr);

    // Inserts a row at `row` (clamped to the end) holding `text` in its first cell.
    int InsertItem(int row, const QString &text);
    void SetItemText(int row, int column, const QString &text);
    QString GetItemText(int row, int column) const;
    void DeleteItem(int row);
    void DeleteAllItems();
    int GetItemCount() const { return topLevelItemCount(); }
    int GetSelectedCount() const;
    // The first selected row, or -1.
    int FirstSelected() const;
    void SelectRow(int row);
    void SetColumnWidth(int column, int width) { setColumnWidth(column, width); }
    // Every row's cells, in order.
    QList<QStringList> Rows() const;

Q_SIGNALS:
    // A row became selected: the page copies its cells into the fields.
    void RowStateChanged(int row);

protected:
    void drawRow(QPainter *painter, const QStyleOptionViewItem &option,
                 const QModelIndex &index) const override;
};
