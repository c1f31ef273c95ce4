#include "TreeBench.h"

#include "ProcessMemory.h"

#include <algorithm>
#include <cstdio>
#include <limits>
#include <memory>
#include <stdexcept>
#include <vector>

#include <QMdiArea>
#include <QTreeWidgetItem>

#include <sql.h>
#include <sqlext.h>
#include <sys/resource.h>
#ifdef __GLIBC__
#include <malloc.h>
#endif

#include "AppSession.h"
#include "BenchReport.h"
#include "RawSession.h"
#include "Stopwatch.h"
#include "app/CBrindleApp.h"
#include "app/CChildFrame.h"
#include "app/CMainFrame.h"
#include "catalog/CDBTreeView.h"
#include "catalog/recordsets/CColumnNames.h"
#include "catalog/recordsets/SearchPattern.h"
#include "connection/CBrindleDoc.h"
#include "connection/TableTypeList.h"
#include "framework/CommandTable.h"

// The hand-written side of the tree's figures: its own connection and one
// statement, the catalog calls the tree makes, every row fetched into bound
// buffers the size the recordsets use and copied out as they copy it.
class RawCatalog {
public:
    explicit RawCatalog(const std::string &connect) : m_connect(connect) {
        if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &m_env)))
            throw std::runtime_error("cannot allocate an ODBC environment");
        SQLSetEnvAttr(m_env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
        Connect();
    }
    // An SQLite connection holds its own copy of the schema in this process:
    // away while the program's memory is measured.
    void Connect() {
        if (m_connected)
            return;
        SQLAllocHandle(SQL_HANDLE_DBC, m_env, &m_dbc);
        std::string text = m_connect;
        SQLCHAR out[1024] = {};
        SQLSMALLINT outLength = 0;
        if (!SQL_SUCCEEDED(SQLDriverConnect(m_dbc, nullptr, Sql(text), SQL_NTS, out, sizeof out,
                                            &outLength, SQL_DRIVER_NOPROMPT)))
            throw std::runtime_error("the raw catalog loop cannot connect");
        m_connected = true;
        SQLAllocHandle(SQL_HANDLE_STMT, m_dbc, &m_stmt);
        char escape[8] = {};
        SQLSMALLINT length = 0;
        if (SQL_SUCCEEDED(
                SQLGetInfo(m_dbc, SQL_SEARCH_PATTERN_ESCAPE, escape, sizeof escape, &length)))
            m_escape = escape;
    }
    void Disconnect() {
        if (m_stmt != SQL_NULL_HSTMT)
            SQLFreeHandle(SQL_HANDLE_STMT, m_stmt);
        m_stmt = SQL_NULL_HSTMT;
        if (m_connected)
            SQLDisconnect(m_dbc);
        m_connected = false;
        if (m_dbc != SQL_NULL_HDBC)
            SQLFreeHandle(SQL_HANDLE_DBC, m_dbc);
        m_dbc = SQL_NULL_HDBC;
    }
    ~RawCatalog() {
        Disconnect();
        if (m_env != SQL_NULL_HENV)
            SQLFreeHandle(SQL_HANDLE_ENV, m_env);
    }
    RawCatalog(const RawCatalog &) = delete;
    RawCatalog &operator=(const RawCatalog &) = delete;

    // SQLTables, one SQLColumns for every table, SQLProcedures and
    // SQLProcedureColumns per procedure: the table-list entries read.
    int BuildLoop(std::string tableTypes, bool procedures) {
        std::vector<std::string> tables;
        Open(SQLTables(m_stmt, nullptr, 0, nullptr, 0, nullptr, 0, Sql(tableTypes), SQL_NTS),
             "SQLTables");
        Fetch(kTablesText, {}, [&] { tables.push_back(m_text[2]); });
        std::string everyTable = "%";
        Open(SQLColumns(m_stmt, nullptr, 0, nullptr, 0, Sql(everyTable), SQL_NTS, nullptr, 0),
             "SQLColumns");
        Fetch(kColumnsText, kColumnsLong, [] {});
        if (procedures) {
            std::vector<std::string> names;
            Open(SQLProcedures(m_stmt, nullptr, 0, nullptr, 0, nullptr, 0), "SQLProcedures");
            Fetch(kProceduresText, kProceduresLong, [&] { names.push_back(m_text[2]); });
            for (const std::string &name : names) {
                std::string pattern = EscapeSearchPattern(name, m_escape);
                Open(SQLProcedureColumns(m_stmt, nullptr, 0, nullptr, 0, Sql(pattern), SQL_NTS,
                                         nullptr, 0),
                     "SQLProcedureColumns");
                Fetch(kProcedureColumnsText, kProcedureColumnsLong, [] {});
            }
        }
        return static_cast<int>(tables.size());
    }

    // SQLTables and the tree's own queries on the DBMS's catalog, for every
    // table at once: the table-list entries read.
    int CatalogLoop(std::string tableTypes, CColumnNames::Dialect dialect) {
        std::vector<std::string> tables;
        Open(SQLTables(m_stmt, nullptr, 0, nullptr, 0, nullptr, 0, Sql(tableTypes), SQL_NTS),
             "SQLTables");
        Fetch(kTablesText, {}, [&] { tables.push_back(m_text[2]); });
        for (const CColumnNames::Relations relations : CColumnNames::Reads(dialect)) {
            std::string query = CColumnNames::QueryText(dialect, relations, {});
            Open(SQLExecDirect(m_stmt, Sql(query), SQL_NTS), "catalog query");
            Fetch(kColumnNamesText, {}, [] {});
        }
        return static_cast<int>(tables.size());
    }

    // The two key queries of a table's expansion: the key rows read.
    int KeyQueries(const std::string &table) {
        std::string name = table;
        int rows = 0;
        Open(SQLPrimaryKeys(m_stmt, nullptr, 0, nullptr, 0, Sql(name), SQL_NTS), "SQLPrimaryKeys");
        Fetch(kPrimaryKeysText, kPrimaryKeysLong, [&] { ++rows; });
        Open(SQLForeignKeys(m_stmt, nullptr, 0, nullptr, 0, nullptr, 0, nullptr, 0, nullptr, 0,
                            Sql(name), SQL_NTS),
             "SQLForeignKeys");
        Fetch(kForeignKeysText, kForeignKeysLong, [&] { ++rows; });
        return rows;
    }

