#include "connection/StatementRunner.h"

#include <ctime>
#include <filesystem>
#include <fstream>

#include <QFile>

#include "connection/CBrindleDoc.h"
#include "connection/ConnectionWorker.h"
#include "connection/ConsolePane.h"
#include "connection/OkLine.h"
#include "connection/ResultPane.h"
#include "connection/ScriptReader.h"
#include "connection/StatementKind.h"
#include "framework/AppSettings.h"
#include "framework/DocumentHost.h"
#include "framework/UserPrompts.h"
#include "framework/WaitCursor.h"
#include "odbc/AsciiText.h"
#include "odbc/DatabaseError.h"
#include "odbc/OdbcStatement.h"

void StatementRunner::AppendText(const std::string &text) {
    if (ConsolePane *console = m_doc.m_pOutputView)
        console->AppendText(text);
}

void StatementRunner::ShowPrompt() {
    if (ConsolePane *console = m_doc.m_pOutputView)
        console->ShowPrompt();
}

void StatementRunner::ExecuteStatement(const std::string &statement) {
    const std::string_view text = LeftTrimmed(statement);
    // Drivers take the text only up to a NUL byte and would report the rest as run.
    if (const size_t nul = text.find('\0'); nul != std::string_view::npos) {
        AppendText("Error: The statement holds a NUL byte at position " + std::to_string(nul + 1) +
                   " and was not run.\r\n");
        ShowPrompt();
        return;
    }
    switch (ClassifyStatement(text)) {
    case StatementKind::Empty:
    case StatementKind::Comment:
        return;
    case StatementKind::Query:
        // The grid's loader marks the query as one piece of work.
        if (ResultPane *grid = m_doc.m_pListView)
            grid->LoadQueryResult(std::string(text));
        return;
    case StatementKind::Script:
        RunScript(std::string(text));
        return;
    case StatementKind::Other: {
        ConnectionWorker::Work work(m_doc.Worker(), QStringLiteral("Running the statement"));
        ExecuteDirect(std::string(text));
        return;
    }
    }
}

void StatementRunner::ExecuteDirect(const std::string &text) {
    WaitCursor wait;
    if (ConsolePane *console = m_doc.m_pOutputView)
        console->SetLastStatement(text);
    AppendText(text + "\r\n\r\n");
    const std::time_t start = std::time(nullptr);
    m_doc.Database().SetQueryTimeout(m_doc.Host().Settings().QueryTimeout);
    try {
        OdbcStatement statement(m_doc.Database());
        statement.ExecuteDirect(text);
        const auto elapsed = static_cast<long long>(std::difftime(std::time(nullptr), start));
        // WITH, VALUES, PRAGMA, EXPLAIN or a bare procedure call: rows come back
        // as from a query, and they are shown as a query's are.
        ResultPane *grid = m_doc.m_pListView;
        if (grid && statement.ColumnCount() > 0) {
            grid->LoadStatementRows(statement, elapsed);
            return;
        }
        // Errors past a statement that did execute are not reported.
        statement.DrainResults();
        if (statement.LeftRowsUnread())
            throw DatabaseError::RowsLeftUnread();
        AppendText(OkLine::Executed(elapsed));
        ShowPrompt();
    } catch (const DatabaseError &error) {
        m_doc.ReportError(error);
    }
}

void StatementRunner::RunScript(const std::string &statement) {
    std::string text = statement;
    while (!text.empty() && AsciiText::IsBlank(text.back()))
        text.pop_back();
    if (text == "@") {
        const QString path = m_doc.Host().Prompts().OpenFileName(
            m_doc.Host().DialogParent(), QStringLiteral("Open"), QString(),
            QStringLiteral("ODBC Scripts (*.sql *.tsq *.ssq);;All Files (*)"));
        if (path.isEmpty())
            return;
        text += QFile::encodeName(path).toStdString();
    }
    AppendText(text + "\r\n");
    const std::string name = text.substr(1);
    if (m_depth >= MaxScriptDepth) {
        AppendText("Error: Script nesting deeper than " + std::to_string(MaxScriptDepth) +
                   " levels; " + text + " not run.\r\n");
        ShowPrompt();
        return;
    }
    // Only a regular file of a sane size: a FIFO would block the window for
    // ever and a device such as /dev/zero would fill the memory.
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(name, error);
    if (!error && std::filesystem::exists(status) && !std::filesystem::is_regular_file(status) &&
        !std::filesystem::is_directory(status)) {
        AppendText("Error: File " + name + " is not a regular file; it was not run.\r\n");
        ShowPrompt();
        return;
    }
    if (!error && std::filesystem::is_regular_file(status) &&
        std::filesystem::file_size(name, error) > MaxScriptBytes) {
        AppendText("Error: File " + name + " is larger than " +
                   std::to_string(MaxScriptBytes >> 20) + " MB; it was not run.\r\n");
        ShowPrompt();
        return;
    }
    std::ifstream file;
    if (!error && std::filesystem::is_regular_file(status))
        file.open(name, std::ios::binary);
    if (!file.is_open()) {
        AppendText("Error: File " + name + " could not be opened.\r\n");
        ShowPrompt();
        return;
    }
    ScriptReader reader(file);
    file.close();
    ShowPrompt();

    // One piece of work: a cancel stops the whole script.
    ConnectionWorker::Work work(m_doc.Worker(), QStringLiteral("Running the script"));

    struct DepthGuard {
        int &depth;
        explicit DepthGuard(int &d) : depth(d) { ++depth; }
        ~DepthGuard() { --depth; }
    } guard(m_depth);
    // The console shows the script's output in one go rather than statement by statement.
    struct ConsoleBatch {
        CBrindleDoc &doc;
        explicit ConsoleBatch(CBrindleDoc &d) : doc(d) {
            if (doc.m_pOutputView)
                doc.m_pOutputView->BeginBatch();
        }
        // The console may have gone with its window while the script ran.
        ~ConsoleBatch() {
            if (doc.m_pOutputView)
                doc.m_pOutputView->EndBatch();
        }
    } batch(m_doc);
    std::string next;
    for (uint64_t number = 1; reader.NextStatement(next); ++number) {
        ExecuteStatement(next);
        // A cancel stops the whole script, each script it was called from too.
        if (m_doc.Worker().CancelRequested()) {
            AppendText("Error: Script cancelled at statement " + std::to_string(number) + " of " +
                       name + ".\r\n");
            ShowPrompt();
            return;
        }
    }
}
