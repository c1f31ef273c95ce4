#pragma once

#include <string>

// Where the catalog tree's nodes go as they are read: a tree view, or a test's record.
class CatalogTreeSink {
public:
    // The parent of a top-level node.
    static constexpr int NoParent = -1;

    virtual ~CatalogTreeSink() = default;
    // Adds a node of `kind` (an image index) under `parent`; returns the new
    // node's id, which later nodes name as their parent.
    virtual int AddNode(int parent, int kind, const std::string &label) = 0;
};
