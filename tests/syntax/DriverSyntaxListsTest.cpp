#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <sqlext.h>

#include "TestDataSources.h"
#include "connection/CDriverInfo.h"
#include "odbc/OdbcConnection.h"

namespace {

bool Lists(const SyntaxList &list, const std::string &syntax) {
    return std::find(list.syntax.begin(), list.syntax.end(), syntax) != list.syntax.end();
}

// Asked here with plain calls, not through the code under test.
SQLUINTEGER Mask(SQLHDBC dbc, SQLUSMALLINT type) {
    SQLUINTEGER value = 0;
    return SQL_SUCCEEDED(SQLGetInfo(dbc, type, &value, sizeof value, nullptr)) ? value : 0;
}

std::string Answer(SQLHDBC dbc, SQLUSMALLINT type) {
    char text[200] = {};
    SQLSMALLINT length = 0;
    return SQL_SUCCEEDED(SQLGetInfo(dbc, type, text, sizeof text, &length)) ? text : "";
}

// Each entry is listed exactly when the driver sets its bit, and the two
// drivers, answering differently, get different lists.
TEST(DriverSyntaxListsTest, ListsFollowEachDriversAnswers) {
    struct Probe {
        SQLUSMALLINT info;
        SQLUINTEGER bit;
        const SyntaxList &(CDriverInfo::*list)() const noexcept;
        const char *syntax;
    };
    const Probe probes[] = {
        {SQL_SUBQUERIES, SQL_SQ_EXISTS, &CDriverInfo::Operators, "NOT EXISTS"},
        {SQL_OJ_CAPABILITIES, SQL_OJ_LEFT, &CDriverInfo::Joins,
         "{oj table-name LEFT OUTER JOIN table-name ON search-condition}"},
        {SQL_OJ_CAPABILITIES, SQL_OJ_FULL, &CDriverInfo::Joins,
         "{oj table-name FULL OUTER JOIN table-name ON search-condition}"},
        {SQL_CONVERT_FUNCTIONS, SQL_FN_CVT_CONVERT, &CDriverInfo::Functions,
         "{fn CONVERT(value_exp, data_type)}"},
        {SQL_NUMERIC_FUNCTIONS, SQL_FN_NUM_MOD, &CDriverInfo::Functions,
         "{fn MOD(integer_exp1, integer_exp2)}"},
        {SQL_STRING_FUNCTIONS, SQL_FN_STR_LOCATE_2, &CDriverInfo::Functions,
         "{fn LOCATE(string_exp1, string_exp2)}"},
        {SQL_SYSTEM_FUNCTIONS, SQL_FN_SYS_IFNULL, &CDriverInfo::Functions,
         "{fn IFNULL(exp, value)}"},
        {SQL_TIMEDATE_FUNCTIONS, SQL_FN_TD_NOW, &CDriverInfo::Functions, "{fn NOW( )}"},
    };

    std::vector<std::vector<std::string>> functions;
    for (const std::string &name : TestSourceNames()) {
        SCOPED_TRACE(name);
        OdbcConnection connection;
        ASSERT_TRUE(connection.Open(SourceNamed(name).connect, false, nullptr));
        const CDriverInfo info(connection);
        for (const Probe &probe : probes) {
            const bool set = Mask(connection.Dbc(), probe.info) & probe.bit;
            EXPECT_EQ(Lists((info.*probe.list)(), probe.syntax), set) << probe.syntax;
        }
        EXPECT_EQ(info.ProcedureCallEscape().empty(),
                  Answer(connection.Dbc(), SQL_PROCEDURES) != "Y");
        EXPECT_EQ(info.LikeEscape().empty(),
                  Answer(connection.Dbc(), SQL_LIKE_ESCAPE_CLAUSE) != "Y");
        // Every fixture has date and timestamp columns; the date type comes first.
        ASSERT_FALSE(info.DateTimeLiterals().syntax.empty());
        EXPECT_EQ(info.DateTimeLiterals().syntax.front(), "{d 'yyyy-mm-dd'}");
        EXPECT_TRUE(Lists(info.DateTimeLiterals(), "{ts 'yyyy-mm-dd hh:mm:ss'}"));
        EXPECT_EQ(info.OperatorTexts(), info.Operators().syntax);
        functions.push_back(info.Functions().syntax);

        connection.Close();
        const CDriverInfo closed(connection);
        EXPECT_TRUE(closed.Functions().syntax.empty());
        EXPECT_TRUE(closed.Operators().syntax.empty());
        EXPECT_TRUE(closed.DateTimeLiterals().syntax.empty());
    }
    // The drivers answer differently, so their lists differ.
    ASSERT_EQ(functions.size(), TestSourceNames().size());
    for (size_t i = 1; i < functions.size(); ++i)
        EXPECT_NE(functions[i - 1], functions[i]) << i;
}

} // namespace
