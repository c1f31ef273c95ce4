#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include <unistd.h>

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "../shell/ShellFixture.h"
#include "Panes.h"
#include "framework/AppSettings.h"
#include "framework/CommandTable.h"
#include "results/CExportQueryDlg.h"
#include "results/GridModel.h"
#include "results/GridRow.h"

namespace {

// A table of this process's own: ctest runs the cases side by side, and the
// export reads the table through a connection of its own.
const std::string Table = "brindle_export_query_" + std::to_string(::getpid());
const std::string Query = "SELECT id, name, note, amount FROM " + Table + " ORDER BY id";

std::string ReadFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// What each driver fails on after it has given rows, or, where the driver holds
// the whole result first (MariaDB), while executing.
std::string FailingQuery(const std::string &source) {
    if (source == "sqlite")
        return "SELECT id, CASE WHEN id < 600 THEN id ELSE abs(-9223372036854775807 - 1) END "
               "FROM " +
               Table + " ORDER BY id";
    if (source == "postgres")
        return "SELECT g, 1 / (50000 - g) FROM generate_series(1, 60000) AS g";
    return "SELECT id FROM " + Table + " WHERE id > (SELECT 1 UNION SELECT 2)";
}

// Long enough that Esc comes while rows are written.
std::string LongQuery(const std::string &source) {
    const std::string pair = "SELECT a.id, b.name FROM " + Table + " a, " + Table + " b";
    // MariaDB's driver holds the whole result before the first row: a million rows.
    return source == "mariadb" ? pair : pair + ", " + Table + " c";
}

class ExportQueryTest : public ShellFixture, public ::testing::WithParamInterface<std::string> {
protected:
    void SetUp() override {
        ShellFixture::SetUp();
        source_ = SourceNamed(GetParam());
        std::string insert = std::string("INSERT INTO ") + Table + " VALUES ";
        for (int id = 1; id <= 1000; ++id) {
            static const char *const names[] = {"Customer", "He said \"hi\", ok", "<b>&amp;</b>",
                                                "Zo\xC3\xAB", "tab\tand, comma"};
            insert += (id > 1 ? ", (" : "(") + std::to_string(id) + ", '" + names[id % 5] + " " +
                      std::to_string(id) + "', " +
                      (id % 7 == 0 ? std::string("NULL") : "'Note " + std::to_string(id) + "'") +
                      ", " + std::to_string(id * 5 / 4) + "." + std::to_string(id % 10) + "5)";
        }
        ExecuteSql(source_.connect,
                   {std::string("DROP TABLE IF EXISTS ") + Table,
                    std::string("CREATE TABLE ") + Table +
                        " (id INTEGER, name VARCHAR(40), note VARCHAR(60), amount NUMERIC(10,2))",
                    insert});
        // SQLite keeps a value longer than its column's declared size.
        if (GetParam() == "sqlite")
            ExecuteSql(source_.connect, {std::string("UPDATE ") + Table + " SET name = '" +
                                         std::string(300, 'w') + "' WHERE id = 500"});
        ASSERT_TRUE(Start());
        Frame().show();
        app_->Settings().ShowMessage = 0;
        app_->Settings().QueryTimeout = 0;
        prompts_->dataSourceAnswers.push_back(source_.connect);
        ASSERT_TRUE(Frame().SendCommand(ID_FILE_NEW));
        doc_ = Frame().ActiveDocument();
        ASSERT_NE(doc_, nullptr);
        console_ = ConsoleOf(doc_);
        grid_ = GridOf(doc_);
        dir_ = MakeTempDir();
    }
    void TearDown() override {
        ShellFixture::TearDown();
        ExecuteSql(source_.connect, {std::string("DROP TABLE IF EXISTS ") + Table});
    }

    std::string ConsoleFrom(qsizetype mark) const {
        return console_->toPlainText().mid(mark).toStdString();
    }

