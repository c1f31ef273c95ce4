#pragma once

#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "DriverFacts.h"
#include "TestDataSources.h"
#include "odbc/OdbcConnection.h"

// Shared by the recordset tests only; kept in a namespace of their own because
// every test of the catalog folder links into one program.
namespace recordset_test {

// A connection to one test data source, with the driver manager's cursor
// library on or off: scrolled reads through the cursor library are known to go
// wrong, so every catalog read runs both ways.
class CatalogRecordsetFixture : public ::testing::TestWithParam<std::tuple<std::string, bool>> {
protected:
    void SetUp() override {
        source = SourceNamed(std::get<0>(GetParam()));
        ASSERT_TRUE(conn.Open(source.connect, std::get<1>(GetParam()), nullptr));
    }

    const DriverFacts &Facts() const { return FactsOf(source.name); }

    TestDataSource source;
    OdbcConnection conn;
};

inline std::string
CatalogCaseName(const ::testing::TestParamInfo<std::tuple<std::string, bool>> &info) {
    return std::get<0>(info.param) + (std::get<1>(info.param) ? "_CursorLib" : "_NoCursorLib");
}

#define INSTANTIATE_CATALOG_TEST(suite)                                                            \
    INSTANTIATE_TEST_SUITE_P(                                                                      \
        Sources, suite,                                                                            \
        ::testing::Combine(::testing::ValuesIn(TestSourceNames()), ::testing::Bool()),             \
        ::recordset_test::CatalogCaseName)

// Fields of one row joined with "|", for comparing whole rows.
inline std::string Row(std::initializer_list<std::string> fields) {
    std::string row;
    bool first = true;
    for (const std::string &field : fields) {
        if (!first)
            row += "|";
        row += field;
        first = false;
    }
    return row;
}

// A field's value, or "NULL" when the recordset says it was NULL on this row.
template <class R> std::string NullOr(const R &rs, int field, int32_t value) {
    return rs.IsFieldNull(field) ? "NULL" : std::to_string(value);
}

// Reads an open snapshot the way the catalog tree does behind a progress bar:
// to the end for the count, back to the first row, and through again. Both
// passes must give the same rows in the same order; the rows are returned.
template <class R, class RowText> std::vector<std::string> CountedScan(R &rs, RowText rowText) {
    std::vector<std::string> first;
    while (!rs.IsEOF()) {
        first.push_back(rowText(rs));
        rs.MoveNext();
    }
    EXPECT_EQ(rs.RecordCount(), static_cast<long>(first.size()));
    rs.MoveFirst();
    std::vector<std::string> second;
    while (!rs.IsEOF()) {
        second.push_back(rowText(rs));
        rs.MoveNext();
    }
    EXPECT_EQ(second, first) << "rows differ after MoveFirst";
    EXPECT_EQ(rs.RecordCount(), static_cast<long>(first.size()));
    return second;
}

// Whether `rows` holds `row`.
inline bool Has(const std::vector<std::string> &rows, const std::string &row) {
    for (const std::string &r : rows)
        if (r == row)
            return true;
    return false;
}

// Back to the first row and through the rows once, collecting `rowText` of each.
template <class R, class RowText> std::vector<std::string> ReadRows(R &rs, RowText rowText) {
    rs.MoveFirst();
    std::vector<std::string> rows;
    while (!rs.IsEOF()) {
        rows.push_back(rowText(rs));
        rs.MoveNext();
    }
    return rows;
}

} // namespace recordset_test
