#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QScrollBar>
#include <QTimer>

#include "GridFixture.h"
#include "app/CListFrameWnd.h"
#include "framework/CommandTable.h"
#include "results/CGridHeader.h"

namespace {

using ListViewTest = GridFixture;

// Colours compared as RGB: a palette colour and a pixel differ in their other fields.
QRgb PixelAt(const QImage &image, int x, int y) { return image.pixel(x, y) | 0xFF000000u; }
QRgb Rgb(const QColor &colour) { return colour.rgb(); }

void ClickHeader(CDBListView &grid, int column) {
    QHeaderView *header = grid.horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(column) + 5, header->height() / 2));
}

bool SameLetters(const std::string &a, const std::string &b) {
    return GridModel::CompareText(a, b) == 0;
}

TEST_F(ListViewTest, HeaderClicksSortAscendingThenDescendingAndDrawTheArrow) {
    Fill({"name", "n"}, {{"b", "0"}, {"A", "1"}, {"a", "2"}, {"B", "3"}});
    Show();
    ClickHeader(*grid_, 0);
    auto names = Column(0);
    EXPECT_TRUE(SameLetters(names[0], "a") && SameLetters(names[1], "a"));
    EXPECT_TRUE(SameLetters(names[2], "b") && SameLetters(names[3], "b"));
    EXPECT_EQ(grid_->SortColumn(), 0);
    EXPECT_TRUE(grid_->SortAscending());
    // Rows move whole: column 1 still names each row's first text.
    const std::vector<std::string> original = {"b", "A", "a", "B"};
    for (int row = 0; row < 4; ++row)
        EXPECT_EQ(grid_->GetCellText(row, 0), original[std::stoi(grid_->GetCellText(row, 1))]);

    ClickHeader(*grid_, 0);
    names = Column(0);
    EXPECT_TRUE(SameLetters(names[0], "b") && SameLetters(names[1], "b"));
    EXPECT_FALSE(grid_->SortAscending());

    // Another column starts ascending again.
    ClickHeader(*grid_, 1);
    EXPECT_EQ(Column(1), (std::vector<std::string>{"0", "1", "2", "3"}));
    EXPECT_TRUE(grid_->SortAscending());

    // The arrow: ascending, its tip at the top, lit on the right.
    grid_->setColumnWidth(1, 120);
    auto *header = grid_->GridHeader();
    EXPECT_EQ(header->SortArrowColumn(), 1);
    const QImage image = header->grab().toImage();
    const QRect cell(header->sectionViewportPosition(1), 0, header->sectionSize(1),
                     header->height());
    const int s = header->fontMetrics().horizontalAdvance(QLatin1Char(' '));
    const QPolygon arrow = CGridHeader::ArrowCorners(cell, s, true);
    EXPECT_EQ(PixelAt(image, arrow.point(0).x(), arrow.point(0).y()),
              Rgb(header->palette().color(QPalette::Light)));
    const QPoint leftEdge = (arrow.point(0) + arrow.point(1)) / 2;
    EXPECT_EQ(PixelAt(image, leftEdge.x(), leftEdge.y()),
              Rgb(header->palette().color(QPalette::Dark)));
}

TEST_F(ListViewTest, AReloadDropsTheArrowButTheSameColumnIndexTogglesTheDirection) {
    Fill({"name"}, {{"b"}, {"a"}, {"c"}});
    Show();
    ClickHeader(*grid_, 0);
    EXPECT_EQ(Column(0), (std::vector<std::string>{"a", "b", "c"}));

    Fill({"other"}, {{"b"}, {"a"}, {"c"}});
    EXPECT_EQ(grid_->GridHeader()->SortArrowColumn(), -1);
    EXPECT_EQ(grid_->SortColumn(), 0);
    ClickHeader(*grid_, 0);
    EXPECT_EQ(Column(0), (std::vector<std::string>{"c", "b", "a"}));
}

TEST_F(ListViewTest, AutoFormatOnlyWidensAndOffSetsTitleWidthPlusEighteen) {
    auto width = [&](const char *text) { return grid_->TextWidth(QString::fromUtf8(text)); };

    // An empty grid: on changes nothing, off sets title + 18.
    Fill({"id", "name"}, {});
    EXPECT_EQ(grid_->columnWidth(0), width("id") + 15);
    grid_->AutoFormatColumns(true);
    EXPECT_EQ(grid_->columnWidth(0), width("id") + 15);
    grid_->AutoFormatColumns(false);
    EXPECT_EQ(grid_->columnWidth(0), width("id") + 18);
    EXPECT_EQ(grid_->columnWidth(1), width("name") + 18);

    Fill({"id", "name"}, {{"1", "Zo\xC3\xAB, \xE6\x9D\xB1\xE4\xBA\xAC"}, {"22", "short"}});
    grid_->setColumnWidth(0, 300);
    grid_->AutoFormatColumns(true);
    EXPECT_EQ(grid_->columnWidth(0), 300); // already wider than its data
    EXPECT_EQ(grid_->columnWidth(1), width("Zo\xC3\xAB, \xE6\x9D\xB1\xE4\xBA\xAC") + 18);
    grid_->AutoFormatColumns(true);
    EXPECT_EQ(grid_->columnWidth(1), width("Zo\xC3\xAB, \xE6\x9D\xB1\xE4\xBA\xAC") + 18);
    grid_->AutoFormatColumns(false);
    EXPECT_EQ(grid_->columnWidth(0), width("id") + 18);
    EXPECT_EQ(grid_->columnWidth(1), width("name") + 18);
}

