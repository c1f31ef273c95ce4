#include <chrono>
#include <csignal>
#include <fstream>
#include <functional>
#include <string>

#include <QApplication>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "../shell/ShellFixture.h"
#include "DriverFacts.h"
#include "Panes.h"
#include "TestDataSources.h"
#include "app/CChildFrame.h"
#include "app/CMainFrame.h"
#include "connection/CBrindleDoc.h"
#include "console/CDBOutputView.h"
#include "framework/CommandTable.h"
#include "odbc/OdbcConnection.h"
#include "odbc/OdbcStatement.h"
#include "results/CDBListView.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// What each driver runs for ever, and how its server names and ends a session.
struct LongWork {
    const char *source;
    // Never ends; on SQLite it gives a row now and then.
    const char *query;
    const char *backendId; // the session's server process or thread; "" without a server
    const char *endSession;
};

const LongWork &WorkOf(const std::string &source) {
    static const LongWork works[] = {
        {"sqlite",
         "SELECT x FROM (WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c) "
         "SELECT x FROM c) WHERE x % 400000 = 0",
         "", ""},
        {"postgres", "SELECT pg_sleep(60)", "SELECT pg_backend_pid()",
         "SELECT pg_terminate_backend(%s)"},
        {"mariadb", "SELECT SLEEP(60)", "SELECT CONNECTION_ID()", "KILL CONNECTION %s"},
    };
    for (const LongWork &work : works)
        if (source == work.source)
            return work;
    throw std::invalid_argument(source);
}

class CancelTest : public ShellFixture, public ::testing::WithParamInterface<std::string> {
protected:
    void SetUp() override {
        ShellFixture::SetUp();
        source_ = SourceNamed(GetParam());
        ASSERT_TRUE(Start());
        app_->Settings().ShowMessage = 0;
        app_->Settings().QueryTimeout = 0;
        prompts_->dataSourceAnswers.push_back(source_.connect);
        Frame().SendCommand(ID_FILE_NEW);
        doc_ = Frame().ActiveDocument();
        ASSERT_NE(doc_, nullptr);
        console_ = ConsoleOf(doc_);
        grid_ = GridOf(doc_);
        Run("CREATE TEMPORARY TABLE cancel_t (id int)");
    }
    void TearDown() override {
        if (stopped_ > 0)
            ::kill(stopped_, SIGCONT);
        ShellFixture::TearDown();
    }

    // Runs a statement as typed; `during` is called every 20 ms while it runs,
    // with the time since the start, until it returns true.
    std::string Run(const std::string &statement,
                    const std::function<bool(Clock::duration)> &during = nullptr) {
        const qsizetype mark = console_->toPlainText().size();
        const Clock::time_point start = Clock::now();
        QTimer poll;
        poll.setInterval(20);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (during(Clock::now() - start))
                poll.stop();
        });
        if (during)
            poll.start();
        doc_->ExecuteStatement(statement);
        took_ = Clock::now() - start;
        return console_->toPlainText().mid(mark).toStdString();
    }
    std::string Cell() { return grid_->RowCount() > 0 ? grid_->GetCellText(0, 0) : ""; }
    std::string BackendId() {
        Run(WorkOf(GetParam()).backendId);
        return Cell();
    }
    // Ends the session from a connection of its own, as a server going away would.
    void EndSession(const std::string &id) {
        OdbcConnection other;
        ASSERT_TRUE(other.Open(source_.connect, false, nullptr));
        OdbcStatement statement(other);
        statement.ExecuteDirect(Formatted(WorkOf(GetParam()).endSession, id));
        statement.DrainResults();
    }

    TestDataSource source_;
    CBrindleDoc *doc_ = nullptr;
    CDBOutputView *console_ = nullptr;
    CDBListView *grid_ = nullptr;
    Clock::duration took_{};
    pid_t stopped_ = 0;
};

// Every source: its calls run off the window's thread.
class DispatchedCancelTest : public CancelTest {
protected:
    // Closes `window` while a query runs: the close asks `question`, is answered
    // Yes, and the connection windows go once the work's stack has unwound.
    void CloseDuringAQuery(QWidget &window, const char *question) {
        prompts_->questionAnswers.push_back(true);
        Run(WorkOf(GetParam()).query, [&](Clock::duration elapsed) {
            if (elapsed < 300ms)
                return false;
            window.close();
            return true;
        });
        EXPECT_LT(took_, 5s);
        ASSERT_EQ(prompts_->questions.size(), 1u);
        EXPECT_EQ(prompts_->questions[0], QString::fromLatin1(question));
        // "Cancel it?" is answered Yes or No: a Cancel button would read against it.
        EXPECT_EQ(prompts_->questionButtons[0], UserPrompts::Answers::YesNo);
        QApplication::processEvents();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(Frame().ChildFrames().empty());
    }
};
// Sources with a server whose sessions can be ended.
class ServerCancelTest : public CancelTest {};
// PostgreSQL, whose sessions are processes of their own that can be paused.
class PausedBackendTest : public CancelTest {};

