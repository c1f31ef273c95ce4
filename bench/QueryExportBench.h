#pragma once

#include <cstdint>
#include <string>

#include "BenchData.h"

class AppSession;
class BenchReport;
class CChildFrame;
struct BenchOptions;

// Export Query against the data source's own command-line tool writing the
// same result as CSV, both started by the bench in the same run: sqlite3 -csv
// for SQLite, psql's \copy for PostgreSQL. Also the peak memory of the
// export at the bench's row count and at five times as many rows.
class QueryExportBench {
public:
    QueryExportBench(AppSession &app, const BenchOptions &options, BenchReport &report);

    void Run(const std::string &source, const std::string &connect, BenchData::Dialect dialect,
             const std::string &sqliteFile);

private:
    // Runs Export Query in `frame`'s window into `path`; the rows it wrote.
    uint64_t ExportOnce(CChildFrame &frame, const std::string &path);
    // The data source's own tool; the shell command it ran.
    std::string ToolCommand(const std::string &connect, BenchData::Dialect dialect,
                            const std::string &sqliteFile, const std::string &path) const;

    AppSession &m_app;
    const BenchOptions &m_options;
    BenchReport &m_report;
};