TEST_F(ListViewTest, GridLinesAreDottedAndVerticalOnesStopAtTheLastColumn) {
    Fill({"a", "b"}, {{"", ""}, {"", ""}, {"", ""}});
    grid_->setColumnWidth(0, 50);
    grid_->setColumnWidth(1, 70);
    Show();
    const QRgb white = Rgb(grid_->palette().color(QPalette::Active, QPalette::Base));
    grid_->SetGridLines(true, Qt::red, true);
    const QImage image = grid_->viewport()->grab().toImage();
    const int height = grid_->rowHeight(0);
    const QRgb red = Rgb(Qt::red);

    // The right edge of each column, one dot every other pixel from an even top.
    for (int x : {49, 119}) {
        EXPECT_EQ(PixelAt(image, x, 2), red) << x;
        EXPECT_EQ(PixelAt(image, x, 3), white) << x;
        EXPECT_EQ(PixelAt(image, x, 4), red) << x;
    }
    // Right of the last column: only each row's horizontal line, out to the client width.
    const int farRight = grid_->viewport()->width() - 10;
    for (int y = 0; y < height - 1; ++y)
        EXPECT_EQ(PixelAt(image, farRight, y), white) << y;
    const int line = height - 1;
    const int even = farRight % 2 == 0 ? farRight : farRight - 1;
    EXPECT_EQ(PixelAt(image, even, line), red);
    EXPECT_EQ(PixelAt(image, even + 1, line), white);
    EXPECT_EQ(PixelAt(image, 10, 2 * height - 1), red);

    grid_->SetGridLines(false, Qt::black, true);
    EXPECT_EQ(PixelAt(grid_->viewport()->grab().toImage(), 49, 2), white);
}

TEST_F(ListViewTest, SelectedRowsAreHighlightedToTheClientWidthWithoutFocus) {
    Fill({"a"}, {{"x"}, {"y"}});
    grid_->setColumnWidth(0, 40);
    Show();
    grid_->clearFocus();
    grid_->SelectRow(1, true);
    const QImage image = grid_->viewport()->grab().toImage();
    const int x = grid_->viewport()->width() - 5;
    const int height = grid_->rowHeight(0);
    EXPECT_EQ(PixelAt(image, x, height + height / 2),
              Rgb(grid_->palette().color(QPalette::Active, QPalette::Highlight)));
    EXPECT_EQ(PixelAt(image, x, height / 2),
              Rgb(grid_->palette().color(QPalette::Active, QPalette::Base)));
    EXPECT_EQ(grid_->SelectedRowCount(), 1);
}

TEST_F(ListViewTest, ResultMenuOnlyWithRowsAndItsSelectAllSelectsEveryRow) {
    Fill({"a"}, {});
    Show();
    EXPECT_EQ(grid_->CreateResultMenu(grid_.get()), nullptr);
    QContextMenuEvent onEmpty(QContextMenuEvent::Mouse, QPoint(10, 10),
                              grid_->mapToGlobal(QPoint(10, 10)));
    QApplication::sendEvent(grid_->viewport(), &onEmpty);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);

    Fill({"a"}, {{"1"}, {"2"}, {"3"}});
    std::vector<std::pair<QString, bool>> items;
    QTimer::singleShot(0, [&] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        QAction *selectAll = nullptr;
        for (QAction *action : menu->actions()) {
            items.emplace_back(action->isSeparator() ? QStringLiteral("-") : action->text(),
                               !action->isSeparator() && action->isEnabled());
            if (action->text() == QStringLiteral("Select &All"))
                selectAll = action;
        }
        ASSERT_NE(selectAll, nullptr);
        menu->activateWindow();
        selectAll->trigger();
        menu->close();
    });
    QContextMenuEvent onRows(QContextMenuEvent::Mouse, QPoint(10, 10),
                             grid_->mapToGlobal(QPoint(10, 10)));
    QApplication::sendEvent(grid_->viewport(), &onRows);

    const std::vector<std::pair<QString, bool>> expected = {
        {QStringLiteral("&Export All..."), true},
        {QStringLiteral("Export Selecte&d..."), false},
        {QStringLiteral("-"), false},
        {QStringLiteral("Select &All"), true},
    };
    EXPECT_EQ(items, expected);
    EXPECT_EQ(grid_->SelectedRowCount(), 3);
    EXPECT_EQ(grid_->LastChangedRow(), 2);
}

