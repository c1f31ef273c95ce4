#pragma once

#include <string_view>

// Rows an export reads once, in order, instead of the grid's: a result
// streamed from the data source straight to the file.
class ExportRowStream {
public:
    virtual ~ExportRowStream() = default;
    virtual int ColumnCount() const = 0;
    virtual std::string_view Title(int column) const = 0;
    // Moves to the next row; false after the last. Throws to stop the export.
    virtual bool Next() = 0;
    // A cell of the current row, valid until the next Next().
    virtual std::string_view Cell(int column) const = 0;
};
