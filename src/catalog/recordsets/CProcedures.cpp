#include "catalog/recordsets/CProcedures.h"

#include <sqlext.h>

#include "catalog/recordsets/SearchPattern.h"

CProcedures::CProcedures(OdbcConnection &connection) : Recordset(connection) {
    BindText(&ProcedureQualifier, 1);
    BindText(&ProcedureOwner, 2);
    BindText(&ProcedureName, 3);
    BindText(&Remarks, 7);
    BindLong(&ProcedureType, 8);
}

bool CProcedures::Open(const char *qualifier, const char *owner, const char *procedureName,
                       OpenType type) {
    // The procedure name is a pattern to the driver: escaped so that it names one procedure.
    const auto procedure = NamePattern(Connection(), procedureName);
    const char *procedureArg = PatternArg(procedure);
    return OpenWith(SQL_API_SQLPROCEDURES, type, [&](SQLHSTMT stmt) {
        return SQLProcedures(stmt, Arg(qualifier), ArgLen(qualifier), Arg(owner), ArgLen(owner),
                             Arg(procedureArg), ArgLen(procedureArg));
    });
}
