#include "catalog/recordsets/CSpecialColumns.h"

#include <sqlext.h>

CSpecialColumns::CSpecialColumns(OdbcConnection &connection) : Recordset(connection) {
    BindLong(&Scope, 1);
    BindText(&ColumnName, 2);
    BindLong(&DataType, 3);
    BindText(&TypeName, 4);
    BindLong(&Precision, 5);
    BindLong(&Length, 6);
    BindLong(&Scale, 7);
    BindLong(&PseudoColumn, 8);
}

bool CSpecialColumns::Open(SQLUSMALLINT columnType, const char *qualifier, const char *owner,
                           const char *tableName, SQLUSMALLINT scope, SQLUSMALLINT nullable,
                           OpenType type) {
    return OpenWith(SQL_API_SQLSPECIALCOLUMNS, type, [&](SQLHSTMT stmt) {
        return SQLSpecialColumns(stmt, columnType, Arg(qualifier), ArgLen(qualifier), Arg(owner),
                                 ArgLen(owner), Arg(tableName), ArgLen(tableName), scope, nullable);
    });
}
