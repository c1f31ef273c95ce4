#include "results/QueryLoader.h"

#include <algorithm>
#include <chrono>
#include <ctime>

#include <sqlext.h>

#include "connection/CBrindleDoc.h"
#include "connection/ConnectionWorker.h"
#include "connection/ConsolePane.h"
#include "connection/GridSink.h"
#include "connection/OkLine.h"
#include "framework/AppSettings.h"
#include "framework/DocumentHost.h"
#include "framework/StatusSink.h"
#include "framework/WaitCursor.h"
#include "odbc/DatabaseError.h"
#include "odbc/OdbcStatement.h"
#include "results/GridModel.h"

namespace {

// Loaded rows are fetched, and reach the views, in batches of this many (or
// of what came in BatchTime): each row shows as soon as its batch is done,
// without a model signal per row or a thread hop per few rows.
constexpr size_t RowBatch = 4096;
constexpr uint16_t ItemsPerProgressStep = 10;
// A batch also ends after this long, so slow rows still show as they come.
constexpr auto BatchTime = std::chrono::milliseconds(100);

const char *const LongBinaryText = "<Binary>";

} // namespace

void QueryLoader::Load(const std::string &statement) {
    ConnectionWorker::Work work(m_doc.Worker(), QStringLiteral("Running the query"));
    WaitCursor wait;
    if (ConsolePane *console = m_doc.m_pOutputView) {
        console->SetLastStatement(statement);
        console->AppendText(statement + "\r\n\r\n");
    }
    try {
        const std::time_t start = std::time(nullptr);
        OdbcConnection &database = m_doc.Database();
        database.SetQueryTimeout(m_doc.Host().Settings().QueryTimeout);
        OdbcStatement query(database);
        query.SetForwardOnlyReadOnly();
        query.ExecuteDirect(statement);
        // Only the execution is timed, in whole seconds; fetching is not.
        LoadRows(query, static_cast<long long>(std::time(nullptr) - start));
    } catch (const DatabaseError &error) {
        m_doc.ReportError(error);
    }
}

void QueryLoader::LoadRows(OdbcStatement &query, long long elapsed) {
    WaitCursor wait;
    const uint64_t maxRecords = m_doc.Host().Settings().MaxRecords;
    std::vector<GridRow> batch;
    ProgressRun progress;
    try {
        const std::vector<OdbcStatement::Column> columns = query.DescribeColumns();
        std::vector<std::string> titles;
        std::vector<bool> longBinary;
        titles.reserve(columns.size());
        for (const OdbcStatement::Column &column : columns) {
            titles.push_back(column.name);
            longBinary.push_back(column.sqlType == SQL_LONGVARBINARY);
        }
        m_grid.SetPropertyMode(false);
        m_grid.SetColumns(titles,
                          QStringLiteral("Result set for the most recently executed query:"));

        uint64_t loaded = 0;
        uint64_t total = 0;
        // A statement without a result set has no rows to fetch.
        if (!columns.empty()) {
            if (maxRecords > 0)
                progress.Begin(m_doc.Host().Status(),
                               static_cast<uint16_t>(std::min<uint64_t>(maxRecords, UINT16_MAX)),
                               ItemsPerProgressStep);
            batch.reserve(static_cast<size_t>(std::min<uint64_t>(maxRecords, RowBatch)));
            ConnectionWorker &worker = m_doc.Worker();
            GridRow::Builder row;
            const auto columnCount = static_cast<SQLUSMALLINT>(columns.size());
            bool more = true;
            while (more && loaded < maxRecords) {
                // A batch is fetched where the driver calls run; the window
                // shows it and paints before the next.
                const size_t wanted =
                    static_cast<size_t>(std::min<uint64_t>(RowBatch, maxRecords - loaded));
                query.RunFetching([&] {
                    const auto until = std::chrono::steady_clock::now() + BatchTime;
                    while (batch.size() < wanted && !query.CancelRequested()) {
                        if (!query.Fetch()) {
                            more = false;
                            return;
                        }
                        row.Clear();
                        for (SQLUSMALLINT column = 0; column < columnCount; ++column) {
                            // Long binary data is never read: the text stands for any value.
                            if (longBinary[column])
                                row.Bytes().append(LongBinaryText);
                            else
                                query.AppendText(column + 1, row.Bytes());
                            row.EndCell();
                        }
                        batch.push_back(row.Build());
                        worker.CountRows(1);
                        if (std::chrono::steady_clock::now() > until)
                            return;
                    }
                });
                loaded += batch.size();
                for (size_t i = batch.size(); i > 0; --i)
                    progress.Step();
                m_model.AppendRows(batch);
                if (query.CancelRequested())
                    throw DatabaseError::Cancelled();
                worker.KeepAnswering();
            }
            total = loaded;
            // Past MaxRecords rows are only counted.
            if (more)
                query.RunFetching([&] {
                    while (!query.CancelRequested() && query.Fetch())
                        ++total;
                });
            if (query.CancelRequested())
                throw DatabaseError::Cancelled();
        }

        if (ConsolePane *console = m_doc.m_pOutputView) {
            console->AppendText(OkLine::Loaded(elapsed, loaded, total));
            console->ShowPrompt();
        }
    } catch (const DatabaseError &error) {
        // What was loaded before the failure stays in the grid.
        m_model.AppendRows(batch);
        m_doc.ReportError(error);
    }
}
