#include <cstdlib>
#include <string>
#include <vector>

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "FakeHost.h"
#include "ScriptedPrompts.h"
#include "TestDataSources.h"
#include "connection/ConnectionWorker.h"
#include "framework/StatusSink.h"
#include "odbc/OdbcConnection.h"
#include "results/AddressHistory.h"
#include "results/CDeployDlg.h"
#include "results/DeployResults.h"
#include "results/FtpAddress.h"
#include "results/FtpUpload.h"
#include "results/GridModel.h"
#include "results/WorkerUploadWait.h"

namespace {

// The test FTP server (tests/fixtures/ftp_server.py) started by scripts/test.sh.
const char *const FtpUser = "brindle";
const char *const FtpPassword = "ftp-secret";

QByteArray ReadAll(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(FtpAddressTest, AddressesAreTakenApart) {
    const struct {
        const char *text;
        bool valid;
        const char *scheme, *host;
        int port;
        const char *path;
    } cases[] = {
        {"host/pub/web", true, "ftp", "host", 21, "/pub/web"},
        {"ftps://host/pub", true, "ftps", "host", 990, "/pub"},
        {"FTPES://host", true, "ftpes", "host", 21, ""},
        {"ftpes://host:2121/d", true, "ftpes", "host", 2121, "/d"},
        {"ftp://host:2121/dir", true, "ftp", "host", 2121, "/dir"},
        {" FTP://bob:pw@host ", true, "ftp", "host", 21, ""},
        {"http://host/x", true, "http", "host", 21, "/x"},
        {"ftp:///x", true, "ftp", "", 21, "/x"},
        {"ftp://[::1]:99/a%20b", true, "ftp", "[::1]", 99, "/a b"},
        {"ftp://host:99999/", false, "", "", 0, ""},
        {"host:/x", false, "", "", 0, ""},
        {"ftp://host/a%0D%0ADELE%20x", false, "", "", 0, ""},
    };
    for (const auto &c : cases) {
        const auto address = FtpAddress::ParseOrAssumeFtp(c.text);
        ASSERT_EQ(address.has_value(), c.valid) << c.text;
        if (!address)
            continue;
        EXPECT_EQ(address->scheme, c.scheme) << c.text;
        EXPECT_EQ(address->host, c.host) << c.text;
        EXPECT_EQ(address->PortToUse(), c.port) << c.text;
        EXPECT_EQ(address->path, c.path) << c.text;
    }
}

class HistoryTest : public ::testing::Test {
protected:
    void SetUp() override {
        path_ = QString::fromStdString(MakeTempDir()) + QStringLiteral("/profile.ini");
    }
    // One confirmed dialog: load, remember, save.
    QStringList Confirm(int max, const QString &address, const QString &user) {
        QSettings profile(path_, QSettings::IniFormat);
        AddressHistory history(max);
        history.Load(profile);
        history.Remember(address, user);
        history.Save(profile);
        return history.Entries();
    }
    QString path_;
};

TEST_F(HistoryTest, TheListKeepsOneFewerThanMaxURLHistoryNewestInFront) {
    for (const char *address : {"a", "b", "c", "d", "e", "f"})
        Confirm(5, QString::fromLatin1(address), QString());
    EXPECT_EQ(Confirm(5, QStringLiteral("f"), QString()),
              QStringList({"f\n", "e\n", "a\n", "b\n"}));
    // The same address with another user is another entry; an identical one is not.
    EXPECT_EQ(Confirm(5, QStringLiteral("f"), QStringLiteral("bob")),
              QStringList({"f\nbob", "f\n", "e\n", "a\n"}));

    QSettings profile(path_, QSettings::IniFormat);
    EXPECT_EQ(profile.value(QStringLiteral("History/0")).toString(), QStringLiteral("f\nbob"));
    EXPECT_EQ(profile.childGroups(), QStringList({"History"}));
    AddressHistory history(5);
    history.Load(profile);
    EXPECT_EQ(history.Addresses(), QStringList({"f", "f", "e", "a"}));
}

class FtpTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char *port = std::getenv("BRINDLE_FTP_PORT");
        const char *root = std::getenv("BRINDLE_FTP_ROOT");
        if (!port || !root)
            FAIL() << "BRINDLE_FTP_PORT and BRINDLE_FTP_ROOT are not set: run the tests through "
                      "scripts/test.sh, which starts the FTP server";
        port_ = QString::fromLatin1(port);
        root_ = QString::fromLatin1(root);
        dir_ = QString::fromStdString(MakeTempDir());
    }
    QString Page(const QString &name, int bytes) {
        const QString path = dir_ + QLatin1Char('/') + name;
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        QByteArray data(bytes, 'x');
        for (int i = 0; i < bytes; i += 61)
            data[i] = static_cast<char>('0' + i % 10);
        file.write(data);
        return path;
    }
    FtpUpload::Timeouts Short() const { return {5, 5}; }

