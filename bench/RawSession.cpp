#include "RawSession.h"

#include <algorithm>
#include <stdexcept>

#include <sqlext.h>

namespace {

std::string Diagnostics(SQLSMALLINT type, SQLHANDLE handle) {
    std::string text;
    for (SQLSMALLINT record = 1;; ++record) {
        SQLCHAR state[6] = {};
        SQLINTEGER native = 0;
        SQLCHAR message[1024] = {};
        SQLSMALLINT length = 0;
        if (!SQL_SUCCEEDED(SQLGetDiagRec(type, handle, record, state, &native, message,
                                         sizeof message, &length)))
            break;
        text += '[';
        text += reinterpret_cast<const char *>(state);
        text += "] ";
        text += reinterpret_cast<const char *>(message);
        text += '\n';
    }
    return text.empty() ? std::string("(no diagnostics)") : text;
}

SQLCHAR *Text(const std::string &sql) {
    return reinterpret_cast<SQLCHAR *>(const_cast<char *>(sql.c_str()));
}

} // namespace

RawSession::RawSession(const std::string &connect) {
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &m_env)))
        throw std::runtime_error("cannot allocate an ODBC environment");
    SQLSetEnvAttr(m_env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_DBC, m_env, &m_dbc)))
        throw std::runtime_error("cannot allocate an ODBC connection");
    SQLCHAR out[1024] = {};
    SQLSMALLINT outLength = 0;
    const SQLRETURN rc = SQLDriverConnect(m_dbc, nullptr, Text(connect), SQL_NTS, out, sizeof out,
                                          &outLength, SQL_DRIVER_NOPROMPT);
    if (!SQL_SUCCEEDED(rc))
        throw std::runtime_error("cannot connect: " + Diagnostics(SQL_HANDLE_DBC, m_dbc));
    m_connected = true;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, m_dbc, &m_stmt)))
        throw std::runtime_error("cannot allocate a statement: " +
                                 Diagnostics(SQL_HANDLE_DBC, m_dbc));
}

RawSession::~RawSession() {
    if (m_stmt != SQL_NULL_HSTMT)
        SQLFreeHandle(SQL_HANDLE_STMT, m_stmt);
    if (m_connected)
        SQLDisconnect(m_dbc);
    if (m_dbc != SQL_NULL_HDBC)
        SQLFreeHandle(SQL_HANDLE_DBC, m_dbc);
    if (m_env != SQL_NULL_HENV)
        SQLFreeHandle(SQL_HANDLE_ENV, m_env);
}

void RawSession::Check(SQLRETURN rc, const char *what, const std::string &sql) {
    // SQL_NO_DATA: a statement that touched no row.
    if (SQL_SUCCEEDED(rc) || rc == SQL_NO_DATA)
        return;
    std::string message = what;
    message += " failed for \"";
    message += sql.substr(0, 200);
    message += "\": ";
    message += Diagnostics(SQL_HANDLE_STMT, m_stmt);
    CloseCursor();
    throw std::runtime_error(message);
}

void RawSession::CloseCursor() { SQLFreeStmt(m_stmt, SQL_CLOSE); }

void RawSession::Execute(const std::string &sql) {
    Check(SQLExecDirect(m_stmt, Text(sql), SQL_NTS), "SQLExecDirect", sql);
    CloseCursor();
}

int64_t RawSession::QueryNumber(const std::string &sql) {
    Check(SQLExecDirect(m_stmt, Text(sql), SQL_NTS), "SQLExecDirect", sql);
    SQLBIGINT value = 0;
    SQLLEN indicator = 0;
    Check(SQLFetch(m_stmt), "SQLFetch", sql);
    Check(SQLGetData(m_stmt, 1, SQL_C_SBIGINT, &value, 0, &indicator), "SQLGetData", sql);
    CloseCursor();
    return indicator == SQL_NULL_DATA ? 0 : static_cast<int64_t>(value);
}

uint64_t RawSession::CountRows(const std::string &sql) {
    Check(SQLExecDirect(m_stmt, Text(sql), SQL_NTS), "SQLExecDirect", sql);
    uint64_t rows = 0;
    SQLRETURN rc;
    while ((rc = SQLFetch(m_stmt)) == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO)
        ++rows;
    Check(rc, "SQLFetch", sql);
    CloseCursor();
    return rows;
}

