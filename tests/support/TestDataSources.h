#pragma once

#include <string>
#include <vector>

// The real data sources every ODBC test runs against.
//  - "sqlite": a fresh SQLite3 database per test program, built from
//    tests/fixtures/sqlite_fixture.sql through the SQLite3 ODBC driver.
//  - "postgres": the throwaway server the test command starts; its connection
//    string comes from BRINDLE_PG_CONNECT (loaded from tests/fixtures/pg_fixture.sql).
//    When the variable is missing the test fails: a missing service is never skipped.
//  - "mariadb": the same for MariaDB, from BRINDLE_MARIADB_CONNECT
//    (tests/fixtures/mariadb_fixture.sql).
struct TestDataSource {
    std::string name;    // "sqlite", "postgres" or "mariadb"
    std::string connect; // a complete ODBC connection string (with UID/PWD where needed)
};

// The data sources. Throws std::runtime_error when one cannot be had.
const TestDataSource &SqliteSource();
const TestDataSource &PostgresSource();
const TestDataSource &MariadbSource();
TestDataSource SourceNamed(const std::string &name);
// Names for INSTANTIATE_TEST_SUITE_P.
std::vector<std::string> TestSourceNames();

// Runs statements on a connection string, outside the code under test, and
// throws std::runtime_error with the driver's text on failure.
void ExecuteSql(const std::string &connect, const std::vector<std::string> &statements);
// Statements of a fixture file, split on ";" at line ends.
std::vector<std::string> ReadSqlFile(const std::string &path);
// Absolute path of a file under tests/fixtures.
std::string FixturePath(const std::string &name);
// A fresh empty directory under the system temp folder, removed at exit.
std::string MakeTempDir();
