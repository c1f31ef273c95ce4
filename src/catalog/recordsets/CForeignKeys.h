#pragma once

#include <cstdint>
#include <string>

#include "odbc/Recordset.h"

// Rows of SQLForeignKeys: the foreign-key columns between two tables, either
// side of which may be left open.
class CForeignKeys : public Recordset {
public:
    enum Field {
        FieldPkTableQualifier,
        FieldPkTableOwner,
        FieldPkTableName,
        FieldPkColumnName,
        FieldFkTableQualifier,
        FieldFkTableOwner,
        FieldFkTableName,
        FieldFkColumnName,
        FieldKeySeq,
        FieldUpdateRule,
        FieldDeleteRule,
        FieldFkName,
        FieldPkName,
    };

    explicit CForeignKeys(OdbcConnection &connection);

    // The primary-key side first, then the foreign-key side; null arguments
    // restrict nothing. False when the driver lacks SQLForeignKeys or no
    // statement could be had.
    bool Open(const char *pkQualifier, const char *pkOwner, const char *pkTableName,
              const char *fkQualifier, const char *fkOwner, const char *fkTableName,
              OpenType type = OpenType::Snapshot);

    std::string PkTableQualifier;
    std::string PkTableOwner;
    std::string PkTableName;
    std::string PkColumnName;
    std::string FkTableQualifier;
    std::string FkTableOwner;
    std::string FkTableName;
    std::string FkColumnName;
    int32_t KeySeq = 0;
    int32_t UpdateRule = 0;
    int32_t DeleteRule = 0;
    std::string FkName;
    std::string PkName;
};
