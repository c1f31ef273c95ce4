#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "catalog/recordsets/CColumnNames.h"

class CatalogTreeSink;
class QString;
class CBrindleDoc;
class Recordset;

// Reads the catalog tree's nodes from the document's connection: the data
// source, its table-type folders with each table's fields, the procedures with
// their columns, and, on demand, a table's key folders. Database errors go to
// the document's ReportError; what was read before them stays.
class CatalogTreeBuilder {
public:
    // How the Fields folders are read: one query on the DBMS's own catalog where
    // the DBMS is known and agrees with its driver, else one SQLColumns call for
    // every table; the tables either misses are asked one by one. Or one call per table.
    enum class ColumnFetch { DbmsCatalog, EveryTableAtOnce, TableByTable };

    // The one call is split by table name into calls of at most this many
    // tables: a driver that buffers its whole result holds no more than that.
    static constexpr size_t TablesPerColumnCall = 5000;
    // The same for the catalog's query, whose rows are two names: fewer, larger
    // queries, as each costs the server a fixed share.
    static constexpr size_t TablesPerCatalogQuery = 10000;

    CatalogTreeBuilder(CBrindleDoc &doc, CatalogTreeSink &sink,
                       ColumnFetch fetch = ColumnFetch::DbmsCatalog,
                       size_t tablesPerCall = TablesPerColumnCall,
                       size_t tablesPerQuery = TablesPerCatalogQuery)
        : m_doc(doc), m_sink(sink), m_fetch(fetch), m_tablesPerCall(tablesPerCall),
          m_tablesPerQuery(tablesPerQuery) {}

    // Every node from the document's table list; returns the root's id.
    // `progress` drives the status bar's progress indicator.
    int Build(bool progress);
    // The key folders of the table node `table` named `name`, when the table has keys.
    void LoadPrimaryKeys(int table, const std::string &name);
    void LoadForeignKeys(int table, const std::string &name);
    // How many tables the last Build filled from the DBMS's own catalog.
    size_t TablesFromDbmsCatalog() const noexcept { return m_tablesFromDbmsCatalog; }

private:
    class TableProgress;
    // The listed tables of one name: name-only identity, so each of their
    // Fields folders lists the columns of all of them.
    struct NamedTables {
        std::string name;
        std::vector<int> fieldsFolders;
        bool filled = false;
    };

    void FillFromOneCall(std::vector<NamedTables> &tables, TableProgress &progress);
    // The tables' columns from the DBMS's catalog in ranges of names; false
    // when a query failed, leaving what it had not given in full unfilled.
    bool FillFromCatalog(CColumnNames::Dialect dialect, const std::vector<std::string> &names,
                         std::unordered_map<std::string_view, NamedTables *> &byName,
                         TableProgress &progress);
    // Whether the DBMS's catalog gives `table` the driver's columns; if so the
    // table is filled.
    bool CatalogAgreesWithDriver(CColumnNames::Dialect dialect, NamedTables &table,
                                 TableProgress &progress);
    // One call's rows (`tableName` and `columnName` are fields of `rows`) into
    // their tables; returns how many tables it filled.
    size_t FillFromCall(Recordset &rows, const std::string &tableName,
                        const std::string &columnName,
                        std::unordered_map<std::string_view, NamedTables *> &byName,
                        TableProgress &progress);
    void FillTableByTable(std::vector<NamedTables> &tables, TableProgress &progress);
    void AddFields(NamedTables &table, const std::vector<std::string> &columns,
                   TableProgress &progress);
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
    void SetStatus(const QString &text);

    CBrindleDoc &m_doc;
    CatalogTreeSink &m_sink;
    ColumnFetch m_fetch;
    size_t m_tablesPerCall;
    size_t m_tablesPerQuery;
    size_t m_tablesFromDbmsCatalog = 0;
};
