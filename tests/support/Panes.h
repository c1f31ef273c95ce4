#pragma once

#include "catalog/CDBTreeView.h"
#include "connection/CBrindleDoc.h"
#include "console/CDBOutputView.h"
#include "results/CDBListView.h"

// The concrete views behind a document's panes, for tests that drive them.
inline CDBOutputView *ConsoleOf(const CBrindleDoc *doc) {
    return dynamic_cast<CDBOutputView *>(doc->m_pOutputView);
}
inline CDBListView *GridOf(const CBrindleDoc *doc) {
    return dynamic_cast<CDBListView *>(doc->m_pListView);
}
inline CDBTreeView *TreeOf(const CBrindleDoc *doc) {
    return dynamic_cast<CDBTreeView *>(doc->m_pTreeView);
}
