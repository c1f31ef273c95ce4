#include "odbc/Recordset.h"

#include <sqlext.h>

#include <algorithm>
#include <cstring>

#include "odbc/DatabaseError.h"
#include "odbc/OdbcTrace.h"

namespace {
constexpr size_t TextBufferSize = Recordset::MaxTextLength + 1;

// The length of a cut text without the UTF-8 character the cut split, if any:
// half a character shows as garbage and breaks the text's encoding.
size_t WholeCharacters(const char *text, size_t length) {
    size_t continuations = 0;
    while (continuations < 3 && continuations < length &&
           (static_cast<unsigned char>(text[length - 1 - continuations]) & 0xC0) == 0x80)
        ++continuations;
    if (continuations == length)
        return length;
    const auto lead = static_cast<unsigned char>(text[length - 1 - continuations]);
    if (lead < 0xC0 || lead > 0xF7)
        return length; // ASCII, or not UTF-8 at all: nothing to back up over
    const size_t needed = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    return continuations + 1 < needed ? length - 1 - continuations : length;
}
} // namespace

Recordset::Recordset(OdbcConnection &connection) : m_connection(connection) {}

Recordset::~Recordset() { Close(); }

void Recordset::BindText(std::string *target, SQLUSMALLINT column) {
    m_fields.push_back({Field::Kind::Text, target, column});
    target->clear();
}

void Recordset::BindLong(int32_t *target, SQLUSMALLINT column) {
    m_fields.push_back({Field::Kind::Long, target, column});
    *target = 0;
}

void Recordset::BindBool(bool *target, SQLUSMALLINT column) {
    m_fields.push_back({Field::Kind::Bool, target, column});
    *target = false;
}

