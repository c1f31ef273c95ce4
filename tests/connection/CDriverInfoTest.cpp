#include <cstdint>
#include <string>

#include <gtest/gtest.h>

#include "DriverFacts.h"
#include "TestDataSources.h"
#include "connection/CDriverInfo.h"
#include "connection/TableTypeList.h"
#include "framework/AppSettings.h"
#include "odbc/OdbcConnection.h"

namespace {

// The edges of each map: values outside it, signedness, exact "Y"/"N".
TEST(CDriverInfoTest, ValueMaps) {
    struct NumberCase {
        std::string (*map)(uint16_t);
        uint16_t value;
        const char *expected;
    };
    const NumberCase numbers[] = {
        {&CDriverInfo::ApiConformanceText, 2, "Level 2"},
        {&CDriverInfo::ApiConformanceText, 3, ""},
        {&CDriverInfo::SagText, 0, "No"},
        {&CDriverInfo::SagText, 2, ""},
        {&CDriverInfo::SqlConformanceText, 0, "Minimum"},
        {&CDriverInfo::SqlConformanceText, 3, ""},
        {&CDriverInfo::LimitText, 0, "No Limit"},
        {&CDriverInfo::LimitText, 1, "1"},
        {&CDriverInfo::LimitText, 0x8000, "-32768"},
        {&CDriverInfo::LimitText, 0xFFFF, "-1"},
        {&CDriverInfo::FileUsageText, 0, "<n/a>, Driver not single-tier"},
        {&CDriverInfo::FileUsageText, 3, ""},
    };
    for (const NumberCase &c : numbers)
        EXPECT_EQ(c.map(c.value), c.expected) << "value " << c.value;

    struct TextCase {
        std::string (*map)(const std::string &);
        const char *answer;
        const char *expected;
    };
    const TextCase texts[] = {
        {&CDriverInfo::YesNoSupportedText, "N", "Not Supported"},
        {&CDriverInfo::YesNoSupportedText, "y", "y"},
        {&CDriverInfo::ReadOnlyText, "Y", "Data source is read-only"},
        {&CDriverInfo::ReadOnlyText, "n", ""},
        {&CDriverInfo::ReadOnlyText, "Yes", ""},
        {&CDriverInfo::AccessibleText, "Y", "Yes"},
        {&CDriverInfo::AccessibleText, "maybe", "maybe"},
    };
    for (const TextCase &c : texts)
        EXPECT_EQ(c.map(c.answer), c.expected) << "answer \"" << c.answer << "\"";
}

TEST(CDriverInfoTest, TableTypeListFollowsSettings) {
    AppSettings settings;
    settings.Views = settings.SystemTables = settings.Synonyms = 0;
    EXPECT_EQ(TableTypeList(settings), "'TABLE'");
    settings.SystemTables = 1;
    EXPECT_EQ(TableTypeList(settings), "'TABLE','SYSTEM TABLE'");
    settings.Views = settings.Synonyms = 1;
    const std::string all = TableTypeList(settings);
    EXPECT_EQ(all, "'TABLE','VIEW','SYSTEM TABLE','ALIAS','SYNONYM'");
    EXPECT_EQ(all.size(), 47u);
}

class CDriverInfoSourceTest : public ::testing::TestWithParam<std::string> {};

TEST_P(CDriverInfoSourceTest, ReadsWhatTheDriverAnswers) {
    const TestDataSource source = SourceNamed(GetParam());
    OdbcConnection connection;
    ASSERT_TRUE(connection.Open(source.connect, false, nullptr));
    const CDriverInfo info(connection);

    EXPECT_EQ(info.Text(CDriverInfo::DbmsName), FactsOf(GetParam()).dbmsName);
    for (CDriverInfo::Info answered :
         {CDriverInfo::DbmsVersion, CDriverInfo::DriverName, CDriverInfo::DriverOdbcVersion,
          CDriverInfo::DriverVersion, CDriverInfo::OdbcVersion, CDriverInfo::ActiveStatements,
          CDriverInfo::OdbcSqlConformance}) {
        EXPECT_FALSE(info.Text(answered).empty()) << CDriverInfo::Labels()[answered];
    }
    // The connection was accepted, so the driver is at least level 1.
    const std::string api = info.Text(CDriverInfo::OdbcApiConformance);
    EXPECT_TRUE(api == "Level 1" || api == "Level 2") << api;
    const std::string readWrite = info.Text(CDriverInfo::ReadWriteStatus);
    EXPECT_TRUE(readWrite.empty() || readWrite == "Data source is read-only" ||
                readWrite == "Data source is read-write")
        << readWrite;
    // "Y"/"N" answers come back as display texts, never as they stand.
    for (CDriverInfo::Info mapped : {CDriverInfo::OptionalIef, CDriverInfo::MultipleResultSets,
                                     CDriverInfo::AccessibleTables}) {
        EXPECT_NE(info.Text(mapped), "Y");
        EXPECT_NE(info.Text(mapped), "N");
    }

    connection.Close();
    const CDriverInfo closed(connection);
    for (const std::string &text : closed.AllTexts())
        EXPECT_TRUE(text.empty()) << text;
}

INSTANTIATE_TEST_SUITE_P(Sources, CDriverInfoSourceTest, ::testing::ValuesIn(TestSourceNames()));

} // namespace
