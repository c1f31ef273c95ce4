#pragma once

#include <cstdint>
#include <string>

#include "odbc/Recordset.h"

// Rows of SQLColumns: the columns of a table.
class CColumns : public Recordset {
public:
    enum Field {
        FieldTableQualifier,
        FieldTableOwner,
        FieldTableName,
        FieldColumnName,
        FieldDataType,
        FieldTypeName,
        FieldPrecision,
        FieldLength,
        FieldScale,
        FieldRadix,
        FieldNullable,
        FieldRemarks,
    };

    explicit CColumns(OdbcConnection &connection);

    // Null arguments restrict nothing. False when the driver lacks SQLColumns or
    // no statement could be had.
    bool Open(const char *qualifier, const char *owner, const char *tableName,
              const char *columnName, OpenType type = OpenType::Snapshot);
    // The columns of every table whose name starts with `prefix` (every table
    // for ""; forward-only, no rows kept), or of the one table named `prefix` when `exact`.
    bool OpenTablesStartingWith(const std::string &prefix, bool exact);

    std::string TableQualifier;
    std::string TableOwner;
    std::string TableName;
    std::string ColumnName;
    int32_t DataType = 0;
    std::string TypeName;
    int32_t Precision = 0;
    int32_t Length = 0;
    int32_t Scale = 0;
    int32_t Radix = 0;
    int32_t Nullable = 0;
    std::string Remarks;
};
