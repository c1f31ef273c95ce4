#include <cstdint>
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>
#include <sql.h>
#include <sqlext.h>

#include "DriverFacts.h"
#include "TestDataSources.h"
#include "odbc/DatabaseError.h"
#include "odbc/OdbcConnection.h"
#include "odbc/OdbcEnvironment.h"
#include "odbc/Recordset.h"

namespace {

// A recordset over any query: a number, two texts and a flag, by column number.
class QueryRecordset : public Recordset {
public:
    int32_t id = -1;
    std::string name = "unset";
    std::string city = "unset";
    bool flag = true;
    int calls = 0;

    explicit QueryRecordset(OdbcConnection &connection) : Recordset(connection) {
        BindLong(&id, 1);
        BindText(&name, 2);
        BindText(&city, 3);
        BindBool(&flag, 4);
    }

    bool Open(const std::string &sql, OpenType type,
              SQLUSMALLINT functionId = SQL_API_SQLEXECDIRECT) {
        return OpenWith(functionId, type, [this, sql](SQLHSTMT stmt) {
            ++calls;
            std::string text = sql;
            return SQLExecDirect(stmt, reinterpret_cast<SQLCHAR *>(text.data()), SQL_NTS);
        });
    }
};

struct Customer {
    int32_t id;
    std::string name;
    std::string city; // "" when NULL
    bool cityNull;
    bool operator==(const Customer &) const = default;
};

std::ostream &operator<<(std::ostream &out, const Customer &c) {
    return out << "{" << c.id << ", " << c.name << ", " << (c.cityNull ? "NULL" : c.city) << "}";
}

const std::vector<Customer> &ExpectedCustomers() {
    static const std::vector<Customer> customers = {
        {1, "Alice Martin", "Lyon", false}, {2, "Bob Stone", "Leeds", false},
        {3, "Zoë Tanaka", "東京", false},   {4, "Carl Weber", "", true},
        {5, "Dana Reyes", "Madrid", false},
    };
    return customers;
}

const char *const CustomersQuery = "select id, name, city from customers order by id";

Customer Current(const QueryRecordset &rs) {
    const bool cityNull = rs.IsFieldNull(2);
    return {rs.id, rs.name, cityNull ? "" : rs.city, cityNull};
}

std::vector<Customer> ScanToEnd(QueryRecordset &rs) {
    std::vector<Customer> rows;
    while (!rs.IsEOF() && rows.size() <= 100) {
        rows.push_back(Current(rs));
        rs.MoveNext();
    }
    return rows;
}

// Reads the customers with a plain statement: SQLFetch and SQLGetData, no bound columns.
std::vector<Customer> RawCustomers(SQLHDBC dbc, std::string *failure) {
    std::vector<Customer> rows;
    SQLHSTMT stmt = SQL_NULL_HSTMT;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, dbc, &stmt))) {
        *failure = "no statement";
        return rows;
    }
    std::string sql = "select id, name, city from customers order by id";
    SQLRETURN rc = SQLExecDirect(stmt, reinterpret_cast<SQLCHAR *>(sql.data()), SQL_NTS);
    if (!SQL_SUCCEEDED(rc))
        *failure = "execute returned " + std::to_string(rc);
    while (SQL_SUCCEEDED(rc) && SQL_SUCCEEDED(rc = SQLFetch(stmt)) && rows.size() <= 100) {
        SQLINTEGER id = 0;
        char name[256] = {}, city[256] = {};
        SQLLEN idInd = 0, nameInd = 0, cityInd = 0;
        if (!SQL_SUCCEEDED(SQLGetData(stmt, 1, SQL_C_SLONG, &id, 0, &idInd)) ||
            !SQL_SUCCEEDED(SQLGetData(stmt, 2, SQL_C_CHAR, name, sizeof name, &nameInd)) ||
            !SQL_SUCCEEDED(SQLGetData(stmt, 3, SQL_C_CHAR, city, sizeof city, &cityInd))) {
            *failure = "SQLGetData failed on row " + std::to_string(rows.size() + 1);
            break;
        }
        const bool cityNull = cityInd == SQL_NULL_DATA;
        rows.push_back({id, name, cityNull ? "" : city, cityNull});
    }
    if (failure->empty() && rc != SQL_NO_DATA)
        *failure = "fetch returned " + std::to_string(rc);
    SQLFreeHandle(SQL_HANDLE_STMT, stmt);
    return rows;
}

