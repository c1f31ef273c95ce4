#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <sql.h>
#include <sqlext.h>

#include "DriverFacts.h"
#include "TestDataSources.h"
#include "odbc/ConnectPrompt.h"
#include "odbc/DatabaseError.h"
#include "odbc/OdbcConnection.h"
#include "odbc/OdbcEnvironment.h"

namespace {

// Plays the user's part in the connect dialogs and records what was asked.
class ScriptedPrompt : public ConnectPrompt {
public:
    struct Ask {
        std::string dataSource;
        std::string message;
        std::string user;
    };

    std::optional<std::string> dataSource;
    std::deque<std::optional<Login>> logins; // answered in order, then cancels
    int chooseCalls = 0;
    std::vector<Ask> asks;

    std::optional<std::string> ChooseDataSource() override {
        ++chooseCalls;
        return dataSource;
    }
    std::optional<Login> AskLogin(const std::string &source, const std::string &message,
                                  const std::string &user) override {
        asks.push_back({source, message, user});
        if (logins.empty())
            return std::nullopt;
        std::optional<Login> answer = logins.front();
        logins.pop_front();
        return answer;
    }
};

std::string Upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

// The connection string without its elements named `key` (any case).
std::string WithoutElement(const std::string &connect, const std::string &key) {
    std::string kept;
    size_t start = 0;
    while (start < connect.size()) {
        size_t end = connect.find(';', start);
        if (end == std::string::npos)
            end = connect.size();
        const std::string element = connect.substr(start, end - start);
        if (!element.empty() && Upper(element.substr(0, element.find('='))) != Upper(key))
            kept += element + ";";
        start = end + 1;
    }
    return kept;
}

// The last element of a connection string that ends with ";".
std::string LastElement(const std::string &connect) {
    std::string trimmed = connect;
    if (!trimmed.empty() && trimmed.back() == ';')
        trimmed.pop_back();
    return trimmed.substr(trimmed.rfind(';') + 1) + ";";
}

// A connection string that reaches the data source but is refused.
std::string RefusedConnect(const std::string &source) {
    if (FactsOf(source).isServer)
        return WithoutElement(SourceNamed(source).connect, "PWD") + "PWD=not-the-password;";
    return "DRIVER={SQLite3};DATABASE=" + MakeTempDir() + "/no-such-dir/x.db;NoCreat=1";
}

// The complete string the driver manager answers for `connect`, read without our code.
std::string RawCompleteString(const std::string &connect) {
    SQLHENV env = SQL_NULL_HENV;
    SQLHDBC dbc = SQL_NULL_HDBC;
    SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env);
    SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc);
    std::string in = connect;
    std::vector<SQLCHAR> out(8192, 0);
    SQLSMALLINT length = 0;
    const SQLRETURN rc =
        SQLDriverConnect(dbc, nullptr, reinterpret_cast<SQLCHAR *>(in.data()), SQL_NTS, out.data(),
                         static_cast<SQLSMALLINT>(out.size()), &length, SQL_DRIVER_NOPROMPT);
    std::string result;
    if (SQL_SUCCEEDED(rc)) {
        result.assign(reinterpret_cast<char *>(out.data()), static_cast<size_t>(length));
        SQLDisconnect(dbc);
    }
    SQLFreeHandle(SQL_HANDLE_DBC, dbc);
    SQLFreeHandle(SQL_HANDLE_ENV, env);
    return result;
}

class OdbcConnectionTest : public ::testing::TestWithParam<std::string> {
protected:
    std::string Connect() const { return SourceNamed(GetParam()).connect; }
};

// ---- Open -------------------------------------------------------------------

TEST_P(OdbcConnectionTest, PrefixIsRemovedInAnyCase) {
    for (const std::string prefix : {"ODBC;", "odbc;", "OdBc;"}) {
        OdbcConnection connection;
        ASSERT_TRUE(connection.Open(prefix + Connect(), false, nullptr)) << prefix;
        EXPECT_TRUE(connection.IsOpen());
        EXPECT_NE(connection.Dbc(), nullptr);
        const std::string &complete = connection.ConnectString();
        ASSERT_EQ(complete.rfind("ODBC;", 0), 0u) << complete;
        EXPECT_NE(Upper(complete.substr(5, 5)), "ODBC;") << complete;
    }
}

