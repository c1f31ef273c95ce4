#include <chrono>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include <sys/stat.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QTest>
#include <QRegularExpression>
#include <QTextCursor>
#include <QTextDocument>

#include "../shell/ShellFixture.h"
#include "DriverFacts.h"
#include "Panes.h"
#include "app/CListFrameWnd.h"
#include "app/CTreeFrameWnd.h"
#include "console/CDBOutputView.h"
#include "framework/CommandTable.h"
#include "odbc/DatabaseError.h"
#include "odbc/OdbcStatement.h"
#include "results/CDBListView.h"

namespace {

// The console shows "\r\n" as one line break.
std::string Lines(std::string text) {
    for (size_t pos; (pos = text.find("\r\n")) != std::string::npos;)
        text.replace(pos, 2, "\n");
    return text;
}

// Statements here take no time, but a busy machine may add a second: the
// tests read every elapsed time as 0.
std::string Timeless(const std::string &text) {
    static const std::regex elapsed("Elapsed Time: [0-9]+ sec");
    return std::regex_replace(text, elapsed, "Elapsed Time: 0 sec");
}

std::string ReadFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return Timeless(text.str());
}

size_t Count(const std::string &text, const std::string &part) {
    size_t count = 0;
    for (size_t pos = text.find(part); pos != std::string::npos; pos = text.find(part, pos + 1))
        ++count;
    return count;
}

