#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include <sql.h>

#include "results/ExportRowStream.h"

class CallDispatcher;
class OdbcStatement;

// The rows of an executed query, read once from the driver for an export. Where
// the driver can, rows come into bound column buffers, in blocks when it can
// also read a value of a row of a block (a value longer than its buffer is
// read again whole); otherwise each value is read as the grid's loader reads it. Cell texts follow
// the grid's rule: the driver's character form, empty for NULL, "<Binary>" for long binary data.
class QueryRowStream : public ExportRowStream {
public:
    // Bytes the bound buffers of one block may take.
    static constexpr size_t BlockBytes = size_t(4) << 20;
    static constexpr SQLULEN MaxBlockRows = 1024;
    // Values whose declared size is larger are read with SQLGetData.
    static constexpr size_t MaxBoundValueBytes = 16384;

    // Reads the columns of `query`'s current result; `getDataExtensions` is the
    // driver's SQL_GETDATA_EXTENSIONS.
    QueryRowStream(OdbcStatement &query, SQLUINTEGER getDataExtensions);

    int ColumnCount() const override { return static_cast<int>(m_columns.size()); }
    std::string_view Title(int column) const override { return m_columns[column].title; }
    // Throws DatabaseError on a failed fetch and DatabaseError::Cancelled on a cancel.
    bool Next() override;
    std::string_view Cell(int column) const override { return m_cells[column]; }

    // Each column's display size in characters, no wider than `cap`; `cap` when
    // the driver does not say.
    std::vector<size_t> DisplayWidths(size_t cap) const;
    uint64_t RowsRead() const { return m_rows; }
    bool ReadsBlocks() const { return m_bound && m_blockRows > 1; }
    // More places whose cancel stops the rows: the worker the calls run on
    // (asked even when they run in place), and the document's.
    void AlsoStopOnCancelOf(const CallDispatcher *other) { m_alsoCancel.push_back(other); }
    // Called every so many rows with the rows read since the last call.
    void SetRowCounter(std::function<void(uint64_t)> counter, uint64_t every) {
        m_counter = std::move(counter);
        m_counterEvery = every;
    }

private:
    struct Column {
        std::string title;
        SQLSMALLINT sqlType = 0;
        SQLLEN displaySize = 0;
        bool longBinary = false;
        // Bound buffer: one value of `width` bytes per row of the block.
        size_t width = 0;
        std::vector<char> buffer;
        std::vector<SQLLEN> lengths;
    };

    bool BindColumns();
    bool FetchBlock();
    void ReadBoundRow();
    void ReadUnboundRow();
    [[noreturn]] void Fail(SQLRETURN rc);

    OdbcStatement &m_query;
    SQLHSTMT m_stmt;
    SQLUINTEGER m_getDataExtensions;
    bool m_bound = false;
    std::vector<const CallDispatcher *> m_alsoCancel;
    std::vector<Column> m_columns;
    std::vector<std::string_view> m_cells;
    // The current row's values when they are not in the bound buffers.
    std::string m_row;
    std::vector<size_t> m_ends;
    std::vector<std::string> m_longValues;

    SQLULEN m_blockRows = 1;
    SQLULEN m_fetched = 0;
    SQLULEN m_position = 0;
    std::vector<SQLUSMALLINT> m_status;
    bool m_done = false;
    uint64_t m_rows = 0;
    std::function<void(uint64_t)> m_counter;
    uint64_t m_counterEvery = 0;
    uint64_t m_uncounted = 0;
};