TEST_P(DispatchedCancelTest, EscStopsAQueryAndNothingElseIsTaken) {
    bool sawBusy = false, refreshOffered = true;
    const std::string output = Run(WorkOf(GetParam()).query, [&](Clock::duration elapsed) {
        if (elapsed < 300ms)
            return false;
        sawBusy = Frame().QueryCommand(ID_CANCEL_WORK).enabled;
        refreshOffered = Frame().QueryCommand(ID_REFRESH).enabled;
        QTest::keyClicks(console_, "typed");
        QTest::keyClick(console_, Qt::Key_Return);
        QTest::keyClick(console_, Qt::Key_Escape);
        return true;
    });
    EXPECT_LT(took_, 5s);
    EXPECT_TRUE(sawBusy);
    EXPECT_FALSE(refreshOffered);
    EXPECT_FALSE(Frame().QueryCommand(ID_CANCEL_WORK).enabled);
    // The driver's error, as every error is reported.
    EXPECT_NE(output.find("Error: (-1) "), std::string::npos) << output;
    if (GetParam() == "postgres") {
        EXPECT_NE(output.find("State:57014"), std::string::npos) << output;
    }
    EXPECT_EQ(output.find("typed"), std::string::npos) << output;
    // The connection is usable after.
    EXPECT_NE(Run("SELECT 7").find("Loaded 1 of 1"), std::string::npos);
    EXPECT_EQ(Cell(), "7");
}

TEST_P(DispatchedCancelTest, ACancelWhileRowsArriveKeepsThem) {
    app_->Settings().MaxRecords = 1000000;
    const std::string query =
        GetParam() == "sqlite"
            ? "SELECT x FROM (WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c "
              "LIMIT 1000000) SELECT x FROM c)"
        : GetParam() == "postgres" ? "SELECT x FROM generate_series(1, 1000000) AS s(x)"
                                   : "SELECT seq AS x FROM seq_1_to_1000000";
    // A click on the status bar's Cancel button, one of the few widgets that
    // take input while work runs.
    auto *cancel = Frame().findChild<QToolButton *>(QStringLiteral("statusCancel"));
    ASSERT_NE(cancel, nullptr);
    const std::string output = Run(query, [&](Clock::duration) {
        if (grid_->RowCount() < 512)
            return false;
        QTest::mouseClick(cancel, Qt::LeftButton);
        return true;
    });
    EXPECT_NE(output.find("State:HY008"), std::string::npos) << output;
    EXPECT_GE(grid_->RowCount(), 512);
    EXPECT_LT(grid_->RowCount(), 1000000);
    EXPECT_EQ(Cell(), "1");
}

// A driver that does not enforce the query timeout has its statement
// cancelled at the timeout, as Esc does: the connection goes on, and holds no
// lock that keeps another connection from writing.
TEST_P(DispatchedCancelTest, TheQueryTimeoutCancelsAndReleasesTheLocks) {
    app_->Settings().QueryTimeout = 1;
    // On SQLite it reads a table of the database file, so it holds its lock.
    const std::string query =
        GetParam() == "sqlite"
            ? "SELECT COUNT(*) FROM customers, (WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL "
              "SELECT x + 1 FROM c) SELECT x FROM c)"
            : WorkOf(GetParam()).query;
    const std::string output = Run(query);
    EXPECT_LT(took_, 4s) << output;
    EXPECT_NE(output.find("Error: (-1) "), std::string::npos) << output;
    // The driver's own report where it enforces the timeout, ours in its shape elsewhere.
    EXPECT_NE(output.find(GetParam() == "postgres" ? "State:57014" : "State:HYT00"),
              std::string::npos)
        << output;
    EXPECT_EQ(output.find(CBrindleDoc::LostText), std::string::npos) << output;
    if (GetParam() == "sqlite") {
        // Waits at most a second for a lock.
        EXPECT_NO_THROW(
            ExecuteSql(source_.connect + ";Timeout=1000",
                       {"CREATE TABLE timeout_probe (a int)", "DROP TABLE timeout_probe"}));
    }
    app_->Settings().QueryTimeout = 0;
    EXPECT_NE(Run("SELECT 7").find("Loaded 1 of 1"), std::string::npos);
    EXPECT_EQ(Cell(), "7");
}

