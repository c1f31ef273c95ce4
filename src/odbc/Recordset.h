#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <sql.h>

#include "odbc/OdbcConnection.h"

// Read-only recordset over the result of one ODBC call, with fields bound by
// column number. A snapshot caches the rows it has fetched, so MoveFirst never
// scrolls the driver's cursor: the cursor library and some drivers return the
// wrong row, or crash, when a scrolled row is read.
class Recordset {
public:
    enum class OpenType { Snapshot, ForwardOnly };

    // Longest text a field holds; longer values arrive cut by the driver.
    static constexpr int MaxTextLength = 255;

    explicit Recordset(OdbcConnection &connection);
    virtual ~Recordset();
    Recordset(const Recordset &) = delete;
    Recordset &operator=(const Recordset &) = delete;

    bool IsOpen() const noexcept { return m_stmt != SQL_NULL_HSTMT; }
    // True once a fetch has gone past the last row, and at once for an empty result.
    bool IsEOF() const noexcept { return m_eof; }
    void MoveNext();
    // Back to the first row; needs a snapshot (DatabaseError 1002 otherwise).
    void MoveFirst();
    // Rows fetched so far; after a move to the end, the number of rows.
    long RecordCount() const noexcept { return m_fetched; }
    // Whether field `index` (0-based, in declaration order) was NULL on the current row.
    bool IsFieldNull(int index) const;
    // Frees the statement. Safe to call more than once.
    void Close() noexcept;
    int FieldCount() const noexcept { return static_cast<int>(m_fields.size()); }

protected:
    // Subclass constructors declare their fields in order.
    void BindText(std::string *target, SQLUSMALLINT column);
    void BindLong(int32_t *target, SQLUSMALLINT column);
    void BindBool(bool *target, SQLUSMALLINT column);

    // The shared Open steps: function check, statement, options, the call (again
    // while it answers SQL_STILL_EXECUTING), binding and the first fetch. Returns
    // false when the driver lacks the function or no statement could be had;
    // throws DatabaseError (after closing) when the driver fails.
    bool OpenWith(SQLUSMALLINT functionId, OpenType type,
                  const std::function<SQLRETURN(SQLHSTMT)> &call);

    // Catalog text arguments: null stays null, anything else is passed as is.
    static SQLCHAR *Arg(const char *text) {
        return reinterpret_cast<SQLCHAR *>(const_cast<char *>(text));
    }
    static SQLSMALLINT ArgLen(const char *text) { return text ? SQL_NTS : 0; }

    OdbcConnection &Connection() const noexcept { return m_connection; }

private:
    struct Field {
        enum class Kind { Text, Long, Bool } kind;
        void *target;
        SQLUSMALLINT column;
    };
    // One fetched row, kept compactly: text bytes end to end, numbers by field.
    struct Row {
        std::string text;
        std::vector<uint32_t> textEnds;
        std::vector<int32_t> numbers;
        std::vector<bool> nulls;
    };

    bool Fetch();
    void CaptureRow();
    void ShowRow(const Row &row);
    [[noreturn]] void Fail(SQLRETURN rc);

    OdbcConnection &m_connection;
    std::shared_ptr<OdbcConnection::Handle> m_handle;
    SQLHSTMT m_stmt = SQL_NULL_HSTMT;
    OpenType m_type = OpenType::Snapshot;
    std::vector<Field> m_fields;
    // Bind buffers: 256 bytes per text field, 4 per number.
    std::vector<char> m_textBuffers;
    std::vector<int32_t> m_numberBuffers;
    std::vector<unsigned char> m_bitBuffers;
    std::vector<SQLLEN> m_indicators;
    std::vector<SQLLEN> m_freshIndicators; // what each indicator holds before a fetch
    std::vector<Row> m_cache;              // snapshot rows fetched so far
    Row m_current;                         // forward-only: the current row
    std::vector<bool> m_currentNulls;
    long m_position = 0; // index of the current row
    long m_fetched = 0;
    bool m_eof = true;
    bool m_driverDone = false; // the driver answered SQL_NO_DATA
};
