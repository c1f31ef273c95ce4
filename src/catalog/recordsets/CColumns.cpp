#include "catalog/recordsets/CColumns.h"

#include <sqlext.h>

#include "catalog/recordsets/SearchPattern.h"

CColumns::CColumns(OdbcConnection &connection) : Recordset(connection) {
    BindText(&TableQualifier, 1);
    BindText(&TableOwner, 2);
    BindText(&TableName, 3);
    BindText(&ColumnName, 4);
    BindLong(&DataType, 5);
    BindText(&TypeName, 6);
    BindLong(&Precision, 7);
    BindLong(&Length, 8);
    BindLong(&Scale, 9);
    BindLong(&Radix, 10);
    BindLong(&Nullable, 11);
    BindText(&Remarks, 12);
}

bool CColumns::Open(const char *qualifier, const char *owner, const char *tableName,
                    const char *columnName, OpenType type) {
    // Both names are patterns to the driver: escaped so that each names one object.
    const auto table = NamePattern(Connection(), tableName);
    const auto column = NamePattern(Connection(), columnName);
    const char *tableArg = PatternArg(table);
    const char *columnArg = PatternArg(column);
    return OpenWith(SQL_API_SQLCOLUMNS, type, [&](SQLHSTMT stmt) {
        return SQLColumns(stmt, Arg(qualifier), ArgLen(qualifier), Arg(owner), ArgLen(owner),
                          Arg(tableArg), ArgLen(tableArg), Arg(columnArg), ArgLen(columnArg));
    });
}

bool CColumns::OpenTablesStartingWith(const std::string &prefix, bool exact) {
    const std::string pattern =
        prefix.empty() ? std::string(exact ? "" : "%")
                       : *NamePattern(Connection(), prefix.c_str()) + (exact ? "" : "%");
    return OpenWith(SQL_API_SQLCOLUMNS, OpenType::ForwardOnly, [&](SQLHSTMT stmt) {
        return SQLColumns(stmt, nullptr, 0, nullptr, 0, Arg(pattern.c_str()), SQL_NTS, nullptr, 0);
    });
}
