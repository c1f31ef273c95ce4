#include <memory>
#include <string>
#include <unistd.h>

#include <QRegularExpression>

#include "../shell/ShellFixture.h"
#include "DriverFacts.h"
#include "Panes.h"
#include "console/CDBOutputView.h"
#include "framework/CommandTable.h"
#include "odbc/OdbcStatement.h"
#include "results/CDBListView.h"

namespace {

const char *const QueryCaption = "Result set for the most recently executed query:";
const std::string ZoeTokyo = "Zo\xC3\xAB, \xE6\x9D\xB1\xE4\xBA\xAC";

class QueryLoadTest : public ShellFixture, public ::testing::WithParamInterface<std::string> {
protected:
    void SetUp() override {
        ShellFixture::SetUp();
        ASSERT_TRUE(Start());
        ASSERT_NO_FATAL_FAILURE(Open(SourceNamed(GetParam()).connect));
    }
    void TearDown() override {
        ownGrid_.reset();
        ownConsole_.reset();
        ShellFixture::TearDown();
    }

    // File > New on a connection string, with the window's console and grid.
    void Open(const std::string &connect) {
        ownGrid_.reset();
        ownConsole_.reset();
        prompts_->dataSourceAnswers.push_back(connect);
        Frame().SendCommand(ID_FILE_NEW);
        doc_ = Frame().ActiveDocument();
        ASSERT_NE(doc_, nullptr);
        if (!doc_->m_pOutputView)
            ownConsole_ = std::make_unique<CDBOutputView>(*doc_, nullptr);
        if (!doc_->m_pListView)
            ownGrid_ = std::make_unique<CDBListView>(*doc_, nullptr);
        console_ = ConsoleOf(doc_);
        grid_ = GridOf(doc_);
    }

    const DriverFacts &Facts() const { return FactsOf(GetParam()); }

    // Runs a statement on the document's own connection, outside the grid.
    void Execute(const std::string &sql) {
        OdbcStatement statement(doc_->Database());
        statement.ExecuteDirect(sql);
    }
    // A temporary table of the connection with rows n = 1 .. count, labelled "row n".
    void MakeRows(int count) {
        Execute("CREATE TEMPORARY TABLE grid_rows (n INTEGER, label VARCHAR(20))");
        // One multi-row VALUES: every test driver takes it, unlike a text concatenation.
        std::string insert = "INSERT INTO grid_rows (n, label) VALUES ";
        for (int i = 1; i <= count; ++i)
            insert +=
                (i > 1 ? ", (" : "(") + std::to_string(i) + ", 'row " + std::to_string(i) + "')";
        Execute(insert);
    }

    // The console's text from `mark` on, with its line breaks as "\n".
    std::string ConsoleText(qsizetype mark = 0) const {
        return console_->toPlainText().mid(mark).toStdString();
    }
    qsizetype ConsoleMark() const { return console_->toPlainText().size(); }
    static bool HasOkLine(const std::string &text, int loaded, int total) {
        const QRegularExpression line(
            QStringLiteral("OK \\(Elapsed Time: \\d+ sec\\., Loaded %1 of %2 total records\\)\n")
                .arg(loaded)
                .arg(total));
        return line.match(QString::fromStdString(text)).hasMatch();
    }
    std::vector<std::string> Titles() const {
        std::vector<std::string> titles;
        for (int column = 0; column < grid_->GridColumnCount(); ++column)
            titles.push_back(grid_->GetColumnTitle(column));
        return titles;
    }