class ExecutionTest : public ShellFixture, public ::testing::WithParamInterface<std::string> {
protected:
    void SetUp() override {
        ShellFixture::SetUp();
        source_ = SourceNamed(GetParam());
        ASSERT_TRUE(Start());
        prompts_->dataSourceAnswers.push_back(source_.connect);
        Frame().SendCommand(ID_FILE_NEW);
        doc_ = Frame().ActiveDocument();
        ASSERT_NE(doc_, nullptr);
        console_ = ConsoleOf(doc_);
        ASSERT_NE(console_, nullptr);
        grid_ = GridOf(doc_);
        ASSERT_NE(grid_, nullptr);
        dir_ = MakeTempDir();
        // The connection's own table: test programs run side by side on one server.
        Run("CREATE TEMPORARY TABLE exec_t (id int, name varchar(40))");
    }
    const DriverFacts &Facts() const { return FactsOf(GetParam()); }
    // Runs a statement as typed and returns what it wrote to the console.
    std::string Run(const std::string &statement) {
        const qsizetype mark = console_->toPlainText().size();
        doc_->ExecuteStatement(statement);
        return Timeless(console_->toPlainText().mid(mark).toStdString());
    }
    std::string WriteScript(const std::string &name, const std::string &text) {
        const std::string path = dir_ + "/" + name;
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    // The rows of exec_t as "id:name" lines, read outside the document.
    std::string Rows() {
        OdbcStatement statement(doc_->Database());
        statement.ExecuteDirect("SELECT id, name FROM exec_t ORDER BY id");
        std::string rows, id, name;
        while (statement.Fetch()) {
            statement.GetText(1, id);
            statement.GetText(2, name);
            rows += id + ":" + name + "\n";
        }
        return rows;
    }

    TestDataSource source_;
    CBrindleDoc *doc_ = nullptr;
    CDBOutputView *console_ = nullptr;
    CDBListView *grid_ = nullptr;
    std::string dir_;
};

TEST_P(ExecutionTest, DirectStatementIsEchoedTimedAndRemembered) {
    EXPECT_EQ(Run(" \t\r\nINSERT INTO exec_t VALUES (1, 'a')"),
              Lines("INSERT INTO exec_t VALUES (1, 'a')\r\n\r\nOK (Elapsed Time: 0 sec.)\r\n"
                    "\r\nSQL> "));
    EXPECT_EQ(console_->LastStatement(), "INSERT INTO exec_t VALUES (1, 'a')");
    EXPECT_EQ(Rows(), "1:a\n");
    // Comments and blanks leave no trace at all.
    for (const char *quiet : {"REM x", "rem;", "-- y", "  \r\n", "REMOVE it"})
        EXPECT_EQ(Run(quiet), "") << quiet;
    // A batch through the direct path shows its first result where the driver
    // says it has one, and is drained and reported OK otherwise.
    const std::string batch = Facts().twoResultBatch;
    if (!batch.empty()) {
        EXPECT_EQ(Run(batch),
                  Lines(batch + "\r\n\r\n" + Facts().twoResultBatchReport + "\r\n\r\nSQL> "));
    }
}

// MariaDB's driver announces no columns for these statements' rows and leaves
// them on the line; its next statement handle would crash the program. The
// statement is reported, its connection closed, and Refresh makes it again.
class UnreadRowsTest : public ExecutionTest {};

TEST_P(UnreadRowsTest, CloseTheConnectionInsteadOfCrashing) {
    app_->Settings().ShowMessage = 0;
    for (const char *statement : {"VALUES (1), (2)", "XA RECOVER", "HELP 'nothing'"}) {
        const std::string output = Run(statement);
        EXPECT_NE(output.find("Error: (-1) The driver returned no columns for this statement's "
                              "rows and could not read them"),
                  std::string::npos)
            << output;
        EXPECT_NE(output.find(CBrindleDoc::LostText), std::string::npos) << output;
        EXPECT_FALSE(doc_->IsConnected()) << statement;
        Frame().SendCommand(ID_REFRESH);
        ASSERT_TRUE(doc_->IsConnected()) << statement;
        EXPECT_NE(Run("SELECT 7").find("Loaded 1 of 1"), std::string::npos) << statement;
        // Statements without rows are left alone.
        EXPECT_NE(Run("SET @a = 1").find("OK (Elapsed"), std::string::npos);
    }
}

TEST_P(ExecutionTest, QueriesGoToTheGridAndThePaneCommandsToggle) {
    Run("INSERT INTO exec_t VALUES (1, 'a')");
    const std::string output = Run("\r\n  select name from exec_t");
    EXPECT_EQ(console_->LastStatement(), "select name from exec_t");
    EXPECT_NE(output.find("Loaded 1 of 1 total records"), std::string::npos) << output;
    ASSERT_EQ(grid_->RowCount(), 1);
    EXPECT_EQ(grid_->GetCellText(0, 0), "a");
    // Not a query: a blank after the brace.
    EXPECT_NE(Run("{ call nothing}").find("Error: "), std::string::npos);
    EXPECT_EQ(grid_->RowCount(), 1);

    for (int pass = 0; pass < 2; ++pass) {
        const bool on = pass == 0;
        Frame().SendCommand(ID_SHOW_GRID);
        EXPECT_EQ(doc_->ShowGrid, on ? 1 : 0);
        EXPECT_EQ(grid_->GridLines(), on);
        EXPECT_EQ(Frame().QueryCommand(ID_SHOW_GRID).checked, on);
        Frame().SendCommand(ID_AUTO_FORMAT);
        EXPECT_EQ(doc_->AutoFormat, on ? 1 : 0);
        EXPECT_EQ(Frame().QueryCommand(ID_AUTO_FORMAT).checked, on);
    }
    for (auto [id, pane] : {std::pair<int, CSubFrame *>{ID_TREE_HEADER, FrameOf(doc_)->TreeFrame()},
                            {ID_LIST_HEADER, FrameOf(doc_)->ListFrame()}}) {
        ASSERT_TRUE(pane->IsCaptionBarShown());
        EXPECT_TRUE(Frame().QueryCommand(id).checked);
        Frame().SendCommand(id);
        EXPECT_FALSE(pane->IsCaptionBarShown());
        EXPECT_FALSE(Frame().QueryCommand(id).checked);
    }
}

TEST_P(ExecutionTest, FailedStatementWritesTwoErrorLinesPromptAndMessageBox) {
    const std::string output = Run("sel");
    const QRegularExpression shape(
        QStringLiteral("^sel\\n\\nError: \\(-1\\) \\S.*\\n+State:[0-9A-Z]{5},Native:-?\\d+,"
                       "Origin:.*\\n+SQL> $"),
        QRegularExpression::DotMatchesEverythingOption);
    EXPECT_TRUE(shape.match(QString::fromStdString(output)).hasMatch()) << output;
    EXPECT_EQ(output.find("OK"), std::string::npos);
    EXPECT_EQ(console_->LastStatement(), "sel");
    ASSERT_EQ(prompts_->messages.size(), 1u);
    EXPECT_EQ(prompts_->messages[0].second, UserPrompts::Icon::Exclamation);

    app_->Settings().ShowMessage = 0;
    EXPECT_NE(Run("INSERT INTO no_such_table VALUES (1)").find("Error: (-1) "), std::string::npos);
    EXPECT_EQ(prompts_->messages.size(), 1u);
    // The connection stays usable.
    EXPECT_NE(Run("INSERT INTO exec_t VALUES (2, 'b')").find("OK (Elapsed"), std::string::npos);
}

// Only a server whose driver enforces the timeout can be made to wait.
class ServerExecutionTest : public ExecutionTest {};

TEST_P(ServerExecutionTest, QueryTimeoutEndsALongStatementWithAnError) {
    app_->Settings().ShowMessage = 0;
    app_->Settings().QueryTimeout = 1;
    const auto start = std::chrono::steady_clock::now();
    const std::string output = Run(Formatted(Facts().sleepFormat, "5"));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(4));
    EXPECT_NE(output.find("Error: (-1) "), std::string::npos) << output;
    // The setting is read again for the next statement: 0 means no limit.
    app_->Settings().QueryTimeout = 0;
    EXPECT_NE(Run(Formatted(Facts().sleepFormat, "1.2")).find("OK (Elapsed Time: "),
              std::string::npos);
    // Past 2,147,483 s the driver's millisecond count would wrap to under a second.
    app_->Settings().QueryTimeout = 4294967;
    EXPECT_NE(Run("DO $$BEGIN PERFORM pg_sleep(1.2); END$$").find("OK (Elapsed Time: "),
              std::string::npos);
}

