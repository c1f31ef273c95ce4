#include "wizards/CWizWhere.h"

#include <QLabel>
#include <QVBoxLayout>

#include "wizards/CWizTable.h"
#include "wizards/ConditionEditor.h"
#include "wizards/TableStatement.h"
#include "wizards/WizardSheet.h"
#include "wizards/WizardSource.h"

CWizWhere::CWizWhere(WizardSource &source, const CWizTable &table, const QString &title,
                     const QString &description, QWidget *parent)
    : WizardPage(title, parent), m_source(source), m_table(table) {
    auto *text = new QLabel(description, this);
    text->setWordWrap(true);
    text->setTextFormat(Qt::PlainText);
    m_conditions = new ConditionEditor(this);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(new QLabel(QStringLiteral("Search Criteria:"), this));
    layout->addWidget(m_conditions, 1);
}

void CWizWhere::OnInitialShow() { m_conditions->InitialShow(m_source.Operators()); }

void CWizWhere::OnSetActive() {
    SetWizardButtons(WizardSheet::Back | WizardSheet::Finish);
    m_conditions->Refill(m_source.ColumnNames(m_table.m_strTable));
}

bool CWizWhere::OnWizardFinish() {
    m_strWhere = TableStatement::WhereClause(m_conditions->Rows());
    return true;
}

void CWizWhere::OnWizardBack() { m_conditions->RemoveAll(); }