    CBrindleDoc *doc_ = nullptr;
    CDBOutputView *console_ = nullptr;
    CDBListView *grid_ = nullptr;
    std::unique_ptr<CDBOutputView> ownConsole_;
    std::unique_ptr<CDBListView> ownGrid_;
};

TEST_P(QueryLoadTest, LoadsMaxRecordsRowsAndCountsEveryRow) {
    MakeRows(1500);
    app_->Settings().MaxRecords = 1000;
    app_->Settings().QueryTimeout = 7;
    const qsizetype mark = ConsoleMark();
    const std::string query = "SELECT n, label FROM grid_rows ORDER BY n";
    grid_->LoadQueryResult(query);

    EXPECT_EQ(Titles(), (std::vector<std::string>{"n", "label"}));
    EXPECT_EQ(grid_->ColumnCount, 2);
    EXPECT_EQ(grid_->Caption(), QueryCaption);
    ASSERT_EQ(grid_->RowCount(), 1000);
    EXPECT_EQ(grid_->GetCellText(0, 0), "1");
    EXPECT_EQ(grid_->GetCellText(999, 1), "row 1000");
    // Typed queries keep the widths given at insertion.
    EXPECT_EQ(grid_->columnWidth(1), grid_->TextWidth(QStringLiteral("label")) + 15);

    const std::string text = ConsoleText(mark);
    EXPECT_EQ(text.rfind(query + "\n\n", 0), 0u) << text;
    EXPECT_TRUE(HasOkLine(text, 1000, 1500)) << text;
    EXPECT_EQ(console_->LastStatement(), query);
    EXPECT_EQ(doc_->Database().QueryTimeout(), 7u);
    EXPECT_TRUE(prompts_->messages.empty());
}

TEST_P(QueryLoadTest, MaxRecordsZeroAndAnEmptyResultLoadNoRows) {
    MakeRows(1500);
    app_->Settings().MaxRecords = 0;
    qsizetype mark = ConsoleMark();
    grid_->LoadQueryResult("SELECT n FROM grid_rows");
    EXPECT_EQ(grid_->RowCount(), 0);
    EXPECT_EQ(Titles(), (std::vector<std::string>{"n"}));
    EXPECT_TRUE(HasOkLine(ConsoleText(mark), 0, 1500)) << ConsoleText(mark);

    app_->Settings().MaxRecords = 100;
    mark = ConsoleMark();
    grid_->LoadQueryResult("SELECT n, label FROM grid_rows WHERE n < 0");
    EXPECT_EQ(grid_->RowCount(), 0);
    EXPECT_EQ(Titles(), (std::vector<std::string>{"n", "label"}));
    EXPECT_TRUE(HasOkLine(ConsoleText(mark), 0, 0)) << ConsoleText(mark);
}

TEST_P(QueryLoadTest, NullsShowEmptyAndLongBinaryShowsBinaryWithoutBeingRead) {
    const DriverFacts &facts = Facts();
    Execute("CREATE TEMPORARY TABLE grid_values (t VARCHAR(10), i INTEGER, lb " +
            facts.longBinaryType + ", sb " + facts.shortBinaryType + ")");
    Execute("INSERT INTO grid_values VALUES (NULL, NULL, NULL, NULL)");
    Execute("INSERT INTO grid_values VALUES ('x', 1, " + facts.binaryLiteralAb + ", " +
            facts.binaryLiteralAb + ")");
    grid_->LoadQueryResult("SELECT t, i, lb, sb FROM grid_values ORDER BY i");

    ASSERT_EQ(grid_->RowCount(), 2);
    const bool nullsFirst = grid_->GetCellText(0, 0).empty();
    const int nullRow = nullsFirst ? 0 : 1;
    const int valueRow = 1 - nullRow;
    EXPECT_EQ(grid_->GetCellText(nullRow, 0), "");
    EXPECT_EQ(grid_->GetCellText(nullRow, 1), "");
    EXPECT_EQ(grid_->GetCellText(nullRow, 2), "<Binary>");
    EXPECT_EQ(grid_->GetCellText(nullRow, 3), "");
    EXPECT_EQ(grid_->GetCellText(valueRow, 0), "x");
    EXPECT_EQ(grid_->GetCellText(valueRow, 1), "1");
    EXPECT_EQ(grid_->GetCellText(valueRow, 2), "<Binary>");
    // A short binary column shows whatever character form the driver gives it.
    EXPECT_NE(grid_->GetCellText(valueRow, 3), "<Binary>");
    EXPECT_NE(grid_->GetCellText(valueRow, 3), "");
}

TEST_P(QueryLoadTest, Utf8TextIsShownDecodedAndKeptAsBytes) {
    const qsizetype mark = ConsoleMark();
    const std::string query = "SELECT '" + ZoeTokyo + "' AS city";
    grid_->LoadQueryResult(query);
    ASSERT_EQ(grid_->RowCount(), 1);
    EXPECT_EQ(grid_->GetCellText(0, 0), ZoeTokyo);
    EXPECT_EQ(grid_->model()->data(grid_->model()->index(0, 0)).toString(),
              QString::fromUtf8(ZoeTokyo));
    EXPECT_NE(console_->toPlainText().mid(mark).indexOf(QString::fromUtf8(query)), -1);
}

TEST_P(QueryLoadTest, TableDataQuotesTheNameWithTheDriversQuote) {
    doc_->AutoFormat = 1;
    const qsizetype mark = ConsoleMark();
    grid_->LoadTableData("order_items");
    EXPECT_TRUE(prompts_->messages.empty());
    const std::string q = Facts().quote;
    EXPECT_EQ(ConsoleText(mark).rfind("SELECT * FROM " + q + "order_items" + q + "\n", 0), 0u)
        << ConsoleText(mark);
    EXPECT_EQ(Titles(),
              (std::vector<std::string>{"order_id", "product_id", "quantity", "unit_price"}));
    ASSERT_GT(grid_->RowCount(), 0);
    // Auto Format on: every column at least as wide as its data plus 18.
    for (int column = 0; column < grid_->ColumnCount; ++column)
        for (int row = 0; row < grid_->RowCount(); ++row)
            EXPECT_GE(grid_->columnWidth(column),
                      grid_->TextWidth(QString::fromStdString(grid_->GetCellText(row, column))) +
                          18);

    // Auto Format off: each column at its title's width plus 18.
    doc_->AutoFormat = 0;
    grid_->LoadTableData("order_items");
    EXPECT_EQ(grid_->columnWidth(0), grid_->TextWidth(QStringLiteral("order_id")) + 18);

    // A quote inside the name is doubled, with the driver's quote character.
    const std::string quoted = q + "odd" + q + q + "name" + q;
    Execute("CREATE TEMPORARY TABLE " + quoted + " (x INTEGER)");
    Execute("INSERT INTO " + quoted + " VALUES (42)");
    grid_->LoadTableData("odd" + q + "name");
    EXPECT_TRUE(prompts_->messages.empty());
    ASSERT_EQ(grid_->RowCount(), 1);
    EXPECT_EQ(grid_->GetCellText(0, 0), "42");
}

TEST_P(QueryLoadTest, ProcedureDataCallsTheQuotedName) {
    const DriverFacts &facts = Facts();
    if (facts.createRowsProcedure.empty()) {
        // No procedures: the call is made and its error reported.
        const qsizetype mark = ConsoleMark();
        grid_->LoadProcedureData("nothing");
        const std::string call = "{call " + facts.quote + "nothing" + facts.quote + "}\n";
        EXPECT_EQ(ConsoleText(mark).rfind(call, 0), 0u) << ConsoleText(mark);
        EXPECT_EQ(prompts_->messages.size(), 1u);
        return;
    }
    const std::string name = "grid_proc_" + std::to_string(getpid());
    Execute(Formatted(facts.createRowsProcedure, name));
    grid_->LoadProcedureData(name);
    Execute(Formatted(facts.dropRowsProcedure, name));
    EXPECT_TRUE(prompts_->messages.empty());
    ASSERT_EQ(grid_->RowCount(), 2);
    EXPECT_EQ(grid_->GetCellText(1, 1), "two");
    EXPECT_EQ(grid_->Caption(), QueryCaption);
}

TEST_P(QueryLoadTest, AFailingStatementLeavesTheGridAsItWas) {
    MakeRows(150);
    grid_->LoadQueryResult("SELECT n FROM grid_rows ORDER BY n");
    ASSERT_EQ(grid_->RowCount(), 100);
    const qsizetype mark = ConsoleMark();
    grid_->LoadQueryResult("SELECT no_such_column FROM grid_rows");

    ASSERT_EQ(prompts_->messages.size(), 1u);
    EXPECT_EQ(grid_->RowCount(), 100);
    EXPECT_EQ(Titles(), (std::vector<std::string>{"n"}));
    EXPECT_EQ(grid_->GetCellText(99, 0), "100");
    EXPECT_EQ(ConsoleText(mark).find("OK ("), std::string::npos) << ConsoleText(mark);
}

INSTANTIATE_TEST_SUITE_P(Sources, QueryLoadTest, ::testing::ValuesIn(TestSourceNames()),
                         [](const auto &info) { return info.param; });

// Only a driver that fetches rows from a server cursor fails in the middle of a
// result; psqlODBC does with UseDeclareFetch.
class QueryFetchErrorTest : public QueryLoadTest {};

TEST_P(QueryFetchErrorTest, AnErrorWhileFetchingKeepsTheRowsLoadedSoFar) {
    ASSERT_NO_FATAL_FAILURE(Open(PostgresSource().connect + ";UseDeclareFetch=1;Fetch=10"));
    app_->Settings().MaxRecords = 2000;
    const qsizetype mark = ConsoleMark();
    grid_->LoadQueryResult("SELECT i, 1 / (1000 - i) AS q FROM generate_series(1, 1500) i");

    EXPECT_EQ(prompts_->messages.size(), 1u);
    EXPECT_EQ(Titles(), (std::vector<std::string>{"i", "q"}));
    ASSERT_GT(grid_->RowCount(), 0);
    EXPECT_LT(grid_->RowCount(), 1000);
    EXPECT_EQ(grid_->GetCellText(grid_->RowCount() - 1, 0), std::to_string(grid_->RowCount()));
    EXPECT_EQ(ConsoleText(mark).find("OK ("), std::string::npos) << ConsoleText(mark);
}

INSTANTIATE_TEST_SUITE_P(Postgres, QueryFetchErrorTest, ::testing::Values("postgres"),
                         [](const auto &info) { return info.param; });

} // namespace