std::string FirstValue(SQLHDBC dbc, std::string sql) {
    SQLHSTMT stmt = SQL_NULL_HSTMT;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, dbc, &stmt)))
        return "<no statement>";
    std::string result = "<error>";
    char buffer[256] = {};
    SQLLEN indicator = 0;
    if (SQL_SUCCEEDED(SQLExecDirect(stmt, reinterpret_cast<SQLCHAR *>(sql.data()), SQL_NTS)) &&
        SQL_SUCCEEDED(SQLFetch(stmt)) &&
        SQL_SUCCEEDED(SQLGetData(stmt, 1, SQL_C_CHAR, buffer, sizeof buffer, &indicator)))
        result = buffer;
    SQLFreeHandle(SQL_HANDLE_STMT, stmt);
    return result;
}

// ---- Per source and cursor-library option -----------------------------------

class RecordsetCursorTest : public ::testing::TestWithParam<std::tuple<std::string, bool>> {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_connection.Open(SourceNamed(std::get<0>(GetParam())).connect,
                                      std::get<1>(GetParam()), nullptr));
    }
    OdbcConnection m_connection;
};

TEST_P(RecordsetCursorTest, PlainStatementReadsEveryRow) {
    std::string failure;
    const std::vector<Customer> rows = RawCustomers(m_connection.Dbc(), &failure);
    EXPECT_EQ(failure, "");
    EXPECT_EQ(rows, ExpectedCustomers());
}

TEST_P(RecordsetCursorTest, SnapshotCountedScan) {
    QueryRecordset rs(m_connection);
    ASSERT_TRUE(rs.Open(CustomersQuery, Recordset::OpenType::Snapshot));
    ASSERT_TRUE(rs.IsOpen());
    ASSERT_FALSE(rs.IsEOF());
    EXPECT_EQ(rs.RecordCount(), 1); // the non-empty test callers use

    // Count by moving to the end, then go back and scan.
    while (!rs.IsEOF())
        rs.MoveNext();
    EXPECT_EQ(rs.RecordCount(), 5);
    rs.MoveFirst();
    ASSERT_FALSE(rs.IsEOF());
    const std::vector<Customer> first = ScanToEnd(rs);
    EXPECT_EQ(first, ExpectedCustomers());
    EXPECT_EQ(rs.RecordCount(), 5);

    rs.MoveFirst();
    EXPECT_EQ(ScanToEnd(rs), first);
    EXPECT_EQ(rs.RecordCount(), 5);
    EXPECT_THROW(rs.MoveNext(), DatabaseError);
}

TEST_P(RecordsetCursorTest, SnapshotMoveFirstFromTheMiddle) {
    QueryRecordset rs(m_connection);
    ASSERT_TRUE(rs.Open(CustomersQuery, Recordset::OpenType::Snapshot));
    rs.MoveNext();
    rs.MoveNext();
    EXPECT_EQ(Current(rs), ExpectedCustomers()[2]);
    rs.MoveFirst();
    EXPECT_EQ(Current(rs), ExpectedCustomers()[0]);
    // Rows not yet fetched still come from the driver after the cached ones.
    EXPECT_EQ(ScanToEnd(rs), ExpectedCustomers());
    EXPECT_EQ(rs.RecordCount(), 5);
}

INSTANTIATE_TEST_SUITE_P(Sources, RecordsetCursorTest,
                         ::testing::Combine(::testing::ValuesIn(TestSourceNames()),
                                            ::testing::Bool()),
                         [](const auto &info) {
                             return std::get<0>(info.param) +
                                    (std::get<1>(info.param) ? "_CursorLib" : "_NoCursorLib");
                         });

// ---- Per source ---------------------------------------------------------------

class RecordsetTest : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override {
        ASSERT_FALSE(OdbcEnvironment::IsAllocated()) << "an earlier test left a connection open";
        ASSERT_TRUE(m_connection.Open(SourceNamed(GetParam()).connect, true, nullptr));
    }
    OdbcConnection m_connection;
};

TEST_P(RecordsetTest, ForwardOnlyReadsOnceAndCannotGoBack) {
    QueryRecordset rs(m_connection);
    ASSERT_TRUE(rs.Open(CustomersQuery, Recordset::OpenType::ForwardOnly));
    EXPECT_EQ(Current(rs), ExpectedCustomers()[0]);
    try {
        rs.MoveFirst();
        FAIL() << "MoveFirst on a forward-only recordset must throw";
    } catch (const DatabaseError &error) {
        EXPECT_EQ(error.RetCode(), 1002);
        EXPECT_EQ(error.ErrorText(), DatabaseError::ConnectionLayerText(1002));
    }
    // The refused move leaves the recordset where it was.
    EXPECT_EQ(ScanToEnd(rs), ExpectedCustomers());
    EXPECT_EQ(rs.RecordCount(), 5);
    EXPECT_TRUE(rs.IsEOF());
    EXPECT_THROW(rs.MoveNext(), DatabaseError);
}

