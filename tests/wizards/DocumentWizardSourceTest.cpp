#include <algorithm>

#include <gtest/gtest.h>

#include "DriverFacts.h"
#include "FakeHost.h"
#include "TestDataSources.h"
#include "connection/CBrindleDoc.h"
#include "wizards/DocumentWizardSource.h"

namespace {

class DocumentWizardSourceTest : public ::testing::TestWithParam<std::string> {};

// A name that needs quoting is offered quoted, and its quoted form still finds its columns.
TEST_P(DocumentWizardSourceTest, NamesThatNeedQuotingAreOfferedQuotedAndStillFound) {
    const std::string connect = SourceNamed(GetParam()).connect;
    const std::string q = FactsOf(GetParam()).quote;
    const auto quoted = [&](const std::string &name) { return q + name + q; };
    ExecuteSql(connect, {"CREATE TABLE IF NOT EXISTS " + quoted("order items") + " (" +
                         quoted("Order") + " INTEGER, qty INTEGER)"});
    FakeHost host;
    host.prompts.dataSourceAnswers.push_back(connect);
    CBrindleDoc doc(host);
    ASSERT_TRUE(doc.OnNewDocument());
    DocumentWizardSource source(doc);

    const std::vector<std::string> tables = source.TableNames();
    EXPECT_NE(std::find(tables.begin(), tables.end(), quoted("order items")), tables.end());
    EXPECT_NE(std::find(tables.begin(), tables.end(), "orders"), tables.end());
    EXPECT_EQ(source.ColumnNames(quoted("order items")),
              (std::vector<std::string>{quoted("Order"), "qty"}));
    EXPECT_FALSE(source.TypeNames().empty());
}

INSTANTIATE_TEST_SUITE_P(Drivers, DocumentWizardSourceTest, ::testing::ValuesIn(TestSourceNames()),
                         [](const auto &info) { return info.param; });

} // namespace
