#include "catalog/recordsets/CTypeInfo.h"

#include <sqlext.h>

CTypeInfo::CTypeInfo(OdbcConnection &connection) : Recordset(connection) {
    BindText(&TypeName, 1);
    BindLong(&DataType, 2);
    BindLong(&Precision, 3);
    BindText(&LiteralPrefix, 4);
    BindText(&LiteralSuffix, 5);
    BindText(&CreateParams, 6);
    BindLong(&Nullable, 7);
    BindBool(&CaseSensitive, 8);
    BindLong(&Searchable, 9);
    BindLong(&UnsignedAttribute, 10);
    BindBool(&Money, 11);
    BindLong(&AutoIncrement, 12);
    BindText(&LocalTypeName, 13);
    BindLong(&MinimumScale, 14);
    BindLong(&MaximumScale, 15);
}

bool CTypeInfo::Open(SQLSMALLINT dataType, OpenType type) {
    return OpenWith(SQL_API_SQLGETTYPEINFO, type,
                    [&](SQLHSTMT stmt) { return SQLGetTypeInfo(stmt, dataType); });
}
