#pragma once

#include <string>

#include "wizards/WizardSheet.h"

class CWizardPage1;
class CWizardPage2;
class CWizardPage3;
class CWizardPage4;
class CWizardPage5;
class SyntaxOpener;
class WizardSource;

// The five-step SELECT wizard. `preset` (a written table name, or empty) is
// step 1's first row when the step is first shown.
class CQueryWizard : public WizardSheet {
    Q_OBJECT
public:
    CQueryWizard(WizardSource &source, SyntaxOpener *opener, const std::string &preset,
                 QWidget *parent = nullptr);

    // The statement the clause texts make, once the wizard ended with Finish.
    std::string Statement() const;

    CWizardPage1 *Step1() const { return m_step1; }
    CWizardPage2 *Step2() const { return m_step2; }
    CWizardPage3 *Step3() const { return m_step3; }
    CWizardPage4 *Step4() const { return m_step4; }
    CWizardPage5 *Step5() const { return m_step5; }

private:
    CWizardPage1 *m_step1;
    CWizardPage2 *m_step2;
    CWizardPage3 *m_step3;
    CWizardPage4 *m_step4;
    CWizardPage5 *m_step5;
};