TEST_P(OdbcConnectionTest, ConnectStringIsTheDriversCompleteString) {
    const std::string answer = RawCompleteString(Connect());
    ASSERT_FALSE(answer.empty());
    OdbcConnection connection;
    ASSERT_TRUE(connection.Open(Connect(), false, nullptr));
    const std::string complete = connection.ConnectString();
    // The driver's whole answer, after the DRIVER element when the answer lacks one.
    ASSERT_EQ(complete.rfind("ODBC;", 0), 0u) << complete;
    ASSERT_GE(complete.size(), 5 + answer.size());
    EXPECT_EQ(complete.substr(complete.size() - answer.size()), answer);
    const std::string added = complete.substr(5, complete.size() - 5 - answer.size());
    if (!added.empty()) {
        EXPECT_EQ(Upper(added), "DRIVER={SQLITE3};") << complete;
    }
    EXPECT_NE(Upper(complete).find("DRIVER="), std::string::npos) << complete;

    // What is kept (and saved as a .dsn) reaches the same data source again.
    OdbcConnection again;
    ASSERT_TRUE(again.Open(complete, false, nullptr));
    EXPECT_EQ(again.ConnectString(), complete);

    connection.Close();
    EXPECT_EQ(connection.ConnectString(), "");
    EXPECT_FALSE(connection.IsOpen());
    EXPECT_EQ(connection.Dbc(), nullptr);
}

TEST_P(OdbcConnectionTest, RefusedConnectionThrowsAndLeavesNothingOpen) {
    ASSERT_FALSE(OdbcEnvironment::IsAllocated()) << "an earlier test left a connection open";
    OdbcConnection connection;
    try {
        connection.Open(RefusedConnect(GetParam()), false, nullptr);
        FAIL() << "a refused connection must throw";
    } catch (const DatabaseError &error) {
        EXPECT_EQ(error.RetCode(), SQL_ERROR);
        ASSERT_FALSE(error.ErrorText().empty());
        EXPECT_EQ(error.ErrorText().back(), '\n');
        EXPECT_EQ(error.FirstState().size(), 5u) << error.StateText();
    }
    EXPECT_FALSE(connection.IsOpen());
    EXPECT_EQ(connection.Dbc(), nullptr);
    EXPECT_EQ(connection.ConnectString(), "");
    EXPECT_FALSE(OdbcEnvironment::IsAllocated());
}

TEST_P(OdbcConnectionTest, FailedReopenClosesTheOldConnection) {
    OdbcConnection connection;
    ASSERT_TRUE(connection.Open(Connect(), false, nullptr));
    EXPECT_THROW(connection.Open(RefusedConnect(GetParam()), false, nullptr), DatabaseError);
    EXPECT_FALSE(connection.IsOpen());
    EXPECT_EQ(connection.ConnectString(), "");
    EXPECT_FALSE(OdbcEnvironment::IsAllocated());
}

TEST(OdbcConnectionPrompt, EmptyStringWithoutPromptIsACancel) {
    for (const std::string connect : {"", "ODBC;", "odbc;"}) {
        OdbcConnection connection;
        EXPECT_FALSE(connection.Open(connect, false, nullptr)) << connect;
        EXPECT_FALSE(connection.IsOpen());
        EXPECT_EQ(connection.Dbc(), nullptr);
        EXPECT_EQ(connection.ConnectString(), "");
        EXPECT_FALSE(OdbcEnvironment::IsAllocated());
    }
}

TEST(OdbcConnectionPrompt, CancelledDataSourceChoiceIsACancel) {
    for (const std::optional<std::string> &answer :
         {std::optional<std::string>(), std::optional<std::string>("")}) {
        ScriptedPrompt prompt;
        prompt.dataSource = answer;
        OdbcConnection connection;
        EXPECT_FALSE(connection.Open("odbc;", false, &prompt));
        EXPECT_EQ(prompt.chooseCalls, 1);
        EXPECT_TRUE(prompt.asks.empty());
        EXPECT_FALSE(connection.IsOpen());
        EXPECT_FALSE(OdbcEnvironment::IsAllocated());
    }
}

