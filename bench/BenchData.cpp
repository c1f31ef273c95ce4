#include "BenchData.h"

#include <cstdio>
#include <fstream>
#include <stdexcept>

#include "RawSession.h"

namespace {

// The eight columns; both dialects produce the same values.
const char *const SqliteColumns =
    "(id INTEGER PRIMARY KEY, name VARCHAR(40), city VARCHAR(20), qty INTEGER, "
    "price NUMERIC(10,2), created DATE, active INTEGER, note VARCHAR(60))";
const char *const PostgresColumns =
    "(id integer PRIMARY KEY, name varchar(40), city varchar(20), qty integer, "
    "price numeric(10,2), created date, active integer, note varchar(60))";

// One generated row per n.
const char *const CommonValues = "n, 'Customer ' || n, "
                                 "CASE n % 5 WHEN 0 THEN 'Amsterdam' WHEN 1 THEN 'Berlin' "
                                 "WHEN 2 THEN 'Lisbon' WHEN 3 THEN 'Oslo' ELSE 'Vienna' END, "
                                 "n % 1000, (n % 100000) / 100.0, ";
const char *const CommonTail =
    ", n % 2, CASE WHEN n % 10 = 0 THEN NULL ELSE 'Note for row ' || n END";

} // namespace

void BenchData::BuildTable(RawSession &session, Dialect dialect, uint64_t rows) {
    const std::string count = std::to_string(rows);
    const std::string table = Table;
    session.Execute("DROP TABLE IF EXISTS " + table);
    if (dialect == Dialect::Sqlite) {
        session.Execute("CREATE TABLE " + table + " " + SqliteColumns);
        session.Execute("INSERT INTO " + table + " SELECT " + CommonValues +
                        "date('2020-01-01', '+' || (n % 1500) || ' days')" + CommonTail +
                        " FROM (WITH RECURSIVE s(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM s "
                        "WHERE n < " +
                        count + ") SELECT n FROM s)");
    } else {
        session.Execute("CREATE TABLE " + table + " " + PostgresColumns);
        session.Execute("INSERT INTO " + table + " SELECT " + CommonValues +
                        "DATE '2020-01-01' + (n % 1500)" + CommonTail +
                        " FROM generate_series(1, " + count + ") AS g(n)");
        session.Execute("ANALYZE " + table);
    }
    const int64_t loaded = session.QueryNumber("SELECT COUNT(*) FROM " + table);
    if (loaded != static_cast<int64_t>(rows))
        throw std::runtime_error("the bench table holds " + std::to_string(loaded) +
                                 " rows instead of " + count);
}

void BenchData::ResetInsertTable(RawSession &session) {
    const std::string table = InsertTable;
    session.Execute("DROP TABLE IF EXISTS " + table);
    session.Execute("CREATE TABLE " + table +
                    " (id integer, name varchar(40), qty integer, price numeric(10,2))");
}

void BenchData::DropTables(RawSession &session) {
    session.Execute(std::string("DROP TABLE IF EXISTS ") + Table);
    session.Execute(std::string("DROP TABLE IF EXISTS ") + InsertTable);
}

std::vector<std::string> BenchData::WriteInsertScript(const std::string &path, int count) {
    std::vector<std::string> statements;
    statements.reserve(static_cast<size_t>(count));
    std::ofstream out(path, std::ios::binary);
    char line[160];
    for (int n = 1; n <= count; ++n) {
        std::snprintf(line, sizeof line,
                      "INSERT INTO %s (id, name, qty, price) VALUES (%d, 'Script row %d', %d, "
                      "%d.%02d)",
                      InsertTable, n, n, n % 1000, n % 1000, n % 100);
        statements.emplace_back(line);
        out << line << ";\n";
    }
    out.close();
    if (!out)
        throw std::runtime_error("cannot write the script " + path);
    return statements;
}
