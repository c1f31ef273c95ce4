#include <QDataStream>
#include <QSettings>
#include <QStringList>
#include <gtest/gtest.h>

#include "TestDataSources.h"
#include "framework/AppSettings.h"

namespace {

QString ProfilePath() { return QString::fromStdString(MakeTempDir()) + "/profile.ini"; }

// A profile format that keeps every map it is asked to write, so a test can see
// what each write to disk added.
std::vector<QSettings::SettingsMap> g_writes;

bool ReadRecorded(QIODevice &device, QSettings::SettingsMap &map) {
    QDataStream in(&device);
    in >> map;
    return true;
}
bool WriteRecorded(QIODevice &device, const QSettings::SettingsMap &map) {
    g_writes.push_back(map);
    QDataStream out(&device);
    out << map;
    return out.status() == QDataStream::Ok;
}
QSettings::Format RecordingFormat() {
    static const QSettings::Format format =
        QSettings::registerFormat(QStringLiteral("brindlerec"), ReadRecorded, WriteRecorded);
    return format;
}

// Keys whose value differs from the previous write, one list per write.
std::vector<QStringList> ChangesPerWrite() {
    std::vector<QStringList> result;
    QSettings::SettingsMap previous;
    for (const auto &map : g_writes) {
        QStringList changed;
        for (auto it = map.begin(); it != map.end(); ++it) {
            if (!previous.contains(it.key()) || previous.value(it.key()) != it.value())
                changed << it.key();
        }
        result.push_back(changed);
        previous = map;
    }
    return result;
}

} // namespace

TEST(AppSettings, EmptyProfileGivesFirstRunDefaults) {
    QSettings profile(ProfilePath(), QSettings::IniFormat);
    AppSettings settings;
    settings.Load(profile);
    EXPECT_EQ(settings.ShowMessage, 1);
    EXPECT_EQ(settings.QueryTimeout, 45u);
    EXPECT_EQ(settings.MaxRecords, 100u);
    EXPECT_EQ(settings.MaxURLHistory, 10u);
    EXPECT_EQ(settings.CursorLib, 1);
    EXPECT_EQ(settings, AppSettings{});
}

TEST(AppSettings, AbsentValueKeepsGeneralFieldAndZeroesTheOthers) {
    QSettings profile(ProfilePath(), QSettings::IniFormat);
    profile.setValue("GeneralSettings/MaxRecords", 7);
    profile.setValue("TableSettings/Views", 1);

    AppSettings settings;
    settings.QueryTimeout = 99;
    settings.Synonyms = 1;
    settings.Length = 1;
    settings.Load(profile);

    EXPECT_EQ(settings.QueryTimeout, 99u);
    EXPECT_EQ(settings.MaxRecords, 7u);
    EXPECT_EQ(settings.Views, 1);
    EXPECT_EQ(settings.Synonyms, 0);
    EXPECT_EQ(settings.Length, 0);
}

TEST(AppSettings, ChangedValuesSurviveARestart) {
    const QString path = ProfilePath();
    AppSettings edited;
    edited.CursorLib = 0;
    edited.SystemTables = 1;
    edited.Views = 1;
    edited.Synonyms = 1;
    edited.Procedures = 1;
    edited.Length = 1;
    edited.Precision = 1;
    edited.Nullability = 1;
    edited.ShowMessage = 0;
    edited.QueryTimeout = 0;
    edited.MaxRecords = 4294967295u;
    edited.MaxURLHistory = 3;
    {
        QSettings profile(path, QSettings::IniFormat);
        AppSettings settings;
        settings.ApplyChanges(edited, profile);
        EXPECT_EQ(settings, edited);
    }
    QSettings restarted(path, QSettings::IniFormat);
    AppSettings loaded;
    loaded.Load(restarted);
    EXPECT_EQ(loaded, edited);
}

TEST(AppSettings, WritesOnlyChangedValuesEachAtOnceInOrder) {
    g_writes.clear();
    const QString path = ProfilePath();
    QSettings profile(path, RecordingFormat());
    AppSettings settings;
    AppSettings edited = settings;
    edited.CursorLib = 0;
    edited.MaxRecords = 500;
    edited.Nullability = 1;
    edited.Views = 1;

    settings.ApplyChanges(edited, profile);

    const std::vector<QStringList> expected = {
        {"TableSettings/Views"},
        {"ColumnInfoSettings/Nullability"},
        {"GeneralSettings/MaxRecords"},
        {"GeneralSettings/CursorLib"},
    };
    EXPECT_EQ(ChangesPerWrite(), expected);
    EXPECT_EQ(g_writes.back().size(), 4);
    EXPECT_EQ(g_writes.back().value("GeneralSettings/MaxRecords").toUInt(), 500u);
    EXPECT_EQ(settings, edited);

    // The same values again are no change at all.
    g_writes.clear();
    settings.ApplyChanges(edited, profile);
    profile.sync();
    EXPECT_TRUE(g_writes.empty());
}
