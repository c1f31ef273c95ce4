#pragma once

#include <string>

#include "wizards/WizardPage.h"

class QComboBox;
class WizardSource;

// A table wizard's first page: the table's name, typed or picked.
class CWizTable : public WizardPage {
    Q_OBJECT
public:
    CWizTable(WizardSource &source, const QString &title, const QString &description, bool lastPage,
              QWidget *parent = nullptr);

    void OnInitialShow() override;
    void OnSetActive() override;

    std::string m_strTable;
    bool m_bLastPage;

    QComboBox *TableField() const { return m_table; }

private:
    void Enable();

    WizardSource &m_source;
    QComboBox *m_table;
};
