#include "odbc/OdbcStatement.h"

#include <sqlext.h>

#include <algorithm>

#include "odbc/DatabaseError.h"
#include "odbc/OdbcTrace.h"

namespace {

// Room for the usual cell in one SQLGetData call; longer values grow it.
constexpr size_t InitialBufferSize = 8192;
// How far one long value may grow the reusable buffer.
constexpr size_t MaxBufferSize = size_t(1) << 20;

} // namespace

OdbcStatement::OdbcStatement(OdbcConnection &connection) : m_handle(connection.SharedHandle()) {
    if (!m_handle)
        throw DatabaseError(SQL_INVALID_HANDLE, "Not connected to a data source.\n", "");
    SQLHSTMT stmt = SQL_NULL_HSTMT;
    m_handle->Pinned([&] {
        OdbcTrace::CallChecked(
            "SQLAllocHandle(STMT)", m_handle->Env(), m_handle->Dbc(), nullptr,
            [&] { return SQLAllocHandle(SQL_HANDLE_STMT, m_handle->Dbc(), &stmt); });
    });
    m_stmt = stmt;
    connection.ApplyStatementOptions(m_stmt);
}

OdbcStatement::~OdbcStatement() {
    // An abandoned connection's call may still be running on this handle.
    if (m_stmt == SQL_NULL_HSTMT || m_handle->abandoned)
        return;
    try {
        m_handle->Pinned([stmt = m_stmt] { SQLFreeHandle(SQL_HANDLE_STMT, stmt); });
    } catch (const DatabaseError &) {
        // Busy with a call that did not come back: freed with the connection.
    }
}

void OdbcStatement::Fail(SQLRETURN rc) {
    // The diagnostics are read before SQLCancel, which may clear them.
    DatabaseError error = m_handle->Pinned([&] {
        DatabaseError read =
            DatabaseError::FromDiagnostics(rc, m_handle->Env(), m_handle->Dbc(), m_stmt);
        SQLCancel(m_stmt);
        return read;
    });
    throw error;
}

void OdbcStatement::SetForwardOnlyReadOnly() {
    // Both are the defaults of a new statement, so a driver that refuses to have
    // them set still gives a forward-only, read-only result.
    m_handle->Pinned([stmt = m_stmt] {
        SQLSetStmtAttr(stmt, SQL_ATTR_CURSOR_TYPE,
                       reinterpret_cast<SQLPOINTER>(SQL_CURSOR_FORWARD_ONLY), 0);
        SQLSetStmtAttr(stmt, SQL_ATTR_CONCURRENCY,
                       reinterpret_cast<SQLPOINTER>(SQL_CONCUR_READ_ONLY), 0);
    });
}

void OdbcStatement::ExecuteDirect(const std::string &sql) {
    auto *text = reinterpret_cast<SQLCHAR *>(const_cast<char *>(sql.c_str()));
    const auto length = static_cast<SQLINTEGER>(sql.size());
    // The call may outlive this frame when the server never answers: it takes copies.
    const SQLRETURN rc =
        m_handle->Run(m_stmt, CallDispatcher::CancelBy::Driver, [stmt = m_stmt, text, length] {
            return OdbcTrace::Call("SQLExecDirect",
                                   [&] { return SQLExecDirect(stmt, text, length); });
        });
    if (rc != SQL_SUCCESS && rc != SQL_SUCCESS_WITH_INFO && rc != SQL_NO_DATA)
        Fail(rc);
}

SQLSMALLINT OdbcStatement::ColumnCount() {
    SQLSMALLINT columns = 0;
    const SQLRETURN rc = m_handle->Pinned([&] {
        return OdbcTrace::Call("SQLNumResultCols",
                               [&] { return SQLNumResultCols(m_stmt, &columns); });
    });
    if (!SQL_SUCCEEDED(rc))
        Fail(rc);
    return columns;
}

std::vector<OdbcStatement::Column> OdbcStatement::DescribeColumns() {
    const SQLSMALLINT count = ColumnCount();
    std::vector<Column> columns(static_cast<size_t>(std::max<SQLSMALLINT>(count, 0)));
    std::vector<SQLCHAR> name(256);
    for (SQLUSMALLINT i = 1; i <= columns.size(); ++i) {
        Column &column = columns[i - 1];
        SQLSMALLINT nameLength = 0;
        auto describe = [&] {
            return OdbcTrace::Call("SQLDescribeCol", [&] {
                return SQLDescribeCol(m_stmt, i, name.data(), static_cast<SQLSMALLINT>(name.size()),
                                      &nameLength, &column.sqlType, &column.columnSize,
                                      &column.decimalDigits, &column.nullable);
            });
        };
        SQLRETURN rc = m_handle->Pinned(describe);
        if (SQL_SUCCEEDED(rc) && nameLength >= static_cast<SQLSMALLINT>(name.size())) {
            // A name longer than the buffer: ask again with room for all of it.
            name.resize(static_cast<size_t>(nameLength) + 1);
            rc = m_handle->Pinned(describe);
        }
        if (!SQL_SUCCEEDED(rc))
            Fail(rc);
        const size_t length =
            std::min(static_cast<size_t>(std::max<SQLSMALLINT>(nameLength, 0)), name.size() - 1);
        column.name.assign(reinterpret_cast<const char *>(name.data()), length);
    }
    return columns;
}

