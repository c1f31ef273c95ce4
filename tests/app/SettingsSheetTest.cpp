#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

#include "ScriptedPrompts.h"
#include "TestDataSources.h"
#include "app/CSettingsSheet.h"

namespace {

QString ProfilePath() { return QString::fromStdString(MakeTempDir()) + "/profile.ini"; }

template <typename T> T *Control(QDialog &dialog, const char *id) {
    T *control = dialog.findChild<T *>(QLatin1String(id));
    EXPECT_NE(control, nullptr) << id;
    return control;
}

void Press(QDialog &dialog, QDialogButtonBox::StandardButton which) {
    dialog.findChild<QDialogButtonBox *>()->button(which)->click();
}

} // namespace

TEST(SettingsSheet, ShowsTheCurrentValuesOnThreeTabs) {
    ScriptedPrompts prompts;
    AppSettings settings;
    settings.Views = 1;
    settings.MaxRecords = 4294967295u;
    CSettingsSheet sheet(settings, prompts);

    EXPECT_EQ(sheet.windowTitle(), "Settings");
    auto *tabs = sheet.findChild<QTabWidget *>();
    ASSERT_NE(tabs, nullptr);
    ASSERT_EQ(tabs->count(), 3);
    EXPECT_EQ(tabs->tabText(0), "&General");
    EXPECT_EQ(tabs->tabText(1), "&New Connects");
    EXPECT_EQ(tabs->tabText(2), "&Column Info");
    auto buttons = sheet.findChild<QDialogButtonBox *>()->buttons();
    EXPECT_EQ(buttons.size(), 2); // OK and Cancel, no Apply

    EXPECT_TRUE(Control<QCheckBox>(sheet, "1001")->isChecked());
    EXPECT_EQ(Control<QLineEdit>(sheet, "1004")->text(), "45");
    EXPECT_EQ(Control<QLineEdit>(sheet, "1002")->text(), "4294967295");
    EXPECT_EQ(Control<QLineEdit>(sheet, "1164")->text(), "10");
    EXPECT_FALSE(Control<QCheckBox>(sheet, "1007")->isChecked());
    EXPECT_TRUE(Control<QCheckBox>(sheet, "1008")->isChecked());
    EXPECT_EQ(Control<QCheckBox>(sheet, "1009")->text(), "Show aliases and synonyms");
    EXPECT_EQ(Control<QCheckBox>(sheet, "1010")->text(), "&Use Cursor Library");
    EXPECT_TRUE(Control<QCheckBox>(sheet, "1010")->isChecked());
    EXPECT_EQ(Control<QCheckBox>(sheet, "1005")->text(), "Show Precision, Scale, Radix");
    EXPECT_FALSE(Control<QCheckBox>(sheet, "1006")->isChecked());

    // OK without edits hands back the very same values.
    Press(sheet, QDialogButtonBox::Ok);
    EXPECT_EQ(sheet.result(), QDialog::Accepted);
    EXPECT_EQ(sheet.Edited(), settings);
}

TEST(SettingsSheet, OkWritesTheEditedValuesOnly) {
    QSettings profile(ProfilePath(), QSettings::IniFormat);
    ScriptedPrompts prompts;
    prompts.onExec = [](QDialog &sheet) {
        Control<QCheckBox>(sheet, "1008")->click();
        Control<QCheckBox>(sheet, "1010")->click();
        Control<QCheckBox>(sheet, "1003")->click();
        Control<QLineEdit>(sheet, "1002")->setText("250");
        Control<QLineEdit>(sheet, "1004")->setText("045"); // still 45: no change
        Press(sheet, QDialogButtonBox::Ok);
        return sheet.result();
    };
    AppSettings settings;
    ASSERT_TRUE(CSettingsSheet::Edit(settings, profile, prompts, nullptr));

    AppSettings expected;
    expected.Views = 1;
    expected.CursorLib = 0;
    expected.Length = 1;
    expected.MaxRecords = 250;
    EXPECT_EQ(settings, expected);
    EXPECT_EQ(profile.allKeys().size(), 4);
    EXPECT_EQ(profile.value("GeneralSettings/CursorLib").toInt(), 0);
    EXPECT_EQ(profile.value("GeneralSettings/MaxRecords").toUInt(), 250u);
    EXPECT_TRUE(prompts.messages.empty());
}

TEST(SettingsSheet, CancelWritesNothing) {
    QSettings profile(ProfilePath(), QSettings::IniFormat);
    ScriptedPrompts prompts;
    prompts.onExec = [](QDialog &sheet) {
        Control<QCheckBox>(sheet, "1007")->click();
        Control<QCheckBox>(sheet, "1001")->click();
        Control<QLineEdit>(sheet, "1164")->setText("3");
        Press(sheet, QDialogButtonBox::Cancel);
        return sheet.result();
    };
    AppSettings settings;
    EXPECT_FALSE(CSettingsSheet::Edit(settings, profile, prompts, nullptr));
    EXPECT_EQ(settings, AppSettings{});
    EXPECT_TRUE(profile.allKeys().isEmpty());
}

TEST(SettingsSheet, InvalidNumberKeepsTheSheetOpenOnItsField) {
    ScriptedPrompts prompts;
    CSettingsSheet sheet(AppSettings{}, prompts);
    sheet.show();
    QApplication::setActiveWindow(&sheet);
    auto *tabs = sheet.findChild<QTabWidget *>();
    const auto typeAndPressOk = [&](QLineEdit *field, const char *typed) {
        field->clear();
        QTest::keyClicks(field, QString::fromLatin1(typed));
        tabs->setCurrentIndex(2);
        Press(sheet, QDialogButtonBox::Ok);
    };

    // Typed, not set: what the user types must reach the check whole.
    for (const char *id : {"1004", "1002", "1164"}) {
        auto *field = Control<QLineEdit>(sheet, id);
        for (const char *bad :
             {"-5", "abc", "1a", "", " 5", "+5", "4294967296", "99999999999999999999"}) {
            SCOPED_TRACE(std::string(id) + " '" + bad + "'");
            prompts.messages.clear();
            typeAndPressOk(field, bad);
            ASSERT_EQ(prompts.messages.size(), 1u);
            EXPECT_EQ(prompts.messages[0].first, "Please enter a positive integer.");
            EXPECT_EQ(prompts.messages[0].second, UserPrompts::Icon::Exclamation);
            EXPECT_TRUE(sheet.isVisible());
            EXPECT_NE(sheet.result(), QDialog::Accepted);
            EXPECT_EQ(tabs->currentIndex(), 0);
            EXPECT_EQ(sheet.focusWidget(), field);
        }
        field->setText("7");
    }

    // Any unsigned 32-bit number is taken, 0 too (a query timeout of 0 is no limit).
    prompts.messages.clear();
    Control<QLineEdit>(sheet, "1004")->setText("0");
    typeAndPressOk(Control<QLineEdit>(sheet, "1164"), "4294967295");
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(sheet.result(), QDialog::Accepted);
    EXPECT_EQ(sheet.Edited().MaxURLHistory, 4294967295u);
    EXPECT_EQ(sheet.Edited().QueryTimeout, 0u);
    EXPECT_EQ(sheet.Edited().MaxRecords, 7u);
}
