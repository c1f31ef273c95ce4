#include <QCheckBox>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

#include "ConsoleFixture.h"
#include "framework/CommandTable.h"

namespace {

using ConsoleInputTest = ConsoleFixture;

TEST_F(ConsoleInputTest, AppendedTextShowsUtf8AndBreaksLinesAtCrLf) {
    view_->AppendText("Zoë, 東京\r\nLIKE '100% %s'\r\n");
    view_->AppendText(std::string(3000, 'x'));
    EXPECT_EQ(Shown(), "Zoë, 東京\nLIKE '100% %s'\n" + std::string(3000, 'x'));
    EXPECT_EQ(view_->CaretLine(), 3u);
    // Program output is not undoable.
    EXPECT_FALSE(Enabled(ID_EDIT_UNDO));
}

TEST_F(ConsoleInputTest, OutputScrollsTheCaretIntoViewOnceShown) {
    for (int i = 0; i < 300; ++i)
        view_->AppendText("line " + std::to_string(i) + " " + std::string(size_t(i % 90), '.') +
                          "\r\n");
    view_->ShowPrompt();
    QApplication::processEvents();
    const QScrollBar *bar = view_->verticalScrollBar();
    EXPECT_GT(bar->maximum(), 250); // lines less the ones in view
    EXPECT_EQ(bar->value(), bar->maximum());
    EXPECT_TRUE(view_->viewport()->rect().contains(view_->cursorRect()));
    EXPECT_EQ(view_->CaretLine(), 302u);
    // The caret put into the history by a click goes back to the end with output.
    ClickAt(0, 2);
    view_->AppendText("more");
    QApplication::processEvents();
    EXPECT_EQ(view_->textCursor().position(), End());
    EXPECT_TRUE(view_->viewport()->rect().contains(view_->cursorRect()));
}

TEST_F(ConsoleInputTest, NothingCanBeTypedBeforeTheFirstPrompt) {
    view_->AppendText("connecting");
    EXPECT_EQ(view_->ReadOnly(), 1);
    Type(QStringLiteral("ab 1"));
    Key(Qt::Key_Return);
    EXPECT_EQ(Shown(), "connecting");
    EXPECT_EQ(view_->ReadOnly(), 1);

    view_->ShowPrompt();
    EXPECT_EQ(Shown(), "connecting\nSQL> ");
    EXPECT_EQ(view_->PromptPos(), End());
    EXPECT_EQ(view_->ReadOnly(), 0);
    Type(QStringLiteral("select 'Zoë, 東京'"));
    EXPECT_EQ(Input(), "select 'Zoë, 東京'");
    EXPECT_EQ(view_->CaretLine(), 2u);
}

TEST_F(ConsoleInputTest, EnterWithOnlyBlanksGivesANewPromptAndNeverBreaksTheLine) {
    view_->ShowPrompt();
    Type(QStringLiteral("   \t "));
    Key(Qt::Key_Return);
    EXPECT_EQ(Shown(), "\nSQL>    \t \nSQL> ");
    EXPECT_EQ(view_->PromptPos(), End());
    Key(Qt::Key_Enter);
    EXPECT_EQ(Shown(), "\nSQL>    \t \nSQL> \nSQL> ");
    // Enter in the history does nothing at all.
    ClickAt(1, 0);
    ASSERT_EQ(view_->ReadOnly(), 1);
    Key(Qt::Key_Return);
    EXPECT_EQ(Shown(), "\nSQL>    \t \nSQL> \nSQL> ");
}

TEST_F(ConsoleInputTest, EnterTakesTheInputAwayAndRunsIt) {
    view_->ShowPrompt();
    Type(QStringLiteral("  REM a note"));
    Key(Qt::Key_Return);
    // A comment runs nothing: the input is gone and no new prompt follows.
    EXPECT_EQ(Shown(), "\nSQL> ");
    EXPECT_EQ(view_->PromptPos(), End());
    EXPECT_EQ(view_->ReadOnly(), 0);
    EXPECT_TRUE(view_->LastStatement().empty());
}

TEST_F(ConsoleInputTest, BackspaceAndDeletionByWordStopAtThePrompt) {
    view_->AppendText("history");
    view_->ShowPrompt();
    Key(Qt::Key_Backspace);
    EXPECT_EQ(Shown(), "history\nSQL> ");
    Type(QStringLiteral("ab"));
    for (int i = 0; i < 4; ++i)
        Key(Qt::Key_Backspace);
    EXPECT_EQ(Shown(), "history\nSQL> ");
    Type(QStringLiteral(" x"));
    Key(Qt::Key_Backspace, Qt::ControlModifier);
    Key(Qt::Key_Backspace, Qt::ControlModifier);
    Key(Qt::Key_Backspace, Qt::ControlModifier);
    EXPECT_EQ(Shown(), "history\nSQL> ");
    Type(QStringLiteral("abc"));
    Key(Qt::Key_Left);
    Key(Qt::Key_Backspace);
    EXPECT_EQ(Input(), "ac");
}

TEST_F(ConsoleInputTest, LettersTypedInTheHistoryGoToTheEndOfTheInput) {
    view_->AppendText("select * from t");
    view_->ShowPrompt();
    Type(QStringLiteral("sel"));
    ClickAt(0, 3);
    ASSERT_EQ(view_->ReadOnly(), 1);
    Type(QStringLiteral("e"));
    EXPECT_EQ(Shown(), "select * from t\nSQL> sele");
    // The caret followed the letter to the end: typing goes on normally.
    EXPECT_EQ(view_->ReadOnly(), 0);
    Type(QStringLiteral("c"));
    EXPECT_EQ(Input(), "selec");

    // Anything but letters and digits does nothing there.
    ClickAt(0, 3);
    for (Qt::Key key : {Qt::Key_Space, Qt::Key_ParenLeft, Qt::Key_Delete, Qt::Key_Backspace,
                        Qt::Key_Tab, Qt::Key_Semicolon})
        Key(key);
    QTest::keyClick(view_.get(), Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(Shown(), "select * from t\nSQL> selec");
    // A repeat count appends the letter that many times.
    ClickAt(0, 1);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_T, Qt::NoModifier, QStringLiteral("t"), true, 3);
    QApplication::sendEvent(view_.get(), &press);
    QTest::keyClick(view_.get(), Qt::Key_9, Qt::KeypadModifier);
    EXPECT_EQ(Input(), "selecttt9");
}

TEST_F(ConsoleInputTest, DeleteAndCutOfASelectionStartingInTheHistoryDoNothing) {
    view_->AppendText("history line");
    view_->ShowPrompt();
    Type(QStringLiteral("abc"));
    const std::string before = Shown();
    // Shift+Up from the input reaches into the history.
    Key(Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(view_->ReadOnly(), 1);
    EXPECT_FALSE(Enabled(ID_EDIT_CUT));
    Key(Qt::Key_Delete);
    view_->RunCommand(ID_EDIT_CUT);
    EXPECT_EQ(Shown(), before);
    // A selection made without a key or mouse release counts too.
    Select(3, End());
    Key(Qt::Key_Delete);
    Type(QStringLiteral(" "));
    EXPECT_EQ(Shown(), before);
    // From the prompt on, the same keys edit the input.
    Select(int(view_->PromptPos()), int(view_->PromptPos()) + 1);
    Key(Qt::Key_Delete);
    EXPECT_EQ(Input(), "bc");
}

TEST_F(ConsoleInputTest, CutAndPasteAreEnabledOnlyForTheInput) {
    view_->AppendText("history");
    view_->ShowPrompt();
    QGuiApplication::clipboard()->setText(QStringLiteral("from t"));
    EXPECT_TRUE(Enabled(ID_EDIT_PASTE));
    EXPECT_FALSE(Enabled(ID_EDIT_CUT)); // nothing selected
    Type(QStringLiteral("select "));
    view_->RunCommand(ID_EDIT_PASTE);
    EXPECT_EQ(Input(), "select from t");
    Key(Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_TRUE(Enabled(ID_EDIT_CUT));
    EXPECT_TRUE(Enabled(ID_EDIT_COPY));
    view_->RunCommand(ID_EDIT_CUT);
    EXPECT_EQ(Input(), "select from ");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "t");

    ClickAt(0, 2);
    EXPECT_FALSE(Enabled(ID_EDIT_PASTE));
    view_->RunCommand(ID_EDIT_PASTE);
    EXPECT_EQ(Shown(), "history\nSQL> select from ");
    // Copy works from the history.
    Key(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_TRUE(Enabled(ID_EDIT_COPY));
    EXPECT_FALSE(Enabled(ID_EDIT_CUT));
    view_->RunCommand(ID_EDIT_COPY);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "s");

    // A clipboard without text enables nothing.
    Key(Qt::Key_End, Qt::ControlModifier);
    ASSERT_EQ(view_->ReadOnly(), 0);
    auto *image = new QMimeData;
    image->setData(QStringLiteral("image/png"), QByteArray("\x89PNG", 4));
    QGuiApplication::clipboard()->setMimeData(image);
    EXPECT_FALSE(Enabled(ID_EDIT_PASTE));
    QGuiApplication::clipboard()->clear();
    EXPECT_FALSE(Enabled(ID_EDIT_PASTE));
}

TEST_F(ConsoleInputTest, InsertTextWithTheCaretInTheHistoryLandsAfterThePromptSelected) {
    view_->AppendText("history");
    view_->ShowPrompt();
    Type(QStringLiteral("select "));
    ClickAt(0, 2);
    view_->InsertText("{fn UCASE(ë)}\r\nx");
    EXPECT_EQ(Shown(), "history\nSQL> select {fn UCASE(ë)}\nx");
    EXPECT_EQ(view_->textCursor().selectedText(),
              QStringLiteral("{fn UCASE(ë)}") + QChar(QChar::ParagraphSeparator) + "x");
    EXPECT_EQ(view_->ReadOnly(), 0);
    // Typing replaces the selected insertion.
    Type(QStringLiteral("name"));
    EXPECT_EQ(Input(), "select name");
}

TEST_F(ConsoleInputTest, InsertTextInTheInputReplacesTheSelectionUndoably) {
    view_->ShowPrompt();
    Type(QStringLiteral("select a from t"));
    Select(int(view_->PromptPos()) + 7, int(view_->PromptPos()) + 8);
    view_->InsertText("ëa, b");
    EXPECT_EQ(Input(), "select ëa, b from t");
    EXPECT_EQ(view_->textCursor().selectedText(), QStringLiteral("ëa, b"));
    ASSERT_TRUE(Enabled(ID_EDIT_UNDO));
    view_->RunCommand(ID_EDIT_UNDO);
    EXPECT_EQ(Input(), "select a from t");
    // Undo never reaches above the prompt: each output ends what it can undo.
    view_->ShowPrompt();
    EXPECT_FALSE(Enabled(ID_EDIT_UNDO));
}

TEST_F(ConsoleInputTest, FindMatchesCaseWholeWordsAndDirection) {
    view_->AppendText("select a\r\nSELECT b\r\nselected c\r\n");
    view_->ShowPrompt();
    EXPECT_FALSE(Enabled(ID_EDIT_REPEAT));
    view_->moveCursor(QTextCursor::Start);
    ASSERT_TRUE(view_->RunCommand(ID_EDIT_FIND));
    ConsoleFindDialog *dialog = view_->FindDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(dialog->FindNextButton()->isEnabled());
    QTest::keyClicks(dialog->FindEdit(), QStringLiteral("SELECT"));
    QTest::mouseClick(dialog->FindNextButton(), Qt::LeftButton);
    const auto selection = [this] {
        const QTextCursor c = view_->textCursor();
        return std::make_pair(c.selectionStart(), c.selectedText());
    };
    EXPECT_EQ(selection(), std::make_pair(0, QStringLiteral("select")));
    // A match in the history must not be typed over.
    EXPECT_EQ(view_->ReadOnly(), 1);
    Type(QStringLiteral(" "));
    EXPECT_EQ(view_->document()->findBlockByNumber(0).text(), "select a");

    // F3 repeats the search from the selection.
    ASSERT_TRUE(Enabled(ID_EDIT_REPEAT));
    view_->RunCommand(ID_EDIT_REPEAT);
    EXPECT_EQ(selection(), std::make_pair(9, QStringLiteral("SELECT")));
    view_->RunCommand(ID_EDIT_REPEAT);
    EXPECT_EQ(selection(), std::make_pair(18, QStringLiteral("select")));
    // Past the last match the selection stays.
    view_->RunCommand(ID_EDIT_REPEAT);
    EXPECT_EQ(selection(), std::make_pair(18, QStringLiteral("select")));

    // Upwards with match case skips the lower-case matches.
    dialog->MatchCaseBox()->setChecked(true);
    dialog->UpButton()->setChecked(true);
    QTest::mouseClick(dialog->FindNextButton(), Qt::LeftButton);
    EXPECT_EQ(selection(), std::make_pair(9, QStringLiteral("SELECT")));

    // Whole words only: "selected" is no match.
    dialog->MatchCaseBox()->setChecked(false);
    dialog->DownButton()->setChecked(true);
    dialog->WholeWordBox()->setChecked(true);
    QTest::mouseClick(dialog->FindNextButton(), Qt::LeftButton);
    EXPECT_EQ(selection(), std::make_pair(9, QStringLiteral("SELECT")));
    view_->moveCursor(QTextCursor::Start);
    view_->RunCommand(ID_EDIT_REPEAT);
    view_->RunCommand(ID_EDIT_REPEAT);
    EXPECT_EQ(selection(), std::make_pair(9, QStringLiteral("SELECT")));
}

} // namespace
