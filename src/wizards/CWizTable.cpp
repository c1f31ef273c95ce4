#include "wizards/CWizTable.h"

#include <QComboBox>
#include <QLabel>
#include <QVBoxLayout>

#include "wizards/WizardSheet.h"
#include "wizards/WizardSource.h"
#include "wizards/WizardText.h"

CWizTable::CWizTable(WizardSource &source, const QString &title, const QString &description,
                     bool lastPage, QWidget *parent)
    : WizardPage(title, parent), m_bLastPage(lastPage), m_source(source) {
    auto *text = new QLabel(description, this);
    text->setWordWrap(true);
    text->setTextFormat(Qt::PlainText);
    m_table = new QComboBox(this);
    m_table->setEditable(true);
    m_table->setInsertPolicy(QComboBox::NoInsert);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(new QLabel(QStringLiteral("Table Name:"), this));
    layout->addWidget(m_table);
    layout->addStretch();
    connect(m_table, &QComboBox::editTextChanged, this, &CWizTable::Enable);
    connect(m_table, &QComboBox::activated, this,
            [this] { SetWizardButtons(m_bLastPage ? WizardSheet::Finish : WizardSheet::Next); });
}

void CWizTable::OnInitialShow() {
    const std::string preset = m_strTable;
    WizardText::Fill(m_table, WizardText::Sorted(m_source.TableNames()));
    m_table->setEditText(WizardText::Shown(preset));
}

void CWizTable::OnSetActive() { Enable(); }

void CWizTable::Enable() {
    m_strTable = WizardText::Text(m_table);
    if (m_bLastPage)
        SetWizardButtons(m_strTable.empty() ? WizardSheet::DisabledFinish : WizardSheet::Finish);
    else
        SetWizardButtons(m_strTable.empty() ? 0 : WizardSheet::Next);
}
