#include <fstream>
#include <iterator>

#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTextCursor>

#include "ShellFixture.h"
#include "console/CDBOutputView.h"
#include "framework/CommandTable.h"
#include "results/CDBListView.h"
#include "results/FindDialog.h"
#include "syntax/CSyntaxPage.h"
#include "syntax/CSyntaxSheet.h"

namespace {

// A connection window whose grid shows two rows; the console is the active pane.
class ResultCommandsTest : public ShellFixture {
protected:
    void SetUp() override {
        ShellFixture::SetUp();
        ASSERT_TRUE(Start());
        Frame().show();
        prompts_->dataSourceAnswers.push_back(SqliteSource().connect);
        ASSERT_TRUE(Frame().SendCommand(ID_FILE_NEW));
        frame_ = Frame().ActiveChildFrame();
        ASSERT_NE(frame_, nullptr);
        grid_ = frame_->ListView();
        Fill();
    }
    void Fill() {
        grid_->SetColumns({"ID", "NAME"}, QStringLiteral("Rows:"));
        const char *rows[][2] = {{"1", "Smith"}, {"2", "a\"b"}};
        for (int row = 0; row < 2; ++row)
            for (int column = 0; column < 2; ++column)
                grid_->SetCellText(row, column, rows[row][column]);
    }
    void ActivateGrid() {
        for (int step = 0; step < 3 && frame_->ActiveViewWidget() != grid_; ++step)
            Frame().SendCommand(ID_NEXT_PANE);
        ASSERT_EQ(frame_->ActiveViewWidget(), grid_);
    }
    bool Enabled(int id) { return Frame().QueryCommand(id).enabled; }

    CChildFrame *frame_ = nullptr;
    CDBListView *grid_ = nullptr;
};

TEST_F(ResultCommandsTest, GridCommandsFollowRowsAndSelectionFromEitherPane) {
    enum Content { Empty, Rows, Selected };
    struct Case {
        Content content;
        bool exportAll, exportSelected, deploy, print, preview, setup;
    };
    const Case cases[] = {
        {Empty, false, false, false, false, false, true},
        {Rows, true, false, true, true, true, true},
        {Selected, true, true, true, true, true, true},
    };
    for (bool gridActive : {false, true}) {
        if (gridActive)
            ActivateGrid();
        for (const Case &c : cases) {
            SCOPED_TRACE(testing::Message() << c.content << (gridActive ? " grid" : " console"));
            Fill();
            if (c.content == Empty)
                grid_->ClearGrid();
            if (c.content == Selected)
                grid_->SelectRow(1, true);
            EXPECT_EQ(Enabled(ID_EXPORT_ALL), c.exportAll);
            EXPECT_EQ(Enabled(ID_EXPORT_SELECTED), c.exportSelected);
            EXPECT_EQ(Enabled(ID_DEPLOY), c.deploy);
            EXPECT_EQ(Enabled(ID_FILE_PRINT), c.print);
            EXPECT_EQ(Enabled(ID_FILE_PRINT_PREVIEW), c.preview);
            EXPECT_EQ(Enabled(ID_FILE_PRINT_SETUP), c.setup);
        }
    }
}

TEST_F(ResultCommandsTest, ExportAllWritesTheFormatOfTheChosenFilter) {
    // The name says tab; the filter chosen says comma, and wins.
    const std::string path = MakeTempDir() + "/rows.tab";
    prompts_->saveFileAnswers.push_back(QString::fromStdString(path));
    prompts_->saveFilterAnswers.push_back(QStringLiteral("Comma Delimited File (*.csv)"));
    ASSERT_TRUE(Frame().SendCommand(ID_EXPORT_ALL));

    std::ifstream file(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)), {});
    EXPECT_EQ(bytes, "\"ID\",\"NAME\"\r\n\"1\",\"Smith\"\r\n\"2\",\"a\"\"b\"");
    EXPECT_TRUE(prompts_->messages.empty());
}

TEST_F(ResultCommandsTest, FindOpensOneDialogForTheActiveGrid) {
    // With the console active, Find is the console's own.
    if (Enabled(ID_EDIT_FIND))
        Frame().SendCommand(ID_EDIT_FIND);
    EXPECT_EQ(grid_->OpenFindDialog(), nullptr);

    ActivateGrid();
    ASSERT_TRUE(Frame().SendCommand(ID_EDIT_FIND));
    FindDialog *dialog = grid_->OpenFindDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    ASSERT_TRUE(Frame().SendCommand(ID_EDIT_FIND));
    EXPECT_EQ(grid_->OpenFindDialog(), dialog);
}

TEST_F(ResultCommandsTest, PasteSyntaxOnlyWhileTheConsoleCaretIsAfterThePrompt) {
    CDBOutputView *console = frame_->Console();
    console->moveCursor(QTextCursor::End);
    EXPECT_TRUE(Enabled(ID_PASTE_SYNTAX));
    prompts_->onExec = [](QDialog &dialog) {
        auto &sheet = static_cast<CSyntaxSheet &>(dialog);
        sheet.show();
        sheet.SetActivePage(1); // Columns, whose first entry is always "*"
        sheet.ActivePage()->List()->setCurrentRow(0);
        QTest::mouseClick(sheet.InsertButton(), Qt::LeftButton);
        return dialog.result();
    };
    ASSERT_TRUE(Frame().SendCommand(ID_PASTE_SYNTAX));
    EXPECT_EQ(console->textCursor().selectedText(), "*");
    EXPECT_TRUE(console->toPlainText().endsWith(QStringLiteral("SQL> *")));

    QTest::keyClick(console, Qt::Key_Home, Qt::ControlModifier); // into the history
    EXPECT_FALSE(Enabled(ID_PASTE_SYNTAX));
    QTest::keyClick(console, Qt::Key_End, Qt::ControlModifier);
    EXPECT_TRUE(Enabled(ID_PASTE_SYNTAX));
    ActivateGrid();
    EXPECT_FALSE(Enabled(ID_PASTE_SYNTAX));
}

} // namespace