    // File > Export Query, answered as a user would: `edit` fills the dialog,
    // Browse picks `path` with `filter`, then OK.
    void ExportQuery(const std::string &path, const QString &filter,
                     const std::function<void(QDialog &)> &edit = nullptr) {
        QAction *command = Frame().Action(ID_EXPORT_QUERY);
        QMenu *file = Frame().menuBar()->actions().at(0)->menu();
        ASSERT_TRUE(file->actions().contains(command));
        QTest::qWait(20); // the program goes idle, as between two things a user does
        ASSERT_TRUE(command->isEnabled());
        prompts_->saveFileAnswers.push_back(QString::fromStdString(path));
        prompts_->saveFilterAnswers.push_back(filter);
        prompts_->onExec = [&](QDialog &dialog) {
            dialog.show();
            if (edit)
                edit(dialog);
            QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("fileBrowse")),
                              Qt::LeftButton);
            QPushButton *ok = dialog.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok);
            EXPECT_TRUE(ok->isEnabled());
            QTest::mouseClick(ok, Qt::LeftButton);
            return dialog.result();
        };
        command->trigger();
        prompts_->onExec = [](QDialog &) { return int(QDialog::Rejected); };
    }

    // Export Query of `sql`, typed over the dialog's statement.
    void ExportStatement(const std::string &path, const QString &filter, const std::string &sql) {
        ExportQuery(path, filter, [&](QDialog &dialog) {
            auto *statement = dialog.findChild<QPlainTextEdit *>(QStringLiteral("statement"));
            statement->setFocus();
            QTest::keyClick(statement, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(statement, QString::fromStdString(sql));
        });
    }

    void ExportAll(const std::string &path, const QString &filter) {
        prompts_->saveFileAnswers.push_back(QString::fromStdString(path));
        prompts_->saveFilterAnswers.push_back(filter);
        QTest::qWait(20); // the program goes idle, as between two things a user does
        Frame().Action(ID_EXPORT_ALL)->trigger();
    }

    // Deploy's page, with no template and no upload.
    void Deploy(const std::string &path) {
        prompts_->onExec = [&](QDialog &dialog) {
            dialog.findChild<QLineEdit *>(QStringLiteral("localFile"))
                ->setText(QString::fromStdString(path));
            dialog.findChild<QCheckBox *>(QStringLiteral("templateOn"))->setChecked(false);
            dialog.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
            return dialog.result();
        };
        QTest::qWait(20);
        Frame().Action(ID_DEPLOY)->trigger();
        prompts_->onExec = [](QDialog &) { return int(QDialog::Rejected); };
    }

    // Nothing but `expected` in the folder: no partial file left behind.
    void ExpectFolderHolds(const std::vector<std::string> &expected) {
        std::vector<std::string> names;
        for (const auto &entry : std::filesystem::directory_iterator(dir_))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        EXPECT_EQ(names, expected);
    }

    TestDataSource source_;
    CBrindleDoc *doc_ = nullptr;
    // Does `act` once the file written beside the target has rows in it.
    void OnceThePartFileGrows(QTimer &poll, std::function<void()> act) {
        poll.setInterval(20);
        QObject::connect(&poll, &QTimer::timeout, [this, &poll, act] {
            for (const auto &entry : std::filesystem::directory_iterator(dir_))
                if (entry.path().filename().string().ends_with(".part") &&
                    entry.file_size() > 65536) {
                    poll.stop();
                    act();
                    return;
                }
        });
        poll.start();
    }
    void PressEscOnceThePartFileGrows(QTimer &poll, bool &pressed) {
        OnceThePartFileGrows(poll, [this, &pressed] {
            QTest::keyClick(console_, Qt::Key_Escape);
            pressed = true;
        });
    }

    CDBOutputView *console_ = nullptr;
    CDBListView *grid_ = nullptr;
    std::string dir_;
};

