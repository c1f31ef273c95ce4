#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "connection/ScriptReader.h"

namespace {

std::vector<std::string> Split(const std::string &script) {
    ScriptReader reader{std::string(script)};
    std::vector<std::string> statements;
    std::string statement;
    while (reader.NextStatement(statement)) {
        statements.push_back(statement);
        if (statements.size() > 1000)
            break; // a reader that never ends fails the comparison instead of hanging
    }
    return statements;
}

using Statements = std::vector<std::string>;

struct Case {
    const char *name;
    std::string script;
    Statements expected;
};

TEST(ScriptReaderTest, SplitsScriptsIntoStatements) {
    const Case cases[] = {
        {"empty file", "", {}},
        {"only white space", " \r\n\t\n", {""}},
        {"no final semicolon", "SELECT 1;\r\nSELECT 2", {"SELECT 1", "SELECT 2"}},
        {"two on one line",
         "INSERT INTO t VALUES (1); INSERT INTO t VALUES (2);",
         {"INSERT INTO t VALUES (1)", "INSERT INTO t VALUES (2)"}},
        {"CR LF joins lines with one blank", "SELECT a\r\nFROM t;\r\n", {"SELECT a FROM t", ""}},
        {"lone LF joins lines with one blank", "SELECT a\nFROM t;\n", {"SELECT a FROM t", ""}},
        {"leading white space dropped", "  \r\n\t SELECT 1;", {"SELECT 1"}},
        {"semicolon inside a block comment", "SELECT /* a; b */ 1;", {"SELECT  1"}},
        {"block comment across lines",
         "/* head;\r\n more; */SELECT 1;\r\n/**/DELETE FROM t",
         {"SELECT 1", "DELETE FROM t"}},
        {"REM line ending with a semicolon",
         "REM drop it;\r\nSELECT 1;",
         {"REM drop it; ", "SELECT 1"}},
        {"REM in any case, lone LF", "rem x; y\nSELECT 1;", {"rem x; y", "SELECT 1"}},
        {"REMARK runs to the end of its line", "REMARK x;\nSELECT 1;", {"REMARK x;", "SELECT 1"}},
        {"-- line", "-- note; more\r\nSELECT 1", {"-- note; more ", "SELECT 1"}},
        {"-- after text is dropped before the lines join",
         "SELECT a -- note\r\nFROM t;",
         {"SELECT a FROM t"}},
        {"-- after text, lone LF", "SELECT a--note\nFROM t;", {"SELECT a FROM t"}},
        {"-- on a line of its own inside a statement",
         "SELECT a\r\n  -- note\r\nFROM t;",
         {"SELECT a FROM t"}},
        {"-- after text up to the end of the file", "SELECT 1 -- x", {"SELECT 1"}},
        {"-- ending the statement's last line", "SELECT 1 -- x\r\n;", {"SELECT 1 "}},
        {"--- starts a -- line", "--- x;\nSELECT 1;", {"--- x;", "SELECT 1"}},
        {"block comment marks in a -- comment",
         "SELECT 1 -- /* x\nFROM t; SELECT 2 -- */\n;",
         {"SELECT 1 FROM t", "SELECT 2 "}},
        {"@ line", "@/tmp/a.sql\nSELECT 1;", {"@/tmp/a.sql", "SELECT 1"}},
        {"@ line with CR LF", "@/tmp/a.sql\r\nSELECT 1;", {"@/tmp/a.sql ", "SELECT 1"}},
        {"comments and blank lines only", "/* a */\r\n\r\n/* b;\r\n */\r\n", {""}},
        {"unclosed comment", "SELECT 1; /* never closed", {"SELECT 1", ""}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(Split(c.script), c.expected) << c.name;
}

// A ";" inside a literal must not cut it: the rest would run as a statement of its own.
TEST(ScriptReaderTest, QuotesKeepTheirSemicolons) {
    const Case cases[] = {
        {"literal",
         "INSERT INTO notes VALUES ('cleanup; DELETE FROM orders; done');SELECT 1",
         {"INSERT INTO notes VALUES ('cleanup; DELETE FROM orders; done')", "SELECT 1"}},
        {"doubled quote", "SELECT 'it''s; fine';SELECT 2", {"SELECT 'it''s; fine'", "SELECT 2"}},
        {"identifier",
         "SELECT \"a;b\", 'x\"y;' FROM t;SELECT \"it's;\"",
         {"SELECT \"a;b\", 'x\"y;' FROM t", "SELECT \"it's;\""}},
        {"comment marks in a literal", "SELECT '/* x; */ -- y;';", {"SELECT '/* x; */ -- y;'"}},
        {"quote in a block comment", "SELECT /* it's */ 1;SELECT 2", {"SELECT  1", "SELECT 2"}},
        {"quote in a trailing -- comment",
         "SELECT 1 -- it's\r\n;SELECT 2;",
         {"SELECT 1 ", "SELECT 2"}},
        {"; and a quote in a trailing -- comment",
         "SELECT 1 -- a; it's\nFROM t;SELECT 2;",
         {"SELECT 1 FROM t", "SELECT 2"}},
        {"a -- comment ends with its line",
         "SELECT 1 -- a;\nFROM t;SELECT 'x;y';",
         {"SELECT 1 FROM t", "SELECT 'x;y'"}},
        {"-- in a literal or an identifier is no comment",
         "SELECT '--x', \"a--b\" -- y\nFROM t;",
         {"SELECT '--x', \"a--b\" FROM t"}},
        {"quote in line statements",
         "REM it's\n-- don't\r\n@a'b.sql\nSELECT 1;",
         {"REM it's", "-- don't ", "@a'b.sql", "SELECT 1"}},
        {"unterminated quote runs to the end",
         "SELECT 'open; DELETE FROM t;\nSELECT 2;",
         {"SELECT 'open; DELETE FROM t; SELECT 2;"}},
        {"byte-order mark", "\xEF\xBB\xBFSELECT 1;", {"SELECT 1"}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(Split(c.script), c.expected) << c.name;
}

TEST(ScriptReaderTest, ReadsTheWholeStream) {
    std::string big;
    for (int i = 0; i < 5000; ++i)
        big += "INSERT INTO t VALUES (" + std::to_string(i) + ");\n";
    std::istringstream in(big);
    ScriptReader reader(in);
    std::string statement;
    int count = 0;
    while (reader.NextStatement(statement)) {
        if (!statement.empty()) {
            EXPECT_EQ(statement, "INSERT INTO t VALUES (" + std::to_string(count) + ")");
            ++count;
        }
    }
    EXPECT_EQ(count, 5000);
    EXPECT_FALSE(reader.NextStatement(statement));
    EXPECT_EQ(statement, "");
}

TEST(ScriptReaderTest, KeepsBytesAsTheyAre) {
    // UTF-8 text and a NUL byte pass through; only CR becomes a blank.
    EXPECT_EQ(Split("INSERT INTO t VALUES ('Zo\xC3\xAB, \xE6\x9D\xB1\xE4\xBA\xAC');"),
              Statements{"INSERT INTO t VALUES ('Zo\xC3\xAB, \xE6\x9D\xB1\xE4\xBA\xAC')"});
    EXPECT_EQ(Split(std::string("a\0b;", 4)), Statements{std::string("a\0b", 3)});
}

} // namespace
