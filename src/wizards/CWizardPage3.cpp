#include "wizards/CWizardPage3.h"

#include <QLabel>
#include <QVBoxLayout>

#include "wizards/CWizardPage2.h"
#include "wizards/ConditionEditor.h"
#include "wizards/WizardSheet.h"
#include "wizards/WizardSource.h"
#include "wizards/WizardText.h"

CWizardPage3::CWizardPage3(WizardSource &source, const CWizardPage2 &step2, QWidget *parent)
    : WizardPage(QStringLiteral("SELECT Statement Wizard - Step 3 of 5: Search Condition"), parent),
      m_source(source), m_step2(step2) {
    auto *description = new QLabel(
        QStringLiteral("Specifies which records from the tables listed in the FROM clause must "
                       "satisfy to be included in the query results."),
        this);
    description->setWordWrap(true);
    m_conditions = new ConditionEditor(this);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(description);
    layout->addWidget(new QLabel(QStringLiteral("Search Criteria:"), this));
    layout->addWidget(m_conditions, 1);
}

void CWizardPage3::OnInitialShow() { m_conditions->InitialShow(m_source.Operators()); }

void CWizardPage3::OnSetActive() {
    SetWizardButtons(WizardSheet::Back | WizardSheet::Next);
    m_expressions.clear();
    for (const std::string &candidate : m_step2.Candidates())
        if (candidate.find('*') == std::string::npos)
            m_expressions.push_back(candidate);
    m_expressions = WizardText::Sorted(m_expressions);
    m_conditions->Refill(m_expressions);
}

bool CWizardPage3::OnWizardNext() {
    m_strSearchCondition = ConditionRow::ListText(m_conditions->Rows());
    return true;
}

void CWizardPage3::OnWizardBack() { m_conditions->RemoveAll(); }
