#include <regex>
#include <sstream>

#include "ConsoleFixture.h"
#include "odbc/ConnectString.h"

namespace {

// The console of a document connected to a real data source.
class ConsoleSourceTest : public ConsoleFixture, public ::testing::WithParamInterface<std::string> {
protected:
    void SetUp() override {
        ConsoleFixture::SetUp();
        source_ = SourceNamed(GetParam());
        ASSERT_TRUE(doc_->Database().Open(source_.connect, false, nullptr));
        host_->settings.ShowMessage = 0;
    }
    TestDataSource source_;
};

// The value of the first PWD element of a connection string, or "".
std::string PasswordOf(const std::string &connect) {
    for (const std::string &element : ConnectString::Elements(connect)) {
        if (ConnectString::IsPasswordElement(element) && element.find('=') != std::string::npos)
            return element.substr(element.find('=') + 1);
    }
    return {};
}

TEST_P(ConsoleSourceTest, BannerListsTheConnectionWithoutItsPasswordThenAPrompt) {
    view_->ShowBanner();
    const std::string shown = Shown();
    static const std::regex head("Brindle Version 2\\.1  on (Sun|Mon|Tue|Wed|Thu|Fri|Sat) "
                                 "(Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) "
                                 "[0-3][0-9] [0-2][0-9]:[0-5][0-9]:[0-5][0-9] [0-9]{4}\n"
                                 "\nConnected to:\n\tODBC\n[\\s\\S]*\nSQL> ");
    EXPECT_TRUE(std::regex_match(shown, head)) << shown;
    const std::string &connect = doc_->Database().ConnectString();
    size_t passwords = 0;
    for (const std::string &element : ConnectString::Elements(connect)) {
        if (ConnectString::IsPasswordElement(element)) {
            ++passwords;
        } else {
            EXPECT_NE(shown.find("\t" + element + "\n"), std::string::npos) << element;
        }
    }
    // Every password line is masked; none shows a value.
    size_t masked = 0;
    std::istringstream lines(shown);
    for (std::string line; std::getline(lines, line);) {
        if (line.size() > 1 && line[0] == '\t' &&
            ConnectString::IsPasswordElement(line.substr(1))) {
            EXPECT_EQ(line, "\tPWD=*****");
            ++masked;
        }
    }
    EXPECT_EQ(masked, passwords);
    if (!PasswordOf(source_.connect).empty()) {
        EXPECT_GE(masked, 1u);
    }
    EXPECT_EQ(view_->ReadOnly(), 0);
    EXPECT_EQ(view_->PromptPos(), End());
}

TEST_P(ConsoleSourceTest, TypedStatementIsEchoedRunAndSpooledUnchanged) {
    view_->ShowBanner();
    const std::string path = dir_ + "/run.lst";
    prompts_->saveFileAnswers.push_back(QString::fromStdString(path));
    view_->ToggleSpool();
    ASSERT_EQ(doc_->Spooling, 1);
    const std::string statement = "UPDATE customers SET city = city WHERE name = 'Zoë, 東京'";
    Type(QStringLiteral("  ") + QString::fromUtf8(statement.c_str()));
    Key(Qt::Key_Return);
    EXPECT_EQ(view_->LastStatement(), statement);
    static const std::regex ok("\nSQL> UPDATE customers SET city = city WHERE name = 'Zoë, 東京'\n"
                               "\nOK \\(Elapsed Time: [01] sec\\.\\)\n\nSQL> $");
    EXPECT_TRUE(std::regex_search(Shown(), ok)) << Shown();

    // A failing statement reports on the console and gives a new prompt.
    Type(QStringLiteral("sel 1"));
    Key(Qt::Key_Return);
    const std::string shown = Shown();
    EXPECT_NE(shown.find("sel 1\n\nError: ("), std::string::npos) << shown;
    EXPECT_TRUE(shown.ends_with("\nSQL> "));
    EXPECT_EQ(view_->PromptPos(), End());
    view_->ToggleSpool();

    const std::string bytes = ReadBytes(path);
    static const std::regex spooled(
        "\r\nSQL> UPDATE customers SET city = city WHERE name = 'Zoë, 東京'\r\n"
        "\r\nOK \\(Elapsed Time: [01] sec\\.\\)\r\n\r\nSQL> sel 1\r\n\r\nError: \\(");
    EXPECT_TRUE(std::regex_search(bytes, spooled)) << bytes;
    // Typed keys never reach the file on their own: the blanks before the statement are gone.
    EXPECT_EQ(bytes.find("  UPDATE"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Sources, ConsoleSourceTest, ::testing::ValuesIn(TestSourceNames()),
                         [](const auto &info) { return info.param; });

} // namespace
