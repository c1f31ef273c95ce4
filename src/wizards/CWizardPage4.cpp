#include "wizards/CWizardPage4.h"

#include <tuple>

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "wizards/CWizardPage3.h"
#include "wizards/ConditionEditor.h"
#include "wizards/QueryStatement.h"
#include "wizards/SyntaxFieldButton.h"
#include "wizards/WizardSheet.h"
#include "wizards/WizardSource.h"
#include "wizards/WizardText.h"

CWizardPage4::CWizardPage4(WizardSource &source, SyntaxOpener *opener, const CWizardPage3 &step3,
                           QWidget *parent)
    : WizardPage(QStringLiteral("SELECT Statement Wizard - Step 4 of 5: Grouping Condition"),
                 parent),
      m_source(source), m_step3(step3) {
    m_columns = new QListWidget(this);
    m_group = new QListWidget(this);
    m_right = new QPushButton(QStringLiteral(">"), this);
    m_left = new QPushButton(QStringLiteral("<"), this);
    m_allLeft = new QPushButton(QStringLiteral("<<"), this);
    m_criteria = new ConditionEditor(this);
    m_syntax = new QPushButton(QStringLiteral("&Syntax..."), this);
    new SyntaxFieldButton(m_criteria->Expression1(), m_syntax, opener,
                          SyntaxOpener::Field::Expression);

    auto *moves = new QVBoxLayout;
    moves->addStretch();
    for (QPushButton *button : {m_right, m_left, m_allLeft}) {
        button->setAutoDefault(false);
        moves->addWidget(button);
    }
    moves->addStretch();
    auto *lists = new QGridLayout;
    lists->addWidget(new QLabel(QStringLiteral("Columns:"), this), 0, 0);
    lists->addWidget(new QLabel(QStringLiteral("Group Column List:"), this), 0, 2);
    lists->addWidget(m_columns, 1, 0);
    lists->addLayout(moves, 1, 1);
    lists->addWidget(m_group, 1, 2);
    auto *criteriaLabel = new QHBoxLayout;
    criteriaLabel->addWidget(new QLabel(QStringLiteral("Group Criteria:"), this));
    criteriaLabel->addStretch();
    criteriaLabel->addWidget(m_syntax);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(lists, 1);
    layout->addLayout(criteriaLabel);
    layout->addWidget(m_criteria, 2);

    connect(m_right, &QPushButton::clicked, this, &CWizardPage4::MoveRight);
    connect(m_left, &QPushButton::clicked, this, &CWizardPage4::MoveLeft);
    connect(m_allLeft, &QPushButton::clicked, this, &CWizardPage4::MoveAllLeft);
    connect(m_columns, &QListWidget::itemSelectionChanged, this, &CWizardPage4::Enable);
    connect(m_group, &QListWidget::itemSelectionChanged, this, &CWizardPage4::Enable);
}

void CWizardPage4::OnInitialShow() { m_criteria->InitialShow(m_source.Operators()); }

void CWizardPage4::OnSetActive() {
    SetWizardButtons(WizardSheet::Back | WizardSheet::Next);
    m_columns->clear();
    for (const std::string &column : m_step3.Expressions())
        m_columns->addItem(WizardText::Shown(column));
    m_criteria->Refill(m_step3.Expressions());
    Enable();
}

void CWizardPage4::Enable() {
    m_allLeft->setEnabled(m_group->count() > 0);
    m_left->setEnabled(!m_group->selectedItems().isEmpty());
    m_right->setEnabled(!m_columns->selectedItems().isEmpty());
    m_criteria->SetAreaEnabled(m_group->count() > 0);
}

void CWizardPage4::MoveRight() {
    const QList<QListWidgetItem *> selected = m_columns->selectedItems();
    if (!selected.isEmpty())
        m_group->addItem(m_columns->takeItem(m_columns->row(selected.first())));
    Enable();
}

void CWizardPage4::MoveLeft() {
    const QList<QListWidgetItem *> selected = m_group->selectedItems();
    if (!selected.isEmpty())
        m_columns->addItem(m_group->takeItem(m_group->row(selected.first())));
    Enable();
}

void CWizardPage4::MoveAllLeft() {
    while (m_group->count() > 0)
        m_columns->addItem(m_group->takeItem(0));
    Enable();
}

bool CWizardPage4::OnWizardNext() {
    std::vector<std::string> columns;
    for (int row = 0; row < m_group->count(); ++row)
        columns.push_back(WizardText::Bytes(m_group->item(row)->text()));
    std::tie(m_strGroupColumns, m_strGroupCriteria) =
        QueryStatement::Grouping(columns, m_criteria->Rows());
    return true;
}

void CWizardPage4::OnWizardBack() {
    m_criteria->RemoveAll();
    m_group->clear();
}