    QString port_, root_, dir_;
};

TEST_F(FtpTest, UploadsReportWhatTheServerDid) {
    const QString server = QStringLiteral("127.0.0.1:") + port_;
    const struct {
        const char *name;
        QString address, user, password, file;
        int bytes;
        FtpUpload::Result result;
        QString status, message; // message: its start; empty for none
        QString arrived;         // where the file lands, under the server's root
    } cases[] = {
        {"anonymous, with a directory", "ftp://" + server + "/pub/web", "", "", "anon.htm", 5000,
         FtpUpload::Result::Deployed, "anon.htm deployed", "", "anonymous/pub/web/anon.htm"},
        {"a user, address without a scheme", server, FtpUser, FtpPassword, "user.htm", 70000,
         FtpUpload::Result::Deployed, "user.htm deployed", "", "user/user.htm"},
        {"a directory that does not exist", "ftp://" + server + "/nowhere", "", "", "lost.htm", 100,
         FtpUpload::Result::NotDeployed, "lost.htm not deployed", "550 ", ""},
        {"a refused log-on", server, FtpUser, "wrong", "refused.htm", 100,
         FtpUpload::Result::NotConnected, FtpUpload::IdleText, "530 ", ""},
        {"the data connection closes mid-transfer", "ftp://" + server + "/pub/web", "", "",
         "cutoff.htm", 3000000, FtpUpload::Result::NotDeployed, "cutoff.htm not deployed", "", ""},
        {"nothing listens on the port", "ftp://127.0.0.1:1/", "", "", "nobody.htm", 100,
         FtpUpload::Result::NotConnected, FtpUpload::IdleText, "Couldn't connect to server", ""},
        {"not an FTP address", "http://" + server + "/", "", "", "web.htm", 100,
         FtpUpload::Result::InvalidAddress, FtpUpload::IdleText, FtpUpload::InvalidAddressText, ""},
        {"SSH is no FTP", "sftp://" + server + "/", "", "", "ssh.htm", 100,
         FtpUpload::Result::InvalidAddress, FtpUpload::IdleText, FtpUpload::InvalidAddressText, ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const QString local = Page(c.file, c.bytes);
        ScriptedPrompts prompts;
        QStringList statuses;
        FtpUpload ftp(prompts, nullptr, [&](const QString &text) { statuses.append(text); });
        ftp.SetTimeouts(Short());

        EXPECT_EQ(ftp.UploadByFtp(c.address, local, c.file, c.user, c.password), c.result);
        ASSERT_FALSE(statuses.isEmpty());
        EXPECT_EQ(statuses.front(), QStringLiteral("Opening Internet..."));
        EXPECT_EQ(statuses.back(), c.status);
        const bool deployed = c.result == FtpUpload::Result::Deployed;
        EXPECT_EQ(prompts.messages.size(), deployed ? 0u : 1u);
        // The connection's own words, never the general text.
        if (!prompts.messages.empty()) {
            EXPECT_NE(prompts.messages[0].first, FtpUpload::ConnectionFailedText());
        }
        if (!prompts.messages.empty() && !c.message.isEmpty()) {
            EXPECT_TRUE(prompts.messages[0].first.contains(c.message))
                << prompts.messages[0].first.toStdString();
        }
        if (!c.arrived.isEmpty()) {
            EXPECT_EQ(ReadAll(root_ + QLatin1Char('/') + c.arrived), ReadAll(local));
        }
    }
}

// The server reads 100 kB/s, so the page takes twice the stall time and more:
// no wait, not even the one for the last reply, may count against it. One that
// stops reading is given up after the stall time.
TEST_F(FtpTest, AnUploadIsGivenUpOnlyWhenNothingMoves) {
    const struct {
        const char *file;
        int bytes;
        long stallSeconds;
        FtpUpload::Result result;
        QString message;
    } cases[] = {
        {"slow.htm", 700000, 3, FtpUpload::Result::Deployed, ""},
        // More than the socket buffers hold.
        {"stall.htm", 16000000, 1, FtpUpload::Result::NotDeployed, FtpUpload::StalledText(1)},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.file);
        const QString file = QString::fromLatin1(c.file);
        const QString local = Page(file, c.bytes);
        ScriptedPrompts prompts;
        QStringList statuses;
        FtpUpload ftp(prompts, nullptr, [&](const QString &text) { statuses.append(text); });
        ftp.SetTimeouts({c.stallSeconds, c.stallSeconds});
        EXPECT_EQ(
            ftp.UploadByFtp(QStringLiteral("ftp://127.0.0.1:") + port_ + QStringLiteral("/pub/web"),
                            local, file, QString(), QString()),
            c.result);
        const bool deployed = c.result == FtpUpload::Result::Deployed;
        EXPECT_EQ(statuses.back(), file + (deployed ? " deployed" : " not deployed"));
        ASSERT_EQ(prompts.messages.size(), deployed ? 0u : 1u);
        if (!deployed) {
            EXPECT_EQ(prompts.messages[0].first, c.message);
        } else {
            EXPECT_EQ(ReadAll(root_ + QStringLiteral("/anonymous/pub/web/") + file),
                      ReadAll(local));
        }
    }
}