// Statements that are no SELECT but return rows fill the grid as a query does;
// a NUL byte stops a statement before a driver sees only its first part.
TEST_P(ExecutionTest, RowsOfOtherStatementsAndStatementsWithNulBytes) {
    struct Case {
        std::string statement;
        std::vector<std::string> cells;
    };
    for (const Case &c :
         {Case{"WITH t(a) AS (SELECT 7) SELECT a FROM t", {"7"}},
          Case{"WITH t(a) AS (SELECT 1 UNION ALL SELECT 2) SELECT a FROM t ORDER BY a",
               {"1", "2"}}}) {
        const std::string output = Run(c.statement);
        const std::string loaded = "Loaded " + std::to_string(c.cells.size()) + " of " +
                                   std::to_string(c.cells.size()) + " total records)";
        EXPECT_NE(output.find(loaded), std::string::npos) << c.statement << output;
        std::vector<std::string> cells;
        for (int row = 0; row < grid_->RowCount(); ++row)
            cells.push_back(grid_->GetCellText(row, 0));
        EXPECT_EQ(cells, c.cells) << c.statement;
    }
    const std::string output =
        Run(std::string("INSERT INTO exec_t VALUES (9, 'x')\0; DELETE FROM exec_t", 55));
    EXPECT_NE(output.find("Error: The statement holds a NUL byte at position 35 and was not run."),
              std::string::npos)
        << output;
    EXPECT_EQ(Rows(), "");
}

// Only regular files run as scripts: a FIFO would block and a device never end.
TEST_P(ExecutionTest, ScriptsThatAreNoRegularFilesAreRefused) {
    const std::string fifo = dir_ + "/fifo.sql";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string &path : {fifo, std::string("/dev/zero")})
        EXPECT_NE(
            Run("@" + path).find("Error: File " + path + " is not a regular file; it was not run."),
            std::string::npos)
            << path;
}

