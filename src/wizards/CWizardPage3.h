#pragma once

#include <string>
#include <vector>

#include "wizards/WizardPage.h"

class ConditionEditor;
class CWizardPage2;
class WizardSource;

// SELECT step 3: the search condition.
class CWizardPage3 : public WizardPage {
    Q_OBJECT
public:
    CWizardPage3(WizardSource &source, const CWizardPage2 &step2, QWidget *parent = nullptr);

    void OnInitialShow() override;
    void OnSetActive() override;
    bool OnWizardNext() override;
    void OnWizardBack() override;

    // Step 2's candidates without "*", sorted: what steps 3 to 5 offer.
    const std::vector<std::string> &Expressions() const { return m_expressions; }
    std::string m_strSearchCondition;

    ConditionEditor *Conditions() const { return m_conditions; }

private:
    WizardSource &m_source;
    const CWizardPage2 &m_step2;
    std::vector<std::string> m_expressions;
    ConditionEditor *m_conditions;
};
