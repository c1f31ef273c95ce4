#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "catalog/CatalogLabels.h"
#include "catalog/CatalogValueText.h"
#include "connection/CDriverInfo.h"
#include "framework/AppSettings.h"

namespace {

using Labels = std::vector<std::string>;

struct MapCase {
    const char *map;
    std::function<std::string(int32_t)> text;
    int32_t code;
    const char *expected;
};

TEST(CatalogValueText, EveryMapNamesItsCodesAndShowsOthersWithTheirNumber) {
    const std::vector<MapCase> cases = {
        {"COLUMN_TYPE", ColumnTypeText, 0, "PARAM TYPE UNKNOWN"},
        {"COLUMN_TYPE", ColumnTypeText, 1, "PARAM INPUT"},
        {"COLUMN_TYPE", ColumnTypeText, 2, "PARAM INPUT OUTPUT"},
        {"COLUMN_TYPE", ColumnTypeText, 3, "RESULT COLUMN"},
        {"COLUMN_TYPE", ColumnTypeText, 4, "PARAM OUTPUT"},
        {"COLUMN_TYPE", ColumnTypeText, 5, "RETURN VALUE"},
        {"COLUMN_TYPE", ColumnTypeText, 6, "Unknown (6)"},
        {"COLUMN_TYPE", ColumnTypeText, -1, "Unknown (-1)"},
        {"TYPE", StatisticTypeText, 0, "Table Statistic"},
        {"TYPE", StatisticTypeText, 1, "Index Clustered"},
        {"TYPE", StatisticTypeText, 2, "Index Hashed"},
        {"TYPE", StatisticTypeText, 3, "Index Other"},
        {"TYPE", StatisticTypeText, 4, "Unknown (4)"},
        {"SCOPE", ScopeText, 0, "CURROW"},
        {"SCOPE", ScopeText, 1, "TRANSACTION"},
        {"SCOPE", ScopeText, 2, "SESSION"},
        {"SCOPE", ScopeText, 3, "Unknown (3)"},
        {"PSEUDO_COLUMN", PseudoColumnText, 0, "Unknown (0)"},
        {"PSEUDO_COLUMN", PseudoColumnText, 1, "No"},
        {"PSEUDO_COLUMN", PseudoColumnText, 2, "Yes"},
        {"PSEUDO_COLUMN", PseudoColumnText, 3, "Unknown (3)"},
        {"RULE", RuleText, 0, "CASCADE"},
        {"RULE", RuleText, 1, "RESTRICT"},
        {"RULE", RuleText, 2, "SET NULL"},
        {"RULE", RuleText, 3, "NO ACTION"},
        {"RULE", RuleText, 4, "SET DEFAULT"},
        {"RULE", RuleText, 5, "INITIALLY DEFERRED"},
        {"RULE", RuleText, 6, "INITIALLY IMMEDIATE"},
        {"RULE", RuleText, 7, "Unknown (7)"},
        {"RULE", RuleText, -2147483647 - 1, "Unknown (-2147483648)"},
        {"PROCEDURE_TYPE", ProcedureTypeText, 0, "UNKNOWN"},
        {"PROCEDURE_TYPE", ProcedureTypeText, 1, "PROCEDURE"},
        {"PROCEDURE_TYPE", ProcedureTypeText, 2, "FUNCTION"},
        {"PROCEDURE_TYPE", ProcedureTypeText, 3, "Unknown (3)"},
        {"NULLABLE", NullableText, 0, "No"},
        {"NULLABLE", NullableText, 1, "Yes"},
        {"NULLABLE", NullableText, 2, "Unknown"},
        {"NULLABLE", NullableText, -1, "Unknown"},
        {"NON_UNIQUE", NonUniqueText, 0, "No"},
        {"NON_UNIQUE", NonUniqueText, 1, "Yes"},
        {"NON_UNIQUE", NonUniqueText, -5, "Yes"},
    };
    for (const MapCase &c : cases)
        EXPECT_EQ(c.text(c.code), c.expected) << c.map << " " << c.code;
}

TEST(CatalogValueText, CollationReadsOnlyAnUpperCaseFirstLetter) {
    EXPECT_EQ(CollationText("A"), "Ascending");
    EXPECT_EQ(CollationText("ASC"), "Ascending");
    EXPECT_EQ(CollationText("D"), "Descending");
    EXPECT_EQ(CollationText("a"), "Unknown (a)");
    EXPECT_EQ(CollationText("d"), "Unknown (d)");
    EXPECT_EQ(CollationText(""), "Unknown ()");
}

TEST(CatalogLabels, CatalogWordingFollowsTheOdbcMajorVersion) {
    const Labels modern{"Name", "Type", "Catalog", "Schema", "Remarks"};
    const Labels classic{"Name", "Type", "Qualifier", "Owner", "Remarks"};
    const std::vector<std::pair<const char *, Labels>> cases = {
        {"03.52.0000", modern}, {"02.50.0000", classic}, {"", classic},
        {"3", classic},         {"10.0", modern},        {"2.99", classic},
        {"x.1", classic},       {"-3.0", classic},       {"99999999999999999999.0", classic},
    };
    for (const auto &[version, labels] : cases)
        EXPECT_EQ(CatalogWordingLabels(version), labels) << '"' << version << '"';
}

TEST(CatalogLabels, OptionalColumnLabelsFollowTheSettings) {
    struct Case {
        const char *flags; // Length, Precision, Nullability
        Labels columns, procedureColumns, specialColumns;
    };
    const std::vector<Case> cases = {
        {"000",
         {"Name", "Type", "Remarks"},
         {"Name", "Data", "Type", "Remarks"},
         {"Name", "Type", "Return", "Scope", "Pseudo"}},
        {"100",
         {"Name", "Type", "Length", "Remarks"},
         {"Name", "Data", "Type", "Length", "Remarks"},
         {"Name", "Type", "Length", "Return", "Scope", "Pseudo"}},
        {"010",
         {"Name", "Type", "Precision", "Scale", "Radix", "Remarks"},
         {"Name", "Data", "Type", "Precision", "Scale", "Radix", "Remarks"},
         {"Name", "Type", "Precision", "Scale", "Return", "Scope", "Pseudo"}},
        {"001",
         {"Name", "Type", "Nullable", "Remarks"},
         {"Name", "Data", "Type", "Nullable", "Remarks"},
         {"Name", "Type", "Return", "Scope", "Pseudo"}},
        {"111",
         {"Name", "Type", "Length", "Precision", "Scale", "Radix", "Nullable", "Remarks"},
         {"Name", "Data", "Type", "Length", "Precision", "Scale", "Radix", "Nullable", "Remarks"},
         {"Name", "Type", "Length", "Precision", "Scale", "Return", "Scope", "Pseudo"}},
    };
    for (const Case &c : cases) {
        AppSettings settings;
        settings.Length = c.flags[0] == '1';
        settings.Precision = c.flags[1] == '1';
        settings.Nullability = c.flags[2] == '1';
        const std::string name = c.flags;
        EXPECT_EQ(ColumnLabels(settings), c.columns) << name;
        EXPECT_EQ(ProcedureColumnLabels(settings), c.procedureColumns) << name;
        EXPECT_EQ(SpecialColumnLabels(settings), c.specialColumns) << name;
    }
}

TEST(CatalogLabels, FixedListsSplitIntoTheirLabels) {
    const Labels info = DriverInfoLabels();
    ASSERT_EQ(info.size(), static_cast<size_t>(CDriverInfo::InfoCount));
    // The rows must line up with the driver information texts they show.
    for (size_t i = 0; i < info.size(); ++i)
        EXPECT_EQ(info[i], CDriverInfo::Labels()[i]) << i;
    EXPECT_EQ(info.front(), "User Name");
    EXPECT_EQ(info.back(), "Database Name");

    const Labels statistics = StatisticsLabels();
    ASSERT_EQ(statistics.size(), 13u);
    EXPECT_EQ(statistics[3], "Table Schema");
    EXPECT_EQ(statistics[4], "Index Name");
    EXPECT_EQ(statistics[12], "Filter Condition");

    EXPECT_EQ(PrivilegeLabels(), (Labels{"Name", "Privilege", "Grantable", "Grantor", "Grantee"}));
    EXPECT_EQ(PrimaryKeyLabels(), (Labels{"PK Column", "PK Name", "Sequence"}));
    EXPECT_EQ(ForeignKeyLabels(), (Labels{"FK Column", "FK Name", "Sequence", "Update", "Delete",
                                          "PK Table", "PK Column", "PK Name"}));

    EXPECT_EQ(SplitLabels("a,,b,"), (Labels{"a", "", "b", ""}));
    EXPECT_EQ(SplitLabels("one"), (Labels{"one"}));
}

} // namespace
