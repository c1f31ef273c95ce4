// The commands, questions and panes as a user meets them: keys to the focused
// widget, clicks on the real buttons, and what the window shows right after.
#include <map>
#include <regex>
#include <string>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QWhatsThis>

#include "Panes.h"
#include "ShellFixture.h"
#include "app/DialogPrompts.h"
#include "framework/CommandTable.h"
#include "results/FindDialog.h"

namespace {

// Collects the warnings Qt prints while alive, such as an ambiguous shortcut.
class WarningLog {
public:
    WarningLog() {
        s_lines.clear();
        m_previous = qInstallMessageHandler(
            [](QtMsgType type, const QMessageLogContext &, const QString &text) {
                if (type == QtWarningMsg)
                    s_lines.append(text);
            });
    }
    ~WarningLog() { qInstallMessageHandler(m_previous); }
    QString Matching(const QString &part) const {
        for (const QString &line : s_lines)
            if (line.contains(part))
                return line;
        return {};
    }

private:
    static inline QStringList s_lines;
    QtMessageHandler m_previous = nullptr;
};

class EverydayPathsTest : public ShellFixture, public ::testing::WithParamInterface<std::string> {
protected:
    void SetUp() override {
        ShellFixture::SetUp();
        ASSERT_TRUE(Start());
        app_->Settings().ShowMessage = 0;
        Frame().resize(1400, 860);
        Frame().show();
        Frame().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Frame()));
        doc_ = OpenWindow(SourceNamed(GetParam()).connect);
        ASSERT_NE(doc_, nullptr);
    }

    // File > New, choosing `connect` in the data-source dialog, through Ctrl+N.
    CBrindleDoc *OpenWindow(const std::string &connect) {
        prompts_->dataSourceAnswers.push_back(connect);
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &Frame(),
                        Qt::Key_N, Qt::ControlModifier);
        Idle();
        CBrindleDoc *doc = Frame().ActiveDocument();
        if (doc)
            ConsoleOf(doc)->setFocus();
        Idle();
        return doc;
    }
    // The event loop delivers what is waiting and goes idle, as between two
    // things a user does.
    static void Idle() { QTest::qWait(20); }
    // Types a statement at the console's prompt and presses Enter.
    void Type(const QString &statement) {
        CDBOutputView *console = ConsoleOf(doc_);
        console->setFocus();
        QTest::keyClick(console, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClicks(console, statement);
        QTest::keyClick(console, Qt::Key_Return);
        Idle();
    }
    // What the toolbar button of a command shows.
    bool ButtonEnabled(int id) {
        QWidget *button = Frame().ToolBar()->widgetForAction(Frame().Action(id));
        EXPECT_NE(button, nullptr) << id;
        return button && button->isEnabled();
    }
    QString Quote(const char *name) const {
        return GetParam() == "mariadb" ? QStringLiteral("`%1`").arg(name)
                                       : QString::fromLatin1(name);
    }

    CBrindleDoc *doc_ = nullptr;
};

TEST_P(EverydayPathsTest, ToolbarAndShortcutsFollowTheGridAndCaretAtOnce) {
    const int gridCommands[] = {ID_EXPORT_ALL, ID_DEPLOY, ID_FILE_PRINT};
    for (int id : gridCommands)
        EXPECT_FALSE(ButtonEnabled(id)) << id;
    EXPECT_FALSE(ButtonEnabled(ID_SAVE_SQL));

    Type(QStringLiteral("SELECT id, name FROM customers ORDER BY id"));
    ASSERT_EQ(GridOf(doc_)->RowCount(), 5);
    EXPECT_EQ(QApplication::focusWidget(), ConsoleOf(doc_));
    for (int id : gridCommands)
        EXPECT_TRUE(ButtonEnabled(id)) << id;
    EXPECT_TRUE(ButtonEnabled(ID_SAVE_SQL));

    // Ctrl+E with the focus still in the console reaches Export All.
    QTest::keyClick(ConsoleOf(doc_), Qt::Key_E, Qt::ControlModifier);
    EXPECT_EQ(prompts_->proposedSaveNames.size(), 1u);

    Type(QStringLiteral("SELECT id FROM customers WHERE id < 0"));
    ASSERT_EQ(GridOf(doc_)->RowCount(), 0);
    for (int id : gridCommands)
        EXPECT_FALSE(ButtonEnabled(id)) << id;
    EXPECT_TRUE(ButtonEnabled(ID_SAVE_SQL));

    // Paste Syntax only with the caret after the prompt, on the button too.
    CDBOutputView *console = ConsoleOf(doc_);
    EXPECT_TRUE(ButtonEnabled(ID_PASTE_SYNTAX));
    QTest::keyClick(console, Qt::Key_Home, Qt::ControlModifier);
    Idle();
    EXPECT_FALSE(ButtonEnabled(ID_PASTE_SYNTAX));
    QTest::keyClick(console, Qt::Key_End, Qt::ControlModifier);
    Idle();
    EXPECT_TRUE(ButtonEnabled(ID_PASTE_SYNTAX));
}