bool OdbcStatement::Fetch() {
    const SQLRETURN rc = m_handle->Pinned(
        [&] { return OdbcTrace::Call("SQLFetch", [&] { return SQLFetch(m_stmt); }); });
    if (rc == SQL_NO_DATA)
        return false;
    if (!SQL_SUCCEEDED(rc))
        Fail(rc);
    return true;
}

bool OdbcStatement::GetText(SQLUSMALLINT column, std::string &text) {
    text.clear();
    return AppendText(column, text);
}

bool OdbcStatement::AppendText(SQLUSMALLINT column, std::string &store) {
    for (bool first = true;; first = false) {
        SQLLEN indicator = 0;
        // Statements that never read a cell never pay for the buffer.
        if (m_buffer.empty())
            m_buffer.resize(InitialBufferSize);
        const auto size = static_cast<SQLLEN>(m_buffer.size());
        const SQLRETURN rc = m_handle->Pinned([&] {
            return OdbcTrace::Call("SQLGetData", [&] {
                return SQLGetData(m_stmt, column, SQL_C_CHAR, m_buffer.data(), size, &indicator);
            });
        });
        if (rc == SQL_NO_DATA) // every part was read by the calls before
            return !first;
        if (!SQL_SUCCEEDED(rc))
            Fail(rc);
        if (indicator == SQL_NULL_DATA)
            return false;
        // Truncated (01004): the buffer holds size - 1 bytes and a terminating NUL.
        const bool truncated =
            rc == SQL_SUCCESS_WITH_INFO && (indicator == SQL_NO_TOTAL || indicator >= size);
        if (!truncated) {
            store.append(m_buffer.data(), static_cast<size_t>(std::max<SQLLEN>(indicator, 0)));
            return true;
        }
        store.append(m_buffer.data(), static_cast<size_t>(size - 1));
        if (indicator != SQL_NO_TOTAL) {
            // Room for the rest in one more call, within reason.
            const size_t rest = static_cast<size_t>(indicator - (size - 1)) + 1;
            if (rest > m_buffer.size())
                m_buffer.resize(std::min(rest, MaxBufferSize));
        } else if (m_buffer.size() < MaxBufferSize) {
            m_buffer.resize(std::min(m_buffer.size() * 2, MaxBufferSize));
        }
    }
}

bool OdbcStatement::MoreResults() {
    const SQLRETURN rc = m_handle->Run(m_stmt, CallDispatcher::CancelBy::Driver, [stmt = m_stmt] {
        return OdbcTrace::Call("SQLMoreResults", [&] { return SQLMoreResults(stmt); });
    });
    if (rc == SQL_NO_DATA)
        return false;
    if (!SQL_SUCCEEDED(rc))
        Fail(rc);
    return true;
}

void OdbcStatement::DrainResults() noexcept {
    try {
        m_handle->Run(m_stmt, CallDispatcher::CancelBy::Work, [&] {
            DrainInPlace();
            return SQL_SUCCESS;
        });
    } catch (...) {
        // Errors past a statement that did execute are not reported.
    }
}

void OdbcStatement::RunFetching(const std::function<void()> &work) {
    m_handle->Run(m_stmt, CallDispatcher::CancelBy::Work, [&] {
        work();
        return SQL_SUCCESS;
    });
}

bool OdbcStatement::CancelRequested() const noexcept { return m_handle->CancelRequested(); }

void OdbcStatement::DrainInPlace() noexcept {
    for (;;) {
        if (m_handle->CancelRequested())
            return;
        SQLSMALLINT columns = 0;
        SQLRETURN rc =
            OdbcTrace::Call("SQLNumResultCols", [&] { return SQLNumResultCols(m_stmt, &columns); });
        if (!SQL_SUCCEEDED(rc))
            return;
        if (columns > 0) {
            do {
                rc = OdbcTrace::Call("SQLFetch", [&] { return SQLFetch(m_stmt); });
            } while (SQL_SUCCEEDED(rc));
            if (rc != SQL_NO_DATA)
                return;
        }
        rc = OdbcTrace::Call("SQLMoreResults", [&] { return SQLMoreResults(m_stmt); });
        if (!SQL_SUCCEEDED(rc))
            return;
    }
}

bool OdbcStatement::LeftRowsUnread() {
    if (!m_handle->leavesRowsUnread)
        return false;
    // A statement of our own on the same handle: a connection out of step
    // refuses it as out of sync (CR_COMMANDS_OUT_OF_SYNC) instead of crashing.
    constexpr SQLINTEGER OutOfSync = 2014;
    return m_handle->Pinned([stmt = m_stmt] {
        static const char probe[] = "SELECT 1";
        const SQLRETURN rc =
            SQLExecDirect(stmt, reinterpret_cast<SQLCHAR *>(const_cast<char *>(probe)), SQL_NTS);
        if (SQL_SUCCEEDED(rc)) {
            SQLFreeStmt(stmt, SQL_CLOSE);
            return false;
        }
        SQLCHAR state[6] = {};
        SQLINTEGER native = 0;
        SQLSMALLINT length = 0;
        SQLGetDiagRec(SQL_HANDLE_STMT, stmt, 1, state, &native, nullptr, 0, &length);
        return native == OutOfSync;
    });
}

void OdbcStatement::Cancel() noexcept {
    // The one call meant for another thread: it stops the one running.
    if (m_stmt != SQL_NULL_HSTMT)
        SQLCancel(m_stmt);
}
