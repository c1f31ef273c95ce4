#include <algorithm>
#include <filesystem>
#include <regex>

#include <QClipboard>

#include <sys/stat.h>

#include "ConsoleFixture.h"
#include "console/SqlFileReader.h"
#include "framework/CommandTable.h"

namespace {

using ConsoleFileTest = ConsoleFixture;

QString Q(const std::string &path) { return QString::fromStdString(path); }

// The opened message as written, with the clock time it names replaced by "TT".
std::string WithoutClock(const std::string &text) {
    static const std::regex clock(" was opened at [0-2][0-9]:[0-5][0-9]:[0-5][0-9]\r\n");
    return std::regex_replace(text, clock, " was opened at TT\r\n");
}

TEST_F(ConsoleFileTest, OpenSqlAppendsTheFileUpToItsFirstNulAndKeepsIt) {
    view_->AppendText("history");
    view_->ShowPrompt();
    const std::string path = dir_ + "/query.sql";
    const std::string statement = "select '100% Zoë, 東京'\r\nfrom t where a like '%s'";
    WriteBytes(path, statement + std::string("\0trailing junk", 14));
    EXPECT_TRUE(Enabled(ID_OPEN_SQL));
    EXPECT_FALSE(Enabled(ID_SAVE_SQL));

    prompts_->openFileAnswers.push_back(Q(path));
    view_->RunCommand(ID_OPEN_SQL);
    EXPECT_EQ(view_->LastStatement(), statement);
    EXPECT_EQ(Shown(), "history\nSQL> select '100% Zoë, 東京'\nfrom t where a like '%s'");
    EXPECT_TRUE(Enabled(ID_SAVE_SQL));

    // Cancel and an unreadable file change nothing.
    view_->RunCommand(ID_OPEN_SQL);
    prompts_->openFileAnswers.push_back(Q(dir_ + "/missing.sql"));
    view_->RunCommand(ID_OPEN_SQL);
    EXPECT_EQ(view_->LastStatement(), statement);
    EXPECT_EQ(Shown(), "history\nSQL> select '100% Zoë, 東京'\nfrom t where a like '%s'");
}

TEST_F(ConsoleFileTest, OpenSqlRefusesWhatIsNotARegularFileAndKeepsTheInput) {
    view_->ShowPrompt();
    Type(QStringLiteral("typed"));
    view_->SetLastStatement("select 1");
    const std::string fifo = dir_ + "/pipe.sql";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    // Reading either would block or never end; both are refused with a message.
    for (const std::string &path : {fifo, dir_}) {
        prompts_->messages.clear();
        prompts_->openFileAnswers.push_back(Q(path));
        view_->RunCommand(ID_OPEN_SQL);
        ASSERT_EQ(prompts_->messages.size(), 1u) << path;
        EXPECT_EQ(prompts_->messages[0].first.toStdString(),
                  "File " + path + " could not be opened: it is not a regular file.");
        EXPECT_EQ(Shown(), "\nSQL> typed");
        EXPECT_EQ(view_->LastStatement(), "select 1");
    }
    // A file over the limit is refused without being read.
    const std::string big = dir_ + "/big.sql";
    WriteBytes(big, "12345");
    std::string text = "kept";
    EXPECT_EQ(SqlFileReader::Read(big, text, 4), SqlFileReader::Outcome::TooLarge);
    EXPECT_EQ(text, "kept");
    EXPECT_EQ(SqlFileReader::Read(big, text, 5), SqlFileReader::Outcome::Read);
    EXPECT_EQ(text, "12345");
}

TEST_F(ConsoleFileTest, ALongWordIsShownCopiedFoundRunAndSpooledWhole) {
    const std::string spool = dir_ + "/long.lst";
    prompts_->saveFileAnswers.push_back(Q(spool));
    view_->ToggleSpool();
    // A literal of some thousand characters of one, two, three and four bytes.
    const std::string unit = "0123456789abcdefé東😀";
    std::string word = "X'";
    for (int i = 0; i < 300; ++i)
        word += unit;
    const std::string statement = "insert into t values (" + word + "')";
    const std::string path = dir_ + "/long.sql";
    WriteBytes(path, statement);
    prompts_->openFileAnswers.push_back(Q(path));
    view_->RunCommand(ID_OPEN_SQL);
    EXPECT_EQ(Input(), statement);
    Key(Qt::Key_Return);
    // The input is run whole, and echoed whole.
    EXPECT_EQ(view_->LastStatement(), statement);
    EXPECT_NE(ReadBytes(spool).find(statement + "\r\n\r\n"), std::string::npos);
    view_->selectAll();
    view_->copy();
    const std::string copied = QGuiApplication::clipboard()->text().toStdString();
    EXPECT_NE(copied.find("\nSQL> " + statement + "\n\n"), std::string::npos);
    EXPECT_EQ(copied, Shown());
    // Every occurrence is found, wherever the word was cut for the screen: the
    // matches of the two needles tile the word from two offsets.
    for (const std::string &needle : {unit, unit.substr(10) + unit.substr(0, 10)}) {
        view_->setTextCursor(QTextCursor(view_->document()));
        int found = 0;
        while (view_->FindText({QString::fromStdString(needle), false, false, true})) {
            view_->copy();
            EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), needle);
            ++found;
        }
        EXPECT_EQ(found, needle == unit ? 300 : 299);
    }
    // Lines count as written: one per CR LF in everything the console showed.
    const std::string shown = ReadBytes(spool);
    Key(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(view_->CaretLine(), 1 + std::count(shown.begin(), shown.end(), '\n'));
    // Pasted, it stands in the input whole.
    QGuiApplication::clipboard()->setText(QString::fromStdString(statement));
    view_->paste();
    EXPECT_EQ(Input(), statement);
}

