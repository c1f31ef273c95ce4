#pragma once

#include <cstdint>
#include <string>

#include <sql.h>

#include "odbc/Recordset.h"

// Rows of SQLGetTypeInfo: the data types the data source offers.
class CTypeInfo : public Recordset {
public:
    enum Field {
        FieldTypeName,
        FieldDataType,
        FieldPrecision,
        FieldLiteralPrefix,
        FieldLiteralSuffix,
        FieldCreateParams,
        FieldNullable,
        FieldCaseSensitive,
        FieldSearchable,
        FieldUnsignedAttribute,
        FieldMoney,
        FieldAutoIncrement,
        FieldLocalTypeName,
        FieldMinimumScale,
        FieldMaximumScale,
    };

    explicit CTypeInfo(OdbcConnection &connection);

    // `dataType` is an SQL type code, or SQL_ALL_TYPES for every type. Callers
    // read the list once, so it opens forward-only unless asked otherwise.
    // False when the driver lacks SQLGetTypeInfo or no statement could be had.
    bool Open(SQLSMALLINT dataType, OpenType type = OpenType::ForwardOnly);

    std::string TypeName;
    int32_t DataType = 0;
    int32_t Precision = 0;
    std::string LiteralPrefix;
    std::string LiteralSuffix;
    std::string CreateParams;
    int32_t Nullable = 0;
    bool CaseSensitive = false;
    int32_t Searchable = 0;
    int32_t UnsignedAttribute = 0;
    bool Money = false;
    int32_t AutoIncrement = 0;
    std::string LocalTypeName;
    int32_t MinimumScale = 0;
    int32_t MaximumScale = 0;
};
