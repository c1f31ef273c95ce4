#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "TestDataSources.h"
#include "connection/DsnFileWriter.h"
#include "odbc/ConnectString.h"
#include "odbc/OdbcConnection.h"
#include "odbc/OdbcStatement.h"

#include <sys/stat.h>

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
        {"a value read back as holding a password", "ODBC;OPT={a;PWD=b};UID=u;",
         "[ODBC]\r\nUID=u\r\n"},
        {"a brace inside a value is data", "ODBC;UID=bob{;PWD=se}cret;X={a}}b};",
         "[ODBC]\r\nUID=bob{\r\nX=a}b\r\n"},
        {"no FILEDSN, no empty DSN", "ODBC;FILEDSN=/a/b.dsn;DSN=;Database=/x.db;DSN=Sales;",
         "[ODBC]\r\nDatabase=/x.db\r\nDSN=Sales\r\n"},
        {"a password may hold a line break", "ODBC;PWD={a\r\nb};DSN=x;", "[ODBC]\r\nDSN=x\r\n"},
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

TEST(DsnFileWriterTest, DriverStandsInWhenNoneIsNamed) {
    const std::string fromFile = "ODBC;FILEDSN=/a/b.dsn;DSN=;Database=/x.db;";
    std::ostringstream out;
    ASSERT_TRUE(DsnFileWriter::Write(out, fromFile, "DRIVER=SQLite3"));
    EXPECT_EQ(out.str(), "[ODBC]\r\nDRIVER=SQLite3\r\nDatabase=/x.db\r\n");
    std::ostringstream named;
    ASSERT_TRUE(DsnFileWriter::Write(named, "ODBC;DRIVER={PostgreSQL ANSI};", "DRIVER=SQLite3"));
    EXPECT_EQ(named.str(), "[ODBC]\r\nDRIVER=PostgreSQL ANSI\r\n");

    const std::string dir = MakeTempDir();
    std::ofstream(dir + "/old.dsn") << "[ODBC]\r\nDSN=Sales\r\nDriver = {SQLite3}\r\nUID=u\r\n";
    EXPECT_EQ(DsnFileWriter::DriverOfFile(dir + "/old.dsn"), "Driver = {SQLite3}");
    std::ofstream(dir + "/dsn.dsn") << "[ODBC]\nDSN=\nDSN=Sales\n";
    EXPECT_EQ(DsnFileWriter::DriverOfFile(dir + "/dsn.dsn"), "DSN=Sales");
    // A FIFO would block the read for ever.
    ASSERT_EQ(mkfifo((dir + "/fifo.dsn").c_str(), 0600), 0);
    EXPECT_EQ(DsnFileWriter::DriverOfFile(dir + "/fifo.dsn"), "");
    EXPECT_EQ(DsnFileWriter::DriverOfFile(dir + "/missing.dsn"), "");
}

// A line break in a value would put an element of the value's choosing into the file.
TEST(DsnFileWriterTest, RefusesLineBreaksInValues) {
    const std::string hostile = "ODBC;DSN=a;X={1\r\nDRIVER=/tmp/evil.so};";
    std::ostringstream out;
    EXPECT_FALSE(DsnFileWriter::Write(out, hostile));
    EXPECT_EQ(out.str(), "");
    const std::string path = MakeTempDir() + "/kept.dsn";
    ASSERT_TRUE(DsnFileWriter::WriteFile(path, "ODBC;DSN=Sales;"));
    EXPECT_FALSE(DsnFileWriter::WriteFile(path, hostile));
    EXPECT_EQ(ReadWhole(path), "[ODBC]\r\nDSN=Sales\r\n");
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
    // "[ODBC]" stands for the leading "ODBC"; the password and an empty DSN are left out.
    int expected = 0;
    for (const std::string &element : ConnectString::Elements(connection.ConnectString()))
        expected += !ConnectString::IsPasswordElement(element) && element != "DSN=";
    EXPECT_EQ(count, expected);
}

// A saved file opens again and answers a query, once the password (never
// saved) is given: for a connection made from a driver and from a .dsn.
TEST_P(DsnFileSourceTest, SavedFileReopens) {
    const TestDataSource source = SourceNamed(GetParam());
    const std::string dir = MakeTempDir();
    std::string login;
    std::string firstFile = "[ODBC]\r\n";
    for (const std::string &element : ConnectString::Elements(source.connect)) {
        if (ConnectString::IsPasswordElement(element))
            login = ";" + element;
        else
            firstFile += std::string(ConnectString::Key(element)) + "=" +
                         ConnectString::Value(element) + "\r\n";
    }
    std::ofstream(dir + "/first.dsn", std::ios::binary) << firstFile;

    for (const std::string &start : {source.connect, "FILEDSN=" + dir + "/first.dsn" + login}) {
        SCOPED_TRACE(start.substr(0, 8));
        OdbcConnection first;
        ASSERT_TRUE(first.Open(start, false, nullptr));
        const std::string path = dir + "/saved.dsn";
        ASSERT_TRUE(DsnFileWriter::WriteFile(path, first.ConnectString()));
        first.Close();
        EXPECT_EQ(ReadWhole(path).find("FILEDSN"), std::string::npos) << ReadWhole(path);

        OdbcConnection again;
        ASSERT_TRUE(again.Open("ODBC;FILEDSN=" + path + login, false, nullptr));
        OdbcStatement query(again);
        query.ExecuteDirect("SELECT name FROM customers WHERE id = 2");
        std::string name;
        ASSERT_TRUE(query.Fetch());
        ASSERT_TRUE(query.GetText(1, name));
        EXPECT_EQ(name, "Bob Stone");
    }
}

INSTANTIATE_TEST_SUITE_P(Sources, DsnFileSourceTest, ::testing::ValuesIn(TestSourceNames()));

} // namespace