TEST_P(DispatchedCancelTest, CancelStopsAScriptMidway) {
    const std::string path = MakeTempDir() + "/many.sql";
    {
        std::ofstream script(path, std::ios::binary);
        // Each statement counts to 300 first, so the script takes long enough
        // on any machine for the cancel to come midway.
        for (int i = 1; i <= 10000; ++i)
            script << "INSERT INTO cancel_t (id) WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL "
                      "SELECT x + 1 FROM c WHERE x < 300) SELECT MAX(x) - 300 + "
                   << i << " FROM c;\n";
    }
    // At the first moment the window answers, well before the last statement.
    const std::string output = Run("@" + path, [&](Clock::duration) {
        Frame().SendCommand(ID_CANCEL_WORK);
        return true;
    });
    const QRegularExpressionMatch stop =
        QRegularExpression(QStringLiteral("Error: Script cancelled at statement (\\d+) of (.+)\\."))
            .match(QString::fromStdString(output));
    ASSERT_TRUE(stop.hasMatch()) << output;
    const int at = stop.captured(1).toInt();
    EXPECT_EQ(stop.captured(2).toStdString(), path);
    EXPECT_GT(at, 0);
    EXPECT_LT(at, 10000);
    // The statement it stopped at ran, or was cancelled whole.
    Run("SELECT COUNT(*) FROM cancel_t");
    const int rows = std::stoi(Cell());
    EXPECT_TRUE(rows == at || rows == at - 1) << rows << " rows, stopped at " << at;
}

TEST_P(DispatchedCancelTest, ClosingTheWindowDuringAQueryCancelsThenCloses) {
    CloseDuringAQuery(*Frame().ChildFrames().front(), CChildFrame::CloseWhileBusyText);
}

TEST_P(DispatchedCancelTest, QuittingDuringAQueryCancelsThenQuits) {
    CloseDuringAQuery(Frame(), CMainFrame::QuitWhileBusyText);
}

TEST_P(ServerCancelTest, ALostConnectionIsReportedAndRefreshConnectsAgain) {
    EndSession(BackendId());
    const std::string output = Run("INSERT INTO cancel_t VALUES (1)");
    EXPECT_NE(output.find("Error: (-1) "), std::string::npos) << output;
    EXPECT_NE(output.find(CBrindleDoc::LostText), std::string::npos) << output;
    EXPECT_FALSE(doc_->IsConnected());
    Frame().SendCommand(ID_REFRESH);
    ASSERT_TRUE(doc_->IsConnected());
    EXPECT_NE(Run("SELECT 8").find("Loaded 1 of 1"), std::string::npos);
}

TEST_P(PausedBackendTest, IsGivenUpAfterACancel) {
    const std::string id = BackendId();
    stopped_ = std::stoi(id);
    ASSERT_EQ(::kill(stopped_, SIGSTOP), 0);
    int ticks = 0;
    const std::string output = Run("SELECT 9", [&](Clock::duration elapsed) {
        // The window answers meanwhile.
        ++ticks;
        if (elapsed < 300ms)
            return false;
        Frame().SendCommand(ID_CANCEL_WORK);
        return true;
    });
    EXPECT_GE(ticks, 2);
    EXPECT_LT(took_, ConnectionWorker::CancelGrace + 3s);
    EXPECT_NE(output.find("State:08S01"), std::string::npos) << output;
    EXPECT_NE(output.find(CBrindleDoc::LostText), std::string::npos) << output;
    ::kill(stopped_, SIGCONT);
    stopped_ = 0;
    EndSession(id);
    Frame().SendCommand(ID_REFRESH);
    EXPECT_NE(Run("SELECT 10").find("Loaded 1 of 1"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Sources, DispatchedCancelTest, ::testing::ValuesIn(TestSourceNames()));
INSTANTIATE_TEST_SUITE_P(Sources, ServerCancelTest,
                         ::testing::ValuesIn(std::vector<std::string>{"postgres", "mariadb"}));
INSTANTIATE_TEST_SUITE_P(Sources, PausedBackendTest,
                         ::testing::ValuesIn(std::vector<std::string>{"postgres"}));

} // namespace
