#pragma once

// How the grid is laid out on paper, worked out from the printer's font and
// page before every page.
struct GridPrintMetrics {
    // Height of a printed line, in printer units.
    int lineHeight = 1;
    // Printer units per on-screen pixel of a column width: the exact ratio, as
    // a whole number would print every column narrower than its text.
    double scale = 1;
    int rowsPerPage = 1;
    // The last row whose position still fits a signed 32-bit coordinate.
    int lastPrintableRow = 0;

    // `lineHeight` and `printerXWidth` (the width of "x") come from the
    // printer's font, `screenXWidth` from the grid's screen font;
    // `printableHeight` is the page's.
    static GridPrintMetrics Compute(int lineHeight, double printerXWidth, int screenXWidth,
                                    int printableHeight);
    // Pages needed for `rows` rows: none for an empty grid, and never more
    // than those holding the rows up to lastPrintableRow.
    int PageCount(int rows) const;
};