TEST(OdbcConnectionPrompt, ChosenDataSourceConnects) {
    ScriptedPrompt prompt;
    prompt.dataSource = SqliteSource().connect;
    OdbcConnection connection;
    ASSERT_TRUE(connection.Open("ODBC;", true, &prompt));
    EXPECT_EQ(prompt.chooseCalls, 1);
    EXPECT_TRUE(connection.IsOpen());
    const std::string &chosen = SqliteSource().connect;
    const std::string path =
        chosen.substr(chosen.find("DATABASE=") + std::string("DATABASE=").size());
    EXPECT_NE(connection.ConnectString().find(path), std::string::npos)
        << connection.ConnectString();
    EXPECT_EQ(connection.InfoText(SQL_DBMS_NAME), "SQLite");
}

TEST(OdbcConnectionPrompt, OtherFailuresAreNotTakenForALoginRefusal) {
    ScriptedPrompt prompt;
    prompt.logins.push_back(ConnectPrompt::Login{"brindle", "brindle"});
    OdbcConnection connection;
    EXPECT_THROW(connection.Open(RefusedConnect("sqlite"), false, &prompt), DatabaseError);
    EXPECT_TRUE(prompt.asks.empty());
    EXPECT_FALSE(connection.IsOpen());
}

// A service that is no database may answer with words about authentication:
// that is a failed connection to report, not a login to ask for.
TEST(OdbcConnectionPrompt, AServiceThatIsNoDatabaseIsNotAskedForALogin) {
    const char *port = std::getenv("BRINDLE_FTP_PORT");
    ASSERT_NE(port, nullptr) << "BRINDLE_FTP_PORT is not set: run the tests with scripts/test.sh";
    ScriptedPrompt prompt;
    prompt.logins.push_back(ConnectPrompt::Login{"brindle", "brindle"});
    OdbcConnection connection;
    EXPECT_THROW(connection.Open("DRIVER={PostgreSQL ANSI};SERVER=127.0.0.1;PORT=" +
                                     std::string(port) + ";DATABASE=x;UID=brindle;CommLog=0",
                                 false, &prompt),
                 DatabaseError);
    EXPECT_TRUE(prompt.asks.empty());
}

// ---- Login retry (the test server wants a password over TCP) ---------------

class OdbcConnectionLogin : public ::testing::Test {
protected:
    static std::string WithoutPassword() { return WithoutElement(PostgresSource().connect, "PWD"); }
    static ConnectPrompt::Login Right() { return {"brindle", "brindle"}; }
    static ConnectPrompt::Login Wrong() { return {"brindle", "wrong"}; }
};

TEST_F(OdbcConnectionLogin, MissingPasswordAsksOnceAndConnects) {
    ScriptedPrompt prompt;
    prompt.logins.push_back(Right());
    OdbcConnection connection;
    ASSERT_TRUE(connection.Open(WithoutPassword(), false, &prompt));
    ASSERT_EQ(prompt.asks.size(), 1u);
    EXPECT_FALSE(prompt.asks[0].message.empty());
    EXPECT_FALSE(prompt.asks[0].dataSource.empty());
    EXPECT_EQ(prompt.chooseCalls, 0);
    EXPECT_TRUE(connection.IsOpen());
    EXPECT_NE(connection.ConnectString().find("UID=brindle"), std::string::npos);
    EXPECT_EQ(connection.InfoText(SQL_DBMS_NAME), "PostgreSQL");
}