TEST_F(ConsoleFileTest, SaveSqlWritesExactlyTheLastStatement) {
    const std::string statement = "select 'Zoë, 東京'\r\nfrom t -- no terminator";
    view_->SetLastStatement(statement);
    ASSERT_TRUE(Enabled(ID_SAVE_SQL));

    // Cancel writes nothing anywhere.
    view_->RunCommand(ID_SAVE_SQL);
    ASSERT_EQ(prompts_->proposedSaveNames.size(), 1u);
    EXPECT_EQ(prompts_->proposedSaveNames[0],
              QString::fromStdString(doc_->GetDataSourceName()) + QStringLiteral(".sql"));
    EXPECT_TRUE(std::filesystem::is_empty(dir_));

    // An existing longer file is replaced, not overwritten in place.
    const std::string path = dir_ + "/saved.sql";
    WriteBytes(path, std::string(500, '#'));
    prompts_->saveFileAnswers.push_back(Q(path));
    view_->RunCommand(ID_SAVE_SQL);
    EXPECT_EQ(ReadBytes(path), statement);
    // A name without an extension gets ".sql".
    prompts_->saveFileAnswers.push_back(Q(dir_ + "/plain"));
    view_->RunCommand(ID_SAVE_SQL);
    EXPECT_EQ(ReadBytes(dir_ + "/plain.sql"), statement);
    // An uncreatable file is silent.
    prompts_->saveFileAnswers.push_back(Q(dir_ + "/no/such/dir/x.sql"));
    view_->RunCommand(ID_SAVE_SQL);
    EXPECT_TRUE(prompts_->messages.empty());
}

TEST_F(ConsoleFileTest, CancellingTheSpoolDialogChangesNothing) {
    view_->ShowPrompt();
    Type(QStringLiteral("abc"));
    doc_->Spooling = 0;
    view_->ToggleSpool();
    ASSERT_EQ(prompts_->proposedSaveNames.size(), 1u);
    EXPECT_EQ(prompts_->proposedSaveNames[0],
              QString::fromStdString(doc_->GetDataSourceName()) + QStringLiteral(".lst"));
    EXPECT_EQ(Shown(), "\nSQL> abc");
    EXPECT_EQ(doc_->Spooling, 0);
    EXPECT_FALSE(view_->IsSpoolFileOpen());
    EXPECT_TRUE(std::filesystem::is_empty(dir_));
}

TEST_F(ConsoleFileTest, SpoolFileHoldsEverythingAppendedWhileOnByteForByte) {
    view_->AppendText("before spooling");
    view_->ShowPrompt();
    Type(QStringLiteral("typed"));
    const std::string path = dir_ + "/session.lst";
    prompts_->saveFileAnswers.push_back(Q(path));
    view_->ToggleSpool();
    ASSERT_EQ(doc_->Spooling, 1);

    view_->AppendText("select 'Zoë, 東京', '100% %s' from t\r\n\r\n");
    view_->AppendText("OK (Elapsed Time: 0 sec.)\r\n");
    view_->ShowPrompt();
    // Typed input and letters typed in the history stay out of the file.
    Type(QStringLiteral("sel"));
    ClickAt(0, 2);
    Type(QStringLiteral("ect"));
    EXPECT_EQ(Input(), "select");
    // Text inserted with the caret in the history is output, so it is spooled.
    ClickAt(0, 2);
    view_->InsertText(" 1");
    EXPECT_EQ(Input(), "select 1");
    view_->ToggleSpool();
    EXPECT_EQ(doc_->Spooling, 0);
    view_->AppendText("after spooling");

    const std::string expected = "\r\n\r\nThe spool file " + path +
                                 " was opened at TT\r\n"
                                 "\r\nSQL> "
                                 "select 'Zoë, 東京', '100% %s' from t\r\n\r\n"
                                 "OK (Elapsed Time: 0 sec.)\r\n"
                                 "\r\nSQL>  1";
    EXPECT_EQ(WithoutClock(ReadBytes(path)), expected);
    // The console shows both messages; the closing one is not in the file.
    const std::string shown = Shown();
    EXPECT_NE(shown.find("\n\nThe spool file " + path + " was opened at "), std::string::npos);
    EXPECT_NE(shown.find("select 1\n\nThe spool file was closed\n\nSQL> after spooling"),
              std::string::npos);
}

