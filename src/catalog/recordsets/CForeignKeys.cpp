#include "catalog/recordsets/CForeignKeys.h"

#include <sqlext.h>

CForeignKeys::CForeignKeys(OdbcConnection &connection) : Recordset(connection) {
    BindText(&PkTableQualifier, 1);
    BindText(&PkTableOwner, 2);
    BindText(&PkTableName, 3);
    BindText(&PkColumnName, 4);
    BindText(&FkTableQualifier, 5);
    BindText(&FkTableOwner, 6);
    BindText(&FkTableName, 7);
    BindText(&FkColumnName, 8);
    BindLong(&KeySeq, 9);
    BindLong(&UpdateRule, 10);
    BindLong(&DeleteRule, 11);
    BindText(&FkName, 12);
    BindText(&PkName, 13);
}

bool CForeignKeys::Open(const char *pkQualifier, const char *pkOwner, const char *pkTableName,
                        const char *fkQualifier, const char *fkOwner, const char *fkTableName,
                        OpenType type) {
    return OpenWith(SQL_API_SQLFOREIGNKEYS, type, [&](SQLHSTMT stmt) {
        return SQLForeignKeys(stmt, Arg(pkQualifier), ArgLen(pkQualifier), Arg(pkOwner),
                              ArgLen(pkOwner), Arg(pkTableName), ArgLen(pkTableName),
                              Arg(fkQualifier), ArgLen(fkQualifier), Arg(fkOwner), ArgLen(fkOwner),
                              Arg(fkTableName), ArgLen(fkTableName));
    });
}
