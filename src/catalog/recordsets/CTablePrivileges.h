#pragma once

#include <string>

#include "odbc/Recordset.h"

// Rows of SQLTablePrivileges: who may do what with a table.
class CTablePrivileges : public Recordset {
public:
    enum Field {
        FieldTableQualifier,
        FieldTableOwner,
        FieldTableName,
        FieldGrantor,
        FieldGrantee,
        FieldPrivilege,
        FieldIsGrantable,
    };

    explicit CTablePrivileges(OdbcConnection &connection);

    // Null arguments restrict nothing. False when the driver lacks
    // SQLTablePrivileges or no statement could be had.
    bool Open(const char *qualifier, const char *owner, const char *tableName,
              OpenType type = OpenType::Snapshot);

    std::string TableQualifier;
    std::string TableOwner;
    std::string TableName;
    std::string Grantor;
    std::string Grantee;
    std::string Privilege;
    std::string IsGrantable;
};