TEST_P(ExecutionTest, ScriptsRunStatementByStatementIncludingNestedOnes) {
    app_->Settings().ShowMessage = 0;
    const std::string inner = WriteScript(
        "inner.sql", "INSERT INTO exec_t\nVALUES (2, 'Zo\xC3\xAB, \xE6\x9D\xB1\xE4\xBA\xAC');\n");
    const std::string outer = WriteScript(
        "outer.sql", "REM start; of it\r\nINSERT INTO exec_t VALUES (1, 'a');\r\n"
                     "/* ; */ sel;\r\n@" +
                         inner + "\r\nINSERT INTO exec_t -- the last row\r\nVALUES (3, 'c')");
    const std::string output = Run("  @" + outer + " \r\n");
    EXPECT_EQ(Rows(), "1:a\n2:Zo\xC3\xAB, \xE6\x9D\xB1\xE4\xBA\xAC\n3:c\n");
    // Each statement echoes itself, errors included; the script goes on after them.
    const std::string echoes[] = {
        "@" + outer + "\n\nSQL> INSERT INTO exec_t VALUES (1, 'a')\n\nOK",
        "SQL> sel\n\nError:",
        "SQL> @" + inner +
            "\n\nSQL> INSERT INTO exec_t VALUES (2, 'Zo\xC3\xAB, \xE6\x9D\xB1\xE4\xBA\xAC')\n\nOK",
        "SQL> INSERT INTO exec_t VALUES (3, 'c')\n\nOK (Elapsed Time: 0 sec.)\n\nSQL> ",
    };
    size_t at = 0;
    for (const std::string &echo : echoes) {
        const size_t found = output.find(echo, at);
        ASSERT_NE(found, std::string::npos) << echo << "\n---\n" << output;
        at = found + echo.size();
    }
    EXPECT_EQ(at, output.size());
}

TEST_P(ExecutionTest, ScriptOutputReachesSpoolAndScreenBeforeAMessageBoxAndEndsAtAPrompt) {
    const std::string script =
        WriteScript("errors.sql", "INSERT INTO exec_t VALUES (1, 'a');\nsel;\n"
                                  "INSERT INTO exec_t VALUES (2, 'b');\n");
    std::vector<std::string> shownWithMessage;
    prompts_->onMessage = [&](const QString &) {
        shownWithMessage.push_back(console_->toPlainText().toStdString());
    };
    const std::string spool = dir_ + "/script.lst";
    prompts_->saveFileAnswers.push_back(QString::fromStdString(spool));
    Frame().SendCommand(ID_SPOOL);
    ASSERT_EQ(doc_->Spooling, 1);
    const std::string output = Run("@" + script);
    // The spool file, still open, already holds all of it, byte for byte.
    const std::string spooled = ReadFile(spool);
    ASSERT_GE(Lines(spooled).size(), output.size());
    EXPECT_EQ(Lines(spooled).substr(Lines(spooled).size() - output.size()), output);
    const std::string last = "OK (Elapsed Time: 0 sec.)\r\n\r\nSQL> ";
    EXPECT_EQ(spooled.substr(spooled.size() - last.size()), last);
    ASSERT_EQ(shownWithMessage.size(), 1u);
    const std::string &shown = shownWithMessage[0];
    EXPECT_NE(shown.find("SQL> sel\n\nError: (-1) "), std::string::npos) << shown;
    EXPECT_EQ(shown.substr(shown.size() - 5), "SQL> ");
    EXPECT_EQ(shown.find("(2, 'b')"), std::string::npos);
    EXPECT_EQ(Rows(), "1:a\n2:b\n");

    // The prompt after the last statement is where typing goes.
    const QString text = console_->toPlainText();
    EXPECT_TRUE(Timeless(text.toStdString()).ends_with("OK (Elapsed Time: 0 sec.)\n\nSQL> "));
    EXPECT_EQ(console_->PromptPos(), console_->document()->characterCount() - 1);
    EXPECT_EQ(console_->ReadOnly(), 0);
    QTextCursor end = console_->textCursor();
    end.movePosition(QTextCursor::End);
    console_->setTextCursor(end);
    console_->InsertText("INSERT INTO exec_t VALUES (3, 'c')");
    EXPECT_EQ(console_->toPlainText().mid(console_->PromptPos()).toStdString(),
              "INSERT INTO exec_t VALUES (3, 'c')");
}

