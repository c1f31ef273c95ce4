#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "TestDataSources.h"
#include "odbc/ConnectString.h"
#include "odbc/OdbcConnection.h"

namespace {

struct NameCase {
    const char *connect;
    const char *databaseName;
    const char *expected;
};

TEST(ConnectStringTest, DataSourceNameFromConnectStringOrDatabase) {
    const NameCase cases[] = {
        {"ODBC;DSN=Sales;UID=sa;", "pubs", "Sales"},
        // The first "DSN=" may be the tail of "FILEDSN=".
        {"ODBC;FILEDSN=/home/me/sales.dsn;DSN=;UID=sa;", "", "/home/me/sales.dsn"},
        // Nothing follows the name: no ";" closes it.
        {"ODBC;UID=sa;DSN=Sales", "pubs", "Default"},
        {"ODBC;DSN=;Database=/tmp/x.db;", "x.db", "Default"},
        // "DSN=" is looked for with case.
        {"ODBC;dsn=Sales;", "pubs", "pubs"},
        {"ODBC;DRIVER={SQLite3};", "", "Default"},
        {"ODBC;DRIVER={SQLite3};", "C:\\data\\orders.mdb", "orders.mdb"},
        {"ODBC;DRIVER={SQLite3};", "/var/lib/data/orders.db", "orders.db"},
        {"ODBC;DRIVER={SQLite3};", "C:\\mixed/dir\\orders.db", "orders.db"},
        {"ODBC;DRIVER={SQLite3};", "/var/lib/data/", "Default"},
    };
    for (const NameCase &c : cases) {
        EXPECT_EQ(ConnectString::DataSourceName(c.connect, c.databaseName), c.expected)
            << c.connect << " / " << c.databaseName;
    }
}

TEST(ConnectStringTest, ElementsKeepBracedSemicolons) {
    using List = std::vector<std::string>;
    EXPECT_EQ(ConnectString::Elements("ODBC;DSN=a;UID=b"), (List{"ODBC", "DSN=a", "UID=b"}));
    EXPECT_EQ(ConnectString::Elements("ODBC;DRIVER={x;y};UID=b;"),
              (List{"ODBC", "DRIVER={x;y}", "UID=b"}));
    // "}}" inside braces is a literal "}".
    EXPECT_EQ(ConnectString::Elements("PWD={a}};b};UID=c"), (List{"PWD={a}};b}", "UID=c"}));
    // An unclosed brace shields nothing.
    EXPECT_EQ(ConnectString::Elements("X={a;PWD=s;Y=1"), (List{"X={a", "PWD=s", "Y=1"}));
    // Only a "{" that starts a value opens a brace.
    EXPECT_EQ(ConnectString::Elements("UID=bob{;PWD=se}cret"), (List{"UID=bob{", "PWD=se}cret"}));
    EXPECT_EQ(ConnectString::Elements("A{=x;y}=1"), (List{"A{=x", "y}=1"}));
    EXPECT_EQ(ConnectString::Elements(";;A=1;;"), (List{"A=1"}));
    EXPECT_TRUE(ConnectString::Elements("").empty());
}

TEST(ConnectStringTest, PasswordElements) {
    for (const char *element :
         {"PWD=x", "pwd=x", "Pwd={a;b}", "PWDX=1", " PWD=x", "PWD", "Password=x", "PASSWORD = x"}) {
        EXPECT_TRUE(ConnectString::IsPasswordElement(element)) << element;
    }
    for (const char *element : {"UID=PWD", "PW=x", "PasswordHint=x", "DSN=pwd", ""})
        EXPECT_FALSE(ConnectString::IsPasswordElement(element)) << element;
}

TEST(ConnectStringTest, MaskPasswordHidesValueAndLength) {
    EXPECT_EQ(ConnectString::MaskPassword("ODBC;DSN=a;UID=sa;PWD=secret;DATABASE=p;"),
              "ODBC;DSN=a;UID=sa;PWD=*****;DATABASE=p;");
    EXPECT_EQ(ConnectString::MaskPassword("ODBC;pwd={se;cret};Password=x"),
              "ODBC;pwd=*****;Password=*****");
    EXPECT_EQ(ConnectString::MaskPassword("ODBC;DSN=a;PWD="), "ODBC;DSN=a;PWD=*****");
    EXPECT_EQ(ConnectString::MaskPassword("ODBC;DSN=a;UID=b"), "ODBC;DSN=a;UID=b");
    EXPECT_EQ(ConnectString::MaskPassword("ODBC;UID=bob{;PWD=se}cret"), "ODBC;UID=bob{;PWD=*****");
}

TEST(ConnectStringTest, KeyAndValue) {
    const struct {
        const char *element, *key, *value;
    } cases[] = {
        {" DRIVER ={My;Dri}}ver}", "DRIVER", "My;Dri}ver"},
        {"UID=bob{", "UID", "bob{"},
        {"X={a", "X", "{a"},
        {"X={a}b", "X", "ab"},
        {"ODBC", "ODBC", ""},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(ConnectString::Key(c.element), c.key) << c.element;
        EXPECT_EQ(ConnectString::Value(c.element), c.value) << c.element;
    }
}

class ConnectStringSourceTest : public ::testing::TestWithParam<std::string> {};

TEST_P(ConnectStringSourceTest, NamesAnOpenConnectionOnly) {
    const TestDataSource source = SourceNamed(GetParam());
    OdbcConnection connection;
    ASSERT_TRUE(connection.Open(source.connect, false, nullptr));
    const std::string name = ConnectString::DataSourceName(connection);
    if (GetParam() == "sqlite") {
        // The SQLite driver answers "DSN=;" for a driver connection.
        EXPECT_EQ(name, "Default");
    } else {
        // psqlODBC and MariaDB return no DSN key: the database name stands in.
        std::string database;
        for (const std::string &element : ConnectString::Elements(source.connect)) {
            if (element.rfind("DATABASE=", 0) == 0)
                database = element.substr(9);
        }
        ASSERT_FALSE(database.empty()) << "the server test source names no DATABASE";
        EXPECT_EQ(name, database);
    }
    connection.Close();
    EXPECT_EQ(ConnectString::DataSourceName(connection), "[No Data Source Selected]");
}

INSTANTIATE_TEST_SUITE_P(Sources, ConnectStringSourceTest, ::testing::ValuesIn(TestSourceNames()));

} // namespace
