#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <sql.h>

#include "odbc/OdbcConnection.h"

// One statement handle on a connection, for statements the user runs. It holds
// the connection's handle alive and frees itself on destruction. Every call is
// repeated while the driver answers SQL_STILL_EXECUTING; failures throw
// DatabaseError built from the statement's diagnostics.
class OdbcStatement {
public:
    struct Column {
        std::string name;
        SQLSMALLINT sqlType = 0;
        SQLULEN columnSize = 0;
        SQLSMALLINT decimalDigits = 0;
        SQLSMALLINT nullable = SQL_NULLABLE_UNKNOWN;
    };

    // Allocates the handle and applies the connection's query timeout
    // (OdbcConnection::ApplyStatementOptions). Throws when the connection is
    // closed or the handle cannot be had.
    explicit OdbcStatement(OdbcConnection &connection);
    ~OdbcStatement();
    OdbcStatement(const OdbcStatement &) = delete;
    OdbcStatement &operator=(const OdbcStatement &) = delete;

    // Read-only, forward-only cursor (the default for a new statement; set explicitly).
    void SetForwardOnlyReadOnly();
    // SQLExecDirect; SQL_NO_DATA counts as success. On failure: SQLCancel, then throw.
    void ExecuteDirect(const std::string &sql);
    // SQLNumResultCols of the current result (0 when it has no result set).
    SQLSMALLINT ColumnCount();
    // Columns of the current result (empty when it has none).
    std::vector<Column> DescribeColumns();
    // SQLFetch: false at the end of the result.
    bool Fetch();
    // One value of the current row as character data, read completely
    // (SQLGetData with SQL_C_CHAR, again while it answers 01004). Returns false for NULL.
    bool GetText(SQLUSMALLINT column, std::string &text);
    // As GetText, but appends the value's bytes to `store` (nothing for NULL), so a
    // caller can gather a row's cells in one buffer without a copy per cell.
    bool AppendText(SQLUSMALLINT column, std::string &store);
    // SQLMoreResults: false when there are no more results.
    bool MoreResults();
    // Reads every remaining row of every result; stops quietly at the first
    // error or a cancel.
    void DrainResults() noexcept;
    // After the results are drained: whether the driver left rows of this
    // statement unread, having announced no columns for them. Its connection
    // is then out of step with the server: every later call fails, and the
    // next statement handle crashes the driver, so it must be closed.
    bool LeftRowsUnread();
    // Runs a fetching loop where the connection's calls run (a worker thread),
    // and waits for it. The loop should stop when CancelRequested() says so.
    void RunFetching(const std::function<void()> &work);
    bool CancelRequested() const noexcept;
    void Cancel() noexcept;

    SQLHSTMT Handle() const noexcept { return m_stmt; }

private:
    [[noreturn]] void Fail(SQLRETURN rc);
    void DrainInPlace() noexcept;

    std::shared_ptr<OdbcConnection::Handle> m_handle;
    SQLHSTMT m_stmt = SQL_NULL_HSTMT;
    std::vector<char> m_buffer;
};