private:
    using Columns = std::vector<SQLUSMALLINT>;
    // The result columns each recordset binds, as text and as numbers.
    inline static const Columns kTablesText = {1, 2, 3, 4, 5};
    inline static const Columns kColumnsText = {1, 2, 3, 4, 6, 12};
    inline static const Columns kColumnsLong = {5, 7, 8, 9, 10, 11};
    inline static const Columns kColumnNamesText = {1, 2};
    inline static const Columns kProceduresText = {1, 2, 3, 7};
    inline static const Columns kProceduresLong = {8};
    inline static const Columns kProcedureColumnsText = {1, 2, 3, 4, 7, 13};
    inline static const Columns kProcedureColumnsLong = {5, 6, 8, 9, 10, 11, 12};
    inline static const Columns kPrimaryKeysText = {1, 2, 3, 4, 6};
    inline static const Columns kPrimaryKeysLong = {5};
    inline static const Columns kForeignKeysText = {1, 2, 3, 4, 5, 6, 7, 8, 12, 13};
    inline static const Columns kForeignKeysLong = {9, 10, 11};

    static SQLCHAR *Sql(std::string &text) { return reinterpret_cast<SQLCHAR *>(text.data()); }

    void Open(SQLRETURN rc, const char *what) {
        if (!SQL_SUCCEEDED(rc))
            throw std::runtime_error(std::string("the raw loop's ") + what + " failed");
    }

    template <typename Row> void Fetch(const Columns &text, const Columns &numbers, Row row) {
        m_text.assign(text.size(), std::string());
        for (size_t i = 0; i < text.size(); ++i)
            SQLBindCol(m_stmt, text[i], SQL_C_CHAR, m_buffers[i], sizeof m_buffers[i],
                       &m_indicators[i]);
        for (size_t i = 0; i < numbers.size(); ++i)
            SQLBindCol(m_stmt, numbers[i], SQL_C_SLONG, &m_numbers[i], 0,
                       &m_indicators[text.size() + i]);
        SQLRETURN rc;
        while ((rc = SQLFetch(m_stmt)) == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO) {
            for (size_t i = 0; i < text.size(); ++i) {
                const SQLLEN length = m_indicators[i];
                if (length == SQL_NULL_DATA)
                    m_text[i].clear();
                else
                    m_text[i].assign(m_buffers[i],
                                     static_cast<size_t>(std::min<SQLLEN>(
                                         length < 0 ? 0 : length, sizeof m_buffers[i] - 1)));
            }
            row();
        }
        SQLFreeStmt(m_stmt, SQL_CLOSE);
        SQLFreeStmt(m_stmt, SQL_UNBIND);
        if (rc != SQL_NO_DATA)
            throw std::runtime_error("the raw loop's SQLFetch failed");
    }

    std::string m_connect;
    SQLHENV m_env = SQL_NULL_HENV;
    SQLHDBC m_dbc = SQL_NULL_HDBC;
    SQLHSTMT m_stmt = SQL_NULL_HSTMT;
    bool m_connected = false;
    std::string m_escape;
    char m_buffers[16][256] = {};
    SQLINTEGER m_numbers[16] = {};
    SQLLEN m_indicators[32] = {};
    std::vector<std::string> m_text;
};

