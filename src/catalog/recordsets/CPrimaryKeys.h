#pragma once

#include <cstdint>
#include <string>

#include "odbc/Recordset.h"

// Rows of SQLPrimaryKeys: the primary-key columns of one table.
class CPrimaryKeys : public Recordset {
public:
    enum Field {
        FieldTableQualifier,
        FieldTableOwner,
        FieldTableName,
        FieldColumnName,
        FieldKeySeq,
        FieldPkName,
    };

    explicit CPrimaryKeys(OdbcConnection &connection);

    // False when the driver lacks SQLPrimaryKeys or no statement could be had.
    bool Open(const char *qualifier, const char *owner, const char *tableName,
              OpenType type = OpenType::Snapshot);

    std::string TableQualifier;
    std::string TableOwner;
    std::string TableName;
    std::string ColumnName;
    int32_t KeySeq = 0;
    std::string PkName;
};