TEST_F(ListViewTest, ClicksAndSelectAllNameTheLastChangedRow) {
    std::vector<std::vector<std::string>> rows;
    for (int row = 0; row < 6; ++row)
        rows.push_back({std::to_string(row)});
    Fill({"n"}, rows);
    Show();
    // Taking the focus chooses no row; the arrow keys start at the first.
    grid_->setFocus();
    EXPECT_EQ(grid_->LastChangedRow(), -1);
    QTest::keyClick(grid_.get(), Qt::Key_Down);
    EXPECT_TRUE(grid_->IsRowSelected(0));
    EXPECT_EQ(grid_->LastChangedRow(), 0);

    const int y = grid_->rowViewportPosition(3) + grid_->rowHeight(3) / 2;
    QTest::mouseClick(grid_->viewport(), Qt::LeftButton, {}, QPoint(10, y));
    EXPECT_EQ(grid_->LastChangedRow(), 3);
    EXPECT_TRUE(grid_->IsRowSelected(3));

    CommandState state;
    ASSERT_TRUE(grid_->UpdateCommand(ID_EDIT_SELECT_ALL, state));
    EXPECT_TRUE(state.enabled);
    ASSERT_TRUE(grid_->RunCommand(ID_EDIT_SELECT_ALL));
    EXPECT_EQ(grid_->SelectedRowCount(), 6);
}

TEST_F(ListViewTest, EnsureRowVisibleScrollsARowFullyIntoView) {
    std::vector<std::vector<std::string>> rows;
    for (int row = 0; row < 200; ++row)
        rows.push_back({std::to_string(row)});
    Fill({"n"}, rows);
    Show();
    auto fullyVisible = [&](int row) {
        const int top = grid_->rowViewportPosition(row);
        return top >= 0 && top + grid_->rowHeight(row) <= grid_->viewport()->height();
    };
    ASSERT_FALSE(fullyVisible(150));
    grid_->EnsureRowVisible(150);
    EXPECT_TRUE(fullyVisible(150));
    grid_->EnsureRowVisible(3);
    EXPECT_TRUE(fullyVisible(3));

    const int before = grid_->verticalScrollBar()->value();
    grid_->EnsureRowVisible(200);
    grid_->EnsureRowVisible(-1);
    EXPECT_EQ(grid_->verticalScrollBar()->value(), before);
}

TEST_F(ListViewTest, PropertyModeLaysTitlesOutAsRows) {
    grid_->PropertyMode = true;
    grid_->SetColumns({"Driver", "Version"}, QStringLiteral("Driver info"));
    grid_->SetCellText(0, 1, "sqlite");
    grid_->SetCellText(1, 1, "3.0");
    EXPECT_EQ(grid_->ColumnCount, 2);
    EXPECT_EQ(grid_->GetColumnTitle(0), "Property    ");
    EXPECT_EQ(grid_->GetColumnTitle(1), "Value       ");
    EXPECT_EQ(Column(0), (std::vector<std::string>{"Driver", "Version"}));
    EXPECT_EQ(Column(1), (std::vector<std::string>{"sqlite", "3.0"}));

    grid_->PropertyMode = false;
    grid_->SetColumns({"a", "b,c", "d"}, QStringLiteral("x"));
    EXPECT_EQ(grid_->ColumnCount, 3);
    EXPECT_EQ(grid_->GetColumnTitle(1), "b,c");
    EXPECT_EQ(grid_->RowCount(), 0);
}

TEST_F(ListViewTest, TheHostingFrameShowsTheCaption) {
    EXPECT_EQ(grid_->Caption(), QStringLiteral("Results: "));
    EXPECT_EQ(doc_->m_pListView, grid_.get());
    auto frame = std::make_unique<CListFrameWnd>();
    frame->SetView(grid_.release());
    auto *grid = static_cast<CDBListView *>(frame->View());
    EXPECT_EQ(frame->GetCaption(), QStringLiteral("Results: "));
    grid->SetColumns({"a"}, QStringLiteral("Result set for the most recently executed query:"));
    EXPECT_EQ(frame->GetCaption(),
              QStringLiteral("Result set for the most recently executed query:"));
    frame.reset();
    EXPECT_EQ(doc_->m_pListView, nullptr);
}

} // namespace
