#include <regex>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <sql.h>
#include <sqlext.h>

#include "DriverFacts.h"
#include "TestDataSources.h"
#include "odbc/DatabaseError.h"
#include "odbc/OdbcConnection.h"

namespace {

// ---- SplitTags -------------------------------------------------------------

struct SplitCase {
    const char *message;
    const char *text;
    const char *origin;
};

TEST(DatabaseErrorSplitTags, RemovesOnlyTheLeadingBracketedTags) {
    const SplitCase cases[] = {
        {"", "", ""},
        {"no tag here", "no tag here", ""},
        {"[SQLite]no such table: t", "no such table: t", "[SQLite]"},
        {"[SQLite] one blank goes", "one blank goes", "[SQLite]"},
        {"[A]  only one of two blanks goes", " only one of two blanks goes", "[A]"},
        {"[unixODBC][Driver Manager]Data source name not found", "Data source name not found",
         "[unixODBC][Driver Manager]"},
        {"[a] [b] [c] several", "several", "[a][b][c]"},
        {"[unclosed tag stays", "[unclosed tag stays", ""},
        {"[A][unclosed", "[unclosed", "[A]"},
        {"text [not a tag]", "text [not a tag]", ""},
        {" [blank first] not a tag", " [blank first] not a tag", ""},
        {"[]x", "x", "[]"},
        {"[only]", "", "[only]"},
    };
    for (const SplitCase &c : cases) {
        // Stale values must not leak into the result.
        std::string text = "stale text", origin = "[stale]";
        DatabaseError::SplitTags(c.message, text, origin);
        EXPECT_EQ(text, c.text) << "message: " << c.message;
        EXPECT_EQ(origin, c.origin) << "message: " << c.message;
    }
}

// ---- Connection-layer errors ----------------------------------------------

TEST(DatabaseErrorConnectionLayer, TextsByNumber) {
    EXPECT_STREQ(DatabaseError::ConnectionLayerText(1001),
                 "Attempt to connect to datasource failed");
    EXPECT_STREQ(DatabaseError::ConnectionLayerText(1013),
                 "ODBC static cursors required for snapshot support.");
    EXPECT_STREQ(DatabaseError::ConnectionLayerText(1014),
                 "ODBC driver incompatible with MFC database classes (API_CONFORMANCE >= "
                 "SQL_OAC_LEVEL1 required).");
    EXPECT_STREQ(DatabaseError::ConnectionLayerText(1015),
                 "ODBC driver incompatible with MFC database classes (SQL_CONFORMANCE >= "
                 "SQL_OSC_MINIMUM required).");

    // Every number in range has its own text: a table shifted by one or cut
    // short would repeat or lose one.
    std::set<std::string> texts;
    for (int code = 1001; code <= 1028; ++code) {
        const std::string text = DatabaseError::ConnectionLayerText(code);
        EXPECT_FALSE(text.empty()) << code;
        texts.insert(text);
    }
    EXPECT_EQ(texts.size(), 28u);

    for (int code : {-1, 0, 999, 1000, 1029, 2000})
        EXPECT_STREQ(DatabaseError::ConnectionLayerText(code), "") << code;
}

TEST(DatabaseErrorConnectionLayer, ErrorCarriesNumberAndTextWithoutState) {
    const DatabaseError error = DatabaseError::ConnectionLayer(RecordsetForwardOnly);
    EXPECT_EQ(error.RetCode(), 1002);
    EXPECT_EQ(error.ErrorText(), DatabaseError::ConnectionLayerText(1002));
    EXPECT_EQ(error.StateText(), "");
    EXPECT_EQ(error.FirstState(), "");
    EXPECT_STREQ(error.what(), error.ErrorText().c_str());
}

TEST(DatabaseErrorConnectionLayer, FirstStateReadsTheFirstRecord) {
    EXPECT_EQ(DatabaseError(-1, "x\n",
                            "State:42S02,Native:1,Origin:[a]\nState:HY000,Native:2,"
                            "Origin:\n")
                  .FirstState(),
              "42S02");
    EXPECT_EQ(DatabaseError(-1, "x\n", "garbage").FirstState(), "");
    EXPECT_EQ(DatabaseError(-1, "x\n", "").FirstState(), "");
}

// ---- Diagnostics from a real driver ----------------------------------------

struct RawRecord {
    std::string state;
    SQLINTEGER native = 0;
    std::string message;
};

// The records as the driver manager gives them, read with room for any length.
std::vector<RawRecord> RawRecords(SQLSMALLINT type, SQLHANDLE handle) {
    std::vector<RawRecord> records;
    for (SQLSMALLINT record = 1;; ++record) {
        SQLCHAR state[6] = {};
        RawRecord raw;
        std::string message(16384, '\0');
        SQLSMALLINT length = 0;
        const SQLRETURN rc = SQLGetDiagRec(type, handle, record, state, &raw.native,
                                           reinterpret_cast<SQLCHAR *>(message.data()),
                                           static_cast<SQLSMALLINT>(message.size()), &length);
        if (!SQL_SUCCEEDED(rc))
            break;
        raw.state = reinterpret_cast<char *>(state);
        raw.message = message.substr(0, static_cast<size_t>(length));
        records.push_back(raw);
    }
    return records;
}

std::vector<std::string> Lines(const std::string &text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

class RawStatement {
public:
    explicit RawStatement(SQLHDBC dbc) { SQLAllocHandle(SQL_HANDLE_STMT, dbc, &m_stmt); }
    ~RawStatement() {
        if (m_stmt != SQL_NULL_HSTMT)
            SQLFreeHandle(SQL_HANDLE_STMT, m_stmt);
    }
    RawStatement(const RawStatement &) = delete;
    RawStatement &operator=(const RawStatement &) = delete;
    SQLHSTMT Handle() const { return m_stmt; }
    SQLRETURN Execute(std::string sql) {
        return SQLExecDirect(m_stmt, reinterpret_cast<SQLCHAR *>(sql.data()), SQL_NTS);
    }

private:
    SQLHSTMT m_stmt = SQL_NULL_HSTMT;
};

class DatabaseErrorFromDriver : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_connection.Open(SourceNamed(GetParam()).connect, false, nullptr));
    }

    // Checks the state text against the raw records, in order, and that the
    // error text holds each message without its tags.
    static void ExpectMatches(const DatabaseError &error, const std::vector<RawRecord> &raw) {
        const std::vector<std::string> stateLines = Lines(error.StateText());
        ASSERT_EQ(stateLines.size(), raw.size()) << error.StateText();
        ASSERT_FALSE(error.StateText().empty());
        EXPECT_EQ(error.StateText().back(), '\n');
        const std::regex pattern(R"(State:([0-9A-Z]{5}),Native:(-?[0-9]+),Origin:((\[[^\]]*\])*))");
        for (size_t i = 0; i < raw.size(); ++i) {
            std::smatch match;
            ASSERT_TRUE(std::regex_match(stateLines[i], match, pattern)) << stateLines[i];
            EXPECT_EQ(match[1].str(), raw[i].state);
            EXPECT_EQ(match[2].str(), std::to_string(raw[i].native));
            const std::string origin = match[3].str();
            ASSERT_EQ(raw[i].message.compare(0, origin.size(), origin), 0)
                << "origin " << origin << " is not the head of " << raw[i].message;
            std::string text = raw[i].message.substr(origin.size());
            if (!origin.empty() && !text.empty() && text.front() == ' ')
                text.erase(0, 1);
            ASSERT_FALSE(text.empty());
            EXPECT_NE(text.front(), '[') << "tags left in: " << text;
            EXPECT_NE(error.ErrorText().find(text + "\n"), std::string::npos)
                << "missing: " << text << "\nin: " << error.ErrorText();
        }
        EXPECT_EQ(error.FirstState(), raw.front().state);
        ASSERT_FALSE(error.ErrorText().empty());
        EXPECT_EQ(error.ErrorText().back(), '\n');
        EXPECT_NE(error.ErrorText().front(), '[');
    }

    OdbcConnection m_connection;
};

