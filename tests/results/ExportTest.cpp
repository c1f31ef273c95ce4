#include <functional>
#include <string>
#include <vector>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include "ScriptedPrompts.h"
#include "TestDataSources.h"
#include "results/ExportCommand.h"
#include "results/ExportFile.h"
#include "results/ExportProgress.h"
#include "results/GridExporter.h"
#include "results/GridModel.h"

namespace {

std::string ReadAll(const std::string &path) {
    QFile file(QString::fromStdString(path));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll().toStdString();
}

void Fill(GridModel &grid, const std::vector<std::string> &titles,
          const std::vector<std::vector<std::string>> &rows) {
    for (size_t column = 0; column < titles.size(); ++column)
        grid.InsertColumn(static_cast<int>(column), titles[column], Qt::AlignLeft);
    for (size_t row = 0; row < rows.size(); ++row) {
        grid.InsertRow(static_cast<int>(row), rows[row][0]);
        for (size_t column = 1; column < rows[row].size(); ++column)
            grid.SetCell(static_cast<int>(row), static_cast<int>(column), rows[row][column]);
    }
}

class ExportTest : public ::testing::Test {
protected:
    void SetUp() override { dir_ = MakeTempDir(); }

    // Runs one writer into a fresh file and returns the file's bytes.
    std::string Written(const std::function<void(const GridExporter &, ExportFile &)> &write,
                        const ExportSource &source) {
        const std::string path = dir_ + "/out";
        ExportFile file;
        EXPECT_TRUE(file.Create(QString::fromStdString(path)));
        write(GridExporter(source), file);
        EXPECT_TRUE(file.Close());
        return ReadAll(path);
    }