TEST_P(ExportQueryTest, WritesEveryRowAsExportAllWritesTheGridsRows) {
    app_->Settings().MaxRecords = 1000;
    doc_->ExecuteStatement(Query);
    ASSERT_EQ(grid_->RowCount(), 1000);
    // MaxRecords limits the grid, never the export.
    app_->Settings().MaxRecords = 3;

    const struct {
        const char *name;
        QString filter;
    } formats[] = {{"csv", QStringLiteral("Comma Delimited File (*.csv)")},
                   {"tab", QStringLiteral("Tab Delimited File (*.tab)")},
                   {"txt", QStringLiteral("Text Report File (*.txt)")}};
    for (const auto &format : formats) {
        SCOPED_TRACE(format.name);
        const std::string exported = dir_ + "/query." + format.name;
        const qsizetype mark = console_->toPlainText().size();
        // The statement comes prefilled with the last one run.
        ExportQuery(exported, format.filter);
        EXPECT_NE(ConsoleFrom(mark).find("OK (Elapsed Time: "), std::string::npos);
        EXPECT_NE(ConsoleFrom(mark).find("sec., Exported 1000 records to " + exported + ")"),
                  std::string::npos)
            << ConsoleFrom(mark);
        const std::string bytes = ReadFile(exported);

        if (format.name == std::string("txt")) {
            // The report sizes its columns from the driver: the grid's are set to match.
            const size_t rule = bytes.find("\r\n", bytes.find("\r\n", bytes.find("\r\n") + 2) + 2);
            size_t at = rule + 2;
            for (int column = 0; column < 4; ++column) {
                const size_t dashes = bytes.find_first_not_of('-', at) - at;
                ASSERT_GT(dashes, 0u);
                grid_->setColumnWidth(column, static_cast<int>(dashes) *
                                                  grid_->TextWidth(QStringLiteral("x")));
                at += dashes + 1;
            }
        }
        const std::string all = dir_ + "/all." + format.name;
        ExportAll(all, format.filter);
        EXPECT_EQ(bytes, ReadFile(all));
        if (format.name != std::string("txt")) {
            EXPECT_NE(bytes.find("\"\"hi\"\""), std::string::npos);
        }
    }

    // The HTML page as Deploy writes it, columns as in the text report.
    const std::string page = dir_ + "/query.htm";
    ExportQuery(page, CExportQueryDlg::HtmlFilter(), [](QDialog &dialog) {
        auto *htmlPage = dialog.findChild<QCheckBox *>(QStringLiteral("htmlPage"));
        htmlPage->setFocus();
        QTest::keyClick(htmlPage, Qt::Key_Space);
    });
    const std::string deployed = dir_ + "/deployed.htm";
    Deploy(deployed);
    const std::string html = ReadFile(page);
    EXPECT_EQ(html, ReadFile(deployed));
    EXPECT_NE(html.find("<B>1000</B> rows retrieved"), std::string::npos);
    EXPECT_NE(html.find("&lt;b&gt;&amp;amp;"), std::string::npos);

    // The grid is as it was.
    EXPECT_EQ(grid_->RowCount(), 1000);
    EXPECT_EQ(grid_->GetCellText(999, 0), "1000");
    ExpectFolderHolds({"all.csv", "all.tab", "all.txt", "deployed.htm", "query.csv", "query.htm",
                       "query.tab", "query.txt"});
}

TEST_P(ExportQueryTest, EscStopsTheExportAndLeavesNoFile) {
    const std::string path = dir_ + "/big.csv";
    QTimer poll;
    bool pressed = false;
    PressEscOnceThePartFileGrows(poll, pressed);
    const qsizetype mark = console_->toPlainText().size();
    ExportStatement(path, QStringLiteral("Comma Delimited File (*.csv)"), LongQuery(GetParam()));
    EXPECT_TRUE(pressed);
    const std::string output = ConsoleFrom(mark);
    EXPECT_NE(output.find("State:HY008"), std::string::npos) << output;
    EXPECT_EQ(output.find("OK ("), std::string::npos) << output;
    ExpectFolderHolds({});
}

TEST_P(ExportQueryTest, AnErrorMidStatementIsReportedAndLeavesNoFile) {
    // A file of that name already there stays as it was.
    const std::string path = dir_ + "/failed.tab";
    std::ofstream(path, std::ios::binary) << "older";
    const qsizetype mark = console_->toPlainText().size();
    ExportStatement(path, QStringLiteral("Tab Delimited File (*.tab)"), FailingQuery(GetParam()));
    const std::string output = ConsoleFrom(mark);
    EXPECT_NE(output.find("Error: ("), std::string::npos) << output;
    EXPECT_EQ(output.find("OK ("), std::string::npos) << output;
    EXPECT_EQ(ReadFile(path), "older");
    ExpectFolderHolds({"failed.tab"});
}

