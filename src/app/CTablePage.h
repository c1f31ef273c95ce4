#pragma once

#include <QWidget>

#include "framework/AppSettings.h"

class QCheckBox;

// "New Connects" page of the Settings sheet: what the next connection lists and how it connects.
class CTablePage : public QWidget {
    Q_OBJECT
public:
    explicit CTablePage(const AppSettings &settings, QWidget *parent = nullptr);

    void Store(AppSettings &settings) const;

private:
    QCheckBox *m_systemTables = nullptr;
    QCheckBox *m_views = nullptr;
    QCheckBox *m_synonyms = nullptr;
    QCheckBox *m_procedures = nullptr;
    QCheckBox *m_cursorLib = nullptr;
};