RawSession::CellTotals RawSession::ReadCells(const std::string &sql) {
    Check(SQLExecDirect(m_stmt, Text(sql), SQL_NTS), "SQLExecDirect", sql);
    SQLSMALLINT columns = 0;
    Check(SQLNumResultCols(m_stmt, &columns), "SQLNumResultCols", sql);
    CellTotals totals;
    std::vector<char> buffer(8192);
    std::string cell;
    SQLRETURN rc;
    while ((rc = SQLFetch(m_stmt)) == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO) {
        ++totals.rows;
        for (SQLUSMALLINT column = 1; column <= columns; ++column) {
            cell.clear();
            for (;;) {
                SQLLEN indicator = 0;
                const SQLRETURN got = SQLGetData(m_stmt, column, SQL_C_CHAR, buffer.data(),
                                                 static_cast<SQLLEN>(buffer.size()), &indicator);
                if (got == SQL_NO_DATA || indicator == SQL_NULL_DATA)
                    break;
                Check(got, "SQLGetData", sql);
                const bool truncated =
                    got == SQL_SUCCESS_WITH_INFO &&
                    (indicator == SQL_NO_TOTAL || indicator >= static_cast<SQLLEN>(buffer.size()));
                if (!truncated) {
                    cell.append(buffer.data(), static_cast<size_t>(indicator));
                    break;
                }
                cell.append(buffer.data(), buffer.size() - 1);
            }
            ++totals.cells;
            totals.bytes += cell.size();
        }
    }
    Check(rc, "SQLFetch", sql);
    CloseCursor();
    return totals;
}

void RawSession::ExecuteEach(const std::vector<std::string> &statements) {
    for (const std::string &sql : statements) {
        Check(SQLExecDirect(m_stmt, Text(sql), SQL_NTS), "SQLExecDirect", sql);
        CloseCursor();
    }
}

RawSession::CellTotals RawSession::FetchBound(const std::string &sql, SQLULEN blockRows) {
    Check(SQLExecDirect(m_stmt, Text(sql), SQL_NTS), "SQLExecDirect", sql);
    SQLSMALLINT columns = 0;
    Check(SQLNumResultCols(m_stmt, &columns), "SQLNumResultCols", sql);
    struct Bound {
        size_t width = 0;
        std::vector<char> values;
        std::vector<SQLLEN> lengths;
    };
    std::vector<Bound> bound(static_cast<size_t>(columns));
    SQLULEN fetched = 0;
    Check(
        SQLSetStmtAttr(m_stmt, SQL_ATTR_ROW_ARRAY_SIZE, reinterpret_cast<SQLPOINTER>(blockRows), 0),
        "SQLSetStmtAttr", sql);
    Check(SQLSetStmtAttr(m_stmt, SQL_ATTR_ROWS_FETCHED_PTR, &fetched, 0), "SQLSetStmtAttr", sql);
    for (SQLUSMALLINT column = 1; column <= columns; ++column) {
        SQLLEN display = 0;
        Check(SQLColAttribute(m_stmt, column, SQL_DESC_DISPLAY_SIZE, nullptr, 0, nullptr, &display),
              "SQLColAttribute", sql);
        Bound &b = bound[column - 1];
        b.width = static_cast<size_t>(std::clamp<SQLLEN>(display, 1, 4096)) * 4 + 1;
        b.values.resize(b.width * blockRows);
        b.lengths.resize(blockRows);
        Check(SQLBindCol(m_stmt, column, SQL_C_CHAR, b.values.data(), static_cast<SQLLEN>(b.width),
                         b.lengths.data()),
              "SQLBindCol", sql);
    }
    CellTotals totals;
    SQLRETURN rc;
    while ((rc = SQLFetch(m_stmt)) == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO) {
        totals.rows += fetched;
        for (const Bound &b : bound)
            for (SQLULEN row = 0; row < fetched; ++row)
                if (b.lengths[row] > 0)
                    totals.bytes += static_cast<uint64_t>(b.lengths[row]);
    }
    Check(rc, "SQLFetch", sql);
    totals.cells = totals.rows * static_cast<uint64_t>(columns);
    CloseCursor();
    SQLFreeStmt(m_stmt, SQL_UNBIND);
    SQLSetStmtAttr(m_stmt, SQL_ATTR_ROW_ARRAY_SIZE, reinterpret_cast<SQLPOINTER>(1), 0);
    SQLSetStmtAttr(m_stmt, SQL_ATTR_ROWS_FETCHED_PTR, nullptr, 0);
    return totals;
}
