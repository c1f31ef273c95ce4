#pragma once

#include <cstdint>
#include <string>

#include <sql.h>

#include "odbc/Recordset.h"

// Rows of SQLStatistics: a table's statistics row and the columns of its indexes.
class CStatistics : public Recordset {
public:
    enum Field {
        FieldTableQualifier,
        FieldTableOwner,
        FieldTableName,
        FieldNonUnique,
        FieldIndexQualifier,
        FieldIndexName,
        FieldType,
        FieldSeqInIndex,
        FieldColumnName,
        FieldCollation,
        FieldCardinality,
        FieldPages,
        FieldFilterCondition,
    };

    explicit CStatistics(OdbcConnection &connection);

    // `unique` is SQL_INDEX_UNIQUE or SQL_INDEX_ALL, `accuracy` SQL_QUICK or
    // SQL_ENSURE. False when the driver lacks SQLStatistics or no statement could be had.
    bool Open(const char *qualifier, const char *owner, const char *tableName, SQLUSMALLINT unique,
              SQLUSMALLINT accuracy, OpenType type = OpenType::Snapshot);

    std::string TableQualifier;
    std::string TableOwner;
    std::string TableName;
    int32_t NonUnique = 0;
    std::string IndexQualifier;
    std::string IndexName;
    int32_t Type = 0;
    int32_t SeqInIndex = 0;
    std::string ColumnName;
    std::string Collation;
    int32_t Cardinality = 0;
    int32_t Pages = 0;
    std::string FilterCondition;
};
