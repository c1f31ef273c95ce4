#include <string>

#include <gtest/gtest.h>
#include <sql.h>
#include <sqlext.h>

#include "TestDataSources.h"
#include "odbc/OdbcConnection.h"
#include "odbc/OdbcEnvironment.h"

namespace {

// Runs `sql` on the connection and returns the first column of its first row
// ("<error>" when the statement fails, "<no row>" when there is none).
std::string FirstValue(SQLHDBC dbc, std::string sql) {
    SQLHSTMT stmt = SQL_NULL_HSTMT;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, dbc, &stmt)))
        return "<error>";
    std::string result = "<error>";
    if (SQL_SUCCEEDED(SQLExecDirect(stmt, reinterpret_cast<SQLCHAR *>(sql.data()), SQL_NTS))) {
        char buffer[256] = {};
        SQLLEN indicator = 0;
        const SQLRETURN rc = SQLFetch(stmt);
        if (rc == SQL_NO_DATA)
            result = "<no row>";
        else if (SQL_SUCCEEDED(rc) &&
                 SQL_SUCCEEDED(SQLGetData(stmt, 1, SQL_C_CHAR, buffer, sizeof buffer, &indicator)))
            result = indicator == SQL_NULL_DATA ? "<null>" : buffer;
    }
    SQLFreeHandle(SQL_HANDLE_STMT, stmt);
    return result;
}

bool Execute(SQLHDBC dbc, std::string sql) {
    SQLHSTMT stmt = SQL_NULL_HSTMT;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, dbc, &stmt)))
        return false;
    const SQLRETURN rc = SQLExecDirect(stmt, reinterpret_cast<SQLCHAR *>(sql.data()), SQL_NTS);
    SQLFreeHandle(SQL_HANDLE_STMT, stmt);
    return SQL_SUCCEEDED(rc);
}

TEST(OdbcEnvironmentLifetime, SharedBySourcesSideBySideAndFreedWithTheLast) {
    ASSERT_FALSE(OdbcEnvironment::IsAllocated()) << "an earlier test left a connection open";
    {
        OdbcConnection sqlite;
        ASSERT_TRUE(sqlite.Open(SqliteSource().connect, false, nullptr));
        EXPECT_TRUE(OdbcEnvironment::IsAllocated());

        OdbcConnection postgres;
        ASSERT_TRUE(postgres.Open(PostgresSource().connect, false, nullptr));
        EXPECT_TRUE(OdbcEnvironment::IsAllocated());
        EXPECT_EQ(sqlite.Env(), postgres.Env());
        EXPECT_NE(sqlite.Dbc(), postgres.Dbc());

        // Each connection sees its own session: a temporary table on each.
        ASSERT_TRUE(Execute(sqlite.Dbc(), "create temp table side (v varchar(20))"));
        ASSERT_TRUE(Execute(postgres.Dbc(), "create temp table side (v varchar(20))"));
        ASSERT_TRUE(Execute(sqlite.Dbc(), "insert into side values ('from sqlite')"));
        ASSERT_TRUE(Execute(postgres.Dbc(), "insert into side values ('from postgres')"));
        EXPECT_EQ(FirstValue(sqlite.Dbc(), "select v from side"), "from sqlite");
        EXPECT_EQ(FirstValue(postgres.Dbc(), "select v from side"), "from postgres");
        EXPECT_EQ(FirstValue(sqlite.Dbc(), "select name from customers where id = 2"), "Bob Stone");
        EXPECT_EQ(sqlite.InfoText(SQL_DBMS_NAME), "SQLite");
        EXPECT_EQ(postgres.InfoText(SQL_DBMS_NAME), "PostgreSQL");

        sqlite.Close();
        EXPECT_TRUE(OdbcEnvironment::IsAllocated());
        EXPECT_EQ(FirstValue(postgres.Dbc(), "select name from customers where id = 2"),
                  "Bob Stone");
        postgres.Close();
        EXPECT_FALSE(OdbcEnvironment::IsAllocated());
    }
    EXPECT_FALSE(OdbcEnvironment::IsAllocated());
}

TEST(OdbcEnvironmentLifetime, AllocatedAgainAfterBeingFreed) {
    ASSERT_FALSE(OdbcEnvironment::IsAllocated()) << "an earlier test left a connection open";
    for (int round = 0; round < 2; ++round) {
        {
            OdbcConnection connection;
            ASSERT_TRUE(connection.Open(SqliteSource().connect, false, nullptr));
            EXPECT_TRUE(OdbcEnvironment::IsAllocated());
            EXPECT_EQ(FirstValue(connection.Dbc(), "select count(*) from customers"), "5");
        }
        // The destructor closes like Close() does.
        EXPECT_FALSE(OdbcEnvironment::IsAllocated()) << "round " << round;
    }
}

TEST(OdbcEnvironmentLifetime, AcquireHandsOutTheOneEnvironment) {
    ASSERT_FALSE(OdbcEnvironment::IsAllocated()) << "an earlier test left a connection open";
    auto first = OdbcEnvironment::Acquire();
    auto second = OdbcEnvironment::Acquire();
    EXPECT_EQ(first, second);
    ASSERT_NE(first->Handle(), nullptr);
    SQLINTEGER version = 0;
    ASSERT_TRUE(
        SQL_SUCCEEDED(SQLGetEnvAttr(first->Handle(), SQL_ATTR_ODBC_VERSION, &version, 0, nullptr)));
    EXPECT_EQ(version, SQL_OV_ODBC3);
    first.reset();
    EXPECT_TRUE(OdbcEnvironment::IsAllocated());
    second.reset();
    EXPECT_FALSE(OdbcEnvironment::IsAllocated());
}

} // namespace
