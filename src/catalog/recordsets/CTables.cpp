#include "catalog/recordsets/CTables.h"

#include <sqlext.h>

#include "catalog/recordsets/SearchPattern.h"

CTables::CTables(OdbcConnection &connection) : Recordset(connection) {
    BindText(&TableQualifier, 1);
    BindText(&TableOwner, 2);
    BindText(&TableName, 3);
    BindText(&TableType, 4);
    BindText(&Remarks, 5);
}

bool CTables::Open(const char *qualifier, const char *owner, const char *tableName,
                   const char *tableTypes, OpenType type) {
    // The table name is a pattern to the driver; only a given name is escaped.
    const auto table = NamePattern(Connection(), tableName);
    const char *tableArg = PatternArg(table);
    return OpenWith(SQL_API_SQLTABLES, type, [&](SQLHSTMT stmt) {
        return SQLTables(stmt, Arg(qualifier), ArgLen(qualifier), Arg(owner), ArgLen(owner),
                         Arg(tableArg), ArgLen(tableArg), Arg(tableTypes), ArgLen(tableTypes));
    });
}