TEST_P(ExportQueryTest, AFullDiskStopsTheFetchingAndIsReported) {
    // A billion rows on SQLite and PostgreSQL: only a stop at the first failed
    // write lets this end.
    const qsizetype mark = console_->toPlainText().size();
    ExportStatement("/dev/full", QStringLiteral("Comma Delimited File (*.csv)"),
                    LongQuery(GetParam()));
    ASSERT_EQ(prompts_->messages.size(), 1u);
    EXPECT_EQ(prompts_->messages[0].first,
              QStringLiteral("/dev/full could not be written completely: ") +
                  QString::fromLocal8Bit(std::strerror(ENOSPC)));
    EXPECT_EQ(ConsoleFrom(mark).find("OK ("), std::string::npos);
}

// PostgreSQL, whose sessions another connection can end.
class ExportSessionEndedTest : public ExportQueryTest {};

// The export reads through a connection of its own: losing it says nothing of
// the window's, which stays open.
TEST_P(ExportSessionEndedTest, ALostExportConnectionLeavesTheWindowConnected) {
    // The export's session names itself as its rows come.
    const std::string name = "brindle_export_" + std::to_string(::getpid());
    QTimer poll;
    bool ended = false;
    OnceThePartFileGrows(poll, [&] {
        ExecuteSql(source_.connect, {"SELECT pg_terminate_backend(pid) FROM pg_stat_activity "
                                     "WHERE application_name = '" +
                                     name + "'"});
        ended = true;
    });
    const qsizetype mark = console_->toPlainText().size();
    ExportStatement(dir_ + "/lost.csv", QStringLiteral("Comma Delimited File (*.csv)"),
                    "SELECT a.id, set_config('application_name', '" + name + "', false) FROM " +
                        Table + " a, " + Table + " b, " + Table + " c");
    ASSERT_TRUE(ended);
    const std::string output = ConsoleFrom(mark);
    EXPECT_NE(output.find("Error: ("), std::string::npos) << output;
    EXPECT_EQ(output.find(CBrindleDoc::LostText), std::string::npos) << output;
    EXPECT_TRUE(doc_->IsConnected());
    ExpectFolderHolds({});
    // The window's connection still serves.
    QTest::keyClicks(console_, "SELECT 7");
    QTest::keyClick(console_, Qt::Key_Return);
    QTest::qWait(20);
    EXPECT_NE(ConsoleFrom(mark).find("Loaded 1 of 1"), std::string::npos) << ConsoleFrom(mark);
}

INSTANTIATE_TEST_SUITE_P(Postgres, ExportSessionEndedTest, ::testing::Values("postgres"),
                         [](const auto &info) { return info.param; });

// Export All of a large grid, which is file work only: one data source serves.
class ExportAllCancelTest : public ExportQueryTest {};

TEST_P(ExportAllCancelTest, EscStopsExportAllAndLeavesNoFile) {
    grid_->SetColumns({"n", "text"}, QStringLiteral("Rows:"));
    std::vector<GridRow> rows;
    GridRow::Builder row;
    for (int n = 0; n < 2000000; row.Clear(), ++n) {
        row.AddCell(std::to_string(n));
        row.AddCell("some text for the row");
        rows.push_back(row.Build());
    }
    grid_->Model().AppendRows(rows);
    QTimer poll;
    bool pressed = false;
    PressEscOnceThePartFileGrows(poll, pressed);
    // What reaches Export All is proven elsewhere; this is about its cancel.
    prompts_->saveFileAnswers.push_back(QString::fromStdString(dir_ + "/all.csv"));
    prompts_->saveFilterAnswers.push_back(QStringLiteral("Comma Delimited File (*.csv)"));
    ASSERT_TRUE(Frame().SendCommand(ID_EXPORT_ALL));
    EXPECT_TRUE(pressed);
    ExpectFolderHolds({});
    EXPECT_EQ(grid_->RowCount(), 2000000);
    EXPECT_TRUE(prompts_->messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Sqlite, ExportAllCancelTest, ::testing::Values("sqlite"),
                         [](const auto &info) { return info.param; });

INSTANTIATE_TEST_SUITE_P(Sources, ExportQueryTest, ::testing::ValuesIn(TestSourceNames()),
                         [](const auto &info) { return info.param; });

} // namespace