TEST_P(DatabaseErrorFromDriver, FailedStatementGivesEveryRecordWithoutTags) {
    RawStatement stmt(m_connection.Dbc());
    const SQLRETURN rc = stmt.Execute("select * from no_such_table");
    ASSERT_EQ(rc, SQL_ERROR);
    const std::vector<RawRecord> raw = RawRecords(SQL_HANDLE_STMT, stmt.Handle());
    ASSERT_FALSE(raw.empty());

    const DatabaseError error =
        DatabaseError::FromDiagnostics(rc, m_connection.Env(), m_connection.Dbc(), stmt.Handle());
    EXPECT_EQ(error.RetCode(), SQL_ERROR);
    EXPECT_NE(error.ErrorText().find("no_such_table"), std::string::npos) << error.ErrorText();
    ExpectMatches(error, raw);
}

TEST_P(DatabaseErrorFromDriver, StatementRecordsComeBeforeConnectionRecords) {
    RawStatement stmt(m_connection.Dbc());
    const SQLRETURN rc = stmt.Execute("select * from no_such_table");
    ASSERT_EQ(rc, SQL_ERROR);
    // An unknown information type leaves a record on the connection handle.
    char buffer[64] = {};
    ASSERT_FALSE(
        SQL_SUCCEEDED(SQLGetInfo(m_connection.Dbc(), 9999, buffer, sizeof buffer, nullptr)));
    std::vector<RawRecord> raw = RawRecords(SQL_HANDLE_STMT, stmt.Handle());
    const std::vector<RawRecord> dbcRecords = RawRecords(SQL_HANDLE_DBC, m_connection.Dbc());
    ASSERT_FALSE(raw.empty());
    ASSERT_FALSE(dbcRecords.empty());
    raw.insert(raw.end(), dbcRecords.begin(), dbcRecords.end());

    const DatabaseError error =
        DatabaseError::FromDiagnostics(rc, m_connection.Env(), m_connection.Dbc(), stmt.Handle());
    ExpectMatches(error, raw);
}