bool Recordset::OpenWith(SQLUSMALLINT functionId, OpenType type,
                         const std::function<SQLRETURN(SQLHSTMT)> &call) {
    Close();
    if (!m_connection.IsOpen() || !m_connection.HasFunction(functionId))
        return false;
    m_type = type;
    m_handle = m_connection.SharedHandle();
    if (!SQL_SUCCEEDED(m_handle->Pinned([&] {
            return OdbcTrace::Call("SQLAllocHandle(STMT)", [&] {
                return SQLAllocHandle(SQL_HANDLE_STMT, m_handle->Dbc(), &m_stmt);
            });
        }))) {
        m_stmt = SQL_NULL_HSTMT;
        m_handle.reset();
        return false;
    }

    m_connection.ApplyStatementOptions(m_stmt);
    if (type == OpenType::Snapshot) {
        if (!(m_connection.InfoU32(SQL_SCROLL_OPTIONS) & SQL_SO_STATIC)) {
            Close();
            throw DatabaseError::ConnectionLayer(SnapshotNotSupported);
        }
        const SQLRETURN rc = m_handle->Pinned([stmt = m_stmt] {
            SQLRETURN set = SQLSetStmtAttr(stmt, SQL_ATTR_CONCURRENCY,
                                           reinterpret_cast<SQLPOINTER>(SQL_CONCUR_READ_ONLY), 0);
            if (SQL_SUCCEEDED(set))
                set = SQLSetStmtAttr(stmt, SQL_ATTR_CURSOR_TYPE,
                                     reinterpret_cast<SQLPOINTER>(SQL_CURSOR_STATIC), 0);
            return set;
        });
        if (!SQL_SUCCEEDED(rc))
            Fail(rc);
    }

    // The call's arguments are read when it starts; it writes nothing else.
    SQLRETURN rc = m_handle->Run(m_stmt, CallDispatcher::CancelBy::Driver, [call, stmt = m_stmt] {
        return OdbcTrace::Call("catalog function", [&] { return call(stmt); });
    });
    if (rc != SQL_SUCCESS && rc != SQL_SUCCESS_WITH_INFO && rc != SQL_NO_DATA)
        Fail(rc);

    m_fetched = 0;
    m_position = 0;
    m_cache.clear();
    m_eof = true;
    m_driverDone = rc == SQL_NO_DATA;
    if (m_driverDone)
        return true;

    SQLSMALLINT columns = 0;
    rc = m_handle->Pinned([&] {
        return OdbcTrace::Call("SQLNumResultCols",
                               [&] { return SQLNumResultCols(m_stmt, &columns); });
    });
    if (!SQL_SUCCEEDED(rc))
        Fail(rc);
    size_t texts = 0, numbers = 0;
    for (const Field &field : m_fields)
        (field.kind == Field::Kind::Text ? texts : numbers)++;
    m_textBuffers.assign(texts * TextBufferSize, 0);
    m_numberBuffers.assign(numbers, 0);
    m_bitBuffers.assign(numbers, 0);
    m_indicators.assign(m_fields.size(), SQL_NULL_DATA);
    m_freshIndicators.assign(m_fields.size(), SQL_NULL_DATA);
    // Bound where the connection's calls run; a failure is reported after.
    SQLRETURN bindFailure = SQL_SUCCESS;
    m_handle->Pinned([&] {
        size_t text = 0, number = 0;
        for (size_t i = 0; i < m_fields.size(); ++i) {
            const Field &field = m_fields[i];
            // A driver with fewer result columns leaves the missing fields NULL.
            const bool present = field.column <= columns;
            if (field.kind == Field::Kind::Text) {
                if (present)
                    rc = SQLBindCol(m_stmt, field.column, SQL_C_CHAR,
                                    &m_textBuffers[text * TextBufferSize], TextBufferSize,
                                    &m_indicators[i]);
                ++text;
            } else if (field.kind == Field::Kind::Long) {
                if (present)
                    rc = SQLBindCol(m_stmt, field.column, SQL_C_SLONG, &m_numberBuffers[number],
                                    sizeof(int32_t), &m_indicators[i]);
                ++number;
            } else {
                if (present)
                    rc = SQLBindCol(m_stmt, field.column, SQL_C_BIT, &m_bitBuffers[number], 1,
                                    &m_indicators[i]);
                ++number;
            }
            if (present && !SQL_SUCCEEDED(rc)) {
                bindFailure = rc;
                return;
            }
            // A NULL is always reported through the indicator, but MariaDB's driver
            // leaves it untouched for a value converted to SQL_C_BIT: a fixed-size
            // value counts as present unless the driver says NULL.
            if (present && field.kind != Field::Kind::Text)
                m_freshIndicators[i] = 0;
        }
    });
    if (!SQL_SUCCEEDED(bindFailure))
        Fail(bindFailure);

    if (Fetch()) {
        m_position = 0;
        m_eof = false;
        ShowRow(m_type == OpenType::Snapshot ? m_cache.front() : m_current);
    }
    return true;
}

bool Recordset::Fetch() {
    if (m_driverDone)
        return false;
    // Copied in place: the driver holds pointers into m_indicators.
    std::copy(m_freshIndicators.begin(), m_freshIndicators.end(), m_indicators.begin());
    const SQLRETURN rc = m_handle->Pinned(
        [&] { return OdbcTrace::Call("SQLFetch", [&] { return SQLFetch(m_stmt); }); });
    if (rc == SQL_NO_DATA) {
        m_driverDone = true;
        return false;
    }
    if (!SQL_SUCCEEDED(rc))
        Fail(rc);
    CaptureRow();
    ++m_fetched;
    return true;
}

