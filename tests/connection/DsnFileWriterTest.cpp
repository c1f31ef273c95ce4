#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "TestDataSources.h"
#include "connection/ConnectString.h"
#include "connection/DsnFileWriter.h"
#include "odbc/OdbcConnection.h"

#include <sqlext.h>

namespace {

std::string Written(const std::string &connect) {
    std::ostringstream out;
    EXPECT_TRUE(DsnFileWriter::Write(out, connect));
    return out.str();
}

std::string ReadWhole(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct DsnCase {
    const char *what;
    const char *connect;
    const char *expected;
};

TEST(DsnFileWriterTest, WritesOneLinePerElement) {
    const DsnCase cases[] = {
        {"the classic example", "ODBC;DSN=Sales;UID=sa;PWD=secret;DATABASE=pubs;",
         "[ODBC]\r\nDSN=Sales\r\nUID=sa\r\nDATABASE=pubs\r\n"},
        {"password in any case", "ODBC;pwd=a;Pwd=b;PWD=c;PWDX=d;Password=e;UID=u;",
         "[ODBC]\r\nUID=u\r\n"},
        {"braced value with ;", "ODBC;DRIVER={My;Driver};SERVER=h;",
         "[ODBC]\r\nDRIVER=My;Driver\r\nSERVER=h\r\n"},
        {"braced password with ;", "ODBC;PWD={se;cret};UID=u;", "[ODBC]\r\nUID=u\r\n"},
        {"password inside braces is a value", "ODBC;OPT={a;PWD=b};UID=u;",
         "[ODBC]\r\nOPT=a;PWD=b\r\nUID=u\r\n"},
        {"final element without ;", "ODBC;DSN=Sales;DATABASE=pubs",
         "[ODBC]\r\nDSN=Sales\r\nDATABASE=pubs\r\n"},
        {"final password without ;",
         "ODBC;DSN=x;Database=/tmp/x.db;PWD=", "[ODBC]\r\nDSN=x\r\nDatabase=/tmp/x.db\r\n"},
        {"a later key starting with ODBC", "ODBC;DSN=a;ODBCTrace=1;",
         "[ODBC]\r\nDSN=a\r\nODBCTrace=1\r\n"},
        {"nothing but the marker", "ODBC;", "[ODBC]\r\n"},
    };
    for (const DsnCase &c : cases)
        EXPECT_EQ(Written(c.connect), c.expected) << c.what;
}

TEST(DsnFileWriterTest, LongConnectStringIsWrittenWhole) {
    std::string connect = "ODBC;DRIVER={PostgreSQL ANSI};";
    std::string expected = "[ODBC]\r\nDRIVER=PostgreSQL ANSI\r\n";
    for (int i = 0; i < 60; ++i) {
        const std::string number = std::to_string(i);
        const std::string element =
            std::string("Option").append(number).append("=value").append(number);
        connect += element + ";";
        expected += element + "\r\n";
    }
    connect += "PWD=secret;LastOne=end";
    expected += "LastOne=end\r\n";
    ASSERT_GT(connect.size(), 512u);
    EXPECT_EQ(Written(connect), expected);
}

TEST(DsnFileWriterTest, WriteFileReportsFailure) {
    const std::string dir = MakeTempDir();
    const std::string path = dir + "/sales.dsn";
    ASSERT_TRUE(DsnFileWriter::WriteFile(path, "ODBC;DSN=Sales;PWD=x"));
    EXPECT_EQ(ReadWhole(path), "[ODBC]\r\nDSN=Sales\r\n");
    // Saving again replaces the file rather than adding to it.
    ASSERT_TRUE(DsnFileWriter::WriteFile(path, "ODBC;DSN=Other;"));
    EXPECT_EQ(ReadWhole(path), "[ODBC]\r\nDSN=Other\r\n");
    EXPECT_FALSE(DsnFileWriter::WriteFile(dir + "/missing/sales.dsn", "ODBC;DSN=Sales;"));
    EXPECT_FALSE(DsnFileWriter::WriteFile(dir, "ODBC;DSN=Sales;"));
    if (std::ifstream("/dev/full")) {
        std::string big = "ODBC;";
        for (int i = 0; i < 20000; ++i)
            big.append("K").append(std::to_string(i)).append("=v;");
        EXPECT_FALSE(DsnFileWriter::WriteFile("/dev/full", big));
    }
}

class DsnFileSourceTest : public ::testing::TestWithParam<std::string> {};

// What the driver manager really returned is saved without its password.
TEST_P(DsnFileSourceTest, SavesRealConnectStringWithoutPassword) {
    const TestDataSource source = SourceNamed(GetParam());
    OdbcConnection connection;
    ASSERT_TRUE(connection.Open(source.connect, false, nullptr));
    const std::string path = MakeTempDir() + "/saved.dsn";
    ASSERT_TRUE(DsnFileWriter::WriteFile(path, connection.ConnectString()));
    const std::string text = ReadWhole(path);
    ASSERT_EQ(text.rfind("[ODBC]\r\n", 0), 0u) << text;
    ASSERT_GE(text.size(), 2u);
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
    std::istringstream lines(text);
    std::string line;
    int count = 0;
    while (std::getline(lines, line, '\n')) {
        ++count;
        ASSERT_FALSE(line.empty());
        EXPECT_EQ(line.back(), '\r') << "bare LF in " << text;
        EXPECT_FALSE(ConnectString::IsPasswordElement(line)) << line;
    }
    EXPECT_EQ(count, static_cast<int>(ConnectString::Elements(connection.ConnectString()).size()) -
                         1 /* the password */);
}

// A saved file opens again, once the password (never saved) is given.
TEST_P(DsnFileSourceTest, SavedFileReopens) {
    const TestDataSource source = SourceNamed(GetParam());
    std::string login;
    for (const std::string &element : ConnectString::Elements(source.connect)) {
        if (ConnectString::IsPasswordElement(element))
            login = ";" + element;
    }
    OdbcConnection first;
    ASSERT_TRUE(first.Open(source.connect, false, nullptr));
    const std::string dbms = first.InfoText(SQL_DBMS_NAME);
    const std::string path = MakeTempDir() + "/reopen.dsn";
    ASSERT_TRUE(DsnFileWriter::WriteFile(path, first.ConnectString()));
    first.Close();

    OdbcConnection again;
    ASSERT_TRUE(again.Open("ODBC;FILEDSN=" + path + login, false, nullptr));
    EXPECT_EQ(again.InfoText(SQL_DBMS_NAME), dbms);
}

INSTANTIATE_TEST_SUITE_P(Sources, DsnFileSourceTest, ::testing::ValuesIn(TestSourceNames()));

} // namespace
