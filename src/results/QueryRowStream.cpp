#include "results/QueryRowStream.h"

#include <algorithm>

#include <sqlext.h>

#include "odbc/CallDispatcher.h"
#include "odbc/DatabaseError.h"
#include "odbc/OdbcStatement.h"

namespace {

const char *const LongBinaryText = "<Binary>";

// Bytes a value of `characters` characters may take as UTF-8, with its terminator.
size_t BufferBytes(SQLLEN characters) { return static_cast<size_t>(characters) * 4 + 1; }

} // namespace

QueryRowStream::QueryRowStream(OdbcStatement &query, SQLUINTEGER getDataExtensions)
    : m_query(query), m_stmt(query.Handle()), m_getDataExtensions(getDataExtensions) {
    for (const OdbcStatement::Column &described : query.DescribeColumns()) {
        Column column;
        column.title = described.name;
        column.sqlType = described.sqlType;
        column.longBinary = described.sqlType == SQL_LONGVARBINARY;
        SQLLEN display = 0;
        const auto number = static_cast<SQLUSMALLINT>(m_columns.size() + 1);
        if (!SQL_SUCCEEDED(SQLColAttribute(m_stmt, number, SQL_DESC_DISPLAY_SIZE, nullptr, 0,
                                           nullptr, &display)))
            display = 0;
        column.displaySize = display;
        m_columns.push_back(std::move(column));
    }
    m_cells.resize(m_columns.size());
    m_longValues.resize(m_columns.size());
    m_bound = !m_columns.empty() && BindColumns();
    if (!m_bound)
        m_blockRows = 1;
}

bool QueryRowStream::BindColumns() {
    // A value longer than its buffer is read again with SQLGetData.
    if (!(m_getDataExtensions & SQL_GD_BOUND))
        return false;
    size_t rowBytes = 0;
    for (Column &column : m_columns) {
        if (column.longBinary)
            continue;
        // A value of unknown or large size is read whole with SQLGetData.
        if (column.displaySize <= 0 || BufferBytes(column.displaySize) > MaxBoundValueBytes)
            return false;
        column.width = BufferBytes(column.displaySize);
        rowBytes += column.width + sizeof(SQLLEN);
    }
    // Blocks only where a row of a block can be positioned on to read it again.
    const SQLULEN rows =
        m_getDataExtensions & SQL_GD_BLOCK
            ? std::clamp<SQLULEN>(BlockBytes / std::max<size_t>(rowBytes, 1), 1, MaxBlockRows)
            : 1;
    m_status.resize(rows);
    if (!SQL_SUCCEEDED(SQLSetStmtAttr(m_stmt, SQL_ATTR_ROW_BIND_TYPE,
                                      reinterpret_cast<SQLPOINTER>(SQL_BIND_BY_COLUMN), 0)) ||
        !SQL_SUCCEEDED(SQLSetStmtAttr(m_stmt, SQL_ATTR_ROW_ARRAY_SIZE,
                                      reinterpret_cast<SQLPOINTER>(rows), 0)) ||
        !SQL_SUCCEEDED(SQLSetStmtAttr(m_stmt, SQL_ATTR_ROWS_FETCHED_PTR, &m_fetched, 0)) ||
        !SQL_SUCCEEDED(SQLSetStmtAttr(m_stmt, SQL_ATTR_ROW_STATUS_PTR, m_status.data(), 0))) {
        // A driver that refuses blocks is read a row at a time.
        SQLSetStmtAttr(m_stmt, SQL_ATTR_ROW_ARRAY_SIZE, reinterpret_cast<SQLPOINTER>(1), 0);
        SQLSetStmtAttr(m_stmt, SQL_ATTR_ROWS_FETCHED_PTR, nullptr, 0);
        SQLSetStmtAttr(m_stmt, SQL_ATTR_ROW_STATUS_PTR, nullptr, 0);
        return false;
    }
    SQLULEN granted = rows;
    SQLGetStmtAttr(m_stmt, SQL_ATTR_ROW_ARRAY_SIZE, &granted, 0, nullptr);
    m_blockRows = std::clamp<SQLULEN>(granted, 1, rows);
    for (size_t i = 0; i < m_columns.size(); ++i) {
        Column &column = m_columns[i];
        if (column.longBinary)
            continue;
        column.buffer.resize(column.width * m_blockRows);
        column.lengths.resize(m_blockRows);
        const SQLRETURN rc =
            SQLBindCol(m_stmt, static_cast<SQLUSMALLINT>(i + 1), SQL_C_CHAR, column.buffer.data(),
                       static_cast<SQLLEN>(column.width), column.lengths.data());
        if (!SQL_SUCCEEDED(rc))
            Fail(rc);
    }
    return true;
}

