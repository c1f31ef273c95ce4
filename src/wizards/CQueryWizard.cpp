#include "wizards/CQueryWizard.h"

#include "wizards/CWizardPage1.h"
#include "wizards/CWizardPage2.h"
#include "wizards/CWizardPage3.h"
#include "wizards/CWizardPage4.h"
#include "wizards/CWizardPage5.h"
#include "wizards/QueryStatement.h"

CQueryWizard::CQueryWizard(WizardSource &source, SyntaxOpener *opener, const std::string &preset,
                           QWidget *parent)
    : WizardSheet(parent) {
    m_step1 = new CWizardPage1(source, opener, preset);
    m_step2 = new CWizardPage2(source, opener, *m_step1);
    m_step3 = new CWizardPage3(source, *m_step2);
    m_step4 = new CWizardPage4(source, opener, *m_step3);
    m_step5 = new CWizardPage5(*m_step3);
    for (WizardPage *page : {static_cast<WizardPage *>(m_step1), static_cast<WizardPage *>(m_step2),
                             static_cast<WizardPage *>(m_step3), static_cast<WizardPage *>(m_step4),
                             static_cast<WizardPage *>(m_step5)})
        AddPage(page);
    resize(560, 420);
}

std::string CQueryWizard::Statement() const {
    QueryStatement statement;
    statement.tableList = m_step1->m_strTableList;
    statement.selectList = m_step2->m_strSelectList;
    statement.searchCondition = m_step3->m_strSearchCondition;
    statement.groupColumns = m_step4->m_strGroupColumns;
    statement.groupCriteria = m_step4->m_strGroupCriteria;
    statement.sortList = m_step5->m_strSortList;
    return statement.Text();
}
