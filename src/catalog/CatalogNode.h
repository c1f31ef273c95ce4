#pragma once

// What a catalog tree node is: its kind is its image index, and everything the
// tree does with a node (status text, enabled commands, context menu) follows
// from the kind alone.
namespace CatalogNode {

enum Kind : int {
    Root = 0,
    Table = 2,
    TablesFolder = 3,
    Field = 4,
    FieldsFolder = 5,
    SystemTable = 6,
    SystemTablesFolder = 7,
    Synonym = 8,
    SynonymsFolder = 9,
    View = 10,
    ViewsFolder = 11,
    PrimaryKeyColumn = 12,
    PrimaryKeysFolder = 13,
    ForeignKeyColumn = 14,
    ForeignKeysFolder = 15,
    Procedure = 16,
    ProceduresFolder = 17,
    ProcedureColumn = 18,
    ColumnsFolder = 19,
};

// Kinds 0 to 19 have an image; 1 is given to no node.
constexpr int ImageCount = 20;

// Tables, system tables, synonyms and views.
constexpr bool IsTable(int kind) {
    return kind == Table || kind == SystemTable || kind == Synonym || kind == View;
}

// ":/tree/node07.png" for kind 7.
const char *ImagePath(int kind);

// The text shown while a selected node's catalog information loads; nullptr
// for kinds that show nothing.
const char *SelectionStatusText(int kind);

// Whether catalog command `id` (Schema to Data) applies to a node of `kind`.
bool CommandEnabled(int id, int kind);

// The context menu resource of a kind (132, 168 or 177), 0 for none.
int ContextMenuId(int kind);

} // namespace CatalogNode
