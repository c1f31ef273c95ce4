#pragma once

#include <QDialog>

#include "framework/AppSettings.h"

class QSettings;
class QTabWidget;
class CColumnPage;
class CGeneralPage;
class CTablePage;
class UserPrompts;

// The "Settings" sheet: three pages over a copy of the settings, OK and Cancel.
class CSettingsSheet : public QDialog {
    Q_OBJECT
public:
    CSettingsSheet(const AppSettings &settings, UserPrompts &prompts, QWidget *parent = nullptr);

    // The values accepted with OK; before that, the values the sheet was opened with.
    AppSettings Edited() const { return m_edited; }

    // Runs the sheet through `prompts`; on OK stores and writes the changed values.
    // Returns whether OK was chosen.
    static bool Edit(AppSettings &settings, QSettings &profile, UserPrompts &prompts,
                     QWidget *parent);

public Q_SLOTS:
    // Refuses to close while a numeric field holds no valid number.
    void accept() override;

private:
    UserPrompts &m_prompts;
    AppSettings m_edited;
    QTabWidget *m_tabs = nullptr;
    CGeneralPage *m_general = nullptr;
    CTablePage *m_table = nullptr;
    CColumnPage *m_column = nullptr;
};
