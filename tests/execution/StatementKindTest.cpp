#include <gtest/gtest.h>

#include "connection/StatementKind.h"

namespace {

struct Case {
    const char *text;
    StatementKind kind;
};

TEST(StatementKindTest, ClassifiesByTheFirstCharactersOfTheTrimmedText) {
    const Case cases[] = {
        {"", StatementKind::Empty},
        {" \t\r\n\v\f", StatementKind::Empty},
        {"SELECT", StatementKind::Query},
        {"  \t\r\n select * from t", StatementKind::Query},
        {"\v\fSeLeCt 1", StatementKind::Query},
        {"SELECTED", StatementKind::Query},
        {"{call p}", StatementKind::Query},
        {"{CALL p}", StatementKind::Query},
        {"{?=call f}", StatementKind::Query},
        {"{ call p}", StatementKind::Other},
        {"{?= call f}", StatementKind::Other},
        {"{CAL", StatementKind::Other},
        {"sel", StatementKind::Other},
        {"SELEC", StatementKind::Other},
        {"(select 1)", StatementKind::Other},
        {"REM", StatementKind::Comment},
        {"rem anything", StatementKind::Comment},
        {"REMARK", StatementKind::Comment},
        {"Remove all", StatementKind::Comment},
        {"RE", StatementKind::Other},
        {"--", StatementKind::Comment},
        {"  -- note", StatementKind::Comment},
        {"-1", StatementKind::Other},
        {"@", StatementKind::Script},
        {" @/tmp/a.sql", StatementKind::Script},
        {"update t set a = 1", StatementKind::Other},
        {"\xC3\xA9SELECT", StatementKind::Other},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ClassifyStatement(c.text), c.kind) << '"' << c.text << '"';
}

TEST(StatementKindTest, LeftTrimKeepsTrailingCharacters) {
    EXPECT_EQ(LeftTrimmed(" \t\r\n\v\fSELECT 1 \r\n"), "SELECT 1 \r\n");
    EXPECT_EQ(LeftTrimmed("   "), "");
    // Only the six blanks count: a NUL or a non-breaking space stays.
    EXPECT_EQ(LeftTrimmed(std::string_view("\0x", 2)), std::string_view("\0x", 2));
    EXPECT_EQ(LeftTrimmed("\xC2\xA0x"), "\xC2\xA0x");
}

} // namespace