TEST_P(DatabaseErrorFromDriver, LongMessageIsReadWhole) {
    const std::string ys(1000, 'y');
    const std::string &longError = FactsOf(GetParam()).longErrorStatement;
    const std::string sql = longError.empty() ? "select * from t" + ys : longError;
    RawStatement stmt(m_connection.Dbc());
    const SQLRETURN rc = stmt.Execute(sql);
    ASSERT_EQ(rc, SQL_ERROR);
    const std::vector<RawRecord> raw = RawRecords(SQL_HANDLE_STMT, stmt.Handle());
    ASSERT_FALSE(raw.empty());
    // The SQLite driver and MariaDB cut their messages at 512 bytes; PostgreSQL's go
    // past the usual message buffer, which is the case that matters.
    if (!longError.empty()) {
        ASSERT_GT(raw.front().message.size(), 1000u);
    }

    const DatabaseError error =
        DatabaseError::FromDiagnostics(rc, m_connection.Env(), m_connection.Dbc(), stmt.Handle());
    ExpectMatches(error, raw);
}

TEST(DatabaseErrorFromDiagnostics, NoRecordsGivesAGenericText) {
    const DatabaseError unknown =
        DatabaseError::FromDiagnostics(SQL_ERROR, nullptr, nullptr, nullptr);
    EXPECT_EQ(unknown.RetCode(), SQL_ERROR);
    EXPECT_FALSE(unknown.ErrorText().empty());
    EXPECT_EQ(unknown.ErrorText().back(), '\n');
    EXPECT_EQ(unknown.StateText(), "");
    const DatabaseError invalid =
        DatabaseError::FromDiagnostics(SQL_INVALID_HANDLE, nullptr, nullptr, nullptr);
    EXPECT_EQ(invalid.RetCode(), SQL_INVALID_HANDLE);
    EXPECT_NE(invalid.ErrorText(), unknown.ErrorText());
}

INSTANTIATE_TEST_SUITE_P(Sources, DatabaseErrorFromDriver, ::testing::ValuesIn(TestSourceNames()),
                         [](const auto &info) { return info.param; });

} // namespace
