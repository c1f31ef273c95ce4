#pragma once

#include <string>

#include "wizards/WizardPage.h"

class ConditionEditor;
class CWizTable;
class WizardSource;

// The search condition of UPDATE and DELETE, over the table's plain column names.
class CWizWhere : public WizardPage {
    Q_OBJECT
public:
    CWizWhere(WizardSource &source, const CWizTable &table, const QString &title,
              const QString &description, QWidget *parent = nullptr);

    void OnInitialShow() override;
    void OnSetActive() override;
    bool OnWizardFinish() override;
    void OnWizardBack() override;

    std::string m_strWhere;

    ConditionEditor *Conditions() const { return m_conditions; }

private:
    WizardSource &m_source;
    const CWizTable &m_table;
    ConditionEditor *m_conditions;
};