TEST_F(OdbcConnectionLogin, CancelledLoginReturnsFalseWithoutThrowing) {
    ScriptedPrompt prompt;
    prompt.logins.push_back(std::nullopt);
    OdbcConnection connection;
    bool opened = true;
    EXPECT_NO_THROW(opened = connection.Open(WithoutPassword(), false, &prompt));
    EXPECT_FALSE(opened);
    EXPECT_EQ(prompt.asks.size(), 1u);
    EXPECT_FALSE(connection.IsOpen());
    EXPECT_EQ(connection.ConnectString(), "");
    EXPECT_FALSE(OdbcEnvironment::IsAllocated());
}

TEST_F(OdbcConnectionLogin, WrongPasswordIsAskedForAgain) {
    ScriptedPrompt prompt;
    prompt.logins = {Wrong(), Wrong(), Right()};
    OdbcConnection connection;
    ASSERT_TRUE(connection.Open(WithoutPassword(), false, &prompt));
    ASSERT_EQ(prompt.asks.size(), 3u);
    for (const ScriptedPrompt::Ask &ask : prompt.asks)
        EXPECT_FALSE(ask.message.empty());
    EXPECT_TRUE(connection.IsOpen());
}

TEST_F(OdbcConnectionLogin, PasswordCannotAddElementsToTheConnectionString) {
    // Unbraced, this answer would read as a wrong password followed by the right one.
    ScriptedPrompt prompt;
    prompt.logins.push_back(ConnectPrompt::Login{"brindle", "x;PWD=brindle"});
    OdbcConnection connection;
    EXPECT_FALSE(connection.Open(WithoutPassword(), false, &prompt));
    EXPECT_EQ(prompt.asks.size(), 2u);
    EXPECT_FALSE(connection.IsOpen());
}

// ---- A complete string longer than the first answer buffer -----------------

TEST(OdbcConnectionLongString, CompleteStringIsNotCut) {
    OdbcConnection plain;
    ASSERT_TRUE(plain.Open(PostgresSource().connect, false, nullptr));
    const std::string lastElement = LastElement(plain.ConnectString());
    plain.Close();

    std::string connect = PostgresSource().connect;
    if (!connect.empty() && connect.back() == ';')
        connect.pop_back();
    const std::string value(1200, 'x');
    OdbcConnection connection;
    ASSERT_TRUE(connection.Open(connect + ";ConnSettings={SET application_name='" + value + "'}",
                                false, nullptr));
    const std::string &complete = connection.ConnectString();
    EXPECT_GT(complete.size(), 1100u);
    EXPECT_GT(complete.size(), static_cast<size_t>(OdbcConnection::ConnectStringBufferSize));
    EXPECT_NE(complete.find(value), std::string::npos) << complete;
    ASSERT_GE(complete.size(), lastElement.size());
    EXPECT_EQ(complete.substr(complete.size() - lastElement.size()), lastElement)
        << "the string was cut: " << complete;
    EXPECT_EQ(connection.InfoText(SQL_DBMS_NAME), "PostgreSQL");
}

// ---- Driver information -----------------------------------------------------

TEST_P(OdbcConnectionTest, InfoOnAnOpenConnection) {
    OdbcConnection connection;
    ASSERT_TRUE(connection.Open(Connect(), false, nullptr));
    bool ok = false;
    EXPECT_EQ(connection.InfoText(SQL_DBMS_NAME, &ok), FactsOf(GetParam()).dbmsName);
    EXPECT_TRUE(ok);
    ok = false;
    EXPECT_GE(connection.InfoU16(SQL_ODBC_API_CONFORMANCE, &ok), SQL_OAC_LEVEL1);
    EXPECT_TRUE(ok);
    ok = false;
    EXPECT_TRUE(connection.InfoU32(SQL_SCROLL_OPTIONS, &ok) & SQL_SO_FORWARD_ONLY);
    EXPECT_TRUE(ok);

    ok = true;
    EXPECT_EQ(connection.InfoText(9999, &ok), "");
    EXPECT_FALSE(ok);
}

