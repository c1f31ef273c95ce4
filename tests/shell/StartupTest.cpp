#include <sys/stat.h>

#include <QAction>
#include <QCoreApplication>
#include <QMdiArea>
#include <QMenuBar>
#include <QStatusTipEvent>
#include <filesystem>

#include "ShellFixture.h"
#include "framework/CommandTable.h"
#include "odbc/OdbcEnvironment.h"
#include "odbc/OdbcStatement.h"

namespace {

QStringList MenuTitles(CMainFrame &frame) {
    QStringList titles;
    for (QAction *action : frame.menuBar()->actions())
        titles.append(action->text());
    return titles;
}

using StartupTest = ShellFixture;

TEST_F(StartupTest, EmptyCommandLineOpensNoConnectionWindow) {
    ASSERT_TRUE(Start());
    EXPECT_TRUE(Frame().ChildFrames().empty());
    EXPECT_TRUE(Frame().windowState() & Qt::WindowMaximized);
    EXPECT_EQ(Frame().windowTitle(), "Brindle");
    EXPECT_FALSE(Frame().ShowsConnectionMenu());
    EXPECT_EQ(MenuTitles(Frame()), QStringList({"&File", "&View", "&Help"}));
    EXPECT_EQ(Frame().MessageText(), "For Help, press F1");
}

TEST_F(StartupTest, DsnOnCommandLineOpensOneWindowCaptionedWithItsPath) {
    const std::string dir = MakeTempDir();
    const std::string dsn = DsnFor(dir, "shop.dsn", SqliteSource().connect);
    ASSERT_TRUE(Start({QString::fromStdString(dsn)}));
    ASSERT_EQ(Frame().ChildFrames().size(), 1u);
    EXPECT_EQ(Frame().ChildFrames()[0]->windowTitle(), QString::fromStdString(dsn));
    EXPECT_TRUE(Frame().ShowsConnectionMenu());
    EXPECT_TRUE(MenuTitles(Frame()).contains("&Window"));
    EXPECT_TRUE(prompts_->messages.empty());
    EXPECT_EQ(app_->RecentFiles().Files().value(0), QString::fromStdString(dsn));
}

TEST_F(StartupTest, MissingDsnFailsStartWithFileMessage) {
    const std::string missing = MakeTempDir() + "/nowhere.dsn";
    EXPECT_FALSE(Start({QString::fromStdString(missing)}));
    ASSERT_EQ(prompts_->messages.size(), 1u);
    EXPECT_TRUE(prompts_->messages[0].first.contains("File not found"));
    EXPECT_TRUE(Frame().ChildFrames().empty());
}

// A path is handed to the driver manager braced: a ";" in it starts no element
// of its own. What is not a regular file is refused before it can block.
TEST_F(StartupTest, DsnPathsWithSemicolonsOpenAndFifosAreRefused) {
    const std::string dir = MakeTempDir() + "/a;DATABASE=other.db;b";
    ASSERT_TRUE(std::filesystem::create_directory(dir));
    const std::string dsn = DsnFor(dir, "shop.dsn", SqliteSource().connect);
    ASSERT_TRUE(Start({QString::fromStdString(dsn)}));
    ASSERT_EQ(Frame().ChildFrames().size(), 1u);
    // The fixture's database, not an empty "other.db" the path's tail would name.
    OdbcStatement statement(Frame().ActiveDocument()->Database());
    EXPECT_NO_THROW(statement.ExecuteDirect("SELECT COUNT(*) FROM orders"));

    const std::string fifo = MakeTempDir() + "/pipe.dsn";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(app_->OpenDocumentFile(QString::fromStdString(fifo)), nullptr);
    ASSERT_EQ(prompts_->messages.size(), 1u);
    EXPECT_TRUE(prompts_->messages[0].first.contains("This is not a data source file."));
}

TEST_F(StartupTest, RefusedConnectionFailsStartAndReportsTheDriverText) {
    const std::string dir = MakeTempDir();
    // A database file in a folder that does not exist, and creation forbidden.
    const std::string dsn = WriteDsn(
        dir, "bad.dsn", "DRIVER=SQLite3\r\nDATABASE=" + dir + "/no/such/dir/x.db\r\nNoCreat=1\r\n");
    EXPECT_FALSE(Start({QString::fromStdString(dsn)}));
    ASSERT_EQ(prompts_->messages.size(), 1u);
    EXPECT_EQ(prompts_->messages[0].second, UserPrompts::Icon::Exclamation);
    EXPECT_FALSE(prompts_->messages[0].first.contains("[unixODBC]"));
    EXPECT_FALSE(OdbcEnvironment::IsAllocated());
}

TEST_F(StartupTest, RefusedConnectionWithShowMessageOffShowsNothing) {
    app_->Settings().ShowMessage = 0;
    {
        auto profile = CBrindleApp::Profile();
        profile->setValue("GeneralSettings/ShowMessage", 0);
    }
    const std::string dir = MakeTempDir();
    const std::string dsn = WriteDsn(dir, "bad.dsn", "DRIVER=NoSuchDriver\r\n");
    EXPECT_FALSE(Start({QString::fromStdString(dsn)}));
    EXPECT_TRUE(prompts_->messages.empty());
}

TEST_F(StartupTest, CommandsWithoutAWindowFollowTheirRules) {
    ASSERT_TRUE(Start());
    for (int id : {ID_FILE_NEW, ID_FILE_OPEN, ID_SETTINGS, ID_APP_ABOUT, ID_APP_EXIT,
                   ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR})
        EXPECT_TRUE(Frame().QueryCommand(id).enabled) << id;
    // Document commands need a document; unbuilt ones never pretend to work.
    for (int id : {ID_FILE_SAVE, ID_FILE_CLOSE, ID_REFRESH, ID_WINDOW_CASCADE, ID_FILE_MRU_FILE1,
                   ID_EDIT_FIND})
        EXPECT_FALSE(Frame().QueryCommand(id).enabled) << id;
    EXPECT_TRUE(Frame().QueryCommand(ID_VIEW_TOOLBAR).checked);
    EXPECT_TRUE(Frame().SendCommand(ID_VIEW_TOOLBAR));
    EXPECT_FALSE(Frame().QueryCommand(ID_VIEW_TOOLBAR).checked);
    QCoreApplication::processEvents(); // the menu item follows once the program is idle
    EXPECT_FALSE(Frame().Action(ID_VIEW_TOOLBAR)->isChecked());
    EXPECT_FALSE(Frame().SendCommand(ID_FILE_SAVE));
}

TEST_F(StartupTest, HoveringACommandShowsItsPromptAndItsTooltip) {
    ASSERT_TRUE(Start());
    QAction *open = Frame().Action(ID_FILE_OPEN);
    EXPECT_EQ(open->toolTip(), "Open");
    EXPECT_EQ(open->shortcut(), QKeySequence("Ctrl+O"));
    open->showStatusText(&Frame());
    EXPECT_EQ(Frame().MessageText(), "Opens an existing ODBC connect");
    QStatusTipEvent leave{QString()};
    QCoreApplication::sendEvent(&Frame(), &leave);
    EXPECT_EQ(Frame().MessageText(), "For Help, press F1");
}

TEST_F(StartupTest, SettingsCommandRunsTheSheetAndCancelWritesNothing) {
    ASSERT_TRUE(Start());
    prompts_->onExec = [](QDialog &) { return int(QDialog::Rejected); };
    EXPECT_TRUE(Frame().SendCommand(ID_SETTINGS));
    EXPECT_EQ(prompts_->execCount, 1);
    auto profile = CBrindleApp::Profile();
    EXPECT_TRUE(profile->allKeys().filter("Settings").isEmpty());
}

TEST_F(StartupTest, AboutCommandShowsTheBox) {
    ASSERT_TRUE(Start());
    QString caption;
    prompts_->onExec = [&](QDialog &dialog) {
        caption = dialog.windowTitle();
        return int(QDialog::Accepted);
    };
    EXPECT_TRUE(Frame().SendCommand(ID_APP_ABOUT));
    EXPECT_EQ(caption, "About Brindle");
}

TEST_F(StartupTest, VersionTextEndsWithOneBlank) {
    EXPECT_EQ(CBrindleApp::VersionText(), "Brindle Version " BRINDLE_PROJECT_VERSION " ");
}

} // namespace
