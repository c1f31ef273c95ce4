#include "results/ListViewFindTarget.h"

#include <QItemSelection>
#include <QItemSelectionModel>

ListViewFindTarget::ListViewFindTarget(CListViewEx &grid) : m_grid(&grid) {}

const GridModel &ListViewFindTarget::Model() const { return m_grid ? m_grid->Model() : m_empty; }

int ListViewFindTarget::LastChangedRow() const { return m_grid ? m_grid->LastChangedRow() : -1; }

void ListViewFindTarget::ClearSelection() {
    if (m_grid)
        m_grid->selectionModel()->clearSelection();
}

void ListViewFindTarget::SelectRows(const std::vector<int> &rows) {
    if (!m_grid || rows.empty())
        return;
    const GridModel &model = m_grid->Model();
    const int lastColumn = std::max(model.ColumnCount() - 1, 0);
    // Neighbouring rows go in as one range, so many matches cost one selection
    // change; the last row goes alone, so the grid counts it as changed last.
    QItemSelection selection;
    auto addRange = [&](int top, int bottom) {
        selection.select(model.index(top, 0), model.index(bottom, lastColumn));
    };
    int top = -1;
    int bottom = -1;
    for (size_t i = 0; i + 1 < rows.size(); ++i) {
        const int row = rows[i];
        if (row < 0 || row >= model.RowCount())
            continue;
        if (top >= 0 && (row == bottom + 1 || row == top - 1)) {
            top = std::min(top, row);
            bottom = std::max(bottom, row);
            continue;
        }
        if (top >= 0)
            addRange(top, bottom);
        top = bottom = row;
    }
    if (top >= 0)
        addRange(top, bottom);
    QItemSelectionModel *selectionModel = m_grid->selectionModel();
    if (!selection.isEmpty())
        selectionModel->select(selection, QItemSelectionModel::Select);
    m_grid->SelectRow(rows.back(), true);
}

void ListViewFindTarget::RevealRow(int row) {
    if (m_grid)
        m_grid->EnsureRowVisible(row);
}
