#include <cstdlib>

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QRadioButton>
#include <QSettings>
#include <gtest/gtest.h>

#include "ScriptedPrompts.h"
#include "TestDataSources.h"
#include "results/DeployResults.h"
#include "results/FtpUpload.h"
#include "results/GridModel.h"

namespace {

// The FTP servers of scripts/test.sh (tests/fixtures/ftp_server.py): a plain
// one, one with implicit TLS and one with explicit TLS, whose certificate for
// 127.0.0.1 a throwaway CA signed. Each logs its events to a file.
struct Servers {
    QString plainPort, implicitPort, explicitPort, root, ca;
    QString plainEvents, implicitEvents, explicitEvents;
};

QString Variable(const char *name) { return QString::fromLocal8Bit(std::getenv(name)); }

QByteArray ReadFrom(const QString &path, qint64 offset) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || !file.seek(offset))
        return {};
    return file.readAll();
}

// The CA variables as one case wants them, restored afterwards.
class TrustVariables {
public:
    TrustVariables(const char *name, const QString &value) {
        for (const char *variable : Names) {
            m_saved.append(qgetenv(variable));
            m_had.append(qEnvironmentVariableIsSet(variable));
            qunsetenv(variable);
        }
        if (name)
            qputenv(name, value.toLocal8Bit());
    }
    ~TrustVariables() {
        for (int i = 0; i < 3; ++i)
            if (m_had[i])
                qputenv(Names[i], m_saved[i]);
            else
                qunsetenv(Names[i]);
    }

private:
    static constexpr const char *Names[3] = {"CURL_CA_BUNDLE", "SSL_CERT_FILE", "SSL_CERT_DIR"};
    QList<QByteArray> m_saved;
    QList<bool> m_had;
};

class FtpTlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        s_ = {Variable("BRINDLE_FTP_PORT"),    Variable("BRINDLE_FTPS_PORT"),
              Variable("BRINDLE_FTPES_PORT"),  Variable("BRINDLE_FTP_ROOT"),
              Variable("BRINDLE_FTP_CA"),      Variable("BRINDLE_FTP_EVENTS"),
              Variable("BRINDLE_FTPS_EVENTS"), Variable("BRINDLE_FTPES_EVENTS")};
        for (const QString *value :
             {&s_.plainPort, &s_.implicitPort, &s_.explicitPort, &s_.root, &s_.ca, &s_.plainEvents,
              &s_.implicitEvents, &s_.explicitEvents})
            if (value->isEmpty())
                FAIL() << "the BRINDLE_FTP* variables are not all set: run the tests through "
                          "scripts/test.sh, which starts the FTP servers";
        dir_ = QString::fromStdString(MakeTempDir());
    }
    QString Page(const QString &name, int bytes) {
        const QString path = dir_ + QLatin1Char('/') + name;
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        QByteArray data(bytes, 'y');
        for (int i = 0; i < bytes; i += 53)
            data[i] = static_cast<char>('a' + i % 26);
        file.write(data);
        return path;
    }
    static QByteArray ReadAll(const QString &path) { return ReadFrom(path, 0); }

    Servers s_;
    QString dir_;
};

