#pragma once

#include <vector>

class GridModel;

// What the Find dialog needs of a grid: its content, where the user last was,
// and a way to select and show the rows it finds.
class FindTarget {
public:
    virtual ~FindTarget() = default;

    // The content searched; its signals tell when columns or rows change.
    virtual const GridModel &Model() const = 0;
    // The row whose selection or focus changed last; -1 when none has.
    virtual int LastChangedRow() const = 0;
    // Deselects every row.
    virtual void ClearSelection() = 0;
    // Selects the rows; the last of them becomes the last changed row.
    virtual void SelectRows(const std::vector<int> &rows) = 0;
    // Scrolls until the row is fully visible.
    virtual void RevealRow(int row) = 0;
};
