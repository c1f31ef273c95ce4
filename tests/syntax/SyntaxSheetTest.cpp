#include <map>
#include <memory>
#include <string>
#include <vector>

#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include "ScriptedPrompts.h"
#include "TestDataSources.h"
#include "catalog/recordsets/CTables.h"
#include "connection/CDriverInfo.h"
#include "odbc/OdbcConnection.h"
#include "syntax/CSyntaxPage.h"
#include "syntax/CSyntaxSheet.h"
#include "syntax/ConnectionSyntaxSource.h"
#include "syntax/SyntaxPageContent.h"
#include "syntax/SyntaxTarget.h"

namespace {

using Texts = std::vector<std::string>;

class FakeSource : public SyntaxSource {
public:
    bool hasTableList = true;
    std::vector<Table> tables;
    std::map<std::string, std::vector<Column>> columns;
    Texts asked;

    bool HasTableList() override { return hasTableList; }
    std::vector<Table> Tables() override { return hasTableList ? tables : std::vector<Table>{}; }
    std::vector<Column> Columns(const std::string &table) override {
        asked.push_back(table);
        return columns[table];
    }
    const CDriverInfo *DriverInfo() override { return nullptr; }
};

class FakeTarget : public SyntaxTarget {
public:
    Texts inserted;
    void InsertText(const std::string &bytes) override { inserted.push_back(bytes); }
};

TEST(SyntaxPageContentTest, TablesAndColumnsComeFromTheSource) {
    FakeSource source;
    source.tables = {{"empty", ""}, {"orders", "Order headers"}};
    source.columns["orders"] = {{"id", "INTEGER", ""}, {"note", "VARCHAR", "Free text"}};

    const SyntaxList tables = SyntaxPageContent::Build(SyntaxCategory::Tables, &source);
    EXPECT_EQ(tables.syntax, (Texts{"empty", "orders"}));
    EXPECT_EQ(tables.descriptions, (Texts{"", "Order headers"}));

    // A table whose column query yields no rows adds nothing, not even "empty.*".
    const SyntaxList columns = SyntaxPageContent::Build(SyntaxCategory::Columns, &source);
    EXPECT_EQ(source.asked, (Texts{"empty", "orders"}));
    EXPECT_EQ(columns.syntax, (Texts{"*", "orders.*", "orders.id", "orders.note"}));
    EXPECT_EQ(columns.descriptions,
              (Texts{"Specifies that all fields from the specified tables are selected.",
                     "Specifies that all fields from the specified table are selected.",
                     "Data type INTEGER. ", "Data type VARCHAR. Free text"}));

    // Without a table list only "*" is left; without a source nothing at all.
    source.hasTableList = false;
    for (SyntaxCategory category : SyntaxPages::PasteSyntax()) {
        const Texts expected = category == SyntaxCategory::Columns ? Texts{"*"} : Texts{};
        EXPECT_EQ(SyntaxPageContent::Build(category, &source).syntax, expected)
            << SyntaxCategoryCaption(category);
        EXPECT_TRUE(SyntaxPageContent::Build(category, nullptr).syntax.empty());
    }

    // Entries past the end of the descriptions read "No description"; empty ones stay empty.
    const SyntaxList described = SyntaxPageContent::Described({{"=", "IN", "x"}, {"", "In."}});
    EXPECT_EQ(described.descriptions, (Texts{"", "In.", "No description"}));
}

// A connection to the SQLite fixture with its table list and driver information.
class SyntaxSheetTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(connection.Open(SqliteSource().connect, false, nullptr));
        info = std::make_unique<CDriverInfo>(connection);
        tables = std::make_unique<CTables>(connection);
        ASSERT_TRUE(tables->Open(nullptr, nullptr, nullptr, "'TABLE'"));
        source = std::make_unique<ConnectionSyntaxSource>(
            connection, tables.get(), info.get(),
            [this](const std::string &text) { status.push_back(text); }, nullptr);
    }

    static int Row(CSyntaxPage &page, const std::string &entry) {
        const Texts &entries = page.Entries();
        for (size_t i = 0; i < entries.size(); ++i) {
            if (entries[i] == entry)
                return int(i);
        }
        return -1;
    }

    OdbcConnection connection;
    std::unique_ptr<CDriverInfo> info;
    std::unique_ptr<CTables> tables;
    std::unique_ptr<ConnectionSyntaxSource> source;
    Texts status;
    ScriptedPrompts prompts;
    FakeTarget target;
};

