#include "TestDataSources.h"

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <stdexcept>
#include <system_error>

#include <sql.h>
#include <sqlext.h>

#ifndef BRINDLE_TEST_FIXTURES
#error "BRINDLE_TEST_FIXTURES must name the fixtures folder"
#endif

namespace {

// Directories made by MakeTempDir, removed when the test program ends.
class TempDirs {
public:
    ~TempDirs() {
        for (const auto &dir : m_dirs) {
            std::error_code ignored;
            std::filesystem::remove_all(dir, ignored);
        }
    }
    void Add(const std::string &dir) {
        std::lock_guard lock(m_mutex);
        m_dirs.push_back(dir);
    }

private:
    std::mutex m_mutex;
    std::vector<std::string> m_dirs;
};

TempDirs &TempDirList() {
    static TempDirs dirs;
    return dirs;
}

// Every diagnostic record of a handle, one per line, for failure messages.
std::string Diagnostics(SQLSMALLINT type, SQLHANDLE handle) {
    std::string text;
    for (SQLSMALLINT record = 1;; ++record) {
        SQLCHAR state[6] = {};
        SQLINTEGER native = 0;
        SQLCHAR message[1024] = {};
        SQLSMALLINT length = 0;
        SQLRETURN rc =
            SQLGetDiagRec(type, handle, record, state, &native, message, sizeof message, &length);
        if (!SQL_SUCCEEDED(rc))
            break;
        // Appended piece by piece: g++ 12 warns falsely on "[" + std::string(...).
        text += '[';
        text += reinterpret_cast<const char *>(state);
        text += "] ";
        text += reinterpret_cast<const char *>(message);
        text += '\n';
    }
    return text.empty() ? "(no diagnostics)" : text;
}

// Owns the three handles of one plain ODBC session, freed in reverse order.
class OdbcSession {
public:
    explicit OdbcSession(const std::string &connect) {
        if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &m_env)))
            throw std::runtime_error("cannot allocate an ODBC environment");
        SQLSetEnvAttr(m_env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
        if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_DBC, m_env, &m_dbc)))
            throw std::runtime_error("cannot allocate an ODBC connection:\n" +
                                     Diagnostics(SQL_HANDLE_ENV, m_env));
        SQLCHAR out[1024] = {};
        SQLSMALLINT outLength = 0;
        std::string in = connect;
        SQLRETURN rc = SQLDriverConnect(m_dbc, nullptr, reinterpret_cast<SQLCHAR *>(in.data()),
                                        SQL_NTS, out, sizeof out, &outLength, SQL_DRIVER_NOPROMPT);
        if (!SQL_SUCCEEDED(rc)) {
            std::string message = "cannot connect with \"";
            message += Redacted(connect);
            message += "\":\n";
            message += Diagnostics(SQL_HANDLE_DBC, m_dbc);
            throw std::runtime_error(message);
        }
        m_connected = true;
        if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, m_dbc, &m_stmt)))
            throw std::runtime_error("cannot allocate an ODBC statement:\n" +
                                     Diagnostics(SQL_HANDLE_DBC, m_dbc));
    }

    ~OdbcSession() {
        if (m_stmt != SQL_NULL_HSTMT)
            SQLFreeHandle(SQL_HANDLE_STMT, m_stmt);
        if (m_connected)
            SQLDisconnect(m_dbc);
        if (m_dbc != SQL_NULL_HDBC)
            SQLFreeHandle(SQL_HANDLE_DBC, m_dbc);
        if (m_env != SQL_NULL_HENV)
            SQLFreeHandle(SQL_HANDLE_ENV, m_env);
    }

    OdbcSession(const OdbcSession &) = delete;
    OdbcSession &operator=(const OdbcSession &) = delete;

    void Execute(const std::string &statement) {
        std::string text = statement;
        SQLRETURN rc = SQLExecDirect(m_stmt, reinterpret_cast<SQLCHAR *>(text.data()), SQL_NTS);
        // SQL_NO_DATA: an UPDATE or DELETE that touched no row.
        if (!SQL_SUCCEEDED(rc) && rc != SQL_NO_DATA) {
            std::string diagnostics = Diagnostics(SQL_HANDLE_STMT, m_stmt);
            SQLFreeStmt(m_stmt, SQL_CLOSE);
            throw std::runtime_error("statement failed: " + statement + "\n" + diagnostics);
        }
        SQLFreeStmt(m_stmt, SQL_CLOSE);
    }

