#include "catalog/CatalogNode.h"

#include "framework/CommandTable.h"

namespace CatalogNode {

const char *ImagePath(int kind) {
    static const char *const paths[ImageCount] = {
        ":/tree/node00.png", ":/tree/node01.png", ":/tree/node02.png", ":/tree/node03.png",
        ":/tree/node04.png", ":/tree/node05.png", ":/tree/node06.png", ":/tree/node07.png",
        ":/tree/node08.png", ":/tree/node09.png", ":/tree/node10.png", ":/tree/node11.png",
        ":/tree/node12.png", ":/tree/node13.png", ":/tree/node14.png", ":/tree/node15.png",
        ":/tree/node16.png", ":/tree/node17.png", ":/tree/node18.png", ":/tree/node19.png",
    };
    if (kind < 0 || kind >= ImageCount)
        return nullptr;
    return paths[kind];
}

const char *SelectionStatusText(int kind) {
    if (IsTable(kind))
        return "Loading table info...";
    switch (kind) {
    case Root:
        return "Loading database info...";
    case TablesFolder:
        return "Loading table info...";
    case SystemTablesFolder:
        return "Loading system table info...";
    case SynonymsFolder:
        return "Loading synonym info...";
    case ViewsFolder:
        return "Loading view info...";
    case Field:
    case FieldsFolder:
        return "Loading field info...";
    case PrimaryKeyColumn:
    case PrimaryKeysFolder:
        return "Loading primary key info...";
    case ForeignKeyColumn:
    case ForeignKeysFolder:
        return "Loading foreign key info...";
    case Procedure:
    case ProceduresFolder:
        return "Loading procedure info...";
    case ProcedureColumn:
    case ColumnsFolder:
        return "Loading column info...";
    default:
        return nullptr;
    }
}

bool CommandEnabled(int id, int kind) {
    const bool table = IsTable(kind);
    switch (id) {
    case ID_CATALOG_SCHEMA:
        return table || kind == Field || kind == FieldsFolder || kind == Procedure;
    case ID_CATALOG_PRIVILEGES:
        return table || kind == Field || kind == FieldsFolder;
    case ID_CATALOG_STATISTICS:
    case ID_CATALOG_SPECIAL_COLUMNS:
        return table;
    case ID_DATA:
        return table || kind == Procedure;
    default:
        return false;
    }
}

int ContextMenuId(int kind) {
    if (IsTable(kind))
        return 132;
    if (kind == Field || kind == FieldsFolder)
        return 168;
    if (kind == Procedure)
        return 177;
    return 0;
}

} // namespace CatalogNode
