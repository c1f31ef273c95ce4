#include <algorithm>
#include <string>
#include <vector>

#include <sqlext.h>

#include "CatalogRecordsetFixture.h"
#include "TestDataSources.h"
#include "catalog/recordsets/CColumnPrivileges.h"
#include "catalog/recordsets/CColumns.h"
#include "catalog/recordsets/CForeignKeys.h"
#include "catalog/recordsets/CPrimaryKeys.h"
#include "catalog/recordsets/CProcedureColumns.h"
#include "catalog/recordsets/CProcedures.h"
#include "catalog/recordsets/CStatistics.h"
#include "catalog/recordsets/CTablePrivileges.h"
#include "catalog/recordsets/CTables.h"
#include "odbc/Recordset.h"

namespace {

using namespace recordset_test;

using Rows = std::vector<std::string>;

// A query through the recordset base, for what no catalog column carries: a
// text longer than a field holds.
class LiteralQuery : public Recordset {
public:
    explicit LiteralQuery(OdbcConnection &connection) : Recordset(connection) {
        BindText(&First, 1);
        BindText(&Second, 2);
    }
    bool Open(const std::string &sql) {
        return OpenWith(SQL_API_SQLEXECDIRECT, OpenType::Snapshot, [&](SQLHSTMT stmt) {
            return SQLExecDirect(stmt, reinterpret_cast<SQLCHAR *>(const_cast<char *>(sql.c_str())),
                                 SQL_NTS);
        });
    }
    std::string First;
    std::string Second;
};

template <class R> void ExpectEmpty(R &rs, const char *what) {
    EXPECT_TRUE(rs.IsEOF()) << what;
    EXPECT_EQ(rs.RecordCount(), 0) << what;
    rs.MoveFirst();
    EXPECT_TRUE(rs.IsEOF()) << what;
    EXPECT_EQ(rs.RecordCount(), 0) << what;
}

// The demo database a newcomer opens first lists its own tables and nothing the
// engine made for itself (ANALYZE would add sqlite_stat1).
TEST(DemoDatabaseTest, ListsOnlyItsOwnTables) {
    const std::string connect = "DRIVER={SQLite3};DATABASE=" + MakeTempDir() + "/demo.db";
    ExecuteSql(connect, ReadSqlFile(FixturePath("../../samples/demo.sql")));
    OdbcConnection demo;
    ASSERT_TRUE(demo.Open(connect, false, nullptr));
    CTables tables(demo);
    ASSERT_TRUE(tables.Open(nullptr, nullptr, nullptr, "'TABLE'"));
    Rows names;
    for (; !tables.IsEOF(); tables.MoveNext())
        names.push_back(tables.TableName);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (Rows{"customers", "order_items", "orders", "products"}));
}

class CatalogEdgeTest : public recordset_test::CatalogRecordsetFixture {};

TEST_P(CatalogEdgeTest, MissingFunctionOpensNothingAndSaysNothing) {
    // Neither test driver offers SQLColumnPrivileges.
    const bool offered = conn.HasFunction(SQL_API_SQLCOLUMNPRIVILEGES);
    CColumnPrivileges privileges(conn);
    bool opened = true;
    EXPECT_NO_THROW(opened = privileges.Open(nullptr, nullptr, "customers", nullptr));
    EXPECT_EQ(opened, offered);
    if (!opened) {
        EXPECT_FALSE(privileges.IsOpen());
        EXPECT_TRUE(privileges.IsEOF());
        EXPECT_EQ(privileges.RecordCount(), 0);
    }
    // The connection is none the worse for it.
    CTables tables(conn);
    ASSERT_TRUE(tables.Open(nullptr, nullptr, "customers", nullptr));
    EXPECT_FALSE(tables.IsEOF());
}

TEST_P(CatalogEdgeTest, EmptyResultsAreOpenAndAtTheirEnd) {
    CTables tables(conn);
    ASSERT_TRUE(tables.Open(nullptr, nullptr, "no_such_table", nullptr));
    ExpectEmpty(tables, "tables");

    CColumns columns(conn);
    ASSERT_TRUE(columns.Open(nullptr, nullptr, "no_such_table", nullptr));
    ExpectEmpty(columns, "columns");

    CPrimaryKeys keys(conn);
    ASSERT_TRUE(keys.Open(nullptr, nullptr, "audit_log"));
    ExpectEmpty(keys, "primary keys of a table without one");

    CForeignKeys foreign(conn);
    ASSERT_TRUE(foreign.Open(nullptr, nullptr, nullptr, nullptr, nullptr, "customers"));
    ExpectEmpty(foreign, "foreign keys of a table without any");

    CStatistics statistics(conn);
    ASSERT_TRUE(statistics.Open(nullptr, nullptr, "audit_log", SQL_INDEX_UNIQUE, SQL_QUICK));
    const Rows indexes = ReadRows(statistics, [](const CStatistics &s) { return s.IndexName; });
    for (const std::string &index : indexes)
        EXPECT_TRUE(index.empty()) << "audit_log has no index, yet " << index;
}

