#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "odbc/Recordset.h"

// Table and column names read with one query on the DBMS's own catalog, for the
// DBMSs whose catalog is known: the names SQLColumns gives, in its order, at a
// fraction of the driver's cost for many tables (psqlODBC makes each column row
// a full result row; the SQLite driver searches its schema per table).
class CColumnNames : public Recordset {
public:
    enum class Dialect { Unknown, PostgreSql, Sqlite };
    enum class Relations { TablesAndViews, Tables, Views };

    // The dialect of a DBMS by its SQL_DBMS_NAME.
    static Dialect DialectOf(std::string_view dbmsName);
    // The queries that read a dialect's relations. SQLite's views are read
    // apart: one whose table is gone fails the whole query.
    static std::vector<Relations> Reads(Dialect dialect);
    // The query's text: every relation's columns, those of the relations whose
    // name starts with a parameter's pattern, or (`exact`) of the one the
    // parameter names. Each relation's rows come together, in column order.
    static std::string QueryText(Dialect dialect, Relations relations, bool everyTable, bool exact);
    // The LIKE pattern (escape character "!") matching every name starting with `prefix`.
    static std::string LikePrefix(std::string_view prefix);

    explicit CColumnNames(OdbcConnection &connection);

    // Forward-only rows for the tables whose name starts with `prefix` (every
    // table when it is empty), or for the one table named `prefix` when `exact`.
    // False for an unknown dialect or when no statement could be had.
    bool Open(Dialect dialect, Relations relations, const std::string &prefix, bool exact);

    std::string TableName;
    std::string ColumnName;
};
