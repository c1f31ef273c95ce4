#include <string>

#include <QApplication>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "DataSourceFixture.h"
#include "connection/CDataSourceDialog.h"
#include "odbc/OdbcConnection.h"

namespace {

using Source = CDataSourceDialog::Source;

struct Controls {
    QTabWidget *tabs;
    QTreeWidget *machines;
    QTreeWidget *drivers;
    QLineEdit *file;
    QPushButton *browse;
    QLineEdit *attributes;
    QPushButton *ok;
    QPushButton *cancel;
};

Controls Find(CDataSourceDialog &dialog) {
    auto *buttons = dialog.findChild<QDialogButtonBox *>("buttons");
    Controls c{dialog.findChild<QTabWidget *>("dataSourceTabs"),
               dialog.findChild<QTreeWidget *>("machineDataSourceList"),
               dialog.findChild<QTreeWidget *>("driverList"),
               dialog.findChild<QLineEdit *>("fileDsnEdit"),
               dialog.findChild<QPushButton *>("browseButton"),
               dialog.findChild<QLineEdit *>("attributesEdit"),
               buttons ? buttons->button(QDialogButtonBox::Ok) : nullptr,
               buttons ? buttons->button(QDialogButtonBox::Cancel) : nullptr};
    EXPECT_TRUE(c.tabs && c.machines && c.drivers && c.file && c.browse && c.attributes && c.ok &&
                c.cancel);
    return c;
}

QTreeWidgetItem *Row(QTreeWidget *list, const QString &name) {
    const auto found = list->findItems(name, Qt::MatchExactly, 0);
    return found.isEmpty() ? nullptr : found.front();
}

void ClickRow(QTreeWidget *list, QTreeWidgetItem *item) {
    list->scrollToItem(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
}

TEST(CDataSourceDialogTest, BuildsConnectionStrings) {
    struct Case {
        Source source;
        const char *name;
        const char *extras;
        const char *expected;
    };
    const Case cases[] = {
        {Source::Machine, "Sales", "", "DSN=Sales;"},
        {Source::Machine, "Sales", "  UID=sa ", "DSN=Sales;UID=sa"},
        {Source::Driver, "SQLite3", "DATABASE=/tmp/x.db", "DRIVER={SQLite3};DATABASE=/tmp/x.db"},
        {Source::Driver, "PostgreSQL ANSI", ";SERVER=h;PORT=5432",
         "DRIVER={PostgreSQL ANSI};SERVER=h;PORT=5432"},
        {Source::File, "/home/me/sales.dsn", "", "FILEDSN=/home/me/sales.dsn"},
        {Source::File, "/home/me/sales.dsn", "PWD=x", "FILEDSN=/home/me/sales.dsn;PWD=x"},
        {Source::File, "/home/me/a;b.dsn", "", "FILEDSN={/home/me/a;b.dsn}"},
        {Source::Driver, "", "DATABASE=x", ""},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(CDataSourceDialog::BuildConnectionString(c.source, c.name, c.extras), c.expected)
            << c.name << " + " << c.extras;
    }
}

TEST(CDataSourceDialogTest, ListsDataSourcesAndDrivers) {
    UserDataSourceFile file;
    CDataSourceDialog dialog;
    dialog.show();
    const Controls c = Find(dialog);

    QTreeWidgetItem *user = Row(c.machines, UserDataSourceFile::DsnName);
    ASSERT_NE(user, nullptr);
    EXPECT_EQ(user->text(1), "User");
    EXPECT_EQ(user->text(2), UserDataSourceFile::Driver);
    EXPECT_EQ(c.tabs->currentIndex(), CDataSourceDialog::MachinePage);
    EXPECT_NE(Row(c.drivers, "SQLite3"), nullptr);
    EXPECT_NE(Row(c.drivers, "PostgreSQL ANSI"), nullptr);

    // Nothing is chosen until the user picks a row.
    EXPECT_FALSE(c.ok->isEnabled());
    EXPECT_EQ(dialog.ConnectionString(), "");
    ClickRow(c.machines, user);
    EXPECT_TRUE(c.ok->isEnabled());
    EXPECT_EQ(dialog.ConnectionString(), "DSN=BrindleUserDsn;");
}

TEST(CDataSourceDialogTest, DriverWithAttributesConnects) {
    const std::string database = MakeTempDir() + "/chosen.db";
    CDataSourceDialog dialog;
    dialog.show();
    const Controls c = Find(dialog);

    c.tabs->setCurrentIndex(CDataSourceDialog::DriverPage);
    QTreeWidgetItem *sqlite = Row(c.drivers, "SQLite3");
    ASSERT_NE(sqlite, nullptr);
    ClickRow(c.drivers, sqlite);
    QTest::keyClicks(c.attributes, QString::fromStdString("DATABASE=" + database));
    const std::string connect = dialog.ConnectionString();
    EXPECT_EQ(connect, "DRIVER={SQLite3};DATABASE=" + database);

    QTest::mouseClick(c.ok, Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);

    OdbcConnection connection;
    EXPECT_TRUE(connection.Open(connect, false, nullptr));
}

TEST(CDataSourceDialogTest, BrowseFillsFileDataSource) {
    int asked = 0;
    CDataSourceDialog dialog(nullptr, [&] {
        ++asked;
        return QString("/home/me/sales.dsn");
    });
    dialog.show();
    const Controls c = Find(dialog);

    QTest::mouseClick(c.browse, Qt::LeftButton);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(c.tabs->currentIndex(), CDataSourceDialog::FilePage);
    EXPECT_EQ(c.file->text(), "/home/me/sales.dsn");
    EXPECT_EQ(dialog.ConnectionString(), "FILEDSN=/home/me/sales.dsn");

    // A cancelled browse keeps what was there.
    CDataSourceDialog cancelled(nullptr, [] { return QString(); });
    const Controls k = Find(cancelled);
    k.tabs->setCurrentIndex(CDataSourceDialog::FilePage);
    QTest::keyClicks(k.file, "/tmp/typed.dsn");
    QTest::mouseClick(k.browse, Qt::LeftButton);
    EXPECT_EQ(cancelled.ConnectionString(), "FILEDSN=/tmp/typed.dsn");
    k.file->clear();
    EXPECT_FALSE(k.ok->isEnabled());
}

// Answers the dialog Choose() shows, from inside its event loop.
void AnswerNextDialog(bool accept, const QString &driver) {
    QTimer::singleShot(0, [accept, driver] {
        auto *dialog = qobject_cast<CDataSourceDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        const Controls c = Find(*dialog);
        if (!accept) {
            QTest::mouseClick(c.cancel, Qt::LeftButton);
            return;
        }
        c.tabs->setCurrentIndex(CDataSourceDialog::DriverPage);
        ClickRow(c.drivers, Row(c.drivers, driver));
        QTest::mouseClick(c.ok, Qt::LeftButton);
    });
}

TEST(CDataSourceDialogTest, ChooseReturnsStringOrNothing) {
    AnswerNextDialog(true, "PostgreSQL ANSI");
    EXPECT_EQ(CDataSourceDialog::Choose(nullptr),
              std::optional<std::string>("DRIVER={PostgreSQL ANSI};"));
    AnswerNextDialog(false, {});
    EXPECT_EQ(CDataSourceDialog::Choose(nullptr), std::nullopt);
}

} // namespace
