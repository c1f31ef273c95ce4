#include <string>
#include <vector>

#include <QItemSelectionModel>
#include <gtest/gtest.h>

#include "results/GridModel.h"

namespace {

using namespace std::string_literals;

TEST(GridModelTest, CellsKeepTheDriversBytesAndTheScreenDecodesThem) {
    GridModel model;
    model.InsertColumn(0, "city", Qt::AlignLeft);
    model.InsertColumn(1, "raw", Qt::AlignLeft);
    const std::string city = "Zo\xC3\xAB, \xE6\x9D\xB1\xE4\xBA\xAC";
    const std::string raw = "a\0b\xFF"s;
    model.InsertRow(0, city);
    model.SetCell(0, 1, raw);

    EXPECT_EQ(model.Cell(0, 0), city);
    EXPECT_EQ(model.Cell(0, 1), raw);
    EXPECT_EQ(model.data(model.index(0, 0)).toString(),
              QString::fromUtf8("Zo\xC3\xAB, \xE6\x9D\xB1\xE4\xBA\xAC"));
    EXPECT_EQ(model.Cell(0, 5), "");
    EXPECT_EQ(model.Cell(3, 0), "");

    // Drawing shows 259 characters; the cell keeps all of them.
    const std::string long_(300, 'x');
    model.SetCell(0, 1, long_);
    EXPECT_EQ(model.Cell(0, 1).size(), 300u);
    EXPECT_EQ(model.data(model.index(0, 1)).toString().size(), GridModel::DisplayLimit);
}

TEST(GridModelTest, ACellSetLaterOrAColumnInsertedLaterKeepsTheOtherCellsInPlace) {
    GridModel model;
    for (int column = 0; column < 3; ++column)
        model.InsertColumn(column, "c" + std::to_string(column), Qt::AlignLeft);
    model.InsertRow(0, "r0");
    model.SetCell(0, 2, "two");  // skips column 1
    model.InsertRow(0, "first"); // before the existing row
    model.SetCell(1, 1, "one");
    model.SetCell(7, 1, "ignored"); // no such row

    ASSERT_EQ(model.RowCount(), 2);
    EXPECT_EQ(model.Cell(1, 0), "r0");
    EXPECT_EQ(model.Cell(1, 1), "one");
    EXPECT_EQ(model.Cell(1, 2), "two");

    model.InsertColumn(1, "new", Qt::AlignLeft);
    EXPECT_EQ(model.Cell(1, 0), "r0");
    EXPECT_EQ(model.Cell(1, 1), "");
    EXPECT_EQ(model.Cell(1, 2), "one");
    EXPECT_EQ(model.Cell(1, 3), "two");
    EXPECT_EQ(model.Cell(0, 0), "first");
    EXPECT_EQ(model.ColumnTitle(1), "new");
}

TEST(GridModelTest, MemoryStaysWithinTwiceTheTextPlusSixteenBytesACell) {
    GridModel model;
    constexpr int Columns = 8;
    for (int column = 0; column < Columns; ++column)
        model.InsertColumn(column, "column" + std::to_string(column), Qt::AlignLeft);
    std::vector<GridRow> batch;
    GridRow::Builder builder;
    constexpr int Rows = 20000;
    for (int row = 0; row < Rows; ++row) {
        builder.Clear();
        // Numbers, short names, empty (NULL) cells and a longer text, like a table's rows.
        builder.AddCell(std::to_string(row));
        builder.AddCell("name " + std::to_string(row % 97));
        builder.AddCell("");
        builder.AddCell("2024-01-" + std::to_string(10 + row % 20));
        builder.AddCell(std::to_string(row * 7 % 1000) + ".50");
        builder.AddCell(row % 3 ? "" : "a comment of some length");
        builder.AddCell("X");
        builder.AddCell(std::to_string(row % 2));
        batch.push_back(builder.Build());
        if (batch.size() == 500)
            model.AppendRows(batch);
    }
    model.AppendRows(batch);
    ASSERT_EQ(model.RowCount(), Rows);
    EXPECT_EQ(model.Cell(12345, 1), "name " + std::to_string(12345 % 97));

    const size_t cells = size_t(Rows) * Columns;
    EXPECT_LE(model.MemoryBytes(), 2 * model.CellBytes() + 16 * cells)
        << model.MemoryBytes() << " bytes for " << model.CellBytes() << " bytes of text";
}

TEST(GridModelTest, SortingMovesTheSelectionWithItsRow) {
    GridModel model;
    model.InsertColumn(0, "name", Qt::AlignLeft);
    model.InsertColumn(1, "n", Qt::AlignLeft);
    const char *names[] = {"b", "A", "a", "B"};
    for (int row = 0; row < 4; ++row) {
        model.InsertRow(row, names[row]);
        model.SetCell(row, 1, std::to_string(row));
    }
    QItemSelectionModel selection(&model);
    selection.select(model.index(0, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    selection.setCurrentIndex(model.index(0, 0), QItemSelectionModel::NoUpdate);

    model.Sort(0, true);
    // Equal texts keep their order, and each row keeps its other cells.
    EXPECT_EQ(model.Cell(0, 0), "A");
    EXPECT_EQ(model.Cell(1, 0), "a");
    EXPECT_EQ(model.Cell(2, 0), "b");
    EXPECT_EQ(model.Cell(2, 1), "0");
    EXPECT_EQ(model.Cell(3, 0), "B");
    EXPECT_TRUE(selection.isRowSelected(2, QModelIndex()));
    EXPECT_FALSE(selection.isRowSelected(0, QModelIndex()));
    EXPECT_EQ(selection.currentIndex().row(), 2);
}

} // namespace
