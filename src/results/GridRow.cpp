#include "results/GridRow.h"

#include <algorithm>
#include <cstring>

namespace {

size_t WordsFor(size_t cells, size_t bytes) {
    return 1 + cells + (bytes + sizeof(uint32_t) - 1) / sizeof(uint32_t);
}

} // namespace

GridRow::GridRow(std::string_view bytes, const std::vector<uint32_t> &ends) {
    if (ends.empty())
        return;
    const size_t cells = ends.size();
    // Not value-initialised: every word that is read is written below.
    m_block.reset(new uint32_t[WordsFor(cells, bytes.size())]);
    m_block[0] = static_cast<uint32_t>(cells);
    std::memcpy(m_block.get() + 1, ends.data(), cells * sizeof(uint32_t));
    if (!bytes.empty())
        std::memcpy(m_block.get() + 1 + cells, bytes.data(), bytes.size());
}

std::string_view GridRow::Cell(int column) const {
    if (column < 0 || column >= CellCount())
        return {};
    const uint32_t *ends = Ends();
    const uint32_t begin = column == 0 ? 0 : ends[column - 1];
    return std::string_view(Text() + begin, ends[column] - begin);
}

GridRow GridRow::WithCell(int column, std::string_view text) const {
    Builder builder;
    const int count = std::max(CellCount(), column + 1);
    for (int i = 0; i < count; ++i)
        builder.AddCell(i == column ? text : Cell(i));
    return builder.Build();
}

GridRow GridRow::WithEmptyCellAt(int column) const {
    Builder builder;
    const int count = CellCount();
    for (int i = 0; i < count; ++i) {
        if (i == column)
            builder.EndCell();
        builder.AddCell(Cell(i));
    }
    return builder.Build();
}

size_t GridRow::BlockBytes() const {
    const int count = CellCount();
    return count == 0 ? 0 : WordsFor(count, TextBytes()) * sizeof(uint32_t);
}

size_t GridRow::TextBytes() const {
    const int count = CellCount();
    return count == 0 ? 0 : Ends()[count - 1];
}
