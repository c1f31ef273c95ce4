#include "catalog/recordsets/CProcedureColumns.h"

#include <sqlext.h>

#include "catalog/recordsets/SearchPattern.h"

CProcedureColumns::CProcedureColumns(OdbcConnection &connection) : Recordset(connection) {
    BindText(&ProcedureQualifier, 1);
    BindText(&ProcedureOwner, 2);
    BindText(&ProcedureName, 3);
    BindText(&ColumnName, 4);
    BindLong(&ColumnType, 5);
    BindLong(&DataType, 6);
    BindText(&TypeName, 7);
    BindLong(&Precision, 8);
    BindLong(&Length, 9);
    BindLong(&Scale, 10);
    BindLong(&Radix, 11);
    BindLong(&Nullable, 12);
    BindText(&Remarks, 13);
}

bool CProcedureColumns::Open(const char *qualifier, const char *owner, const char *procedureName,
                             const char *columnName, OpenType type) {
    // Both names are patterns to the driver: escaped so that each names one object.
    const auto procedure = NamePattern(Connection(), procedureName);
    const auto column = NamePattern(Connection(), columnName);
    const char *procedureArg = PatternArg(procedure);
    const char *columnArg = PatternArg(column);
    return OpenWith(SQL_API_SQLPROCEDURECOLUMNS, type, [&](SQLHSTMT stmt) {
        return SQLProcedureColumns(stmt, Arg(qualifier), ArgLen(qualifier), Arg(owner),
                                   ArgLen(owner), Arg(procedureArg), ArgLen(procedureArg),
                                   Arg(columnArg), ArgLen(columnArg));
    });
}