TEST_P(EverydayPathsTest, FindKeepsTheChosenColumnAndTheLinePaneFollowsIt) {
    const QString query = QStringLiteral("SELECT id, name, city FROM customers ORDER BY id")
                              .replace("city", Quote("city"));
    Type(query);
    ASSERT_EQ(GridOf(doc_)->RowCount(), 5);
    CDBListView *grid = GridOf(doc_);
    const auto clickFirstRow = [grid] {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          grid->visualRect(grid->model()->index(0, 0)).center());
        Idle();
    };
    clickFirstRow();
    EXPECT_EQ(Frame().LineIndicator(), QStringLiteral("Ln 1"));
    QTest::keyClick(grid, Qt::Key_F, Qt::ControlModifier);
    Idle();
    FindDialog *dialog = grid->OpenFindDialog();
    ASSERT_NE(dialog, nullptr);
    QComboBox *what = nullptr;
    QComboBox *column = nullptr;
    for (QLabel *label : dialog->findChildren<QLabel *>()) {
        if (label->text() == QStringLiteral("Fi&nd what:"))
            what = qobject_cast<QComboBox *>(label->buddy());
        if (label->text() == QStringLiteral("&Search in:"))
            column = qobject_cast<QComboBox *>(label->buddy());
    }
    ASSERT_TRUE(what && column);
    QPushButton *findNext = nullptr;
    QPushButton *markAll = nullptr;
    for (QPushButton *button : dialog->findChildren<QPushButton *>()) {
        if (button->text() == QStringLiteral("&Find Next"))
            findNext = button;
        if (button->text() == QStringLiteral("&Mark All"))
            markAll = button;
    }
    ASSERT_TRUE(findNext && markAll);

    column->setFocus();
    QTest::keyClick(column, Qt::Key_Down);
    QTest::keyClick(column, Qt::Key_Down);
    ASSERT_EQ(column->currentText(), QStringLiteral("city"));
    QTest::keyClicks(what->lineEdit(), QStringLiteral("Leeds"));

    // The same query again: the choice stands, and Find Next finds the row.
    Type(query);
    EXPECT_EQ(column->currentText(), QStringLiteral("city"));
    clickFirstRow();
    QTest::mouseClick(findNext, Qt::LeftButton);
    Idle();
    EXPECT_TRUE(prompts_->questions.empty()) << prompts_->questions.front().toStdString();
    EXPECT_TRUE(grid->IsRowSelected(1));
    EXPECT_EQ(Frame().LineIndicator(), QStringLiteral("Ln 2"));

    // Mark All moves the pane to its last marked row as well.
    what->lineEdit()->clear();
    QTest::keyClicks(what->lineEdit(), QStringLiteral("a"));
    QTest::mouseClick(markAll, Qt::LeftButton);
    Idle();
    EXPECT_EQ(Frame().LineIndicator(), QStringLiteral("Ln 5")); // Madrid, the last with an "a"

    // Other columns: the choice lapses to the first column.
    Type(QStringLiteral("SELECT name FROM products"));
    EXPECT_EQ(column->currentIndex(), 0);
    dialog->close();
}

TEST_P(EverydayPathsTest, ARefusedConnectionLeavesItsErrorInTheStatusBar) {
    // A server port where nothing listens: the driver's own refusal.
    std::string connect = SourceNamed(GetParam()).connect;
    if (GetParam() == "sqlite")
        connect = "DRIVER={SQLite3};DATABASE=" + MakeTempDir() + "/no/such/dir/x.db;NoCreat=1";
    else
        connect = std::regex_replace(connect, std::regex("PORT=[0-9]+"), "PORT=1");
    const auto windows = Frame().ChildFrames().size();
    prompts_->dataSourceAnswers.push_back(connect);
    QTest::keyClick(ConsoleOf(doc_), Qt::Key_N, Qt::ControlModifier);
    Idle();
    EXPECT_EQ(Frame().ChildFrames().size(), windows);
    EXPECT_TRUE(prompts_->messages.empty());
    const QString status = Frame().MessageText();
    EXPECT_TRUE(status.startsWith(QStringLiteral("Error: "))) << status.toStdString();
    EXPECT_GT(status.size(), 12) << status.toStdString();
}

TEST_P(EverydayPathsTest, NewWindowsOpenCascadedOverMostOfTheClientArea) {
    const QSize area = Frame().MdiArea()->viewport()->size();
    QMdiSubWindow *first = Frame().ActiveChildFrame();
    EXPECT_GT(first->width(), area.width() * 3 / 4);
    EXPECT_GT(first->height(), area.height() * 3 / 4);
    EXPECT_LE(first->geometry().right(), area.width());
    EXPECT_LE(first->geometry().bottom(), area.height());
    // The grid gets the larger share of the height.
    EXPECT_GT(GridOf(doc_)->height(), ConsoleOf(doc_)->height());

    ASSERT_NE(OpenWindow(SourceNamed(GetParam()).connect), nullptr);
    QMdiSubWindow *second = Frame().ActiveChildFrame();
    ASSERT_NE(second, first);
    EXPECT_GT(second->x(), first->x());
    EXPECT_GT(second->y(), first->y());
    EXPECT_EQ(second->size(), first->size());
}