TEST_F(SyntaxSheetTest, DoubleClickInsertsTheEntry) {
    prompts.onExec = [&](QDialog &dialog) {
        auto &sheet = static_cast<CSyntaxSheet &>(dialog);
        EXPECT_EQ(sheet.PageCount(), 1);
        sheet.show();
        CSyntaxPage &page = *sheet.ActivePage();
        EXPECT_EQ(page.Category(), SyntaxCategory::DateTime);
        const int row = Row(page, "{d 'yyyy-mm-dd'}");
        EXPECT_GE(row, 0);
        QListWidget *list = page.List();
        const QRect rect = list->visualItemRect(list->item(row));
        // A double click arrives after the press and release of its first click.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rect.center());
        EXPECT_EQ(page.Description(), "The escape sequence for date literals.");
        return dialog.result();
    };
    EXPECT_TRUE(CSyntaxSheet::Run(prompts, nullptr, source.get(), SyntaxPages::Value(), target));
    EXPECT_EQ(target.inserted, Texts{"{d 'yyyy-mm-dd'}"});
}

TEST_F(SyntaxSheetTest, SwitchingPagesWithoutSelectingInsertsNothing) {
    prompts.onExec = [&](QDialog &dialog) {
        auto &sheet = static_cast<CSyntaxSheet &>(dialog);
        sheet.show();
        EXPECT_EQ(sheet.InsertButton()->text(), "Insert");
        sheet.SetActivePage(3); // Functions
        sheet.ActivePage()->List()->setCurrentRow(0);
        EXPECT_EQ(g_strSyntax, "AVG(expr)");
        sheet.SetActivePage(4); // Operators
        EXPECT_EQ(sheet.ActivePage()->Category(), SyntaxCategory::Operators);
        EXPECT_EQ(g_strSyntax, "");
        QTest::mouseClick(sheet.InsertButton(), Qt::LeftButton);
        return dialog.result();
    };
    EXPECT_FALSE(PasteSyntax(prompts, nullptr, source.get(), target));
    EXPECT_TRUE(target.inserted.empty());
    EXPECT_EQ(prompts.execCount, 1);
}

// Only the Columns page runs column queries, when it is first shown, each
// announced in the status bar and followed by the idle text.
TEST_F(SyntaxSheetTest, ColumnsPageQueriesEachTableWhenShown) {
    CSyntaxSheet sheet(source.get(), SyntaxPages::PasteSyntax());
    sheet.show();
    EXPECT_TRUE(status.empty());
    EXPECT_FALSE(sheet.Page(1)->IsFilled());
    sheet.SetActivePage(1);
    CSyntaxPage &columns = *sheet.Page(1);
    const Texts expectedStart = {"*", "customers.*", "customers.id"};
    ASSERT_GE(columns.Entries().size(), 3u);
    EXPECT_EQ(Texts(columns.Entries().begin(), columns.Entries().begin() + 3), expectedStart);
    ASSERT_GE(status.size(), 2u);
    EXPECT_EQ(status[0], "Fetching \"customers\" column info...");
    EXPECT_EQ(status[1], "");
    columns.List()->setCurrentRow(Row(columns, "customers.name"));
    EXPECT_EQ(g_strSyntax, "customers.name");
    EXPECT_EQ(columns.Description().rfind("Data type ", 0), 0u) << columns.Description();
}

} // namespace