TEST_P(ExecutionTest, ScriptOutputKeepsItsLinesForTheCaretCopyAndFind) {
    app_->Settings().ShowMessage = 0;
    std::string text;
    for (int n = 1; n <= 40; ++n)
        text += "INSERT INTO exec_t VALUES (" + std::to_string(n) + ", 'r" + std::to_string(n) +
                "');\r\n";
    Run("@" + WriteScript("forty.sql", text));
    const QString shown = console_->toPlainText();
    EXPECT_FALSE(shown.contains(QChar(QChar::LineSeparator)));

    // The caret's line counts every line shown, whatever block holds it.
    QTextCursor caret = console_->textCursor();
    caret.movePosition(QTextCursor::End);
    console_->setTextCursor(caret);
    EXPECT_EQ(console_->CaretLine(), unsigned(shown.count(QLatin1Char('\n'))) + 1);
    const QString line = QStringLiteral("SQL> INSERT INTO exec_t VALUES (23, 'r23')");
    const qsizetype at = shown.indexOf(line);
    ASSERT_GE(at, 0);
    caret.setPosition(int(at) + 5);
    console_->setTextCursor(caret);
    EXPECT_EQ(console_->CaretLine(), unsigned(shown.left(at).count(QLatin1Char('\n'))) + 1);
    caret.setPosition(int(at + line.size()) + 1);
    console_->setTextCursor(caret);
    EXPECT_EQ(console_->CaretLine(), unsigned(shown.left(at).count(QLatin1Char('\n'))) + 2);

    // Copy gives plain lines, and Find sees whole words at the lines' edges. The
    // user selects in the console, which has the focus in the window shown.
    Frame().show();
    Frame().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Frame()));
    console_->setFocus();
    QCoreApplication::processEvents();
    QGuiApplication::clipboard()->clear();
    caret.setPosition(int(at));
    caret.setPosition(int(at + line.size()) + 2, QTextCursor::KeepAnchor);
    console_->setTextCursor(caret);
    QTest::keyClick(console_, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), line + QStringLiteral("\n\n"));
    caret.setPosition(int(at));
    console_->setTextCursor(caret);
    ConsoleFindDialog::Search search;
    search.text = QStringLiteral("OK");
    search.wholeWord = true;
    search.matchCase = true;
    search.down = true;
    ASSERT_TRUE(console_->FindText(search));
    EXPECT_EQ(console_->textCursor().selectionStart(), int(at + line.size()) + 2);
}

TEST_P(ExecutionTest, SelfCallingScriptStopsAtTheNestingLimit) {
    const std::string path = dir_ + "/self.sql";
    WriteScript("self.sql", "INSERT INTO exec_t VALUES (7, 'x');\n@" + path + "\n");
    const std::string output = Run("@" + path);
    EXPECT_EQ(Count(Rows(), "7:x\n"), size_t(CBrindleDoc::MaxScriptDepth));
    EXPECT_EQ(Count(output, "Error: "), 1u);
    const std::string stop = "@" + path + "\nError: Script nesting deeper than 16 levels; @" +
                             path + " not run.\n\nSQL> ";
    EXPECT_EQ(output.substr(output.size() - std::min(output.size(), stop.size())), stop);
    // The limit holds per run: the next script starts from the top again.
    Run("@" + path);
    EXPECT_EQ(Count(Rows(), "7:x\n"), 2u * CBrindleDoc::MaxScriptDepth);
}

TEST_P(ExecutionTest, ScriptFileProblemsAndTheRunScriptCommand) {
    EXPECT_EQ(Run("@" + dir_ + "/missing.sql"),
              Lines("@" + dir_ + "/missing.sql\r\nError: File " + dir_ +
                    "/missing.sql could not be opened.\r\n\r\nSQL> "));
    EXPECT_NE(Run("@" + dir_).find("Error: File " + dir_ + " could not be opened."),
              std::string::npos);
    // Everything after the "@" names the file, blanks included.
    const std::string comments = WriteScript("comments.sql", "/* a; */\r\n\r\n-- b\r\nREM c\r\n");
    EXPECT_NE(Run("@ " + comments).find("could not be opened"), std::string::npos);
    EXPECT_EQ(Run("@" + comments), "@" + comments + "\n\nSQL> ");

    // Run Script asks for the file; a cancel writes nothing.
    ASSERT_TRUE(Frame().QueryCommand(ID_RUN_SCRIPT).enabled);
    EXPECT_EQ(Run("@"), "");
    prompts_->openFileAnswers.push_back(
        QString::fromStdString(WriteScript("one.sql", "INSERT INTO exec_t VALUES (5, 'e')")));
    const qsizetype mark = console_->toPlainText().size();
    Frame().SendCommand(ID_RUN_SCRIPT);
    EXPECT_EQ(Timeless(console_->toPlainText().mid(mark).toStdString()),
              "@" + dir_ +
                  "/one.sql\n\nSQL> INSERT INTO exec_t VALUES (5, 'e')\n\n"
                  "OK (Elapsed Time: 0 sec.)\n\nSQL> ");
    EXPECT_EQ(Rows(), "5:e\n");
}

