#include "catalog/recordsets/CTablePrivileges.h"

#include <sqlext.h>

#include "catalog/recordsets/SearchPattern.h"

CTablePrivileges::CTablePrivileges(OdbcConnection &connection) : Recordset(connection) {
    BindText(&TableQualifier, 1);
    BindText(&TableOwner, 2);
    BindText(&TableName, 3);
    BindText(&Grantor, 4);
    BindText(&Grantee, 5);
    BindText(&Privilege, 6);
    BindText(&IsGrantable, 7);
}

bool CTablePrivileges::Open(const char *qualifier, const char *owner, const char *tableName,
                            OpenType type) {
    // The table name is a pattern to the driver: escaped so that it names one table.
    const auto table = NamePattern(Connection(), tableName);
    const char *tableArg = PatternArg(table);
    return OpenWith(SQL_API_SQLTABLEPRIVILEGES, type, [&](SQLHSTMT stmt) {
        return SQLTablePrivileges(stmt, Arg(qualifier), ArgLen(qualifier), Arg(owner),
                                  ArgLen(owner), Arg(tableArg), ArgLen(tableArg));
    });
}
