#include "results/GridPrintMetrics.h"

#include <algorithm>
#include <cstdint>
#include <limits>

GridPrintMetrics GridPrintMetrics::Compute(int lineHeight, double printerXWidth, int screenXWidth,
                                           int printableHeight) {
    GridPrintMetrics metrics;
    metrics.lineHeight = std::max(lineHeight, 1);
    // A printer coarser than the screen would otherwise print every column
    // zero units wide, and a page shorter than header and footer no row at all.
    metrics.scale =
        screenXWidth > 0 && printerXWidth > 0 ? std::max(printerXWidth / screenXWidth, 1.0) : 1.0;
    metrics.rowsPerPage = std::max(printableHeight / metrics.lineHeight - 4, 1);
    metrics.lastPrintableRow = std::numeric_limits<int32_t>::max() / metrics.lineHeight - 1;
    return metrics;
}

int GridPrintMetrics::PageCount(int rows) const {
    if (rows <= 0)
        return 0;
    const int64_t printed = std::min<int64_t>(rows, int64_t(lastPrintableRow) + 1);
    return static_cast<int>((printed + rowsPerPage - 1) / rowsPerPage);
}
