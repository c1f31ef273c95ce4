#include "DriverFacts.h"

#include <cctype>
#include <stdexcept>

#include <sql.h>
#include <sqlext.h>

#include "TestDataSources.h"

namespace {

std::string N(int value) { return std::to_string(value); }

DriverFacts SqliteFacts() {
    DriverFacts f;
    f.dbmsName = "SQLite";
    f.catalogIsDatabase = false;
    f.quote = "\"";
    f.isServer = false;
    f.textColumnType = SQL_VARCHAR;
    f.foreignKeyRule = SQL_NO_ACTION;
    f.bestRowIdOfKeylessTable = "_ROWID_";
    // The driver offers SQLProcedures but knows no procedures.
    f.procedureCatalogIsDatabase = false;
    f.listsSystemProcedures = false;
    f.lackedFunction = SQL_API_SQLCOLUMNPRIVILEGES;
    f.integerTypeName = "integer";
    f.varcharTypeName = "varchar";
    f.textIsCaseSensitive = false;
    f.repeatFormat = "substr(replace(hex(zeroblob(%s)), '0', 'x'), 1, %s)";
    f.twoResultBatch = "VALUES (1), (2)";
    f.twoResultBatchReport = "OK (Elapsed Time: 0 sec.)";
    // The driver reports a column declared LONGVARBINARY as such, and a BLOB as SQL_BINARY.
    f.longBinaryType = "LONGVARBINARY";
    f.shortBinaryType = "BLOB";
    f.binaryLiteralAb = "x'6162'";
    return f;
}

DriverFacts PostgresFacts() {
    DriverFacts f;
    f.dbmsName = "PostgreSQL";
    f.catalogIsDatabase = true;
    f.schema = "public";
    f.quote = "\"";
    f.isServer = true;
    f.textColumnType = SQL_VARCHAR;
    // SCALE and RADIX mean nothing for text and dates: NULL there.
    f.customerScales = {"id|0|10", "name|NULL|NULL", "city|NULL|NULL", "created|NULL|NULL"};
    f.primaryKeyName = "pk_order_items";
    f.foreignKeyNames = {"fk_items_order|pk_orders", "fk_items_product|pk_products"};
    f.foreignKeyRule = SQL_NO_ACTION;
    f.rowVersionColumn = "xmin";
    f.granteeOfOrders = "brindle|SELECT|YES";
    // psqlODBC lists functions as procedures, with their return value as a column.
    f.procedure = "public|order_count||" + N(SQL_PT_FUNCTION);
    f.procedureColumns = {"order_count||" + N(SQL_RETURN_VALUE) + "|" + N(SQL_INTEGER) + "|0|10",
                          "order_count|cust|" + N(SQL_PARAM_INPUT) + "|" + N(SQL_INTEGER) +
                              "|0|10"};
    // psqlODBC matches no parameter by name.
    f.namedProcedureColumn = {"", "", "", ""};
    f.procedureCatalogIsDatabase = false;
    f.listsSystemProcedures = true;
    f.lackedFunction = SQL_API_SQLCOLUMNPRIVILEGES;
    f.integerTypeName = "int4";
    f.varcharTypeName = "varchar";
    f.textIsCaseSensitive = true;
    f.sleepFormat = "DO $$BEGIN PERFORM pg_sleep(%s); END$$";
    f.dropOwnConnection = "SELECT pg_terminate_backend(pg_backend_pid())";
    f.longErrorStatement = "do $$ begin raise exception '%', repeat('y', 1000); end $$";
    f.repeatFormat = "repeat('x', %s)";
    f.twoResultBatch = "VALUES (1); VALUES (2), (3)";
    f.twoResultBatchReport = "OK (Elapsed Time: 0 sec., Loaded 1 of 1 total records)";
    // bytea is long binary to psqlODBC (ByteaAsLongVarBinary).
    f.longBinaryType = "BYTEA";
    f.shortBinaryType = "VARCHAR(4)";
    f.binaryLiteralAb = "'ab'";
    f.createRowsProcedure = "CREATE FUNCTION %s() RETURNS TABLE(a integer, b text) AS $$ SELECT 1, "
                            "'one' UNION ALL SELECT 2, 'two' $$ LANGUAGE sql";
    f.dropRowsProcedure = "DROP FUNCTION %s()";
    return f;
}

DriverFacts MariadbFacts() {
    DriverFacts f;
    f.dbmsName = "MariaDB";
    // Databases are catalogs; there are no schemas.
    f.catalogIsDatabase = true;
    f.quote = "`";
    f.isServer = true;
    f.textColumnType = SQL_WVARCHAR;
    f.customerScales = {"id|0|10", "name|NULL|NULL", "city|NULL|NULL", "created|NULL|10"};
    f.primaryKeyName = "PRIMARY";
    f.foreignKeyNames = {"fk_items_order|PRIMARY", "fk_items_product|PRIMARY"};
    f.foreignKeyRule = SQL_RESTRICT;
    // Only grants on the table itself are listed (scripts/test.sh makes some).
    f.granteeOfOrders = "'brindle'@'127.0.0.1'|SELECT|NO";
    f.procedure = "|order_count||" + N(SQL_PT_PROCEDURE);
    f.procedureColumns = {"order_count|cust|" + N(SQL_PARAM_INPUT) + "|" + N(SQL_INTEGER) +
                          "|0|10"};
    f.namedProcedureColumn = {"cust", "int", "PARAM INPUT", ""};
    f.procedureCatalogIsDatabase = true;
    f.listsSystemProcedures = false;
    f.lackedFunction = 0;
    f.integerTypeName = "INTEGER";
    f.varcharTypeName = "VARCHAR";
    f.textIsCaseSensitive = false;
    // Connector/ODBC 3.1 takes SQL_ATTR_QUERY_TIMEOUT but does not enforce it.
    f.dropOwnConnection = "KILL CONNECTION_ID()";
    // Server messages stop at 512 bytes.
    f.repeatFormat = "REPEAT('x', %s)";
    // Several statements in one call need the driver's MULTI_STATEMENTS option.
    // The driver announces no columns for VALUES and leaves its rows unread
    // (ExecutionTest's RowsTheDriverLeavesUnread).
    f.twoResultBatch = "";
    f.twoResultBatchReport = "";
    f.longBinaryType = "LONGBLOB";
    f.shortBinaryType = "VARBINARY(4)";
    f.binaryLiteralAb = "x'6162'";
    f.createRowsProcedure =
        "CREATE PROCEDURE %s() SELECT 1 AS a, 'one' AS b UNION ALL SELECT 2, 'two'";
    f.dropRowsProcedure = "DROP PROCEDURE %s";
    return f;
}

} // namespace

