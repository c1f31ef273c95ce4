#pragma once

#include <optional>
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
    // Which relations by name: every one, a range in byte order (a bound that
    // is not there does not restrict), or the one with the exact name.
    struct Names {
        std::optional<std::string> from; // at least this
        std::optional<std::string> to;   // before this
        std::optional<std::string> exact;
    };

    // The dialect of a DBMS by its SQL_DBMS_NAME.
    static Dialect DialectOf(std::string_view dbmsName);
    // The queries that read a dialect's relations. SQLite's views are read
    // apart: one whose table is gone fails the whole query.
    static std::vector<Relations> Reads(Dialect dialect);
    // The query's text, with a parameter for each name `names` holds, in the
    // order from, to, exact. Each relation's rows come together, in column order.
    static std::string QueryText(Dialect dialect, Relations relations, const Names &names);

    explicit CColumnNames(OdbcConnection &connection);

    // Forward-only rows. False for an unknown dialect or when no statement could be had.
    bool Open(Dialect dialect, Relations relations, const Names &names);

    std::string TableName;
    std::string ColumnName;
};