void Recordset::CaptureRow() {
    Row row;
    row.textEnds.reserve(m_fields.size());
    row.numbers.reserve(m_fields.size());
    row.nulls.reserve(m_fields.size());
    size_t text = 0, number = 0;
    for (size_t i = 0; i < m_fields.size(); ++i) {
        const bool isNull = m_indicators[i] == SQL_NULL_DATA;
        row.nulls.push_back(isNull);
        switch (m_fields[i].kind) {
        case Field::Kind::Text: {
            if (!isNull) {
                const char *buffer = &m_textBuffers[text * TextBufferSize];
                // The indicator holds the full length; the buffer kept at most 255 bytes.
                size_t length = m_indicators[i] >= 0 ? static_cast<size_t>(m_indicators[i])
                                                     : std::strlen(buffer);
                if (length > static_cast<size_t>(MaxTextLength) ||
                    (m_indicators[i] == SQL_NO_TOTAL && length == MaxTextLength))
                    length = WholeCharacters(buffer, MaxTextLength);
                row.text.append(buffer, length);
            }
            row.textEnds.push_back(static_cast<uint32_t>(row.text.size()));
            ++text;
            break;
        }
        case Field::Kind::Long:
            row.numbers.push_back(isNull ? 0 : m_numberBuffers[number]);
            ++number;
            break;
        case Field::Kind::Bool:
            row.numbers.push_back(isNull ? 0 : m_bitBuffers[number]);
            ++number;
            break;
        }
    }
    if (m_type == OpenType::Snapshot)
        m_cache.push_back(std::move(row));
    else
        m_current = std::move(row);
}

void Recordset::ShowRow(const Row &row) {
    size_t text = 0, number = 0;
    uint32_t begin = 0;
    for (const Field &field : m_fields) {
        switch (field.kind) {
        case Field::Kind::Text: {
            const uint32_t end = row.textEnds[text++];
            static_cast<std::string *>(field.target)->assign(row.text, begin, end - begin);
            begin = end;
            break;
        }
        case Field::Kind::Long:
            *static_cast<int32_t *>(field.target) = row.numbers[number++];
            break;
        case Field::Kind::Bool:
            *static_cast<bool *>(field.target) = row.numbers[number++] != 0;
            break;
        }
    }
    m_currentNulls = row.nulls;
}

void Recordset::MoveNext() {
    if (!IsOpen() || m_eof)
        throw DatabaseError::ConnectionLayer(NoDataFound);
    if (m_type == OpenType::Snapshot && m_position + 1 < static_cast<long>(m_cache.size())) {
        ++m_position;
        ShowRow(m_cache[static_cast<size_t>(m_position)]);
        return;
    }
    if (!Fetch()) {
        m_eof = true;
        return;
    }
    ++m_position;
    ShowRow(m_type == OpenType::Snapshot ? m_cache.back() : m_current);
}

void Recordset::MoveFirst() {
    if (!IsOpen())
        throw DatabaseError::ConnectionLayer(NoDataFound);
    if (m_type != OpenType::Snapshot)
        throw DatabaseError::ConnectionLayer(RecordsetForwardOnly);
    if (m_cache.empty())
        return; // an empty result stays at its end
    m_position = 0;
    m_eof = false;
    ShowRow(m_cache.front());
}

bool Recordset::IsFieldNull(int index) const {
    if (index < 0 || index >= FieldCount())
        throw DatabaseError::ConnectionLayer(1026);
    if (m_eof || static_cast<size_t>(index) >= m_currentNulls.size())
        return true;
    return m_currentNulls[static_cast<size_t>(index)];
}

void Recordset::Close() noexcept {
    if (m_stmt != SQL_NULL_HSTMT) {
        // An abandoned connection's call may still be running on this handle.
        if (!m_handle) {
            SQLFreeHandle(SQL_HANDLE_STMT, m_stmt);
        } else if (!m_handle->abandoned) {
            try {
                m_handle->Pinned([stmt = m_stmt] { SQLFreeHandle(SQL_HANDLE_STMT, stmt); });
            } catch (const DatabaseError &) {
                // Busy with a call that did not come back: freed with the connection.
            }
        }
        m_stmt = SQL_NULL_HSTMT;
    }
    m_handle.reset();
    m_cache.clear();
    m_cache.shrink_to_fit();
    m_eof = true;
    m_driverDone = true;
    m_fetched = 0;
    m_position = 0;
}

void Recordset::Fail(SQLRETURN rc) {
    const auto read = [&] {
        return DatabaseError::FromDiagnostics(rc, m_handle ? m_handle->Env() : nullptr,
                                              m_handle ? m_handle->Dbc() : nullptr, m_stmt);
    };
    DatabaseError error = m_handle ? m_handle->Pinned(read) : read();
    Close();
    throw error;
}
