#include "QueryExportBench.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include <sqlext.h>

#include "AppSession.h"
#include "BenchReport.h"
#include "BenchSuite.h"
#include "ProcessMemory.h"
#include "RawSession.h"
#include "Stopwatch.h"
#include "app/CBrindleApp.h"
#include "app/CChildFrame.h"
#include "app/CMainFrame.h"
#include "connection/CBrindleDoc.h"
#include "odbc/ConnectString.h"
#include "odbc/OdbcConnection.h"
#include "results/QueryExport.h"

namespace {

constexpr double RatioTarget = 1.2;
constexpr double MemoryGrowthTarget = 50e6;
constexpr uint64_t MemoryRowsFactor = 5;

const std::string Select = std::string("SELECT id, name, city, qty, price, created, active, note "
                                       "FROM ") +
                           BenchData::Table;

// A shell word: single quotes, with any single quote closed, escaped and reopened.
std::string Quoted(const std::string &text) {
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::string ElementValue(const std::string &connect, const char *key) {
    for (const std::string &element : ConnectString::Elements(connect)) {
        std::string name(ConnectString::Key(element));
        for (char &c : name)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (name == key)
            return ConnectString::Value(element);
    }
    return {};
}

uint64_t FileBytes(const std::string &path) {
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    return error ? 0 : size;
}

} // namespace

QueryExportBench::QueryExportBench(AppSession &app, const BenchOptions &options,
                                   BenchReport &report)
    : m_app(app), m_options(options), m_report(report) {}

std::string QueryExportBench::ToolCommand(const std::string &connect, BenchData::Dialect dialect,
                                          const std::string &sqliteFile,
                                          const std::string &path) const {
    if (dialect == BenchData::Dialect::Sqlite)
        return "sqlite3 -csv " + Quoted(sqliteFile) + " " + Quoted(Select) + " > " + Quoted(path);
    return "PGPASSWORD=" + Quoted(ElementValue(connect, "PWD")) + " psql -X -q -h " +
           Quoted(ElementValue(connect, "SERVER")) + " -p " +
           Quoted(ElementValue(connect, "PORT")) + " -U " + Quoted(ElementValue(connect, "UID")) +
           " " + Quoted(ElementValue(connect, "DATABASE")) + " -c " +
           Quoted("\\copy (" + Select + ") to '" + path + "' csv header");
}

uint64_t QueryExportBench::ExportOnce(CChildFrame &frame, const std::string &path) {
    QueryExportChoices choices;
    choices.statement = Select;
    choices.path = QString::fromStdString(path);
    choices.format = ExportCommand::Format::CommaDelimited;
    QueryExport run(frame.Document());
    const QueryExport::Outcome outcome = run.Run(choices);
    m_app.CheckNoMessages("exporting");
    if (outcome != QueryExport::Outcome::Written)
        throw std::runtime_error("the export failed");
    return run.RowsWritten();
}

void QueryExportBench::Run(const std::string &source, const std::string &connect,
                           BenchData::Dialect dialect, const std::string &sqliteFile) {
    const std::string appPath = m_options.workDir + "/query-export.csv";
    const std::string toolPath = m_options.workDir + "/tool-export.csv";
    try {
        RawSession raw(connect);
        std::printf("%s: building %llu rows for Export Query ...\n", source.c_str(),
                    static_cast<unsigned long long>(m_options.rows));
        std::fflush(stdout);
        BenchData::BuildTable(raw, dialect, m_options.rows);
        const std::string tool = ToolCommand(connect, dialect, sqliteFile, toolPath);
        std::printf("%s: the tool's command: %s\n", source.c_str(), tool.c_str());
        CChildFrame &frame = m_app.OpenWindow(connect);

        const Stopwatch::Best best = Stopwatch::BestOf(
            m_options.runs,
            [&] {
                uint64_t rows = 0;
                const double seconds =
                    Stopwatch::Seconds([&] { rows = ExportOnce(frame, appPath); });
                if (rows != m_options.rows)
                    throw std::runtime_error("the export wrote " + std::to_string(rows) + " rows");
                return seconds;
            },
            [&] {
                return Stopwatch::Seconds([&] {
                    if (std::system(tool.c_str()) != 0)
                        throw std::runtime_error("the tool failed: " + tool);
                });
            });
        const std::string rows = std::to_string(m_options.rows / 1000) + "k x 8";
        m_report.AddRatio(
            source,
            "Export Query CSV " + rows + " vs " +
                (dialect == BenchData::Dialect::Sqlite ? "sqlite3 -csv" : "psql \\copy"),
            best.app, best.raw, RatioTarget);
        char sizes[96];
        std::snprintf(sizes, sizeof sizes, "%s vs %s",
                      BenchReport::Bytes(static_cast<double>(FileBytes(appPath))).c_str(),
                      BenchReport::Bytes(static_cast<double>(FileBytes(toolPath))).c_str());
        m_report.AddNote(source, "Export Query CSV file vs the tool's", sizes, "for reference");

        // The driver's own share: its bound fetch loop on the export's kind of
        // connection, with nothing written.
        OdbcConnection &database = frame.Document().Database();
        std::string streaming =
            QueryExport::StreamingConnectString(database.InfoText(SQL_DRIVER_NAME), connect);
        RawSession fetcher(streaming.empty() ? connect : streaming);
        const SQLULEN blockRows =
            database.InfoU32(SQL_GETDATA_EXTENSIONS) & SQL_GD_BLOCK ? 1024 : 1;
        const double floor = Stopwatch::BestOf(m_options.runs, [&] {
            return Stopwatch::Seconds([&] { fetcher.FetchBound(Select, blockRows); });
        });
        char share[160];
        std::snprintf(share, sizeof share,
                      "%.3f s of Export Query's %.3f s (%.0f%%); the tool's whole run %.2fx it",
                      floor, best.app, 100 * floor / best.app, best.raw / floor);
        m_report.AddNote(source, "the driver's bound fetch loop alone, " + rows, share,
                         "for reference");

        // Peak memory of an export of the row count, then of five times as many.
        if (ProcessMemory::ResetPeak()) {
            ExportOnce(frame, appPath);
            const auto small = ProcessMemory::PeakResidentBytes();
            const uint64_t bigRows = m_options.rows * MemoryRowsFactor;
            BenchData::BuildTable(raw, dialect, bigRows);
            ProcessMemory::ResetPeak();
            if (ExportOnce(frame, appPath) != bigRows)
                throw std::runtime_error("the large export missed rows");
            const auto big = ProcessMemory::PeakResidentBytes();
            if (small && big) {
                const double growth = static_cast<double>(*big) - static_cast<double>(*small);
                char value[128];
                std::snprintf(value, sizeof value, "%s -> %s (%+.1f MB)",
                              BenchReport::Bytes(static_cast<double>(*small)).c_str(),
                              BenchReport::Bytes(static_cast<double>(*big)).c_str(), growth / 1e6);
                m_report.AddNote(source,
                                 "Export Query peak memory " + rows + " -> " +
                                     std::to_string(bigRows / 1000) + "k rows",
                                 value,
                                 growth < MemoryGrowthTarget ? "met, target < 50 MB growth"
                                                             : "MISSED, target < 50 MB growth");
            }
        }
        m_app.CloseWindow(frame);
        BenchData::DropTables(raw);
    } catch (const std::exception &error) {
        m_report.AddFailure(source, error.what());
        for (CChildFrame *open : m_app.App().MainFrame()->ChildFrames())
            m_app.CloseWindow(*open);
    }
    std::remove(appPath.c_str());
    std::remove(toolPath.c_str());
}
