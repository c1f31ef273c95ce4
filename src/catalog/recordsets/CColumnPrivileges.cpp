#include "catalog/recordsets/CColumnPrivileges.h"

#include <sqlext.h>

#include "catalog/recordsets/SearchPattern.h"

CColumnPrivileges::CColumnPrivileges(OdbcConnection &connection) : Recordset(connection) {
    BindText(&TableQualifier, 1);
    BindText(&TableOwner, 2);
    BindText(&TableName, 3);
    BindText(&ColumnName, 4);
    BindText(&Grantor, 5);
    BindText(&Grantee, 6);
    BindText(&Privilege, 7);
    BindText(&IsGrantable, 8);
}

bool CColumnPrivileges::Open(const char *qualifier, const char *owner, const char *tableName,
                             const char *columnName, OpenType type) {
    // Here the table name is a plain identifier and only the column name a pattern.
    const auto column = NamePattern(Connection(), columnName);
    const char *columnArg = PatternArg(column);
    return OpenWith(SQL_API_SQLCOLUMNPRIVILEGES, type, [&](SQLHSTMT stmt) {
        return SQLColumnPrivileges(stmt, Arg(qualifier), ArgLen(qualifier), Arg(owner),
                                   ArgLen(owner), Arg(tableName), ArgLen(tableName), Arg(columnArg),
                                   ArgLen(columnArg));
    });
}
