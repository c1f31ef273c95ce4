#include "results/QueryExport.h"

#include <chrono>
#include <optional>
#include <vector>

#include <QFile>
#include <QFileInfo>
#include <sqlext.h>

#include "connection/CBrindleDoc.h"
#include "connection/ConnectionWorker.h"
#include "connection/ConsolePane.h"
#include "connection/OkLine.h"
#include "framework/AppSettings.h"
#include "framework/AppVersion.h"
#include "framework/DocumentHost.h"
#include "framework/UserPrompts.h"
#include "framework/WaitCursor.h"
#include "odbc/AsciiText.h"
#include "odbc/ConnectString.h"
#include "odbc/DatabaseError.h"
#include "odbc/OdbcConnection.h"
#include "odbc/OdbcStatement.h"
#include "results/ExportFile.h"
#include "results/GridExporter.h"
#include "results/GridModel.h"
#include "results/PipedRowStream.h"
#include "results/QueryRowStream.h"

namespace {

// How often the status bar's row count moves.
constexpr uint64_t RowsPerCount = 1000;

bool ContainsNoCase(std::string text, const std::string &part) {
    for (char &c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text.find(part) != std::string::npos;
}

bool KeyIs(std::string_view element, std::string_view key) {
    return AsciiText::EqualNoCase(ConnectString::Key(element), key);
}

} // namespace

QueryExport::QueryExport(CBrindleDoc &doc) : m_doc(doc) {}

QueryExport::~QueryExport() {
    m_ownWorker.reset();
    if (m_ownConnection)
        m_ownConnection->Close();
}

std::string QueryExport::StreamingConnectString(const std::string &driverName,
                                                const std::string &connect) {
    // Each driver's options that replace its own; psqlODBC also knows them by
    // short names.
    std::vector<std::string> replaced;
    std::string added;
    if (ContainsNoCase(driverName, "psqlodbc")) {
        replaced = {"UseDeclareFetch", "Fetch", "B6", "A7"};
        added = "UseDeclareFetch=1;Fetch=" + std::to_string(CursorFetchRows);
    } else if (ContainsNoCase(driverName, "sqlite3odbc")) {
        replaced = {"StepAPI"};
        added = "StepAPI=1";
    } else {
        return {};
    }
    std::string result;
    std::string_view rest = connect;
    if (AsciiText::StartsWithNoCase(rest, "ODBC;"))
        rest.remove_prefix(5);
    for (const std::string &element : ConnectString::Elements(rest)) {
        bool keep = true;
        for (const std::string &key : replaced)
            keep = keep && !KeyIs(element, key);
        if (keep)
            result += element + ";";
    }
    return result + added;
}

void QueryExport::OpenConnection() {
    OdbcConnection &database = m_doc.Database();
    const std::string connect =
        StreamingConnectString(database.InfoText(SQL_DRIVER_NAME), database.ConnectString());
    if (connect.empty())
        return;
    auto own = std::make_unique<OdbcConnection>();
    auto worker = std::make_unique<ConnectionWorker>(m_doc.Host(), *own);
    own->SetDispatcher(worker.get());
    try {
        if (own->Open(connect, false, nullptr)) {
            m_ownConnection = std::move(own);
            m_ownWorker = std::move(worker);
        }
    } catch (const DatabaseError &) {
        // The document's connection still serves, holding the result in memory.
    }
}

OdbcConnection &QueryExport::Connection() {
    return m_ownConnection ? *m_ownConnection : m_doc.Database();
}

ConnectionWorker &QueryExport::Worker() { return m_ownWorker ? *m_ownWorker : m_doc.Worker(); }

QueryExport::Outcome QueryExport::Run(const QueryExportChoices &choices) {
    ExportFile file;
    if (!file.CreateBeside(choices.path))
        return Outcome::NotCreated;
    QFile htmlTemplate;
    bool withTemplate = false;
    if (choices.htmlPage && QFileInfo(choices.templatePath).isFile()) {
        htmlTemplate.setFileName(choices.templatePath);
        withTemplate = htmlTemplate.open(QIODevice::ReadOnly);
    }

    WaitCursor wait;
    ConsolePane *console = m_doc.m_pOutputView;
    if (console) {
        console->SetLastStatement(choices.statement);
        console->AppendText(choices.statement + "\r\n\r\n");
    }
    const auto start = std::chrono::steady_clock::now();
    try {
        OpenConnection();
        OdbcConnection &database = Connection();
        ConnectionWorker &worker = Worker();
        ConnectionWorker::Work work(worker, QStringLiteral("Exporting"));
        // The window sees its document at work: closing it cancels the export
        // and waits for it.
        std::optional<ConnectionWorker::Work> documentWork;
        if (&worker != &m_doc.Worker())
            documentWork.emplace(m_doc.Worker(), QString());
        database.SetQueryTimeout(m_doc.Host().Settings().QueryTimeout);
        OdbcStatement query(database);
        query.SetForwardOnlyReadOnly();
        query.ExecuteDirect(choices.statement);

        QueryRowStream rows(query, database.InfoU32(SQL_GETDATA_EXTENSIONS));
        // Calls made in place have no dispatcher to ask: the worker says it.
        rows.AlsoStopOnCancelOf(&worker);
        if (documentWork)
            rows.AlsoStopOnCancelOf(&m_doc.Worker());
        // Calls that run in place (no worker thread) let the window answer now and then.
        const bool inPlace = !database.SharedHandle() || !database.SharedHandle()->dispatcher;
        rows.SetRowCounter(
            [&worker, inPlace](uint64_t count) {
                worker.CountRows(count);
                if (inPlace)
                    worker.KeepAnswering();
            },
            RowsPerCount);

        // Fetching and writing overlap: the rows are fetched where the
        // connection's calls run, and written on a thread of their own.
        PipedRowStream piped(rows);
        ExportSource source;
        source.stream = &piped;
        source.caption = "Result set for the most recently executed query:";
        source.versionText = AppVersion::Text().toStdString();
        source.characterWidths = rows.DisplayWidths(GridModel::DisplayLimit);
        const GridExporter exporter(std::move(source));
        const auto write = [&] {
            if (choices.htmlPage) {
                exporter.ExportHtml(file, withTemplate ? &htmlTemplate : nullptr);
                return;
            }
            switch (choices.format) {
            case ExportCommand::Format::CommaDelimited:
                exporter.ExportDelimited(file, ',');
                break;
            case ExportCommand::Format::TextReport:
                exporter.ExportTextReport(file);
                break;
            case ExportCommand::Format::TabDelimited:
                exporter.ExportDelimited(file, '\t');
                break;
            }
        };
        query.RunFetching([&] { piped.FeedWhileWriting(rows, write); });
        m_rows = rows.RowsRead();
    } catch (const DatabaseError &error) {
        file.Discard();
        // The export's own connection failing says nothing of the window's.
        if (m_ownConnection)
            m_doc.ReportOtherConnectionError(error);
        else
            m_doc.ReportError(error);
        return Outcome::Failed;
    }
    if (!file.Commit()) {
        UserPrompts &prompts = m_doc.Host().Prompts();
        prompts.Message(m_doc.Host().DialogParent(),
                        ExportCommand::WriteFailedText(choices.path, file.ErrorText()),
                        UserPrompts::Icon::Stop);
        if (console)
            console->ShowPrompt();
        return Outcome::Failed;
    }
    const auto elapsed =
        std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - start);
    if (console) {
        console->AppendText(OkLine::Exported(elapsed.count(), m_rows, choices.path.toStdString()));
        console->ShowPrompt();
    }
    return Outcome::Written;
}
