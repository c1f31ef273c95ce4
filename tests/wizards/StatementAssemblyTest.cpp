#include <tuple>

#include <gtest/gtest.h>

#include "wizards/QueryStatement.h"
#include "wizards/SqlIdentifier.h"
#include "wizards/TableStatement.h"

namespace {

TEST(StatementAssemblyTest, SelectClausesAndStatement) {
    // The full worked example: every clause, two blanks after WHERE and HAVING.
    QueryStatement full;
    full.tableList = QueryStatement::TableList({{"t", ""}});
    full.selectList = QueryStatement::SelectList({{"t.a", ""}, {"t.b", "x"}}, true);
    full.searchCondition =
        ConditionRow::ListText({{"", "t.a", "=", "1"}, {"AND", "t.b", ">", "2"}});
    std::tie(full.groupColumns, full.groupCriteria) =
        QueryStatement::Grouping({"t.a"}, {{"", "t.a", "<>", "3"}});
    full.sortList = QueryStatement::SortList({{"t.a", "DESC"}});
    EXPECT_EQ(full.Text(), "SELECT DISTINCT t.a, t.b AS x FROM t WHERE  (t.a = 1) AND (t.b > 2)  "
                           "GROUP BY t.a HAVING  (t.a <> 3)  ORDER BY t.a DESC");

    struct Case {
        const char *what;
        std::string got;
        std::string expected;
    };
    QueryStatement bare;
    bare.tableList = "t";
    bare.selectList = QueryStatement::SelectList({}, true);
    std::tie(bare.groupColumns, bare.groupCriteria) =
        QueryStatement::Grouping({}, {{"", "a", "=", "1"}});
    const Case cases[] = {
        {"table list", QueryStatement::TableList({{"orders", "o"}, {"items", ""}}),
         "orders o, items"},
        {"empty expression 2", ConditionRow::ListText({{"", "x", "IS NULL", ""}}),
         " (x IS NULL ) "},
        {"no select list, Distinct, criteria without group columns", bare.Text(),
         "SELECT * FROM t"},
        {"no table list", QueryStatement().Text(), ""},
        {"sort rows", QueryStatement::SortList({{"a", ""}, {"b", "DESC"}}), "a, b DESC"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(c.got, c.expected) << c.what;
}

TEST(StatementAssemblyTest, QualifiersComeFromJoinsAliasesAndTexts) {
    const std::vector<std::string> tables = {"orders", "items", "customers"};
    EXPECT_EQ(QueryStatement::Qualifiers(
                  {{"{oj orders LEFT OUTER JOIN items ON orders.id = items.oid}", ""}}, tables),
              (std::vector<std::string>{"orders", "items"}));
    // A table at the very start of a join text is not found; aliases win; duplicates stay.
    EXPECT_EQ(QueryStatement::Qualifiers({{"orders LEFT OUTER JOIN items ON x", "z"},
                                          {"customers", "cu"},
                                          {"items", ""},
                                          {"left outer join customers ", ""}},
                                         tables),
              (std::vector<std::string>{"items", "cu", "items", "left outer join customers "}));
}

TEST(StatementAssemblyTest, TableStatementsByTheirFormats) {
    struct Case {
        TableStatement::Kind kind;
        std::vector<TwoCellRow> rows;
        std::vector<ConditionRow> where;
        std::string expected;
    };
    using K = TableStatement::Kind;
    const Case cases[] = {
        {K::CreateTable,
         {{"id", "INTEGER"}, {"name", "VARCHAR(40)"}},
         {},
         "CREATE TABLE t (id INTEGER, name VARCHAR(40))"},
        {K::DropTable, {}, {}, "DROP TABLE t"},
        {K::Insert, {{"id", "1"}, {"name", "'x'"}}, {}, "INSERT INTO t (id, name) VALUES (1, 'x')"},
        {K::Insert, {{"", "1"}, {"", "2"}}, {}, "INSERT INTO t  VALUES (1, 2)"},
        {K::Insert,
         {{"", "1"}, {"x", "2"}, {"", "3"}, {"y", "4"}},
         {},
         "INSERT INTO t (x, , y) VALUES (1, 2, 3, 4)"},
        {K::Update,
         {{"price", "price * 2"}},
         {{"", "id", "=", "5"}},
         "UPDATE t SET price = price * 2 WHERE  (id = 5) "},
        {K::Update, {{"a", "1"}, {"b", "2"}}, {}, "UPDATE t SET a = 1, b = 2 "},
        {K::Delete, {}, {}, "DELETE FROM t "},
    };
    for (const Case &c : cases) {
        TableStatement statement;
        statement.kind = c.kind;
        statement.table = "t";
        statement.SetColumnRows(c.rows);
        statement.where = TableStatement::WhereClause(c.where);
        EXPECT_EQ(statement.Text(), c.expected);
    }
}

TEST(StatementAssemblyTest, NamesThatNeedItAreQuoted) {
    const SqlIdentifier identifier("\"", "LIMIT,ILIKE, Analyse");
    const std::pair<std::string, std::string> cases[] = {
        {"orders", "orders"},
        {"Order_Items2", "Order_Items2"},
        {"order items", "\"order items\""},
        {"Order", "\"Order\""},
        {"odd\"name", "\"odd\"\"name\""},
        {"2nd", "\"2nd\""},
        {"limit", "\"limit\""},     // the driver's keyword
        {"analyse", "\"analyse\""}, // blanks around the driver's words do not count
        {"", ""},
    };
    for (const auto &[name, written] : cases) {
        EXPECT_EQ(identifier.Written(name), written) << name;
        EXPECT_EQ(identifier.Bare(written), name) << written;
    }
    // A driver that does not quote keeps every name bare.
    EXPECT_EQ(SqlIdentifier(" ", "").Written("order items"), "order items");
    EXPECT_EQ(SqlIdentifier("`", "").Written("Order"), "`Order`");
}

} // namespace
