#include "catalog/recordsets/CPrimaryKeys.h"

#include <sqlext.h>

CPrimaryKeys::CPrimaryKeys(OdbcConnection &connection) : Recordset(connection) {
    BindText(&TableQualifier, 1);
    BindText(&TableOwner, 2);
    BindText(&TableName, 3);
    BindText(&ColumnName, 4);
    BindLong(&KeySeq, 5);
    BindText(&PkName, 6);
}

bool CPrimaryKeys::Open(const char *qualifier, const char *owner, const char *tableName,
                        OpenType type) {
    return OpenWith(SQL_API_SQLPRIMARYKEYS, type, [&](SQLHSTMT stmt) {
        return SQLPrimaryKeys(stmt, Arg(qualifier), ArgLen(qualifier), Arg(owner), ArgLen(owner),
                              Arg(tableName), ArgLen(tableName));
    });
}
