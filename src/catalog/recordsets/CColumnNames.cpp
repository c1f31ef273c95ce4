#include "catalog/recordsets/CColumnNames.h"

#include <algorithm>

#include <sqlext.h>

CColumnNames::Dialect CColumnNames::DialectOf(std::string_view dbmsName) {
    if (dbmsName == "PostgreSQL")
        return Dialect::PostgreSql;
    if (dbmsName == "SQLite")
        return Dialect::Sqlite;
    return Dialect::Unknown;
}

std::vector<CColumnNames::Relations> CColumnNames::Reads(Dialect dialect) {
    switch (dialect) {
    case Dialect::PostgreSql:
        return {Relations::TablesAndViews};
    case Dialect::Sqlite:
        return {Relations::Tables, Relations::Views};
    case Dialect::Unknown:
        break;
    }
    return {};
}

std::string CColumnNames::QueryText(Dialect dialect, Relations relations, const Names &names) {
    std::string text;
    std::string name;
    if (dialect == Dialect::PostgreSql) {
        // The relations psqlODBC lists as tables and views, ordered as its
        // SQLColumns orders them. Names compare byte by byte, as the ranges are cut.
        text = "SELECT c.relname, a.attname FROM pg_catalog.pg_class c"
               " JOIN pg_catalog.pg_namespace n ON n.oid = c.relnamespace"
               " JOIN pg_catalog.pg_attribute a ON a.attrelid = c.oid"
               " WHERE c.relkind IN ('r', 'v', 'm', 'f', 'p')"
               " AND a.attnum > 0 AND NOT a.attisdropped";
        name = "c.relname COLLATE \"C\"";
    } else if (dialect == Dialect::Sqlite) {
        // The pragma depends on the outer row, so each table's columns come
        // together and in their order: no sort needed. Names compare as bytes.
        text = "SELECT m.name, p.name FROM sqlite_master AS m"
               " JOIN pragma_table_info(m.name) AS p"
               " WHERE m.type";
        text += relations == Relations::Tables  ? " = 'table'"
                : relations == Relations::Views ? " = 'view'"
                                                : " IN ('table', 'view')";
        name = "m.name";
    } else {
        return {};
    }
    if (names.from)
        text += " AND " + name + " >= ?";
    if (names.to)
        text += " AND " + name + " < ?";
    if (names.exact)
        text += " AND " + name + " = ?";
    if (dialect == Dialect::PostgreSql)
        text += " ORDER BY n.nspname, c.relname, a.attnum";
    return text;
}

CColumnNames::CColumnNames(OdbcConnection &connection) : Recordset(connection) {
    BindText(&TableName, 1);
    BindText(&ColumnName, 2);
}

bool CColumnNames::Open(Dialect dialect, Relations relations, const Names &names) {
    std::string text = QueryText(dialect, relations, names);
    if (text.empty())
        return false;
    // Names travel as parameters: a table name is never part of the statement.
    std::vector<std::string> parameters;
    for (const auto *name : {&names.from, &names.to, &names.exact})
        if (*name)
            parameters.push_back(**name);
    std::vector<SQLLEN> lengths;
    for (const std::string &parameter : parameters)
        lengths.push_back(static_cast<SQLLEN>(parameter.size()));
    return OpenWith(SQL_API_SQLEXECDIRECT, OpenType::ForwardOnly, [&](SQLHSTMT stmt) {
        for (size_t i = 0; i < parameters.size(); ++i) {
            std::string &parameter = parameters[i];
            const SQLRETURN rc =
                SQLBindParameter(stmt, static_cast<SQLUSMALLINT>(i + 1), SQL_PARAM_INPUT,
                                 SQL_C_CHAR, SQL_VARCHAR, std::max<SQLULEN>(parameter.size(), 1), 0,
                                 parameter.data(), lengths[i], &lengths[i]);
            if (!SQL_SUCCEEDED(rc))
                return rc;
        }
        return SQLExecDirect(stmt, Arg(text.c_str()), SQL_NTS);
    });
}
