#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <sqlext.h>

#include "connection/SyntaxEntries.h"

namespace {

using Texts = std::vector<std::string>;

const char *const kLeftJoin = "{oj table-name LEFT OUTER JOIN table-name ON search-condition}";
const char *const kLeftNested = "{oj table-name LEFT OUTER JOIN outer-join ON search-condition}";
const char *const kRightJoin = "{oj table-name RIGHT OUTER JOIN table-name ON search-condition}";
const char *const kFullJoin = "{oj table-name FULL OUTER JOIN table-name ON search-condition}";
const char *const kFullNested = "{oj table-name FULL OUTER JOIN outer-join ON search-condition}";

TEST(SyntaxEntriesTest, JoinsFollowTheOuterJoinBits) {
    struct Case {
        uint32_t mask;
        Texts expected;
    };
    const Case cases[] = {
        {0, {}},
        {SQL_OJ_LEFT | SQL_OJ_FULL, {kLeftJoin, kFullJoin}},
        {SQL_OJ_FULL | SQL_OJ_LEFT | SQL_OJ_NESTED,
         {kLeftJoin, kLeftNested, kFullJoin, kFullNested}},
        {SQL_OJ_RIGHT | SQL_OJ_NESTED | SQL_OJ_INNER,
         {kRightJoin, "{oj table-name RIGHT OUTER JOIN outer-join ON search-condition}"}},
    };
    for (const Case &c : cases) {
        SyntaxAnswers answers;
        answers.outerJoins = c.mask;
        const SyntaxList joins = SyntaxEntries::Joins(answers);
        EXPECT_EQ(joins.syntax, c.expected) << "mask " << c.mask;
        ASSERT_EQ(joins.descriptions.size(), joins.syntax.size());
    }
    SyntaxAnswers nested;
    nested.outerJoins = SQL_OJ_LEFT | SQL_OJ_NESTED;
    EXPECT_EQ(SyntaxEntries::Joins(nested).descriptions.back(), "Nested outer joins.");
}

TEST(SyntaxEntriesTest, ExistsJoinsTheOperatorsOnlyWithItsBit) {
    struct Case {
        uint32_t subqueries;
        size_t count;
    };
    for (const Case c :
         {Case{SQL_SQ_EXISTS, 28}, Case{SQL_SQ_IN | SQL_SQ_QUANTIFIED, 26}, Case{0, 26}}) {
        SyntaxAnswers answers;
        answers.subqueries = c.subqueries;
        const SyntaxList operators = SyntaxEntries::Operators(answers);
        ASSERT_EQ(operators.syntax.size(), c.count) << "subqueries " << c.subqueries;
        ASSERT_EQ(operators.descriptions.size(), c.count);
        EXPECT_EQ(operators.syntax.back(), c.count == 28 ? "NOT EXISTS" : "IS NOT NULL");
    }
    const SyntaxList operators = SyntaxEntries::Operators({});
    EXPECT_EQ(operators.syntax[6], "= ANY");
    EXPECT_EQ(operators.descriptions[0], "");
    EXPECT_EQ(operators.descriptions[22], "Compares a string expression to a pattern in an SQL "
                                          "expression.");
}

TEST(SyntaxEntriesTest, FunctionsComeGroupByGroupAfterTheAggregates) {
    SyntaxAnswers answers;
    answers.convertFunctions = SQL_FN_CVT_CONVERT;
    answers.numericFunctions = SQL_FN_NUM_PI;
    answers.stringFunctions = SQL_FN_STR_LOCATE_2;
    answers.systemFunctions = SQL_FN_SYS_USERNAME;
    answers.timeDateFunctions = SQL_FN_TD_CURDATE;
    const SyntaxList functions = SyntaxEntries::Functions(answers);
    const Texts expected = {"AVG(expr)",   "COUNT(expr)",
                            "MAX(expr)",   "MIN(expr)",
                            "SUM(expr)",   "{fn CONVERT(value_exp, data_type)}",
                            "{fn PI( )}",  "{fn LOCATE(string_exp1, string_exp2)}",
                            "{fn USER()}", "{fn CURDATE( )}"};
    EXPECT_EQ(functions.syntax, expected);

    // Every bit of every group: the aggregates and all 64 scalar functions, each described.
    SyntaxAnswers all;
    all.convertFunctions = all.numericFunctions = all.stringFunctions = all.systemFunctions =
        all.timeDateFunctions = 0xFFFFFFFF;
    const SyntaxList every = SyntaxEntries::Functions(all);
    EXPECT_EQ(every.syntax.size(), 5u + 1 + 24 + 19 + 3 + 17);
    ASSERT_EQ(every.descriptions.size(), every.syntax.size());
    for (size_t i = 0; i < every.syntax.size(); ++i)
        EXPECT_FALSE(every.descriptions[i].empty()) << every.syntax[i];
    EXPECT_EQ(SyntaxEntries::Functions({}).syntax.size(), 5u);
}

TEST(SyntaxEntriesTest, DateTimeLiteralsFollowTheTypesInDriverOrder) {
    struct Case {
        std::vector<int32_t> types;
        Texts expected;
    };
    const Case cases[] = {
        {{SQL_INTEGER, SQL_DATE, SQL_VARCHAR, SQL_TIMESTAMP},
         {"{d 'yyyy-mm-dd'}", "{ts 'yyyy-mm-dd hh:mm:ss'}"}},
        {{SQL_TYPE_TIMESTAMP, SQL_TYPE_TIME, SQL_TYPE_DATE, SQL_DATE},
         {"{ts 'yyyy-mm-dd hh:mm:ss'}", "{t 'hh:mm:ss'}", "{d 'yyyy-mm-dd'}", "{d 'yyyy-mm-dd'}"}},
        {{101, 113, 100, 114},
         {"{INTERVAL [-|+] 'year_value' YEAR[(interval_prec)]}",
          "{INTERVAL [-|+] 'minute_value:second_value' MINUTE[(interval_prec1)] TO "
          "SECOND[(interval_prec2[, interval_prec3])]}"}},
    };
    for (const Case &c : cases) {
        SyntaxAnswers answers;
        answers.dataTypes = c.types;
        EXPECT_EQ(SyntaxEntries::DateTimeLiterals(answers).syntax, c.expected);
    }
}

TEST(SyntaxEntriesTest, EscapesNeedAnExactYes) {
    for (const char *answer : {"Y", "N", "y", "", "Yes"}) {
        SyntaxAnswers answers;
        answers.procedures = answers.likeEscapeClause = answer;
        const bool yes = std::string(answer) == "Y";
        EXPECT_EQ(SyntaxEntries::ProcedureCallEscape(answers),
                  yes ? "{[?=]call procedure-name[([parameter][,[parameter]]...)]}" : "");
        EXPECT_EQ(SyntaxEntries::LikeEscape(answers), yes ? "{escape 'escape-character'}" : "");
    }
}

} // namespace
