#pragma once

#include <string>
#include <vector>

#include <QString>

// A grid that catalog information and query results are laid into.
class GridSink {
public:
    virtual ~GridSink() = default;
    // Rows of "Property" / "Value" pairs instead of columns.
    virtual void SetPropertyMode(bool on) = 0;
    virtual bool IsPropertyMode() const = 0;
    // Empties the grid and lays out new columns (or, in property mode, the
    // property rows) under a new caption.
    virtual void SetColumns(const std::vector<std::string> &titles, const QString &caption) = 0;
    // Column 0 inserts a new row at `row` with the text as its label; any other
    // column sets that cell of an existing row.
    virtual void SetCellText(int row, int column, const std::string &text) = 0;
    // Widens the columns to their data (on) or sets them to their titles' width (off).
    virtual void AutoFormatColumns(bool on) = 0;
};