TEST_P(ExecutionTest, SpoolCommandIsCheckedAndClosingTheWindowClosesTheFile) {
    EXPECT_FALSE(Frame().QueryCommand(ID_SPOOL).checked);
    const std::string spool = dir_ + "/out.lst";
    prompts_->saveFileAnswers.push_back(QString::fromStdString(spool));
    Frame().SendCommand(ID_SPOOL);
    ASSERT_EQ(doc_->Spooling, 1);
    EXPECT_TRUE(Frame().QueryCommand(ID_SPOOL).checked);
    Run("INSERT INTO exec_t VALUES (1, 'a%sb')");
    doc_->OnCloseDocument();
    EXPECT_EQ(doc_->Spooling, 0);
    const std::string text = ReadFile(spool);
    const std::string tail = "\r\nSQL> INSERT INTO exec_t VALUES (1, 'a%sb')\r\n\r\n"
                             "OK (Elapsed Time: 0 sec.)\r\n\r\nSQL> ";
    ASSERT_GE(text.size(), tail.size());
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
    // A disconnected document reports statements as errors.
    EXPECT_NE(Run("INSERT INTO exec_t VALUES (2, 'b')").find("Error: "), std::string::npos);
}

TEST_P(ExecutionTest, StatementReadsLongValuesWholeAndTellsNullApart) {
    auto longText = [&](int n) { return Formatted(Facts().repeatFormat, std::to_string(n)); };
    OdbcStatement statement(doc_->Database());
    statement.SetForwardOnlyReadOnly();
    statement.ExecuteDirect("SELECT " + longText(8191) + ", " + longText(8192) + ", " +
                            longText(8193) + ", " + longText(100000) + ", NULL, 'z' AS last");
    const auto columns = statement.DescribeColumns();
    ASSERT_EQ(columns.size(), 6u);
    EXPECT_EQ(columns[5].name, "last");
    ASSERT_TRUE(statement.Fetch());
    std::string text = "stale";
    for (SQLUSMALLINT i = 1; i <= 4; ++i) {
        ASSERT_TRUE(statement.GetText(i, text));
        const size_t expected = i == 4 ? 100000 : 8190 + i;
        EXPECT_EQ(text.size(), expected);
        EXPECT_EQ(text.find_first_not_of('x'), std::string::npos);
    }
    EXPECT_FALSE(statement.GetText(5, text));
    EXPECT_EQ(text, "");
    std::string row = "a|";
    EXPECT_TRUE(statement.AppendText(6, row));
    EXPECT_EQ(row, "a|z");
    EXPECT_FALSE(statement.Fetch());
    EXPECT_FALSE(statement.MoreResults());

    OdbcStatement failing(doc_->Database());
    try {
        failing.ExecuteDirect("SELECT * FROM no_such_table");
        ADD_FAILURE() << "no error";
    } catch (const DatabaseError &error) {
        EXPECT_EQ(error.RetCode(), SQL_ERROR);
        EXPECT_FALSE(error.FirstState().empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Servers, ServerExecutionTest,
                         ::testing::ValuesIn(SourcesWhere([](const DriverFacts &f) {
                             return !f.sleepFormat.empty();
                         })),
                         [](const auto &info) { return info.param; });
INSTANTIATE_TEST_SUITE_P(Sources, UnreadRowsTest,
                         ::testing::ValuesIn(std::vector<std::string>{"mariadb"}),
                         [](const auto &info) { return info.param; });
INSTANTIATE_TEST_SUITE_P(Sources, ExecutionTest, ::testing::ValuesIn(TestSourceNames()),
                         [](const auto &info) { return info.param; });

} // namespace
