#include <atomic>
#include <chrono>
#include <future>
#include <thread>

#include <QAccessible>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include "Panes.h"
#include "ShellFixture.h"
#include "framework/CommandTable.h"
#include "framework/InputGate.h"

namespace {

using namespace std::chrono_literals;

// What a screen reader is told of the window, through Qt's accessibility
// interfaces as the platform bridge asks them.
class AccessibilityTest : public ShellFixture {
protected:
    void SetUp() override {
        ShellFixture::SetUp();
        ASSERT_TRUE(Start());
        Frame().show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&Frame()));
        app_->Settings().ShowMessage = 0;
    }
    void OpenWindow() {
        prompts_->dataSourceAnswers.push_back(SqliteSource().connect);
        ASSERT_TRUE(Frame().SendCommand(ID_FILE_NEW));
        ASSERT_NE(Frame().ActiveDocument(), nullptr);
    }
    // Back in the event loop: menus given up are deleted.
    static void ReturnToEventLoop() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }

    static QString Stripped(QString text) {
        text = text.section(QLatin1Char('\t'), 0, 0);
        return text.remove(QLatin1Char('&'));
    }
    // The File menu's item names as read through the menu bar's interface.
    static QAccessibleInterface *FileMenu(QMenuBar *bar) {
        QAccessibleInterface *barItem = QAccessible::queryAccessibleInterface(bar);
        if (!barItem)
            return nullptr;
        for (int i = 0; i < barItem->childCount(); ++i) {
            QAccessibleInterface *title = barItem->child(i);
            if (title && title->isValid() && title->text(QAccessible::Name) == "File")
                return title->childCount() > 0 ? title->child(0) : nullptr;
        }
        return nullptr;
    }
    // Each item's name beside the name its action has, separators left out.
    void ExpectFileItemsRead(const char *when) {
        SCOPED_TRACE(when);
        QMenu *file = nullptr;
        for (QAction *title : Frame().menuBar()->actions())
            if (Stripped(title->text()) == "File")
                file = title->menu();
        ASSERT_NE(file, nullptr);
        QAccessibleInterface *menu = FileMenu(Frame().menuBar());
        ASSERT_NE(menu, nullptr);
        const QList<QAction *> actions = file->actions();
        ASSERT_EQ(menu->childCount(), actions.size());
        for (int i = 0; i < actions.size(); ++i) {
            if (actions[i]->isSeparator())
                continue;
            QAccessibleInterface *item = menu->child(i);
            ASSERT_NE(item, nullptr);
            EXPECT_TRUE(item->isValid()) << Stripped(actions[i]->text()).toStdString();
            EXPECT_EQ(item->text(QAccessible::Name), Stripped(actions[i]->text()));
            EXPECT_EQ(item->parent(), menu) << Stripped(actions[i]->text()).toStdString();
        }
    }
};

TEST_F(AccessibilityTest, MenusReadTheirItemsAfterWindowsCloseAndOpen) {
    ExpectFileItemsRead("at start");
    OpenWindow();
    ReturnToEventLoop();
    ExpectFileItemsRead("with a window");
    // File > Close as a screen reader user chooses it.
    QAccessibleInterface *menu = FileMenu(Frame().menuBar());
    ASSERT_NE(menu, nullptr);
    QAccessibleInterface *close = nullptr;
    for (int i = 0; i < menu->childCount(); ++i)
        if (menu->child(i)->text(QAccessible::Name) == "Close")
            close = menu->child(i);
    ASSERT_NE(close, nullptr);
    close->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    ReturnToEventLoop();
    ASSERT_TRUE(Frame().ChildFrames().empty());
    ExpectFileItemsRead("after the last window closed");
    OpenWindow();
    ReturnToEventLoop();
    ExpectFileItemsRead("with a window again");
}

