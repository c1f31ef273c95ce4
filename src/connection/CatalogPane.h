#pragma once

// The catalog tree as the document sees it.
class CatalogPane {
public:
    virtual ~CatalogPane() = default;
    // Rebuilds every node from the document's table list; `progress` drives the
    // status bar's progress indicator.
    virtual void BuildTree(bool progress) = 0;
};
