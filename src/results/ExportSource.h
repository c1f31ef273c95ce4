#pragma once

#include <cstddef>
#include <string>
#include <vector>

class ExportProgress;
class ExportRowStream;
class GridModel;

// What an export reads: the grid's first `columnCount` columns, and either every
// row (ExportAllRows) or the selected ones in grid order, which is the order on
// screen (sorting moves the rows themselves). With `stream` set, the stream's
// titles and rows are written instead of the grid's.
struct ExportSource {
    const GridModel *grid = nullptr;
    ExportRowStream *stream = nullptr;
    int columnCount = 0;
    bool exportAllRows = true;
    // Grid row indexes of the selection, in any order.
    std::vector<int> selectedRows;
    // The caption bar's text and VersionText, as UTF-8.
    std::string caption;
    std::string versionText;
    // Column widths in pixels and the pixel width of "x" in the grid font: the
    // text report and the HTML table size their columns from these.
    std::vector<int> columnPixelWidths;
    int xPixelWidth = 0;
    // Character widths per column, used instead of the pixel widths when given.
    std::vector<size_t> characterWidths;
    // Optional.
    ExportProgress *progress = nullptr;
};