void QueryRowStream::Fail(SQLRETURN rc) {
    throw DatabaseError::FromDiagnostics(rc, SQL_NULL_HENV, SQL_NULL_HDBC, m_stmt);
}

std::vector<size_t> QueryRowStream::DisplayWidths(size_t cap) const {
    std::vector<size_t> widths;
    for (const Column &column : m_columns)
        widths.push_back(
            column.displaySize > 0 ? std::min(static_cast<size_t>(column.displaySize), cap) : cap);
    return widths;
}

bool QueryRowStream::FetchBlock() {
    m_fetched = 0;
    const SQLRETURN rc = SQLFetch(m_stmt);
    if (rc == SQL_NO_DATA)
        return false;
    if (!SQL_SUCCEEDED(rc))
        Fail(rc);
    for (SQLULEN row = 0; row < m_fetched; ++row)
        if (m_status[row] == SQL_ROW_ERROR)
            Fail(SQL_ERROR);
    m_position = 0;
    return m_fetched > 0;
}

bool QueryRowStream::Next() {
    if (m_done || m_columns.empty())
        return false;
    if (m_query.CancelRequested())
        throw DatabaseError::Cancelled();
    for (const CallDispatcher *other : m_alsoCancel)
        if (other->CancelRequested())
            throw DatabaseError::Cancelled();
    if (m_bound) {
        do {
            if (m_position + 1 < m_fetched) {
                ++m_position;
            } else if (!FetchBlock()) {
                m_done = true;
                return false;
            }
        } while (m_status[m_position] == SQL_ROW_NOROW);
        ReadBoundRow();
    } else {
        if (!m_query.Fetch()) {
            m_done = true;
            return false;
        }
        ReadUnboundRow();
    }
    ++m_rows;
    if (m_counter && ++m_uncounted >= m_counterEvery) {
        m_counter(m_uncounted);
        m_uncounted = 0;
    }
    return true;
}

void QueryRowStream::ReadBoundRow() {
    for (size_t i = 0; i < m_columns.size(); ++i) {
        Column &column = m_columns[i];
        if (column.longBinary) {
            m_cells[i] = LongBinaryText;
            continue;
        }
        const SQLLEN length = column.lengths[m_position];
        const char *value = column.buffer.data() + m_position * column.width;
        if (length == SQL_NULL_DATA) {
            m_cells[i] = {};
        } else if (length != SQL_NO_TOTAL && length >= 0 &&
                   static_cast<size_t>(length) < column.width) {
            m_cells[i] = std::string_view(value, static_cast<size_t>(length));
        } else {
            // Longer than the driver said: the value is read again, whole.
            if (m_blockRows > 1) {
                const SQLRETURN rc = SQLSetPos(m_stmt, static_cast<SQLSETPOSIROW>(m_position + 1),
                                               SQL_POSITION, SQL_LOCK_NO_CHANGE);
                if (!SQL_SUCCEEDED(rc))
                    Fail(rc);
            }
            std::string &whole = m_longValues[i];
            whole.clear();
            m_query.AppendText(static_cast<SQLUSMALLINT>(i + 1), whole);
            m_cells[i] = whole;
        }
    }
}

void QueryRowStream::ReadUnboundRow() {
    m_row.clear();
    m_ends.clear();
    for (size_t i = 0; i < m_columns.size(); ++i) {
        // Long binary data is never read: the text stands for any value.
        if (m_columns[i].longBinary)
            m_row.append(LongBinaryText);
        else
            m_query.AppendText(static_cast<SQLUSMALLINT>(i + 1), m_row);
        m_ends.push_back(m_row.size());
    }
    size_t start = 0;
    for (size_t i = 0; i < m_columns.size(); ++i) {
        m_cells[i] = std::string_view(m_row).substr(start, m_ends[i] - start);
        start = m_ends[i];
    }
}
