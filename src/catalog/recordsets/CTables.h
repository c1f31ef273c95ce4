#pragma once

#include <string>

#include "odbc/Recordset.h"

// Rows of SQLTables: the tables of a data source, of the types asked for.
class CTables : public Recordset {
public:
    enum Field {
        FieldTableQualifier,
        FieldTableOwner,
        FieldTableName,
        FieldTableType,
        FieldRemarks
    };

    explicit CTables(OdbcConnection &connection);

    // `tableTypes` is a list such as "'TABLE','VIEW'"; null arguments restrict nothing.
    // False when the driver lacks SQLTables or no statement could be had.
    bool Open(const char *qualifier, const char *owner, const char *tableName,
              const char *tableTypes, OpenType type = OpenType::Snapshot);

    std::string TableQualifier;
    std::string TableOwner;
    std::string TableName;
    std::string TableType;
    std::string Remarks;
};