TEST_P(CatalogEdgeTest, LongTextIsCutAt255) {
    std::string text;
    while (text.size() < 300)
        text += std::to_string(text.size() % 10);
    LiteralQuery query(conn);
    ASSERT_TRUE(query.Open("SELECT '" + text + "', 'next'"));
    ASSERT_FALSE(query.IsEOF());
    EXPECT_EQ(query.First, text.substr(0, Recordset::MaxTextLength));
    EXPECT_EQ(query.Second, "next");
    query.MoveNext();
    EXPECT_TRUE(query.IsEOF());
    query.MoveFirst();
    EXPECT_EQ(query.First, text.substr(0, Recordset::MaxTextLength));
    EXPECT_EQ(query.Second, "next");
}

// "_" and "%" in a name are wildcards where the driver reads a pattern; the
// name must still find only the object it spells.
TEST_P(CatalogEdgeTest, NamesFindOnlyTheObjectTheySpell) {
    const auto tableOf = [](const auto &rs) { return rs.TableName; };

    CColumns items(conn);
    ASSERT_TRUE(items.Open(nullptr, nullptr, "order_items", nullptr));
    EXPECT_EQ(
        CountedScan(items, [](const CColumns &c) { return c.TableName + "." + c.ColumnName; }),
        (Rows{"order_items.order_id", "order_items.product_id", "order_items.quantity",
              "order_items.unit_price"}));

    CColumns lookalike(conn);
    ASSERT_TRUE(lookalike.Open(nullptr, nullptr, "order1items", nullptr));
    EXPECT_EQ(ReadRows(lookalike, tableOf), (Rows{"order1items", "order1items"}));

    CColumns oneColumn(conn);
    ASSERT_TRUE(oneColumn.Open(nullptr, nullptr, "order_items", "order_id"));
    EXPECT_EQ(ReadRows(oneColumn, [](const CColumns &c) { return c.ColumnName; }),
              (Rows{"order_id"}));

    CTables tables(conn);
    ASSERT_TRUE(tables.Open(nullptr, nullptr, "order_items", nullptr));
    EXPECT_EQ(ReadRows(tables, tableOf), (Rows{"order_items"}));

    CTables wildcard(conn);
    ASSERT_TRUE(wildcard.Open(nullptr, nullptr, "order%", nullptr));
    EXPECT_TRUE(wildcard.IsEOF()) << "no table is named order%";

    CTablePrivileges privileges(conn);
    ASSERT_TRUE(privileges.Open(nullptr, nullptr, "order_items"));
    const Rows privilegeTables = ReadRows(privileges, tableOf);
    ASSERT_FALSE(privilegeTables.empty());
    for (const std::string &table : privilegeTables)
        EXPECT_EQ(table, "order_items");

    // Plain identifiers go to the driver unchanged.
    CPrimaryKeys keys(conn);
    ASSERT_TRUE(keys.Open(nullptr, nullptr, "order_items"));
    EXPECT_EQ(keys.RecordCount(), 1);
    CStatistics statistics(conn);
    ASSERT_TRUE(statistics.Open(nullptr, nullptr, "order_items", SQL_INDEX_ALL, SQL_QUICK));
    EXPECT_FALSE(statistics.IsEOF());

    // "order%count" would match the function order_count as a pattern.
    CProcedures procedures(conn);
    ASSERT_TRUE(procedures.Open(nullptr, nullptr, "order%count"));
    EXPECT_TRUE(procedures.IsEOF());
    CProcedureColumns parameters(conn);
    ASSERT_TRUE(parameters.Open(nullptr, nullptr, "order%count", nullptr));
    EXPECT_TRUE(parameters.IsEOF());
    if (!Facts().procedure.empty()) {
        CProcedures exact(conn);
        ASSERT_TRUE(exact.Open(nullptr, nullptr, "order_count"));
        EXPECT_EQ(ReadRows(exact, [](const CProcedures &p) { return p.ProcedureName; }),
                  (Rows{"order_count"}));
    }
}

INSTANTIATE_CATALOG_TEST(CatalogEdgeTest);

} // namespace