TEST_P(RecordsetTest, NullAndMissingColumns) {
    QueryRecordset rs(m_connection);
    ASSERT_TRUE(rs.Open(CustomersQuery, Recordset::OpenType::Snapshot));
    for (const Customer &expected : ExpectedCustomers()) {
        ASSERT_FALSE(rs.IsEOF());
        EXPECT_FALSE(rs.IsFieldNull(0));
        EXPECT_FALSE(rs.IsFieldNull(1));
        EXPECT_EQ(rs.IsFieldNull(2), expected.cityNull) << expected;
        // The query has no fourth column: the flag field stays NULL.
        EXPECT_TRUE(rs.IsFieldNull(3));
        rs.MoveNext();
    }
    EXPECT_TRUE(rs.IsEOF());
    EXPECT_THROW(rs.IsFieldNull(4), DatabaseError);
    EXPECT_THROW(rs.IsFieldNull(-1), DatabaseError);
}

TEST_P(RecordsetTest, NumbersAndFlags) {
    QueryRecordset rs(m_connection);
    ASSERT_TRUE(rs.Open("select -7, 'a', 'b', 1 = 1 union all select 2147483647, 'c', 'd', 1 = 0",
                        Recordset::OpenType::Snapshot));
    std::vector<std::tuple<int32_t, std::string, std::string, bool>> rows;
    while (!rs.IsEOF()) {
        EXPECT_FALSE(rs.IsFieldNull(3));
        rows.emplace_back(rs.id, rs.name, rs.city, rs.flag);
        rs.MoveNext();
    }
    const std::vector<std::tuple<int32_t, std::string, std::string, bool>> expected = {
        {-7, "a", "b", true}, {2147483647, "c", "d", false}};
    EXPECT_EQ(rows, expected);
}

TEST_P(RecordsetTest, LongTextArrivesCutTo255) {
    std::string value;
    while (value.size() < 300)
        value += "0123456789";
    QueryRecordset rs(m_connection);
    ASSERT_TRUE(rs.Open("select 1, cast('" + value + "' as varchar(300)), 'tail'",
                        Recordset::OpenType::Snapshot));
    ASSERT_FALSE(rs.IsEOF());
    EXPECT_EQ(rs.name, value.substr(0, Recordset::MaxTextLength));
    EXPECT_EQ(rs.name.size(), 255u);
    EXPECT_EQ(rs.city, "tail"); // the next field is not disturbed
    rs.MoveNext();
    EXPECT_TRUE(rs.IsEOF());
    rs.MoveFirst();
    EXPECT_EQ(rs.name, value.substr(0, 255));
    EXPECT_EQ(rs.city, "tail");
}

TEST_P(RecordsetTest, CutNeverSplitsACharacter) {
    const struct {
        size_t ascii;
        std::string tail;
        size_t kept;
    } cases[] = {
        {254, "\xC3\xA9", 254},          // é would end one byte past the cut
        {253, "\xE2\x82\xAC", 253},      // € likewise, two bytes in
        {252, "\xF0\x9F\x98\x80!", 252}, // a four-byte character
        {253, "\xC3\xA9x", 255},         // it fits whole: nothing backs up
    };
    for (const auto &c : cases) {
        const std::string value = std::string(c.ascii, 'a') + c.tail;
        QueryRecordset rs(m_connection);
        ASSERT_TRUE(rs.Open("select 1, cast('" + value + "' as varchar(300)), 'tail'",
                            Recordset::OpenType::ForwardOnly));
        ASSERT_FALSE(rs.IsEOF());
        EXPECT_EQ(rs.name, value.substr(0, c.kept)) << c.ascii;
        EXPECT_EQ(rs.city, "tail");
    }
}

TEST_P(RecordsetTest, EmptyResultIsAtItsEndAtOnce) {
    for (Recordset::OpenType type :
         {Recordset::OpenType::Snapshot, Recordset::OpenType::ForwardOnly}) {
        QueryRecordset rs(m_connection);
        ASSERT_TRUE(rs.Open("select id, name, city from customers where id < 0", type));
        EXPECT_TRUE(rs.IsOpen());
        EXPECT_TRUE(rs.IsEOF());
        EXPECT_EQ(rs.RecordCount(), 0);
        EXPECT_THROW(rs.MoveNext(), DatabaseError);
        if (type == Recordset::OpenType::Snapshot) {
            rs.MoveFirst();
            EXPECT_TRUE(rs.IsEOF());
            EXPECT_EQ(rs.RecordCount(), 0);
        }
    }
}

