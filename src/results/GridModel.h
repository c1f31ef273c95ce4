#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include <QAbstractTableModel>

#include "results/GridRow.h"

// The grid's content: column titles and rows of cells, each cell the bytes the
// driver returned. Rows keep their cells in one block each (GridRow), so a large
// result costs little more than its text. Texts are decoded as UTF-8 only for
// the screen.
class GridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // Drawing shows at most this many characters of a cell.
    static constexpr int DisplayLimit = 259;

    explicit GridModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    int RowCount() const { return static_cast<int>(m_rows.size()); }
    int ColumnCount() const { return static_cast<int>(m_columns.size()); }

    // Removes every row and column.
    void Clear();
    void InsertColumn(int position, std::string_view title, Qt::Alignment alignment);
    const std::string &ColumnTitle(int column) const;
    Qt::Alignment ColumnAlignment(int column) const;

    // A new row at `row` (clamped to the end) with `label` as its first cell.
    void InsertRow(int row, std::string_view label);
    // Sets a cell of an existing row; nothing happens for a row that does not exist.
    void SetCell(int row, int column, std::string_view text);
    // Adds finished rows at the end, announced to the views as one insertion.
    void AppendRows(std::vector<GridRow> &rows);
    std::string_view Cell(int row, int column) const;

    // Reorders the rows by the bytes of one column; rows that compare equal keep
    // their order. Selections and the current row move with their rows.
    void Sort(int column, bool ascending);
    // Byte-wise order in which A-Z and a-z are the same letters.
    static int CompareText(std::string_view a, std::string_view b);

    // The first characters of a cell as the screen shows them.
    static QString DisplayText(std::string_view bytes);

    // Sum of the cell texts' lengths.
    size_t CellBytes() const;
    // What the content takes in memory: row blocks (with an allowance for the
    // allocator's own header), the row table and the column titles.
    size_t MemoryBytes() const;

private:
    struct Column {
        std::string title;
        Qt::Alignment alignment;
    };

    std::vector<Column> m_columns;
    std::vector<GridRow> m_rows;
};
