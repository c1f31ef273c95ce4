#include <filesystem>
#include <fstream>
#include <sstream>

#include <QCoreApplication>
#include <QFile>

#include "DriverFacts.h"
#include "ShellFixture.h"
#include "catalog/recordsets/CColumns.h"
#include "catalog/recordsets/CTables.h"
#include "connection/CDriverInfo.h"
#include "framework/CommandTable.h"
#include "odbc/OdbcEnvironment.h"

namespace {

std::string ReadFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string WithoutPassword(const std::string &connect) {
    std::string kept;
    std::istringstream elements(connect);
    for (std::string element; std::getline(elements, element, ';');)
        if (!element.empty() && element.rfind("PWD=", 0) != 0)
            kept += element + ";";
    return kept;
}

std::vector<std::string> TableNames(CTables &tables) {
    std::vector<std::string> names;
    tables.MoveFirst();
    for (; !tables.IsEOF(); tables.MoveNext())
        names.push_back(tables.TableName);
    return names;
}

bool Contains(const std::vector<std::string> &names, const std::string &name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

class DocumentTest : public ShellFixture, public ::testing::WithParamInterface<std::string> {
protected:
    void SetUp() override {
        ShellFixture::SetUp();
        source_ = SourceNamed(GetParam());
        ASSERT_TRUE(Start());
    }
    // File > New, answering the data-source dialog with the test source.
    CBrindleDoc *NewDocument(const std::string &connect) {
        prompts_->dataSourceAnswers.push_back(connect);
        Frame().SendCommand(ID_FILE_NEW);
        return Frame().ActiveDocument();
    }
    TestDataSource source_;
};

TEST_P(DocumentTest, NewConnectsLoadsTablesAndCaptionsWithTheDataSourceName) {
    CBrindleDoc *doc = NewDocument(source_.connect);
    ASSERT_NE(doc, nullptr);
    EXPECT_TRUE(prompts_->messages.empty());
    EXPECT_EQ(FrameOf(doc)->windowTitle(), QString::fromStdString(doc->GetDataSourceName()));
    // Never smaller than its own size, larger where the main window has room.
    EXPECT_GE(FrameOf(doc)->width(), CChildFrame::InitialWidth);
    EXPECT_GE(FrameOf(doc)->height(), CChildFrame::InitialHeight);
    ASSERT_NE(doc->Tables(), nullptr);
    ASSERT_NE(doc->DriverInfo(), nullptr);
    const auto names = TableNames(*doc->Tables());
    EXPECT_TRUE(Contains(names, "customers"));
    EXPECT_TRUE(Contains(names, "order_items"));
    // Views are off by default: the table-type list asks for tables only.
    EXPECT_FALSE(Contains(names, "customer_orders"));
    EXPECT_EQ(doc->Database().QueryTimeout(), app_->Settings().QueryTimeout);
    EXPECT_EQ(Frame().MessageText(), "For Help, press F1");
    EXPECT_TRUE(Frame().QueryCommand(ID_FILE_SAVE).enabled);
    EXPECT_TRUE(Frame().QueryCommand(ID_REFRESH).enabled);
    EXPECT_TRUE(Frame().QueryCommand(ID_CREATE_TABLE_WIZARD).enabled);
    EXPECT_TRUE(Frame().QueryCommand(ID_QUERY_WIZARD).enabled);
    // Parts of the program still to come stay disabled.
    EXPECT_FALSE(Frame().QueryCommand(ID_EXPORT_ALL).enabled);
}

TEST_P(DocumentTest, CancelledDataSourceDialogLeavesNothingBehindAndSaysNothing) {
    prompts_->dataSourceAnswers.push_back(std::nullopt);
    Frame().SendCommand(ID_FILE_NEW);
    EXPECT_TRUE(Frame().ChildFrames().empty());
    EXPECT_TRUE(app_->Documents().empty());
    EXPECT_TRUE(prompts_->messages.empty());
    EXPECT_FALSE(OdbcEnvironment::IsAllocated());
}

TEST_P(DocumentTest, RefreshAppliesTheTableSettingsOnlyThen) {
    CBrindleDoc *doc = NewDocument(source_.connect);
    ASSERT_NE(doc, nullptr);
    app_->Settings().Views = 1;
    EXPECT_FALSE(Contains(TableNames(*doc->Tables()), "customer_orders"));
    Frame().SendCommand(ID_REFRESH);
    ASSERT_NE(doc->Tables(), nullptr);
    EXPECT_TRUE(Contains(TableNames(*doc->Tables()), "customer_orders"));
    EXPECT_TRUE(Contains(TableNames(*doc->Tables()), "customers"));
}

TEST_P(DocumentTest, FetchColumnsListsOnlyThatTable) {
    CBrindleDoc *doc = NewDocument(source_.connect);
    ASSERT_NE(doc, nullptr);
    doc->FetchColumns("order_items");
    ASSERT_NE(doc->Columns(), nullptr);
    std::vector<std::string> columns;
    for (CColumns *c = doc->Columns(); !c->IsEOF(); c->MoveNext()) {
        EXPECT_EQ(c->TableName, "order_items");
        columns.push_back(c->ColumnName);
    }
    EXPECT_EQ(columns,
              (std::vector<std::string>{"order_id", "product_id", "quantity", "unit_price"}));
    doc->FetchColumns("no_such_table");
    ASSERT_NE(doc->Columns(), nullptr);
    EXPECT_TRUE(doc->Columns()->IsEOF());
}

TEST_P(DocumentTest, SaveWritesTheDsnWithoutPasswordAndItOpensAgain) {
    CBrindleDoc *doc = NewDocument(source_.connect);
    ASSERT_NE(doc, nullptr);
    const std::string dir = MakeTempDir();
    const std::string path = dir + "/saved";
    prompts_->saveFileAnswers.push_back(QString::fromStdString(path));
    Frame().SendCommand(ID_FILE_SAVE);
    ASSERT_EQ(prompts_->proposedSaveNames.size(), 1u);
    EXPECT_EQ(prompts_->proposedSaveNames[0], "BRINDLE1.dsn");
    const std::string text = ReadFile(path + ".dsn");
    ASSERT_EQ(text.rfind("[ODBC]\r\n", 0), 0u) << text;
    std::string upper = text;
    std::transform(upper.begin(), upper.end(), upper.begin(), ::toupper);
    EXPECT_EQ(upper.find("PWD"), std::string::npos) << text;
    EXPECT_EQ(app_->RecentFiles().Files().value(0), QString::fromStdString(path + ".dsn"));
    // The caption keeps the data source name.
    EXPECT_EQ(FrameOf(doc)->windowTitle(), QString::fromStdString(doc->GetDataSourceName()));

    // Opened again, the saved file connects; a password-protected source asks for it.
    prompts_->loginAnswers.push_back(ConnectPrompt::Login{"brindle", "brindle"});
    prompts_->openFileAnswers.push_back(QString::fromStdString(path + ".dsn"));
    Frame().SendCommand(ID_FILE_OPEN);
    ASSERT_EQ(Frame().ChildFrames().size(), 2u)
        << (prompts_->messages.empty() ? std::string() : prompts_->messages[0].first.toStdString());
    EXPECT_EQ(prompts_->loginMessages.size(), FactsOf(GetParam()).isServer ? 1u : 0u);
    EXPECT_EQ(Frame().ActiveChildFrame()->windowTitle(), QString::fromStdString(path + ".dsn"));
}

using LoginTest = ShellFixture;

// The PostgreSQL test server wants a password; SQLite takes no login.
TEST_F(LoginTest, MissingPasswordAsksForALoginAndCancelIsACancel) {
    ASSERT_TRUE(Start());
    const std::string connect = WithoutPassword(PostgresSource().connect);
    prompts_->dataSourceAnswers.push_back(connect);
    Frame().SendCommand(ID_FILE_NEW); // login queue empty: the user cancels
    EXPECT_TRUE(Frame().ChildFrames().empty());
    EXPECT_EQ(prompts_->loginMessages.size(), 1u);
    EXPECT_TRUE(prompts_->messages.empty());

    // The prompt starts with the connection string's user, then with the one last typed.
    prompts_->loginAnswers.push_back(ConnectPrompt::Login{"nobody", "wrong"});
    prompts_->loginAnswers.push_back(ConnectPrompt::Login{"brindle", "brindle"});
    prompts_->dataSourceAnswers.push_back(connect);
    Frame().SendCommand(ID_FILE_NEW);
    EXPECT_EQ(Frame().ChildFrames().size(), 1u);
    EXPECT_EQ(prompts_->loginMessages.size(), 3u);
    EXPECT_EQ(prompts_->loginUsers, (std::vector<std::string>{"brindle", "brindle", "nobody"}));
}

TEST_P(DocumentTest, TwoDocumentsSideBySideAndTheEnvironmentGoesWithTheLast) {
    CBrindleDoc *first = NewDocument(source_.connect);
    CBrindleDoc *second =
        NewDocument(GetParam() == "sqlite" ? PostgresSource().connect : SqliteSource().connect);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(first->DriverInfo()->Text(CDriverInfo::DbmsName),
              second->DriverInfo()->Text(CDriverInfo::DbmsName));
    EXPECT_TRUE(OdbcEnvironment::IsAllocated());
    FrameOf(first)->close();
    QCoreApplication::processEvents();
    EXPECT_TRUE(OdbcEnvironment::IsAllocated());
    EXPECT_EQ(Frame().ChildFrames().size(), 1u);
    EXPECT_TRUE(Frame().ShowsConnectionMenu());
    Frame().SendCommand(ID_FILE_CLOSE);
    QCoreApplication::processEvents();
    EXPECT_TRUE(Frame().ChildFrames().empty());
    EXPECT_FALSE(Frame().ShowsConnectionMenu());
    EXPECT_FALSE(OdbcEnvironment::IsAllocated());
}

TEST_P(DocumentTest, TablesLoadWithCursorLibraryOnAndOff) {
    for (int cursorLib : {1, 0}) {
        app_->Settings().CursorLib = cursorLib;
        CBrindleDoc *doc = NewDocument(source_.connect);
        ASSERT_NE(doc, nullptr) << cursorLib;
        const auto names = TableNames(*doc->Tables());
        EXPECT_TRUE(Contains(names, "order1items")) << cursorLib;
        // The counted scan reads the same rows again after MoveFirst.
        EXPECT_EQ(TableNames(*doc->Tables()), names);
        EXPECT_EQ(static_cast<size_t>(doc->Tables()->RecordCount()), names.size());
        FrameOf(doc)->close();
        QCoreApplication::processEvents();
    }
}

TEST_P(DocumentTest, SaveAfterLostConnectionStillWritesTheConnectString) {
    CBrindleDoc *doc = NewDocument(source_.connect);
    ASSERT_NE(doc, nullptr);
    const std::string path = MakeTempDir() + "/kept.dsn";
    prompts_->saveFileAnswers.push_back(QString::fromStdString(path));
    doc->Database().Close(); // as after a failed Refresh
    Frame().SendCommand(ID_FILE_SAVE_AS);
    const std::string text = ReadFile(path);
    EXPECT_GT(text.size(), std::string("[ODBC]\r\n").size()) << text;
}

INSTANTIATE_TEST_SUITE_P(Drivers, DocumentTest, ::testing::ValuesIn(TestSourceNames()),
                         [](const auto &info) { return info.param; });

} // namespace