// Counts the progress indicator's steps.
class CountingStatus : public StatusSink {
public:
    void SetMessageText(const QString &) override {}
    bool BeginProgress(uint16_t, uint16_t) override { return true; }
    void StepProgress() override { ++steps; }
    void EndProgress() override {}
    int steps = 0;
};

// The upload runs off the window's thread as the connection's work: the window
// keeps taking events, and Esc stops the upload part-way.
TEST_F(FtpTest, EscStopsAnUploadAndThePageIsNotDeployed) {
    FakeHost host;
    OdbcConnection connection;
    ConnectionWorker worker(host, connection);
    CountingStatus progress;
    WorkerUploadWait wait(worker, &progress);
    QWidget window;
    // 20 s at the server's pace.
    const QString local = Page(QStringLiteral("slow-cancelled.htm"), 2000000);
    ScriptedPrompts prompts;
    QStringList statuses;
    FtpUpload ftp(prompts, nullptr, [&](const QString &text) { statuses.append(text); });
    ftp.SetTimeouts({5, 5});
    ftp.SetWait(&wait);
    // Esc once the indicator has moved: the page is on its way.
    bool escPressed = false;
    QTimer keys;
    keys.setInterval(0);
    QObject::connect(&keys, &QTimer::timeout, [&] {
        if (!escPressed && progress.steps > 0) {
            escPressed = true;
            QTest::keyClick(&window, Qt::Key_Escape);
        }
    });
    keys.start();

    EXPECT_EQ(
        ftp.UploadByFtp(QStringLiteral("ftp://127.0.0.1:") + port_ + QStringLiteral("/pub/web"),
                        local, QStringLiteral("slow-cancelled.htm"), QString(), QString()),
        FtpUpload::Result::NotDeployed);
    EXPECT_TRUE(escPressed);
    EXPECT_EQ(statuses.back(), QStringLiteral("slow-cancelled.htm not deployed"));
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_FALSE(worker.IsWorking());
    EXPECT_FALSE(host.gate.IsClosed());
    EXPECT_LT(QFileInfo(root_ + QStringLiteral("/anonymous/pub/web/slow-cancelled.htm")).size(),
              2000000);
}

GridModel &SmallGrid() {
    static GridModel grid;
    if (grid.ColumnCount() == 0) {
        grid.InsertColumn(0, "name", Qt::AlignLeft);
        grid.InsertColumn(1, "city", Qt::AlignLeft);
        grid.InsertRow(0, "Ann <admin>");
        grid.SetCell(0, 1, "Zürich");
        grid.InsertRow(1, "Bob");
        grid.SetCell(1, 1, "Oslo");
    }
    return grid;
}

ExportSource SmallSource() {
    ExportSource source;
    source.grid = &SmallGrid();
    source.columnCount = 2;
    source.caption = "Result set for the most recently executed query:";
    source.versionText = "Brindle Version 2.1 ";
    source.columnPixelWidths = {120, 120};
    source.xPixelWidth = 6;
    return source;
}

