#include "catalog/recordsets/CStatistics.h"

#include <sqlext.h>

CStatistics::CStatistics(OdbcConnection &connection) : Recordset(connection) {
    BindText(&TableQualifier, 1);
    BindText(&TableOwner, 2);
    BindText(&TableName, 3);
    BindLong(&NonUnique, 4);
    BindText(&IndexQualifier, 5);
    BindText(&IndexName, 6);
    BindLong(&Type, 7);
    BindLong(&SeqInIndex, 8);
    BindText(&ColumnName, 9);
    BindText(&Collation, 10);
    BindLong(&Cardinality, 11);
    BindLong(&Pages, 12);
    BindText(&FilterCondition, 13);
}

bool CStatistics::Open(const char *qualifier, const char *owner, const char *tableName,
                       SQLUSMALLINT unique, SQLUSMALLINT accuracy, OpenType type) {
    return OpenWith(SQL_API_SQLSTATISTICS, type, [&](SQLHSTMT stmt) {
        return SQLStatistics(stmt, Arg(qualifier), ArgLen(qualifier), Arg(owner), ArgLen(owner),
                             Arg(tableName), ArgLen(tableName), unique, accuracy);
    });
}
