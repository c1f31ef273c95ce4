#pragma once

#include <cstdint>
#include <string>

#include <sql.h>

#include "odbc/Recordset.h"

// Rows of SQLSpecialColumns: the columns that identify a row, or that change
// whenever a row is updated.
class CSpecialColumns : public Recordset {
public:
    enum Field {
        FieldScope,
        FieldColumnName,
        FieldDataType,
        FieldTypeName,
        FieldPrecision,
        FieldLength,
        FieldScale,
        FieldPseudoColumn,
    };

    explicit CSpecialColumns(OdbcConnection &connection);

    // `columnType` is SQL_BEST_ROWID or SQL_ROWVER, `scope` an SQL_SCOPE_* value,
    // `nullable` SQL_NO_NULLS or SQL_NULLABLE. False when the driver lacks
    // SQLSpecialColumns or no statement could be had.
    bool Open(SQLUSMALLINT columnType, const char *qualifier, const char *owner,
              const char *tableName, SQLUSMALLINT scope, SQLUSMALLINT nullable,
              OpenType type = OpenType::Snapshot);

    int32_t Scope = 0;
    std::string ColumnName;
    int32_t DataType = 0;
    std::string TypeName;
    int32_t Precision = 0;
    int32_t Length = 0;
    int32_t Scale = 0;
    int32_t PseudoColumn = 0;
};