template <typename T> T *Field(QDialog &dialog, const char *name) {
    T *widget = dialog.findChild<T *>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

TEST_F(FtpTest, DeployWritesThePageUploadsItAndRemembersTheAddressWithoutThePassword) {
    const QString profilePath = dir_ + QStringLiteral("/profile.ini");
    const QString address = QStringLiteral("ftp://127.0.0.1:") + port_;
    const QString local = dir_ + QStringLiteral("/shop.htm");
    ScriptedPrompts prompts;
    prompts.onExec = [&](QDialog &dialog) {
        Field<QLineEdit>(dialog, "localFile")->setText(local);
        Field<QCheckBox>(dialog, "uploadOn")->setChecked(true);
        Field<QComboBox>(dialog, "address")->setEditText(address);
        Field<QRadioButton>(dialog, "userLogOn")->setChecked(true);
        Field<QLineEdit>(dialog, "user")->setText(QString::fromLatin1(FtpUser));
        Field<QLineEdit>(dialog, "password")->setText(QString::fromLatin1(FtpPassword));
        return int(QDialog::Accepted);
    };
    QStringList statuses;
    DeployResults deploy(SmallSource(), prompts, nullptr,
                         [&](const QString &text) { statuses.append(text); });
    deploy.SetTemplateFolders({QStringLiteral(BRINDLE_TEST_FIXTURES "/../../samples")});
    deploy.SetFtpTimeouts(Short());
    {
        QSettings profile(profilePath, QSettings::IniFormat);
        EXPECT_EQ(deploy.Run(QStringLiteral("shop"), profile, 10),
                  DeployResults::Outcome::Deployed);
    }
    EXPECT_EQ(statuses.back(), QStringLiteral("shop.htm deployed"));
    const QByteArray page = ReadAll(local);
    EXPECT_EQ(ReadAll(root_ + QStringLiteral("/user/shop.htm")), page);
    // Through the sample template, escaped.
    EXPECT_TRUE(page.contains("Ann &lt;admin&gt;")) << page.toStdString();
    EXPECT_TRUE(page.contains("<%") == false);

    const QByteArray stored = ReadAll(profilePath);
    EXPECT_FALSE(stored.contains(FtpPassword)) << stored.toStdString();
    QSettings profile(profilePath, QSettings::IniFormat);
    EXPECT_EQ(profile.value(QStringLiteral("History/0")).toString(),
              address + QStringLiteral("\nbrindle"));
}

TEST_F(FtpTest, APageThatCouldNotBeWrittenIsReportedAndNeverUploaded) {
    if (!QFile::exists(QStringLiteral("/dev/full")))
        GTEST_SKIP() << "needs /dev/full";
    ScriptedPrompts prompts;
    QStringList statuses;
    DeployResults deploy(SmallSource(), prompts, nullptr,
                         [&](const QString &text) { statuses.append(text); });
    DeployChoices choices = DeployResults::InitialChoices(QStringLiteral("x"), false);
    choices.localFile = QStringLiteral("/dev/full");
    choices.templateOn = false;
    choices.uploadOn = true;
    choices.address = QStringLiteral("ftp://127.0.0.1:") + port_ + QStringLiteral("/pub/web");

    EXPECT_EQ(deploy.Publish(choices), DeployResults::Outcome::WriteFailed);
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_TRUE(prompts.messages[0].first.startsWith(QStringLiteral("/dev/full could not be")));
    EXPECT_TRUE(statuses.isEmpty());
}

TEST(DeployDialogTest, FieldsFollowTheChecksAndAHistoryEntryFillsTheLogOn) {
    ScriptedPrompts prompts;
    AddressHistory history(10);
    history.Remember(QStringLiteral("ftp://a/x"), QStringLiteral("carol"));
    history.Remember(QStringLiteral("b/y"), QString());
    CDeployDlg dialog(DeployResults::InitialChoices(QStringLiteral("shop"), false), false, history,
                      prompts);
    auto *ok = Field<QDialogButtonBox>(dialog, "")->button(QDialogButtonBox::Ok);
    auto *address = Field<QComboBox>(dialog, "address");
    auto *user = Field<QLineEdit>(dialog, "user");

    EXPECT_EQ(Field<QLineEdit>(dialog, "localFile")->text(), QStringLiteral("shop.HTM"));
    EXPECT_EQ(Field<QLineEdit>(dialog, "templateFile")->text(), QStringLiteral("DEFAULT.HTX"));
    EXPECT_FALSE(Field<QRadioButton>(dialog, "selectedResults")->isEnabled());
    EXPECT_TRUE(Field<QRadioButton>(dialog, "allResults")->isChecked());
    EXPECT_FALSE(address->isEnabled());
    EXPECT_EQ(address->count(), 2);

    Field<QCheckBox>(dialog, "uploadOn")->setChecked(true);
    EXPECT_TRUE(address->isEnabled());
    EXPECT_FALSE(user->isEnabled());
    Q_EMIT address->activated(0);
    EXPECT_EQ(address->currentText(), QStringLiteral("ftp://a/x"));
    EXPECT_TRUE(Field<QRadioButton>(dialog, "userLogOn")->isChecked());
    EXPECT_EQ(user->text(), QStringLiteral("carol"));
    EXPECT_TRUE(user->isEnabled());
    Q_EMIT address->activated(1);
    EXPECT_TRUE(Field<QRadioButton>(dialog, "anonymous")->isChecked());
    EXPECT_EQ(user->text(), QString());

    Field<QCheckBox>(dialog, "templateOn")->setChecked(false);
    EXPECT_FALSE(Field<QPushButton>(dialog, "templateBrowse")->isEnabled());
    EXPECT_TRUE(ok->isEnabled());
    Field<QLineEdit>(dialog, "localFile")->clear();
    EXPECT_FALSE(ok->isEnabled());
}

} // namespace