TEST_P(RecordsetTest, DriverErrorClosesAndTheRecordsetCanOpenAgain) {
    QueryRecordset rs(m_connection);
    try {
        rs.Open("select * from no_such_table", Recordset::OpenType::Snapshot);
        FAIL() << "a failing statement must throw";
    } catch (const DatabaseError &error) {
        EXPECT_EQ(error.RetCode(), SQL_ERROR);
        EXPECT_EQ(error.FirstState().size(), 5u) << error.StateText();
    }
    EXPECT_FALSE(rs.IsOpen());
    EXPECT_TRUE(rs.IsEOF());
    EXPECT_EQ(rs.RecordCount(), 0);

    ASSERT_TRUE(rs.Open(CustomersQuery, Recordset::OpenType::Snapshot));
    EXPECT_EQ(ScanToEnd(rs), ExpectedCustomers());
}

TEST_P(RecordsetTest, OpeningAgainReplacesTheRows) {
    QueryRecordset rs(m_connection);
    ASSERT_TRUE(rs.Open(CustomersQuery, Recordset::OpenType::Snapshot));
    ASSERT_EQ(ScanToEnd(rs).size(), 5u);
    ASSERT_TRUE(rs.Open("select id, name, city from customers where id = 4",
                        Recordset::OpenType::Snapshot));
    EXPECT_EQ(rs.RecordCount(), 1);
    rs.MoveNext();
    EXPECT_TRUE(rs.IsEOF());
    EXPECT_EQ(rs.RecordCount(), 1);
    rs.MoveFirst();
    EXPECT_EQ(ScanToEnd(rs), std::vector<Customer>{ExpectedCustomers()[3]});
}

TEST_P(RecordsetTest, MissingFunctionOrConnectionGivesFalse) {
    QueryRecordset rs(m_connection);
    if (const int lacked = FactsOf(GetParam()).lackedFunction) {
        const auto function = static_cast<SQLUSMALLINT>(lacked);
        ASSERT_FALSE(m_connection.HasFunction(function));
        EXPECT_FALSE(rs.Open(CustomersQuery, Recordset::OpenType::Snapshot, function));
        EXPECT_FALSE(rs.IsOpen());
        EXPECT_EQ(rs.calls, 0);
    }

    m_connection.Close();
    EXPECT_FALSE(rs.Open(CustomersQuery, Recordset::OpenType::Snapshot));
    EXPECT_FALSE(rs.IsOpen());
    EXPECT_EQ(rs.calls, 0);
}

TEST_P(RecordsetTest, OpenRecordsetKeepsTheConnectionAlive) {
    QueryRecordset rs(m_connection);
    ASSERT_TRUE(rs.Open(CustomersQuery, Recordset::OpenType::ForwardOnly));
    EXPECT_EQ(Current(rs), ExpectedCustomers()[0]);
    const SQLHDBC dbc = m_connection.Dbc();

    m_connection.Close();
    EXPECT_FALSE(m_connection.IsOpen());
    EXPECT_TRUE(OdbcEnvironment::IsAllocated());
    // The handle still works: the recordset reads on, and so does a new statement.
    rs.MoveNext();
    EXPECT_EQ(Current(rs), ExpectedCustomers()[1]);
    EXPECT_EQ(FirstValue(dbc, "select name from customers where id = 5"), "Dana Reyes");
    std::vector<Customer> rest = ScanToEnd(rs);
    EXPECT_EQ(rest,
              std::vector<Customer>(ExpectedCustomers().begin() + 1, ExpectedCustomers().end()));

    rs.Close();
    EXPECT_FALSE(rs.IsOpen());
    EXPECT_FALSE(OdbcEnvironment::IsAllocated());
    rs.Close(); // twice is harmless
}

TEST_P(RecordsetTest, DestroyedRecordsetLetsTheConnectionGo) {
    {
        QueryRecordset rs(m_connection);
        ASSERT_TRUE(rs.Open(CustomersQuery, Recordset::OpenType::Snapshot));
        m_connection.Close();
        EXPECT_TRUE(OdbcEnvironment::IsAllocated());
    }
    EXPECT_FALSE(OdbcEnvironment::IsAllocated());
}

INSTANTIATE_TEST_SUITE_P(Sources, RecordsetTest, ::testing::ValuesIn(TestSourceNames()),
                         [](const auto &info) { return info.param; });

} // namespace
