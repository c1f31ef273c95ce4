#include "results/GridModel.h"

#include <algorithm>
#include <numeric>

namespace {

// What malloc adds to each block on glibc: a size word, rounded to 16 bytes.
size_t AllocatedSize(size_t bytes) { return bytes == 0 ? 0 : (bytes + 8 + 15) / 16 * 16; }

unsigned char FoldCase(unsigned char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

} // namespace

GridModel::GridModel(QObject *parent) : QAbstractTableModel(parent) {}

int GridModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : RowCount();
}

int GridModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : ColumnCount();
}

QVariant GridModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return DisplayText(Cell(index.row(), index.column()));
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(ColumnAlignment(index.column()) | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return DisplayText(m_columns[section].title);
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(m_columns[section].alignment | Qt::AlignVCenter);
    default:
        return {};
    }
}

Qt::ItemFlags GridModel::flags(const QModelIndex &index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

void GridModel::Clear() {
    beginResetModel();
    m_rows.clear();
    m_rows.shrink_to_fit();
    m_columns.clear();
    endResetModel();
}

void GridModel::InsertColumn(int position, std::string_view title, Qt::Alignment alignment) {
    position = std::clamp(position, 0, ColumnCount());
    beginInsertColumns(QModelIndex(), position, position);
    m_columns.insert(m_columns.begin() + position, Column{std::string(title), alignment});
    for (GridRow &row : m_rows)
        if (position < row.CellCount())
            row = row.WithEmptyCellAt(position);
    endInsertColumns();
}

const std::string &GridModel::ColumnTitle(int column) const {
    static const std::string none;
    return column >= 0 && column < ColumnCount() ? m_columns[column].title : none;
}

Qt::Alignment GridModel::ColumnAlignment(int column) const {
    return column >= 0 && column < ColumnCount() ? m_columns[column].alignment
                                                 : Qt::Alignment(Qt::AlignLeft);
}

void GridModel::InsertRow(int row, std::string_view label) {
    row = std::clamp(row, 0, RowCount());
    GridRow::Builder builder;
    builder.AddCell(label);
    beginInsertRows(QModelIndex(), row, row);
    m_rows.insert(m_rows.begin() + row, builder.Build());
    endInsertRows();
}

void GridModel::SetCell(int row, int column, std::string_view text) {
    if (row < 0 || row >= RowCount() || column < 0)
        return;
    m_rows[row] = m_rows[row].WithCell(column, text);
    if (column < ColumnCount()) {
        const QModelIndex changed = index(row, column);
        Q_EMIT dataChanged(changed, changed, {Qt::DisplayRole});
    }
}

void GridModel::AppendRows(std::vector<GridRow> &rows) {
    if (rows.empty())
        return;
    const int first = RowCount();
    beginInsertRows(QModelIndex(), first, first + static_cast<int>(rows.size()) - 1);
    m_rows.insert(m_rows.end(), std::make_move_iterator(rows.begin()),
                  std::make_move_iterator(rows.end()));
    endInsertRows();
    rows.clear();
}

std::string_view GridModel::Cell(int row, int column) const {
    if (row < 0 || row >= RowCount())
        return {};
    return m_rows[row].Cell(column);
}

int GridModel::CompareText(std::string_view a, std::string_view b) {
    const size_t length = std::min(a.size(), b.size());
    for (size_t i = 0; i < length; ++i) {
        const unsigned char ca = FoldCase(static_cast<unsigned char>(a[i]));
        const unsigned char cb = FoldCase(static_cast<unsigned char>(b[i]));
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

void GridModel::Sort(int column, bool ascending) {
    if (column < 0 || column >= ColumnCount() || m_rows.size() < 2)
        return;
    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);

    std::vector<int> order(m_rows.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int left, int right) {
        const int result = CompareText(m_rows[left].Cell(column), m_rows[right].Cell(column));
        return ascending ? result < 0 : result > 0;
    });

    std::vector<GridRow> sorted;
    sorted.reserve(m_rows.size());
    std::vector<int> newRowOf(m_rows.size());
    for (size_t i = 0; i < order.size(); ++i) {
        sorted.push_back(std::move(m_rows[order[i]]));
        newRowOf[order[i]] = static_cast<int>(i);
    }
    m_rows = std::move(sorted);

    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex &old : before)
        after.append(index(newRowOf[old.row()], old.column()));
    changePersistentIndexList(before, after);
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

QString GridModel::DisplayText(std::string_view bytes) {
    // A character takes at most 4 bytes: decoding more could not show more.
    const size_t decoded = std::min(bytes.size(), size_t(DisplayLimit) * 4);
    QString text = QString::fromUtf8(bytes.data(), static_cast<qsizetype>(decoded));
    if (text.size() > DisplayLimit) {
        qsizetype cut = 0;
        for (int characters = 0; characters < DisplayLimit && cut < text.size(); ++characters)
            cut += text.at(cut).isHighSurrogate() && cut + 1 < text.size() ? 2 : 1;
        text.truncate(cut);
    }
    return text;
}

size_t GridModel::CellBytes() const {
    size_t bytes = 0;
    for (const GridRow &row : m_rows)
        bytes += row.TextBytes();
    return bytes;
}

size_t GridModel::MemoryBytes() const {
    size_t bytes = m_rows.capacity() * sizeof(GridRow) + m_columns.capacity() * sizeof(Column);
    for (const GridRow &row : m_rows)
        bytes += AllocatedSize(row.BlockBytes());
    for (const Column &column : m_columns)
        bytes += column.title.capacity();
    return bytes;
}