    std::string dir_;
};

// Quotes, a tab, a line break, HTML specials, UTF-8 cut at a character, an empty
// cell, and a 20-character title over a 3-character column.
TEST_F(ExportTest, EachFormatWritesTheGridByteForByte) {
    GridModel grid;
    Fill(grid, {"<ID>", "Twenty character hdr", "Note"},
         {{"1", "Zoë", "a\"b€€€€"}, {"2", "tab\there", "x<y & z"}, {"3", "", "line\r\nbreak"}});
    ExportSource source;
    source.grid = &grid;
    source.columnCount = 3;
    source.caption = "Orders & \"items\" <1>";
    source.versionText = "Brindle Version 2.1 ";
    source.columnPixelWidths = {30, 18, 36};
    source.xPixelWidth = 6;

    const std::string pad17(17, ' '), pad12(12, ' '), pad20(20, ' ');
    const std::string tabbed = "\"<ID>\"\t\"Twenty character hdr\"\t\"Note\"\r\n"
                               "\"1\"\t\"Zoë\"\t\"a\"\"b€€€€\"\r\n"
                               "\"2\"\t\"tab\there\"\t\"x<y & z\"\r\n"
                               "\"3\"\t\"\"\t\"line\r\nbreak\"";
    std::string commas = "\"<ID>\",\"Twenty character hdr\",\"Note\"\r\n"
                         "\"1\",\"Zoë\",\"a\"\"b€€€€\"\r\n"
                         "\"2\",\"tab\there\",\"x<y & z\"\r\n"
                         "\"3\",\"\",\"line\r\nbreak\"";
    const std::string report = "Orders & \"items\" <1>\r\n\r\n"
                               "<ID>  Twenty character hdr Note  \r\n"
                               "----- -------------------- ------\r\n"
                               "1     Zoë" +
                               pad17 +
                               " a\"b€€€\r\n"
                               "2     tab\there" +
                               pad12 +
                               " x<y & \r\n"
                               "3     " +
                               pad20 +
                               " line\r\n\r\n"
                               "----------------------------------\r\n"
                               " 3 rows retrieved\r\n"
                               "Created by Brindle Version 2.1 ";
    const std::string html =
        "<html>\r\n\r\n<head>\r\n<meta http-equiv=\"Content-Type\" content=\"text/html\">\r\n"
        "<title>Brindle</title>\r\n</head>\r\n\r\n<body bgcolor=\"#C0C0C0\">\r\n"
        "<TABLE BORDER=1>\r\n"
        "<CAPTION ALIGN= LEFT><BIG><B><I>Orders &amp; &quot;items&quot; &lt;1&gt;"
        "</I></B></BIG></CAPTION>\r\n"
        "<TR>\r\n<TH>&lt;ID&gt; <TH>Twenty character hdr<TH>Note  "
        "<TR>\r\n<TD>1    <TD>Zoë" +
        pad17 +
        "<TD>a&quot;b€€€"
        "<TR>\r\n<TD>2    <TD>tab\there" +
        pad12 +
        "<TD>x&lt;y &amp; "
        "<TR>\r\n<TD>3    <TD>" +
        pad20 +
        "<TD>line\r\n"
        "</TABLE>\r\n<P> <B>3</B> rows retrieved\r\n"
        "<P> <FONT COLOR=BLUE SIZE=\"-1\">Created by Brindle Version 2.1 </FONT>\r\n"
        "</body>\r\n</html>\r\n";

    const struct {
        const char *format;
        std::function<void(const GridExporter &, ExportFile &)> write;
        std::string expected;
    } cases[] = {
        {"tab", [](const GridExporter &e, ExportFile &f) { e.ExportDelimited(f, '\t'); }, tabbed},
        {"csv", [](const GridExporter &e, ExportFile &f) { e.ExportDelimited(f, ','); }, commas},
        {"text", [](const GridExporter &e, ExportFile &f) { e.ExportTextReport(f); }, report},
        {"html", [](const GridExporter &e, ExportFile &f) { e.ExportHtml(f, nullptr); }, html},
    };
    for (const auto &c : cases)
        EXPECT_EQ(Written(c.write, source), c.expected) << c.format;
}

class CountingProgress : public ExportProgress {
public:
    bool Begin(int total, int perStep) override {
        begun = {total, perStep};
        return true;
    }
    void Step() override { ++steps; }
    void End() override { ++ends; }
    std::pair<int, int> begun;
    int steps = 0;
    int ends = 0;
};

TEST_F(ExportTest, ExportSelectedWritesTheSelectedRowsInTheSortedOrder) {
    GridModel grid;
    Fill(grid, {"id", "key"}, {});
    for (int row = 0; row < 10; ++row) {
        grid.InsertRow(row, "r" + std::to_string(row));
        grid.SetCell(row, 1, std::string(1, static_cast<char>('j' - row)));
    }
    grid.Sort(1, true); // r9 (a) ... r0 (j)
    CountingProgress progress;
    ExportSource source;
    source.grid = &grid;
    source.columnCount = 2;
    source.exportAllRows = false;
    source.selectedRows = {7, 2, 5};
    source.progress = &progress;

    EXPECT_EQ(
        Written([](const GridExporter &e, ExportFile &f) { e.ExportDelimited(f, ','); }, source),
        "\"id\",\"key\"\r\n\"r7\",\"c\"\r\n\"r4\",\"f\"\r\n\"r2\",\"h\"");
    // The bar runs over every grid row, written or skipped, in steps of 10.
    EXPECT_EQ(progress.begun, std::make_pair(10, 10));
    EXPECT_EQ(progress.steps, 10);
    EXPECT_EQ(progress.ends, 1);
}

TEST_F(ExportTest, TemplatesGiveTheTableTheirOwnTagsBetweenTheMarkers) {
    GridModel grid;
    Fill(grid, {"a", "b"}, {{"1", "2"}});
    ExportSource source;
    source.grid = &grid;
    source.columnCount = 2;
    source.versionText = "V ";
    const std::string credit = "<P> <FONT COLOR=BLUE SIZE=\"-1\">Created by V </FONT>\r\n";

    const struct {
        const char *name;
        std::string htmlTemplate;
        std::string expected;
    } cases[] = {
        {"text after the begin marker is dropped; tags are captured, markers in any case",
         "<html><body>\n<table><%BeginDetail%>dropped\n<tr class=\"r\"><th>x<td align=right>y\n"
         "<%ENDDETAIL%></table>\n</body></html>\n",
         "<html><body>\r\n<table><tr class=\"r\">\r\n<th>a<th>b<tr class=\"r\">\r\n"
         "<td align=right>1<td align=right>2</table>\r\n" +
             credit + "</body></html>\r\n"},
        {"both markers on one CR LF line",
         "<table><%begindetail%><TR><TH><Td><%enddetail%></table>\r\n",
         "<table><TR>\r\n<TH>a<TH>b<TR>\r\n<Td>1<Td>2</table>\r\n"},
        {"a missing end marker loses the rest", "<p>before</p>\n<%begindetail%>\n<tr>\n</html>\n",
         "<p>before</p>\r\n"},
        {"no begin marker: copied, end marker included, no table", "<html>\n<%enddetail%>\n</HTML>",
         "<html>\r\n<%enddetail%>\r\n" + credit + "</HTML>\r\n"},
    };
    for (const auto &c : cases) {
        QByteArray bytes = QByteArray::fromStdString(c.htmlTemplate);
        QBuffer htmlTemplate(&bytes);
        htmlTemplate.open(QIODevice::ReadOnly);
        EXPECT_EQ(
            Written([&](const GridExporter &e, ExportFile &f) { e.ExportHtml(f, &htmlTemplate); },
                    source),
            c.expected)
            << c.name;
    }
}

TEST_F(ExportTest, ATextReportHoldsMoreThan128Columns) {
    GridModel grid;
    std::vector<std::string> titles, cells;
    for (int column = 0; column < 200; ++column) {
        titles.push_back("c" + std::to_string(column));
        cells.push_back(std::to_string(column));
    }
    Fill(grid, titles, {cells});
    ExportSource source;
    source.grid = &grid;
    source.columnCount = 200;
    const std::string report =
        Written([](const GridExporter &e, ExportFile &f) { e.ExportTextReport(f); }, source);
    EXPECT_NE(report.find(" c198 c199\r\n"), std::string::npos);
    EXPECT_NE(report.find(" 198  199 \r\n"), std::string::npos);
}

TEST_F(ExportTest, AFailedWriteIsReported) {
    if (!QFile::exists(QStringLiteral("/dev/full")))
        GTEST_SKIP() << "needs /dev/full";
    GridModel grid;
    Fill(grid, {"text"}, {});
    for (int row = 0; row < 1000; ++row)
        grid.InsertRow(row, "a cell of some length");
    ExportSource source;
    source.grid = &grid;
    source.columnCount = 1;
    ScriptedPrompts prompts;

    EXPECT_EQ(ExportCommand::Export(QStringLiteral("/dev/full"), ExportCommand::Format::TextReport,
                                    source, prompts, nullptr),
              ExportCommand::Outcome::WriteFailed);
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_TRUE(
        prompts.messages[0].first.startsWith(QStringLiteral("/dev/full could not be written")))
        << prompts.messages[0].first.toStdString();
    // An uncreatable file stays silent.
    EXPECT_EQ(ExportCommand::Export(QString::fromStdString(dir_ + "/no/such/dir/x.tab"),
                                    ExportCommand::Format::TabDelimited, source, prompts, nullptr),
              ExportCommand::Outcome::NotCreated);
    EXPECT_EQ(prompts.messages.size(), 1u);
}

// A staged file appears only on Commit; a link or a device is written in place,
// never replaced.
TEST_F(ExportTest, AStagedFileAppearsWhenCommittedAndNeverReplacesALink) {
    const QString target = QString::fromStdString(dir_ + "/out.csv");
    {
        ExportFile file;
        ASSERT_TRUE(file.CreateBeside(target));
        file.Write("partial");
        EXPECT_FALSE(QFile::exists(target));
    }
    EXPECT_EQ(QDir(QString::fromStdString(dir_)).entryList(QDir::Files | QDir::Hidden).size(), 0);

    ExportFile file;
    ASSERT_TRUE(file.CreateBeside(target));
    file.Write("whole");
    ASSERT_TRUE(file.Commit());
    EXPECT_EQ(ReadAll(dir_ + "/out.csv"), "whole");
    EXPECT_EQ(QDir(QString::fromStdString(dir_)).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("out.csv")});

    const QString link = QString::fromStdString(dir_ + "/link.csv");
    ASSERT_TRUE(QFile::link(target, link));
    ExportFile through;
    ASSERT_TRUE(through.CreateBeside(link));
    through.Write("again");
    ASSERT_TRUE(through.Commit());
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(ReadAll(dir_ + "/out.csv"), "again");
}

} // namespace