TEST_F(ConsoleFileTest, TwoConsolesSpoolToTheirOwnFilesAtOnce) {
    CBrindleDoc otherDoc(*host_);
    auto other = MakeView(otherDoc);
    const std::string first = dir_ + "/first.lst";
    const std::string second = dir_ + "/second"; // gets ".lst"
    prompts_->saveFileAnswers.push_back(Q(first));
    view_->ToggleSpool();
    prompts_->saveFileAnswers.push_back(Q(second));
    other->ToggleSpool();
    ASSERT_EQ(doc_->Spooling, 1);
    ASSERT_EQ(otherDoc.Spooling, 1);
    for (int i = 0; i < 3; ++i) {
        view_->AppendText("one " + std::to_string(i) + "\r\n");
        other->AppendText("two " + std::to_string(i) + "\r\n");
    }
    view_->ToggleSpool();
    other->AppendText("still two");
    other->CloseSpoolFile();
    EXPECT_EQ(otherDoc.Spooling, 0);
    EXPECT_EQ(WithoutClock(ReadBytes(first)), "\r\n\r\nThe spool file " + first +
                                                  " was opened at TT\r\n\r\nSQL> "
                                                  "one 0\r\none 1\r\none 2\r\n");
    EXPECT_EQ(WithoutClock(ReadBytes(second + ".lst")),
              "\r\n\r\nThe spool file " + second +
                  ".lst was opened at TT\r\n\r\nSQL> two 0\r\ntwo 1\r\ntwo 2\r\nstill two");
    // Closing for the document's close writes no message to the console.
    EXPECT_EQ(Shown(*other).substr(Shown(*other).size() - 9), "still two");
}

TEST_F(ConsoleFileTest, ClosingTheConsoleWhileSpoolingLeavesACompleteFile) {
    const std::string path = dir_ + "/closed.lst";
    prompts_->saveFileAnswers.push_back(Q(path));
    view_->ToggleSpool();
    view_->AppendText("last words");
    view_->ShowPrompt();
    view_.reset();
    EXPECT_EQ(doc_->Spooling, 0);
    EXPECT_EQ(doc_->m_pOutputView, nullptr);
    const std::string bytes = ReadBytes(path);
    EXPECT_TRUE(bytes.ends_with("last words\r\nSQL> ")) << bytes;
}

TEST_F(ConsoleFileTest, SpoolFailuresAreReportedOnTheConsole) {
    view_->ShowPrompt();
    const std::string missing = dir_ + "/missing/out.lst";
    prompts_->saveFileAnswers.push_back(Q(missing));
    view_->ToggleSpool();
    EXPECT_EQ(doc_->Spooling, 0);
    EXPECT_EQ(Shown(), "\nSQL> \n\nError: The spool file " + missing + " was not opened\n\nSQL> ");

    // A device that takes the open but fails the writes makes the close fail.
    const std::string full = dir_ + "/full.lst";
    std::filesystem::create_symlink("/dev/full", full);
    prompts_->saveFileAnswers.push_back(Q(full));
    view_->ToggleSpool();
    ASSERT_EQ(doc_->Spooling, 1);
    view_->AppendText(std::string(10000, 'x'));
    view_->ToggleSpool();
    EXPECT_NE(Shown().find("\n\nError: The spool file was not closed\n\nSQL> "), std::string::npos);
    // The stream is gone: spooling is off, and the next Spool asks for a new file.
    EXPECT_EQ(doc_->Spooling, 0);
    EXPECT_FALSE(view_->IsSpoolFileOpen());
    view_->AppendText("more");
    view_->ToggleSpool();
    EXPECT_EQ(prompts_->proposedSaveNames.size(), 3u);
}

} // namespace
