#pragma once

#include <QPointer>

#include "results/CListViewEx.h"
#include "results/FindTarget.h"

// The Find dialog's hold on a result grid.
class ListViewFindTarget : public FindTarget {
public:
    explicit ListViewFindTarget(CListViewEx &grid);

    const GridModel &Model() const override;
    int LastChangedRow() const override;
    void ClearSelection() override;
    void SelectRows(const std::vector<int> &rows) override;
    void RevealRow(int row) override;

private:
    // The model lives as long as the grid; the dialog may outlive both.
    QPointer<CListViewEx> m_grid;
    GridModel m_empty;
};