INSTANTIATE_TEST_SUITE_P(Drivers, EverydayPathsTest, ::testing::ValuesIn(TestSourceNames()),
                         [](const auto &info) { return info.param; });

// Every accelerator of the command table, pressed with the focus in each pane
// of one of one or two windows, reaches its command and is never ambiguous.
class ShortcutTest : public EverydayPathsTest {};

TEST_P(ShortcutTest, EveryShortcutReachesItsCommandFromEachPane) {
    std::map<QString, int> triggered;
    for (const CommandInfo &command : CommandTable())
        if (QAction *action = Frame().Action(command.id))
            QObject::connect(action, &QAction::triggered, action,
                             [&triggered, action] { ++triggered[action->objectName()]; });
    // Dialogs that would block are turned down, as a user would close them.
    prompts_->onExec = [](QDialog &) { return int(QDialog::Rejected); };

    for (int windows : {1, 2}) {
        if (windows == 2) {
            doc_ = OpenWindow(SourceNamed(GetParam()).connect);
            ASSERT_NE(doc_, nullptr);
        }
        for (const char *pane : {"console", "tree", "grid"}) {
            for (const CommandInfo &command : CommandTable()) {
                if (!*command.accelerators)
                    continue;
                for (const QString &text : QString::fromLatin1(command.accelerators).split(", ")) {
                    SCOPED_TRACE(testing::Message()
                                 << windows << " windows, " << pane << ", " << text.toStdString());
                    Type(QStringLiteral("SELECT id, name FROM customers"));
                    const std::string which = pane;
                    QWidget *focus = which == "console" ? static_cast<QWidget *>(ConsoleOf(doc_))
                                     : which == "tree"  ? static_cast<QWidget *>(TreeOf(doc_))
                                                        : static_cast<QWidget *>(GridOf(doc_));
                    focus->setFocus();
                    Idle();
                    QAction *action = Frame().Action(command.id);
                    const bool enabled = action->isEnabled();
                    const int before = triggered[action->objectName()];
                    WarningLog warnings;
                    const QKeySequence keys(text, QKeySequence::PortableText);
                    QTest::keyClick(QApplication::focusWidget(), Qt::Key(keys[0].key()),
                                    keys[0].keyboardModifiers());
                    EXPECT_EQ(warnings.Matching(QStringLiteral("Ambiguous")), QString());
                    const int times = triggered[action->objectName()] - before;
                    // The editing keys in the console are the console's own.
                    const bool consoleEdit =
                        which == "console" &&
                        (command.id == ID_EDIT_UNDO || command.id == ID_EDIT_CUT ||
                         command.id == ID_EDIT_COPY || command.id == ID_EDIT_PASTE ||
                         command.id == ID_EDIT_SELECT_ALL);
                    if (!consoleEdit) {
                        EXPECT_EQ(times, enabled ? 1 : 0) << "enabled " << enabled;
                    }
                    // Leave what the command opened, as a user would.
                    if (QWhatsThis::inWhatsThisMode())
                        QWhatsThis::leaveWhatsThisMode();
                    for (QWidget *window : QApplication::topLevelWidgets())
                        if (window != &Frame() && window->isVisible() &&
                            qobject_cast<QDialog *>(window))
                            window->close();
                    // The window manager gives the main window back its activation.
                    Frame().activateWindow();
                    ASSERT_TRUE(QTest::qWaitForWindowActive(&Frame()));
                    Idle();
                }
            }
        }
    }
    // The commands every window offers whatever pane has the focus.
    for (int id : {ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, ID_EXPORT_ALL, ID_FILE_PRINT,
                   ID_QUERY_WIZARD, ID_AUTO_FORMAT, ID_SHOW_GRID, ID_REFRESH})
        EXPECT_GE(triggered[Frame().Action(id)->objectName()], 6) << id;
}

INSTANTIATE_TEST_SUITE_P(Sqlite, ShortcutTest, ::testing::Values(std::string("sqlite")),
                         [](const auto &info) { return info.param; });

// The questions that name an action answer with Yes and No, on the real box.
TEST(QuestionButtons, AskingToCancelOffersYesAndNo) {
    DialogPrompts prompts;
    struct Case {
        UserPrompts::Answers answers;
        QMessageBox::StandardButtons buttons;
        QMessageBox::StandardButton press;
        bool result;
    };
    const Case cases[] = {
        {UserPrompts::Answers::YesNo, QMessageBox::Yes | QMessageBox::No, QMessageBox::No, false},
        {UserPrompts::Answers::YesNo, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes, true},
        {UserPrompts::Answers::OkCancel, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok,
         true},
    };
    for (const Case &c : cases) {
        QMessageBox::StandardButtons shown;
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            shown = box->standardButtons();
            QTest::mouseClick(box->button(c.press), Qt::LeftButton);
        });
        EXPECT_EQ(
            prompts.Question(nullptr, QStringLiteral("Brindle"), QStringLiteral("Go?"), c.answers),
            c.result);
        EXPECT_EQ(shown, c.buttons);
    }
}

} // namespace
