#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QStorageInfo>
#include <gtest/gtest.h>

#include "TestDataSources.h"
#include "app/CAboutDlg.h"
#include "app/SystemInfo.h"

TEST(AboutDlg, TextsCountBeyondFourGigabytes) {
    EXPECT_EQ(CAboutDlg::CaptionText("Brindle"), "About Brindle");
    EXPECT_EQ(CAboutDlg::VersionLineText("Brindle", 0x0201), "Brindle, Version 2.1");
    EXPECT_EQ(CAboutDlg::VersionLineText("Brindle", 0x0A0C), "Brindle, Version 10.12");

    EXPECT_EQ(CAboutDlg::MemoryText(1023), "0 KB");
    EXPECT_EQ(CAboutDlg::MemoryText(8ull << 30), "8388608 KB");
    // 4 TB of memory: the KB count itself no longer fits 32 bits.
    EXPECT_EQ(CAboutDlg::MemoryText(4ull << 40), "4294967296 KB");

    EXPECT_EQ(CAboutDlg::FreeDiskText(5ull << 30), "5242880 KB Free");
    EXPECT_EQ(CAboutDlg::FreeDiskText(6000000000000ull), "5859375000 KB Free");
    EXPECT_EQ(CAboutDlg::FreeDiskText(0), "0 KB Free");
    EXPECT_EQ(CAboutDlg::FreeDiskText(std::nullopt), "Unavailable");
}

TEST(AboutDlg, ShowsThisMachineAndClosesWithOk) {
    CAboutDlg dialog("Brindle", 0x0201);
    EXPECT_EQ(dialog.windowTitle(), "About Brindle");
    const auto label = [&](const char *name) {
        auto *found = dialog.findChild<QLabel *>(QLatin1String(name));
        return found ? found->text() : QStringLiteral("<missing>");
    };
    EXPECT_EQ(label("version"), "Brindle, Version 2.1");
    EXPECT_EQ(label("memory"), CAboutDlg::MemoryText(SystemInfo::PhysicalMemoryBytes()));
    EXPECT_TRUE(label("disk").endsWith(" KB Free")) << label("disk").toStdString();

    dialog.show();
    dialog.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.isVisible());
}

TEST(SystemInfo, AnswersForThisMachine) {
    EXPECT_GT(SystemInfo::PhysicalMemoryBytes(), 1ull << 20);
    EXPECT_TRUE(SystemInfo::FreeDiskBytes(QString::fromStdString(MakeTempDir())).has_value());
    EXPECT_FALSE(SystemInfo::FreeDiskBytes("/no/such/volume/anywhere").has_value());
    // The file system's own answer, taken where the mount table does not show the
    // volume, agrees with the volume's (give or take what other processes write).
    const QString dir = QString::fromStdString(MakeTempDir());
    const std::optional<uint64_t> direct = SystemInfo::FileSystemFreeBytes(dir);
    ASSERT_TRUE(direct.has_value());
    EXPECT_NEAR(static_cast<double>(*direct), static_cast<double>(QStorageInfo(dir).bytesFree()),
                256.0 * (1 << 20));
    EXPECT_FALSE(SystemInfo::FileSystemFreeBytes("/no/such/volume/anywhere").has_value());
}
