#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <sql.h>

// A bare ODBC connection with one statement handle: the yardstick the
// application is measured against, and the way the benchmark builds its data.
// Only the calls a hand-written loop needs; failures throw std::runtime_error
// with the driver's diagnostics.
class RawSession {
public:
    explicit RawSession(const std::string &connect);
    ~RawSession();
    RawSession(const RawSession &) = delete;
    RawSession &operator=(const RawSession &) = delete;

    // Executes one statement and closes its cursor.
    void Execute(const std::string &sql);
    // The first column of the first row, as a number (SELECT COUNT(*) ...).
    int64_t QueryNumber(const std::string &sql);

    // SQLExecDirect, then SQLFetch until the end: the rows counted.
    uint64_t CountRows(const std::string &sql);

    struct CellTotals {
        uint64_t rows = 0;
        uint64_t cells = 0;
        uint64_t bytes = 0;
    };
    // SQLExecDirect, then every cell of every row read with SQLGetData
    // (SQL_C_CHAR) into a std::string.
    CellTotals ReadCells(const std::string &sql);

    // SQLExecDirect, then every column bound as SQL_C_CHAR (buffers of the
    // display size) and fetched `blockRows` rows at a time, reading nothing
    // else: the driver's own cost of handing the rows over.
    CellTotals FetchBound(const std::string &sql, SQLULEN blockRows);

    // Each statement with its own SQLExecDirect, in order.
    void ExecuteEach(const std::vector<std::string> &statements);

private:
    void Check(SQLRETURN rc, const char *what, const std::string &sql);
    void CloseCursor();

    SQLHENV m_env = SQL_NULL_HENV;
    SQLHDBC m_dbc = SQL_NULL_HDBC;
    SQLHSTMT m_stmt = SQL_NULL_HSTMT;
    bool m_connected = false;
};