TEST_P(OdbcConnectionTest, InfoOnAClosedConnectionFails) {
    OdbcConnection connection;
    for (int round = 0; round < 2; ++round) {
        bool ok = true;
        EXPECT_EQ(connection.InfoText(SQL_DBMS_NAME, &ok), "");
        EXPECT_FALSE(ok);
        ok = true;
        EXPECT_EQ(connection.InfoU16(SQL_ODBC_API_CONFORMANCE, &ok), 0);
        EXPECT_FALSE(ok);
        ok = true;
        EXPECT_EQ(connection.InfoU32(SQL_SCROLL_OPTIONS, &ok), 0u);
        EXPECT_FALSE(ok);
        EXPECT_FALSE(connection.HasFunction(SQL_API_SQLTABLES));
        // Second round: opened once, then closed again.
        ASSERT_TRUE(connection.Open(Connect(), false, nullptr));
        connection.Close();
    }
}

TEST_P(OdbcConnectionTest, HasFunctionAgreesWithTheDriver) {
    OdbcConnection connection;
    ASSERT_TRUE(connection.Open(Connect(), false, nullptr));
    EXPECT_TRUE(connection.HasFunction(SQL_API_SQLTABLES));
    EXPECT_TRUE(connection.HasFunction(SQL_API_SQLEXECDIRECT));
    for (SQLUSMALLINT id : {SQL_API_SQLCOLUMNPRIVILEGES, SQL_API_SQLPROCEDURES,
                            SQL_API_SQLFOREIGNKEYS, SQL_API_SQLTABLEPRIVILEGES}) {
        SQLUSMALLINT exists = SQL_FALSE;
        ASSERT_TRUE(SQL_SUCCEEDED(SQLGetFunctions(connection.Dbc(), id, &exists)));
        EXPECT_EQ(connection.HasFunction(id), exists == SQL_TRUE) << id;
    }
    if (const int lacked = FactsOf(GetParam()).lackedFunction) {
        EXPECT_FALSE(connection.HasFunction(static_cast<SQLUSMALLINT>(lacked)));
    }
}

// ---- Statement options ------------------------------------------------------

SQLULEN QueryTimeoutOf(SQLHSTMT stmt) {
    SQLULEN value = 12345;
    SQLGetStmtAttr(stmt, SQL_ATTR_QUERY_TIMEOUT, &value, 0, nullptr);
    return value;
}

class Statement {
public:
    explicit Statement(SQLHDBC dbc) { SQLAllocHandle(SQL_HANDLE_STMT, dbc, &m_stmt); }
    ~Statement() { SQLFreeHandle(SQL_HANDLE_STMT, m_stmt); }
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;
    SQLHSTMT Handle() const { return m_stmt; }

private:
    SQLHSTMT m_stmt = SQL_NULL_HSTMT;
};

TEST_P(OdbcConnectionTest, StatementOptionsSetTheQueryTimeout) {
    OdbcConnection connection;
    ASSERT_TRUE(connection.Open(Connect(), false, nullptr));

    // Whether this driver reports the timeout back at all (the SQLite driver
    // accepts it and keeps nothing).
    bool reportsBack = false;
    {
        Statement probe(connection.Dbc());
        SQLSetStmtAttr(probe.Handle(), SQL_ATTR_QUERY_TIMEOUT, reinterpret_cast<SQLPOINTER>(3), 0);
        reportsBack = QueryTimeoutOf(probe.Handle()) == 3;
    }
    if (GetParam() == "postgres") {
        ASSERT_TRUE(reportsBack);
    }

    for (unsigned long seconds : {7ul, 11ul}) {
        connection.SetQueryTimeout(seconds);
        Statement stmt(connection.Dbc());
        connection.ApplyStatementOptions(stmt.Handle());
        if (reportsBack) {
            EXPECT_EQ(QueryTimeoutOf(stmt.Handle()), seconds);
        }
        // The statement still runs with the option applied.
        std::string sql = "select 1";
        EXPECT_TRUE(SQL_SUCCEEDED(
            SQLExecDirect(stmt.Handle(), reinterpret_cast<SQLCHAR *>(sql.data()), SQL_NTS)));
    }
}

INSTANTIATE_TEST_SUITE_P(Sources, OdbcConnectionTest, ::testing::ValuesIn(TestSourceNames()),
                         [](const auto &info) { return info.param; });

} // namespace