// A screen reader asks its questions one at a time, from the thread that
// hears the accessibility bus, each as an event to the window's thread. A
// query that never ends is running; the walk through the window must not
// wait for the work's ticks.
TEST_F(AccessibilityTest, QuestionsAreAnsweredAtOnceWhileWorkRuns) {
    OpenWindow();
    CDBOutputView *console = ConsoleOf(Frame().ActiveDocument());
    console->setFocus();
    const InputGate &gate = app_->Gate();

    constexpr int Questions = 300;
    std::vector<QAccessibleInterface *> toVisit{QAccessible::queryAccessibleInterface(&Frame())};
    int answeredWhileWorking = 0;
    std::atomic<bool> walkDone{false};
    std::thread bus([&] {
        const auto until = std::chrono::steady_clock::now() + 3s;
        for (int question = 0; question < Questions; ++question) {
            std::promise<void> answered;
            std::future<void> answer = answered.get_future();
            QMetaObject::invokeMethod(
                console,
                [&, question] {
                    answeredWhileWorking += gate.IsClosed();
                    if (question == 0) // refused while the work runs
                        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("typed"));
                    if (!toVisit.empty()) {
                        QAccessibleInterface *node = toVisit.back();
                        toVisit.pop_back();
                        node->text(QAccessible::Name);
                        for (int i = node->childCount() - 1; i >= 0; --i)
                            if (QAccessibleInterface *child = node->child(i))
                                toVisit.push_back(child);
                    }
                    answered.set_value();
                },
                Qt::QueuedConnection);
            if (answer.wait_until(until) != std::future_status::ready) {
                answer.wait();
                break;
            }
        }
        walkDone = true;
        // Esc, as the user stops the query.
        QMetaObject::invokeMethod(
            console, [] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape); },
            Qt::QueuedConnection);
    });
    const char *never = "SELECT x FROM (WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL "
                        "SELECT x + 1 FROM c) SELECT x FROM c) WHERE x % 400000000 = 0";
    QTest::keyClicks(console, QString::fromLatin1(never));
    QTest::keyClick(console, Qt::Key_Return);
    bus.join();
    EXPECT_TRUE(walkDone);
    EXPECT_EQ(answeredWhileWorking, Questions);
    EXPECT_FALSE(console->toPlainText().contains(QLatin1String("typed")));
}

// A long word is cut into blocks on screen; read, it is one word on one line.
TEST_F(AccessibilityTest, LongWordsReadWhole) {
    OpenWindow();
    CDBOutputView *console = ConsoleOf(Frame().ActiveDocument());
    console->setFocus();
    QString word;
    for (int i = 0; word.size() < 3000; ++i)
        word += QString::number(i % 10);
    const QString statement = QStringLiteral("SELECT '%1' AS w").arg(word);
    QTest::keyClicks(console, statement);
    QTest::keyClick(console, Qt::Key_Return);
    ASSERT_GT(console->document()->blockCount(), 4);

    QAccessibleInterface *reader = QAccessible::queryAccessibleInterface(console);
    ASSERT_NE(reader, nullptr);
    QAccessibleTextInterface *text = reader->textInterface();
    ASSERT_NE(text, nullptr);
    const QString all = text->text(0, text->characterCount());
    EXPECT_EQ(all, reader->text(QAccessible::Value));
    const qsizetype at = all.indexOf(statement);
    ASSERT_GE(at, 0) << all.left(200).toStdString();
    // The line holding the word, asked for from its middle, is the statement's echo.
    int start = 0;
    int end = 0;
    EXPECT_EQ(text->textAtOffset(int(at) + 2500, QAccessible::LineBoundary, &start, &end).trimmed(),
              "SQL> " + statement);
    EXPECT_EQ(start, at - 5);
    // The caret set at a character of the word's second part stands there.
    text->setCursorPosition(int(at) + 2000);
    EXPECT_EQ(text->cursorPosition(), int(at) + 2000);
    EXPECT_EQ(text->text(int(at) + 2000, int(at) + 2010), statement.mid(2000, 10));
    text->setSelection(0, int(at), int(at + statement.size()));
    int selectionStart = 0;
    int selectionEnd = 0;
    text->selection(0, &selectionStart, &selectionEnd);
    EXPECT_EQ(selectionEnd - selectionStart, statement.size());
    EXPECT_EQ(text->text(selectionStart, selectionEnd), statement);
}

} // namespace
