#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The cells of one grid row in a single allocation: the cell count, the end
// offset of every cell, then the cells' bytes back to back. A row may hold fewer
// cells than the grid has columns; the missing ones read as empty.
class GridRow {
public:
    // Collects one row's cells for a GridRow, reusing its storage row after row.
    class Builder {
    public:
        void Clear() {
            m_bytes.clear();
            m_ends.clear();
        }
        // Bytes of the current cell go here; EndCell closes the cell.
        std::string &Bytes() { return m_bytes; }
        void EndCell() { m_ends.push_back(static_cast<uint32_t>(m_bytes.size())); }
        void AddCell(std::string_view text) {
            m_bytes.append(text);
            EndCell();
        }
        GridRow Build() const { return GridRow(m_bytes, m_ends); }

    private:
        std::string m_bytes;
        std::vector<uint32_t> m_ends;
    };

    GridRow() = default;
    // `ends[i]` is the offset in `bytes` just past cell i.
    GridRow(std::string_view bytes, const std::vector<uint32_t> &ends);
    GridRow(GridRow &&) noexcept = default;
    GridRow &operator=(GridRow &&) noexcept = default;

    int CellCount() const { return m_block ? static_cast<int>(m_block[0]) : 0; }
    std::string_view Cell(int column) const;

    // A copy with cell `column` replaced by `text`, empty cells filling any gap.
    GridRow WithCell(int column, std::string_view text) const;
    // A copy with an empty cell inserted before `column` (nothing when the row
    // has no cell there yet).
    GridRow WithEmptyCellAt(int column) const;

    // Bytes of the row's block as allocated.
    size_t BlockBytes() const;
    // Bytes of all cells.
    size_t TextBytes() const;

private:
    const uint32_t *Ends() const { return m_block.get() + 1; }
    const char *Text() const {
        return reinterpret_cast<const char *>(m_block.get() + 1 + m_block[0]);
    }

    std::unique_ptr<uint32_t[]> m_block;
};
