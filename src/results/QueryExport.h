#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include <QString>

#include "results/ExportCommand.h"

class CBrindleDoc;
class ConnectionWorker;
class OdbcConnection;

// What the Export Query dialog collects.
struct QueryExportChoices {
    std::string statement;
    QString path;
    // The format of the Save dialog's filter; an HTML page when `htmlPage` is set.
    ExportCommand::Format format = ExportCommand::Format::TabDelimited;
    bool htmlPage = false;
    // Empty for the plain page.
    QString templatePath;
};

// Export Query: runs a statement on the connection's worker and writes every
// row of its result straight to a file, through the writers Export All uses;
// nothing goes to the grid. The file is written beside its target and put in
// place only when complete, so a cancelled or failed export leaves no file that
// looks whole. The console reports the statement and its outcome as it does a
// query's.
class QueryExport {
public:
    // Rows fetched in one round trip through a server-side cursor.
    static constexpr int CursorFetchRows = 10000;

    explicit QueryExport(CBrindleDoc &doc);
    ~QueryExport();
    QueryExport(const QueryExport &) = delete;
    QueryExport &operator=(const QueryExport &) = delete;

    enum class Outcome { NotCreated, Written, Failed };
    Outcome Run(const QueryExportChoices &choices);
    uint64_t RowsWritten() const { return m_rows; }

    // For a driver that holds a whole result in memory unless told otherwise
    // (psqlODBC without a cursor, the SQLite driver without its step API):
    // `connect` with the options that make it hand rows over as they come;
    // empty for any other driver.
    static std::string StreamingConnectString(const std::string &driverName,
                                              const std::string &connect);

private:
    // The connection the export runs on: one of its own when the document's
    // driver needs other options to stream, else the document's.
    void OpenConnection();
    OdbcConnection &Connection();
    ConnectionWorker &Worker();

    CBrindleDoc &m_doc;
    std::unique_ptr<OdbcConnection> m_ownConnection;
    // After its connection, as the document keeps its own.
    std::unique_ptr<ConnectionWorker> m_ownWorker;
    uint64_t m_rows = 0;
};