private:
    // Keeps passwords out of failure messages.
    static std::string Redacted(const std::string &connect) {
        std::string result;
        size_t start = 0;
        while (start < connect.size()) {
            size_t end = connect.find(';', start);
            if (end == std::string::npos)
                end = connect.size();
            std::string element = connect.substr(start, end - start);
            std::string key = element.substr(0, element.find('='));
            for (char &c : key)
                c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            result += (key == "PWD" || key == "PASSWORD") ? key + "=***" : element;
            if (end < connect.size())
                result += ";";
            start = end + 1;
        }
        return result;
    }

    SQLHENV m_env = SQL_NULL_HENV;
    SQLHDBC m_dbc = SQL_NULL_HDBC;
    SQLHSTMT m_stmt = SQL_NULL_HSTMT;
    bool m_connected = false;
};

std::string Trimmed(const std::string &text) {
    const char *blanks = " \t\r\n";
    size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos)
        return {};
    size_t last = text.find_last_not_of(blanks);
    return text.substr(first, last - first + 1);
}

TestDataSource BuildSqliteSource() {
    std::string path = MakeTempDir() + "/fixture.db";
    std::string connect = "DRIVER={SQLite3};DATABASE=" + path;
    ExecuteSql(connect, ReadSqlFile(FixturePath("sqlite_fixture.sql")));
    return {"sqlite", connect};
}

} // namespace

const TestDataSource &SqliteSource() {
    static const TestDataSource source = BuildSqliteSource();
    return source;
}

namespace {

TestDataSource ServerSource(const char *name, const char *variable, const char *server) {
    const char *connect = std::getenv(variable);
    if (connect == nullptr || *connect == '\0')
        throw std::runtime_error(
            std::string(variable) +
            " is not set: run the tests through scripts/test.sh, which starts " + server);
    return TestDataSource{name, connect};
}

} // namespace

// A static initialiser that throws is retried on the next call, so every server
// test fails on its own when its variable is missing.
const TestDataSource &PostgresSource() {
    static const TestDataSource source =
        ServerSource("postgres", "BRINDLE_PG_CONNECT", "PostgreSQL");
    return source;
}

const TestDataSource &MariadbSource() {
    static const TestDataSource source =
        ServerSource("mariadb", "BRINDLE_MARIADB_CONNECT", "MariaDB");
    return source;
}

TestDataSource SourceNamed(const std::string &name) {
    if (name == "sqlite")
        return SqliteSource();
    if (name == "postgres")
        return PostgresSource();
    if (name == "mariadb")
        return MariadbSource();
    throw std::invalid_argument("unknown test data source: " + name);
}

std::vector<std::string> TestSourceNames() { return {"sqlite", "postgres", "mariadb"}; }

void ExecuteSql(const std::string &connect, const std::vector<std::string> &statements) {
    OdbcSession session(connect);
    for (const auto &statement : statements)
        session.Execute(statement);
}

std::vector<std::string> ReadSqlFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read SQL file " + path);
    std::vector<std::string> statements;
    std::string current;
    std::string line;
    while (std::getline(in, line)) {
        std::string trimmed = Trimmed(line);
        if (trimmed.empty() || trimmed.starts_with("--"))
            continue;
        if (!current.empty())
            current += "\n";
        if (trimmed.ends_with(";")) {
            std::string lastLine = line.substr(0, line.find_last_of(';'));
            current += lastLine;
            std::string statement = Trimmed(current);
            if (!statement.empty())
                statements.push_back(statement);
            current.clear();
        } else {
            current += line;
        }
    }
    std::string rest = Trimmed(current);
    if (!rest.empty())
        statements.push_back(rest);
    return statements;
}

std::string FixturePath(const std::string &name) {
    return std::string(BRINDLE_TEST_FIXTURES) + "/" + name;
}

std::string MakeTempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "brindle-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot create a temporary directory from " + pattern);
    TempDirList().Add(pattern);
    return pattern;
}