namespace {

std::string TableName(int number) {
    char text[32];
    std::snprintf(text, sizeof text, "%s%06d", TreeBench::TablePrefix, number);
    return text;
}

std::string Ratio(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2fx", value);
    return text;
}

// PostgreSQL holds a few locks per table made or dropped until the transaction
// ends, and its default lock table (64 per connection) cannot take many thousands.
constexpr int TablesPerTransaction = 1000;

// Tables `from`..`to`; the first table's key refers to itself. One transaction on
// SQLite, one per TablesPerTransaction tables on PostgreSQL.
void CreateTables(RawSession &raw, BenchData::Dialect dialect, int from, int to) {
    if (dialect == BenchData::Dialect::Postgres) {
        for (int first = from; first <= to; first += TablesPerTransaction) {
            const int last = std::min(to, first + TablesPerTransaction - 1);
            raw.Execute(
                "DO $$ BEGIN FOR i IN " + std::to_string(first) + ".." + std::to_string(last) +
                " LOOP EXECUTE format('CREATE TABLE %I (id integer PRIMARY KEY, prev_id "
                "integer REFERENCES %I (id), c3 varchar(20), c4 integer, c5 numeric(10,2), "
                "c6 date, c7 varchar(40), c8 integer, c9 text, c10 timestamp)', '" +
                TreeBench::TablePrefix + "' || lpad(i::text, 6, '0'), '" + TreeBench::TablePrefix +
                "' || lpad(greatest(i - 1, 1)::text, 6, '0')); END LOOP; END $$");
        }
        return;
    }
    raw.Execute("BEGIN");
    for (int i = from; i <= to; ++i)
        raw.Execute("CREATE TABLE " + TableName(i) +
                    " (id INTEGER PRIMARY KEY, prev_id INTEGER REFERENCES " +
                    TableName(std::max(i - 1, 1)) +
                    " (id), c3 VARCHAR(20), c4 INTEGER, c5 NUMERIC(10,2), c6 DATE, "
                    "c7 VARCHAR(40), c8 INTEGER, c9 TEXT, c10 TIMESTAMP)");
    raw.Execute("COMMIT");
}

void DropTables(RawSession &raw, BenchData::Dialect dialect, int count) {
    if (dialect == BenchData::Dialect::Postgres) {
        for (int last = count; last >= 1; last -= TablesPerTransaction)
            raw.Execute("DO $$ BEGIN FOR i IN REVERSE " + std::to_string(last) + ".." +
                        std::to_string(std::max(1, last - TablesPerTransaction + 1)) +
                        " LOOP EXECUTE format('DROP TABLE IF EXISTS %I CASCADE', '" +
                        TreeBench::TablePrefix + "' || lpad(i::text, 6, '0')); END LOOP; END $$");
        return;
    }
    raw.Execute("BEGIN");
    for (int i = count; i >= 1; --i)
        raw.Execute("DROP TABLE IF EXISTS " + TableName(i));
    raw.Execute("COMMIT");
}

// The process's resident memory now (0 where /proc is not there) and at its peak, in MB.
std::string MemoryText() {
    long pages = 0;
    long resident = 0;
    if (FILE *statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(statm);
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    char text[160];
    std::snprintf(text, sizeof text, "%ld MB now, %ld MB at the peak",
                  resident * 4096 / (1024 * 1024), usage.ru_maxrss / 1024);
    std::string result = text;
#ifdef __GLIBC__
    // What the heap holds now, without what the driver's results freed.
    std::snprintf(text, sizeof text, ", %zu MB in use on the heap",
                  mallinfo2().uordblks / (1024 * 1024));
    result += text;
#endif
    return result;
}

long PeakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

QTreeWidgetItem *ChildLabelled(QTreeWidgetItem *parent, const std::string &label) {
    for (int i = 0; parent && i < parent->childCount(); ++i)
        if (CDBTreeView::Label(parent->child(i)) == label)
            return parent->child(i);
    return nullptr;
}

} // namespace

TreeBench::TreeBench(AppSession &app, const BenchOptions &options, BenchReport &report)
    : m_app(app), m_options(options), m_report(report) {}

void TreeBench::Refresh(AppSession &app, CChildFrame &frame) {
    CMainFrame &mainFrame = *app.App().MainFrame();
    mainFrame.MdiArea()->setActiveSubWindow(&frame);
    mainFrame.SendCommand(ID_REFRESH);
    AppSession::ProcessEvents();
}

void TreeBench::Run(const std::string &source, const std::string &connect,
                    BenchData::Dialect dialect) {
    m_source = source;
    m_dialect = dialect == BenchData::Dialect::Sqlite ? CColumnNames::Dialect::Sqlite
                                                      : CColumnNames::Dialect::PostgreSql;
    const int total = static_cast<int>(m_options.tables);
    const int small = std::max(1, total / 10);
    try {
        // Its own file on SQLite: the other figures' tables are no part of this schema.
        // A kept file is made once: SQLite makes a table in time growing with the schema.
        const bool keptFile =
            dialect == BenchData::Dialect::Sqlite ? !m_options.treeDb.empty() : m_options.keepTree;
        const std::string target =
            dialect == BenchData::Dialect::Sqlite
                ? "DRIVER={SQLite3};DATABASE=" +
                      (keptFile ? m_options.treeDb : m_options.workDir + "/tree.db") +
                      ";SyncPragma=OFF;JournalMode=WAL"
                : connect;
        auto builder = std::make_unique<RawSession>(target);
        const char *countTables =
            dialect == BenchData::Dialect::Sqlite
                ? "SELECT COUNT(*) FROM sqlite_master WHERE type = 'table' AND name LIKE "
                  "'brindle_tree_%'"
                : "SELECT COUNT(*) FROM pg_catalog.pg_class WHERE relkind = 'r' AND relname "
                  "LIKE 'brindle_tree_%'";
        const bool reuse = keptFile && builder->QueryNumber(countTables) == total;
        if (!reuse)
            DropTables(*builder, dialect, total);
        try {
            AppSettings &settings = m_app.App().Settings();
            const AppSettings kept = settings;
            settings.Views = 1;
            // The tables' share alone: psqlODBC lists thousands of system functions.
            settings.Procedures = 0;
            RawCatalog raw(target);

            Build first;
            if (!reuse) {
                std::printf("%s: creating %d tables ...", source.c_str(), small);
                std::fflush(stdout);
                const double seconds =
                    Stopwatch::Seconds([&] { CreateTables(*builder, dialect, 1, small); });
                std::printf(" %s\n", BenchReport::Duration(seconds).c_str());
            }
            CChildFrame &frame = m_app.OpenWindow(target);
            if (!reuse) {
                first = MeasureBuild(frame, raw, small);
                std::printf("%s: creating %d more tables ...", source.c_str(), total - small);
                std::fflush(stdout);
                const double seconds =
                    Stopwatch::Seconds([&] { CreateTables(*builder, dialect, small + 1, total); });
                std::printf(" %s\n", BenchReport::Duration(seconds).c_str());
            }
            // Its connection is no part of the program's memory.
            builder.reset();
            const Build all = MeasureBuild(frame, raw, total);
            const long peak =
                m_treePeakKnown ? static_cast<long>(m_treePeak >> 20) : PeakMegabytes();
            m_report.AddNote(
                source, "process memory with the tree of " + std::to_string(total) + " tables",
                MemoryText() + ", " + std::to_string(peak) + " MB at the peak of a Refresh",
                peak < 400 ? "met (under 400 MB)" : "MISSED (400 MB)");
            m_report.AddRatio(source, "catalog tree of " + std::to_string(total) + " tables",
                              all.app, all.raw, 1.20);
            m_report.AddRatio(source,
                              "catalog tree of " + std::to_string(total) +
                                  " tables, against its own catalog queries",
                              all.app, all.rawCatalog, 1.20);
            // The driver's own catalog calls may slow down as the catalog grows (a pattern
            // argument matched against every table): the verdict is on what the tree adds.
            // A kept file has no smaller schema to compare with.
            if (!reuse) {
                const double ownSmall = (first.app - first.raw) / first.tables;
                const double ownAll = (all.app - all.raw) / all.tables;
                const double growth = ownAll / ownSmall;
                m_report.AddNote(
                    source, "tree build time per table",
                    std::to_string(first.tables) + ": " +
                        BenchReport::Duration(first.app / first.tables) + " (raw " +
                        BenchReport::Duration(first.raw / first.tables) + "), " +
                        std::to_string(all.tables) + ": " +
                        BenchReport::Duration(all.app / all.tables) + " (raw " +
                        BenchReport::Duration(all.raw / all.tables) + "); the tree's own " +
                        BenchReport::Duration(ownSmall) + " and " + BenchReport::Duration(ownAll) +
                        " (" + Ratio(growth) + ")",
                    growth <= 1.25 ? "met, flat (within 1.25x)" : "MISSED, grows with the catalog");
            }
            MeasureExpand(frame, raw, total);
            m_app.CloseWindow(frame);
            settings = kept;
        } catch (const std::exception &error) {
            m_report.AddFailure(source, error.what());
        }
        for (CChildFrame *open : m_app.App().MainFrame()->ChildFrames())
            m_app.CloseWindow(*open);
        if (!keptFile) {
            builder = std::make_unique<RawSession>(target);
            DropTables(*builder, dialect, total);
        }
    } catch (const std::exception &error) {
        m_report.AddFailure(source, error.what());
    }
}

TreeBench::Build TreeBench::MeasureBuild(CChildFrame &frame, RawCatalog &raw, int generated) {
    CDBTreeView *tree = dynamic_cast<CDBTreeView *>(frame.Document().m_pTreeView);
    if (!tree)
        throw std::runtime_error("the window has no catalog tree");
    const std::string types = TableTypeList(m_app.App().Settings());
    Build build;
    const Stopwatch::Best best = Stopwatch::BestOf(
        m_options.runs,
        [&] {
            const double seconds = Stopwatch::Seconds([&] { Refresh(m_app, frame); });
            m_app.CheckNoMessages("refreshing the catalog tree");
            QTreeWidgetItem *tables = ChildLabelled(tree->RootNode(), "Tables");
            if (!ChildLabelled(tables, TableName(generated)))
                throw std::runtime_error("the tree lacks " + TableName(generated));
            return seconds;
        },
        [&] { return Stopwatch::Seconds([&] { build.tables = raw.BuildLoop(types, false); }); });
    if (build.tables < generated)
        throw std::runtime_error("the raw loop listed " + std::to_string(build.tables) + " tables");
    build.app = best.app;
    build.raw = best.raw;
    build.rawCatalog = Stopwatch::BestOf(m_options.runs, [&] {
        return Stopwatch::Seconds([&] { raw.CatalogLoop(types, m_dialect); });
    });
    // A Refresh first clears the old tree: that must not cost more than the build.
    const double clearing = Stopwatch::Seconds([&] { tree->clear(); });
    // The process's peak while the program alone builds the tree: the raw loop's
    // one call, which a driver may buffer whole, is no part of it, nor its connection.
    raw.Disconnect();
#ifdef __GLIBC__
    malloc_trim(0);
#endif
    m_treePeakKnown = ProcessMemory::ResetPeak();
    Refresh(m_app, frame);
    m_treePeak = ProcessMemory::PeakResidentBytes().value_or(0);
    raw.Connect();
    m_report.AddNote(m_source, "clearing the tree of " + std::to_string(build.tables) + " tables",
                     BenchReport::Duration(clearing) + " (a whole Refresh " +
                         BenchReport::Duration(best.app) + ")",
                     clearing <= best.app / 2 ? "met (under half the Refresh)"
                                              : "MISSED (half the Refresh)");
    m_report.AddNote(m_source, "tree build, " + std::to_string(build.tables) + " tables",
                     BenchReport::Duration(best.app) + " (raw loop " +
                         BenchReport::Duration(best.raw) + ", " + Ratio(best.Ratio()) + ")",
                     "absolute");
    return build;
}

void TreeBench::MeasureExpand(CChildFrame &frame, RawCatalog &raw, int generated) {
    CDBTreeView *tree = dynamic_cast<CDBTreeView *>(frame.Document().m_pTreeView);
    QTreeWidgetItem *tables = ChildLabelled(tree->RootNode(), "Tables");
    // Keys load on a table's first expansion only: each run expands another table.
    int next = generated / 2;
    int rawNext = generated / 2;
    const int runs = std::max(m_options.runs, 10);
    double bestPainting = std::numeric_limits<double>::infinity();
    const Stopwatch::Best best = Stopwatch::BestOf(
        runs,
        [&] {
            QTreeWidgetItem *table = ChildLabelled(tables, TableName(next++));
            if (!table)
                throw std::runtime_error("the tree lacks a generated table");
            // The expansion runs the key queries and inserts the folders before
            // it returns; what the event loop does next (laying out and painting
            // the tree and the status bar) is the toolkit's, timed on its own.
            const double seconds = Stopwatch::Seconds([&] { table->setExpanded(true); });
            const double painting = Stopwatch::Seconds([&] { AppSession::ProcessEvents(); });
            bestPainting = std::min(bestPainting, painting);
            m_app.CheckNoMessages("expanding a table");
            // Fields, Primary Keys and Foreign Keys.
            if (table->childCount() != 3)
                throw std::runtime_error("expanding a table did not load its two key folders");
            // A large tree makes a table's fields when their folder opens.
            QTreeWidgetItem *fields = table->child(0);
            fields->setExpanded(true);
            if (fields->childCount() != 10)
                throw std::runtime_error("a table's Fields folder does not list its 10 columns");
            return seconds;
        },
        [&] {
            int rows = 0;
            const double seconds =
                Stopwatch::Seconds([&] { rows = raw.KeyQueries(TableName(rawNext++)); });
            if (rows != 2)
                throw std::runtime_error("the raw key queries read " + std::to_string(rows) +
                                         " rows");
            return seconds;
        });
    m_report.AddRatio(m_source, "expand one table (primary and foreign keys)", best.app, best.raw,
                      1.20);
    m_report.AddNote(m_source, "event loop after an expansion",
                     BenchReport::Duration(bestPainting) +
                         " to lay out and paint the tree and the status bar",
                     "absolute");
}
