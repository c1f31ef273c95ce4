#pragma once

#include <string>
#include <vector>

// What the test drivers answer differently, each for a reason ODBC allows (catalog
// or schema, the quote character, what a driver lists or lacks). A test written once
// for every data source reads the difference here instead of asking which driver runs.
struct DriverFacts {
    std::string dbmsName;   // SQL_DBMS_NAME
    bool catalogIsDatabase; // TABLE_CAT holds the connect string's DATABASE
    std::string schema;     // TABLE_SCHEM of the fixture's objects
    std::string quote;      // SQL_IDENTIFIER_QUOTE_CHAR
    bool isServer;          // wants a login; can be made to wait and to drop the connection
    int textColumnType;     // DATA_TYPE of a VARCHAR column (a Unicode driver says WVARCHAR)
    // SCALE|RADIX of customers' columns from SQLColumns; empty: a number for every one.
    std::vector<std::string> customerScales;
    std::string primaryKeyName;               // PK_NAME of order_items; empty: not named
    std::vector<std::string> foreignKeyNames; // FK_NAME|PK_NAME of order_items, sorted
    int foreignKeyRule;                       // UPDATE_RULE and DELETE_RULE of those keys
    std::string bestRowIdOfKeylessTable;      // SQL_BEST_ROWID of audit_log; empty: none
    std::string rowVersionColumn;             // SQL_ROWVER of orders; empty: none
    std::string granteeOfOrders;              // GRANTEE|PRIVILEGE|IS_GRANTABLE; empty: unknown
    // SQLProcedures: order_count as SCHEMA|NAME|REMARKS|TYPE, and its columns as
    // NAME|COLUMN|COLUMN_TYPE|DATA_TYPE|SCALE|RADIX. Empty: the driver lists no procedures.
    std::string procedure;
    std::vector<std::string> procedureColumns;
    // Name|Data|Type|Remarks of order_count's column asked for by the name "cust".
    std::vector<std::string> namedProcedureColumn;
    bool procedureCatalogIsDatabase; // PROCEDURE_CAT holds the DATABASE
    bool listsSystemProcedures;      // the server's own routines come with the user's
    int lackedFunction; // an SQL_API_ id the driver does not offer; 0: it offers them all
    std::string integerTypeName;
    std::string varcharTypeName;
    bool textIsCaseSensitive; // CASE_SENSITIVE of VARCHAR
    // Statements in the server's own dialect; empty where the driver has no such thing.
    // Runs for %s seconds; empty where the driver does not enforce SQL_ATTR_QUERY_TIMEOUT.
    std::string sleepFormat;
    std::string dropOwnConnection;  // the server ends the session that runs it
    std::string longErrorStatement; // fails with a message longer than 1000 bytes
    std::string repeatFormat;       // an expression of %s letters x
    std::string
        twoResultBatch; // one statement text giving rows, run as a direct statement; empty: none
    std::string
        twoResultBatchReport;   // its OK line: its first result shows where the driver has one
    std::string longBinaryType; // a long binary column type and a short one
    std::string shortBinaryType;
    std::string binaryLiteralAb; // the two bytes "ab" as a literal for those columns
    // A procedure %s() returning the rows (1, 'one') and (2, 'two'); empty: none.
    std::string createRowsProcedure;
    std::string dropRowsProcedure;
};

// The facts of "sqlite", "postgres" or "mariadb".
const DriverFacts &FactsOf(const std::string &sourceName);
// The test data sources whose facts pass `test`, for INSTANTIATE_TEST_SUITE_P.
std::vector<std::string> SourcesWhere(bool (*test)(const DriverFacts &));
// The DATABASE element of a connect string ("" when there is none).
std::string DatabaseOf(const std::string &connect);
// `format` with every "%s" replaced by `argument`.
std::string Formatted(const std::string &format, const std::string &argument);