const DriverFacts &FactsOf(const std::string &sourceName) {
    static const DriverFacts sqlite = SqliteFacts();
    static const DriverFacts postgres = PostgresFacts();
    static const DriverFacts mariadb = MariadbFacts();
    if (sourceName == "sqlite")
        return sqlite;
    if (sourceName == "postgres")
        return postgres;
    if (sourceName == "mariadb")
        return mariadb;
    throw std::invalid_argument("no driver facts for " + sourceName);
}

std::vector<std::string> SourcesWhere(bool (*test)(const DriverFacts &)) {
    std::vector<std::string> names;
    for (const std::string &name : TestSourceNames())
        if (test(FactsOf(name)))
            names.push_back(name);
    return names;
}

std::string DatabaseOf(const std::string &connect) {
    size_t start = 0;
    while (start < connect.size()) {
        size_t end = connect.find(';', start);
        if (end == std::string::npos)
            end = connect.size();
        const std::string element = connect.substr(start, end - start);
        std::string key = element.substr(0, element.find('='));
        for (char &c : key)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (key == "DATABASE" && element.find('=') != std::string::npos)
            return element.substr(element.find('=') + 1);
        start = end + 1;
    }
    return {};
}

std::string Formatted(const std::string &format, const std::string &argument) {
    std::string text = format;
    for (size_t at = text.find("%s"); at != std::string::npos;
         at = text.find("%s", at + argument.size()))
        text.replace(at, 2, argument);
    return text;
}
