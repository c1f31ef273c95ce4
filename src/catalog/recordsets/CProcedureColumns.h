#pragma once

#include <cstdint>
#include <string>

#include "odbc/Recordset.h"

// Rows of SQLProcedureColumns: the parameters of a procedure and the columns of
// its result set.
class CProcedureColumns : public Recordset {
public:
    enum Field {
        FieldProcedureQualifier,
        FieldProcedureOwner,
        FieldProcedureName,
        FieldColumnName,
        FieldColumnType,
        FieldDataType,
        FieldTypeName,
        FieldPrecision,
        FieldLength,
        FieldScale,
        FieldRadix,
        FieldNullable,
        FieldRemarks,
    };

    explicit CProcedureColumns(OdbcConnection &connection);

    // Null arguments restrict nothing. False when the driver lacks
    // SQLProcedureColumns or no statement could be had.
    bool Open(const char *qualifier, const char *owner, const char *procedureName,
              const char *columnName, OpenType type = OpenType::Snapshot);

    std::string ProcedureQualifier;
    std::string ProcedureOwner;
    std::string ProcedureName;
    std::string ColumnName;
    int32_t ColumnType = 0;
    int32_t DataType = 0;
    std::string TypeName;
    int32_t Precision = 0;
    int32_t Length = 0;
    int32_t Scale = 0;
    int32_t Radix = 0;
    int32_t Nullable = 0;
    std::string Remarks;
};
