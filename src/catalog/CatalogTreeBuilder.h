#pragma once

#include <functional>
#include <string>

class CatalogTreeSink;
class CBrindleDoc;
class Recordset;

// Reads the catalog tree's nodes from the document's connection: the data
// source, its table-type folders with each table's fields, the procedures with
// their columns, and, on demand, a table's key folders. Database errors go to
// the document's ReportError; what was read before them stays.
class CatalogTreeBuilder {
public:
    CatalogTreeBuilder(CBrindleDoc &doc, CatalogTreeSink &sink) : m_doc(doc), m_sink(sink) {}

    // Every node from the document's table list; returns the root's id.
    // `progress` drives the status bar's progress indicator.
    int Build(bool progress);
    // The key folders of the table node `table` named `name`, when the table has keys.
    void LoadPrimaryKeys(int table, const std::string &name);
    void LoadForeignKeys(int table, const std::string &name);

private:
    void AddTable(int folder, int kind, const std::string &name);
    void LoadProcedures(int root, bool progress);
    struct KeyFolder {
        int folder;
        int column;
        const char *label;
        const char *status;
    };
    // Adds a key folder under `table` from a key recordset opened by `open`;
    // `column` is the recordset's field that each row names.
    void LoadKeyFolder(int table, const KeyFolder &folderKind, Recordset &keys,
                       const std::function<bool()> &open, const std::string &column);
    void SetStatus(const char *text);

    CBrindleDoc &m_doc;
    CatalogTreeSink &m_sink;
};