TEST_F(FtpTlsTest, UploadsGoOverVerifiedTlsOrNotAtAll) {
    const QString local = QStringLiteral("127.0.0.1:");
    const QString ftps = QStringLiteral("ftps://") + local + s_.implicitPort;
    const QString ftpes = QStringLiteral("ftpes://") + local + s_.explicitPort;
    const QString notVerified = FtpUpload::UnverifiedCertificateText(QString());
    const struct {
        const char *name;
        QString address;
        const char *user;
        const char *trustVariable; // set to the test CA; none: the system's trust only
        QString file;
        FtpUpload::Result result;
        QString message; // its start; empty: none
        QString events;
        QStringList logged;    // lines the server must have logged
        QStringList notLogged; // texts no line may hold
        QString arrived;       // under the root
    } cases[] = {
        {"implicit TLS, anonymous",
         ftps + "/pub/web",
         "",
         "CURL_CA_BUNDLE",
         "implicit.htm",
         FtpUpload::Result::Deployed,
         "",
         s_.implicitEvents,
         {"login anonymous tls=yes",
          "received " + s_.root +
              "/anonymous/pub/web/implicit.htm bytes=70000 completed=yes tls=yes"},
         {"tls=no"},
         "anonymous/pub/web/implicit.htm"},
        {"explicit TLS, a user",
         ftpes,
         "brindle",
         "SSL_CERT_FILE",
         "explicit.htm",
         FtpUpload::Result::Deployed,
         "",
         s_.explicitEvents,
         {"command AUTH tls=no", "command PASS tls=yes", "login brindle tls=yes",
          "received " + s_.root + "/user/explicit.htm bytes=70000 completed=yes tls=yes"},
         {"USER tls=no", "PASS tls=no"},
         "user/explicit.htm"},
        {"a certificate from a CA nobody trusts",
         ftpes,
         "brindle",
         nullptr,
         "unknown.htm",
         FtpUpload::Result::NotDeployed,
         notVerified + "unable to get local issuer certificate",
         s_.explicitEvents,
         {"command AUTH tls=no"},
         {"USER", "PASS", "login"},
         ""},
        {"a certificate for another host name",
         "ftps://localhost:" + s_.implicitPort,
         "brindle",
         "CURL_CA_BUNDLE",
         "othername.htm",
         FtpUpload::Result::NotDeployed,
         notVerified + "no alternative certificate subject name matches target host name "
                       "'localhost'",
         s_.implicitEvents,
         {"connect"},
         {"USER", "PASS", "login"},
         ""},
        {"a server without TLS",
         "ftpes://" + local + s_.plainPort,
         "brindle",
         "CURL_CA_BUNDLE",
         "notls.htm",
         FtpUpload::Result::NotDeployed,
         FtpUpload::NoTlsText,
         s_.plainEvents,
         {"command AUTH tls=no"},
         {"USER", "PASS", "login"},
         ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        TrustVariables trust(c.trustVariable, s_.ca);
        const QString page = Page(c.file, 70000);
        const qint64 eventsBefore = QFile(c.events).size();
        ScriptedPrompts prompts;
        QStringList statuses;
        FtpUpload ftp(prompts, nullptr, [&](const QString &text) { statuses.append(text); });
        ftp.SetTimeouts({5, 5});
        const QString user = QString::fromLatin1(c.user);

        EXPECT_EQ(ftp.UploadByFtp(c.address, page, c.file, user,
                                  user.isEmpty() ? QString() : QStringLiteral("ftp-secret")),
                  c.result);
        const bool deployed = c.result == FtpUpload::Result::Deployed;
        ASSERT_FALSE(statuses.isEmpty());
        EXPECT_EQ(statuses.back(), c.file + (deployed ? " deployed" : " not deployed"));
        ASSERT_EQ(prompts.messages.size(), deployed ? 0u : 1u);
        if (!deployed) {
            EXPECT_TRUE(prompts.messages[0].first.startsWith(c.message))
                << prompts.messages[0].first.toStdString();
        }
        const QStringList events =
            QString::fromUtf8(ReadFrom(c.events, eventsBefore)).split(QLatin1Char('\n'));
        EXPECT_EQ(events.value(0), QStringLiteral("connect"));
        for (const QString &line : c.logged)
            EXPECT_TRUE(events.contains(line)) << line.toStdString();
        for (const QString &text : c.notLogged)
            for (const QString &line : events)
                EXPECT_FALSE(line.contains(text)) << line.toStdString();
        if (!c.arrived.isEmpty()) {
            EXPECT_EQ(ReadAll(s_.root + QLatin1Char('/') + c.arrived), ReadAll(page));
        }
    }
}

GridModel &OneRowGrid() {
    static GridModel grid;
    if (grid.ColumnCount() == 0) {
        grid.InsertColumn(0, "name", Qt::AlignLeft);
        grid.InsertRow(0, "Ann");
    }
    return grid;
}

TEST_F(FtpTlsTest, TheHistoryKeepsTheAddressWithItsScheme) {
    TrustVariables trust("CURL_CA_BUNDLE", s_.ca);
    const QString profilePath = dir_ + QStringLiteral("/profile.ini");
    const QString address = QStringLiteral("ftpes://127.0.0.1:") + s_.explicitPort;
    const QString local = dir_ + QStringLiteral("/tlsdeploy.htm");
    ScriptedPrompts prompts;
    prompts.onExec = [&](QDialog &dialog) {
        dialog.findChild<QLineEdit *>(QStringLiteral("localFile"))->setText(local);
        dialog.findChild<QCheckBox *>(QStringLiteral("templateOn"))->setChecked(false);
        dialog.findChild<QCheckBox *>(QStringLiteral("uploadOn"))->setChecked(true);
        dialog.findChild<QComboBox *>(QStringLiteral("address"))->setEditText(address);
        dialog.findChild<QRadioButton *>(QStringLiteral("userLogOn"))->setChecked(true);
        dialog.findChild<QLineEdit *>(QStringLiteral("user"))->setText(QStringLiteral("brindle"));
        dialog.findChild<QLineEdit *>(QStringLiteral("password"))
            ->setText(QStringLiteral("ftp-secret"));
        return int(QDialog::Accepted);
    };
    ExportSource source;
    source.grid = &OneRowGrid();
    source.columnCount = 1;
    source.columnPixelWidths = {120};
    source.xPixelWidth = 6;
    DeployResults deploy(source, prompts, nullptr, nullptr);
    deploy.SetFtpTimeouts({5, 5});
    {
        QSettings profile(profilePath, QSettings::IniFormat);
        EXPECT_EQ(deploy.Run(QStringLiteral("tls"), profile, 10), DeployResults::Outcome::Deployed);
    }
    EXPECT_EQ(ReadAll(s_.root + QStringLiteral("/user/tlsdeploy.htm")), ReadAll(local));
    QSettings profile(profilePath, QSettings::IniFormat);
    EXPECT_EQ(profile.value(QStringLiteral("History/0")).toString(),
              address + QStringLiteral("\nbrindle"));
    EXPECT_FALSE(ReadAll(profilePath).contains("ftp-secret"));
}

} // namespace
