#pragma once

#include <string>

#include "odbc/Recordset.h"

// Rows of SQLColumnPrivileges: who may do what with the columns of one table.
class CColumnPrivileges : public Recordset {
public:
    enum Field {
        FieldTableQualifier,
        FieldTableOwner,
        FieldTableName,
        FieldColumnName,
        FieldGrantor,
        FieldGrantee,
        FieldPrivilege,
        FieldIsGrantable,
    };

    explicit CColumnPrivileges(OdbcConnection &connection);

    // Null arguments restrict nothing. False when the driver lacks
    // SQLColumnPrivileges or no statement could be had.
    bool Open(const char *qualifier, const char *owner, const char *tableName,
              const char *columnName, OpenType type = OpenType::Snapshot);

    std::string TableQualifier;
    std::string TableOwner;
    std::string TableName;
    std::string ColumnName;
    std::string Grantor;
    std::string Grantee;
    std::string Privilege;
    std::string IsGrantable;
};
