#include "wizards/CWizardPage1.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "wizards/CListCtrlEx.h"
#include "wizards/QueryStatement.h"
#include "wizards/RowListEditor.h"
#include "wizards/SyntaxFieldButton.h"
#include "wizards/WizardSheet.h"
#include "wizards/WizardSource.h"
#include "wizards/WizardText.h"

CWizardPage1::CWizardPage1(WizardSource &source, SyntaxOpener *opener, std::string preset,
                           QWidget *parent)
    : WizardPage(QStringLiteral("SELECT Statement Wizard - Step 1 of 5: Table Reference List"),
                 parent),
      m_source(source), m_preset(std::move(preset)) {
    auto *description = new QLabel(
        QStringLiteral("Identifies one or more tables from which data is retrieved. The "
                       "expression can be a single table name, a saved query name, or a compound "
                       "resulting from a JOIN."),
        this);
    description->setWordWrap(true);
    m_editor = new RowListEditor({QStringLiteral("Table / Join"), QStringLiteral("Alias")}, this);
    m_table = new QComboBox(this);
    m_table->setEditable(true);
    m_table->setInsertPolicy(QComboBox::NoInsert);
    m_alias = new QLineEdit(this);
    m_syntax = new QPushButton(QStringLiteral("&Syntax..."), this);
    m_syntaxField =
        new SyntaxFieldButton(m_table, m_syntax, opener, SyntaxOpener::Field::TableReference);

    auto *fields = new QGridLayout;
    fields->addWidget(new QLabel(QStringLiteral("Table / Join:"), this), 0, 0);
    fields->addWidget(new QLabel(QStringLiteral("Alias:"), this), 0, 1);
    fields->addWidget(m_table, 1, 0);
    fields->addWidget(m_alias, 1, 1);
    fields->addWidget(m_syntax, 1, 2);
    fields->setColumnStretch(0, 3);
    fields->setColumnStretch(1, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(description);
    layout->addWidget(new QLabel(QStringLiteral("Table Reference List:"), this));
    layout->addWidget(m_editor, 1);
    layout->addLayout(fields);

    m_editor->readFields = [this] { return QStringList{m_table->currentText(), m_alias->text()}; };
    m_editor->emptyFields = [this] { m_alias->clear(); };
    m_editor->showRow = [this](int row) {
        m_table->setEditText(m_editor->List()->GetItemText(row, 0));
        m_alias->setText(m_editor->List()->GetItemText(row, 1));
    };
    m_editor->enable = [this] { Enable(); };
    connect(m_table, &QComboBox::editTextChanged, this, [this] { Enable(); });
    connect(m_table, &QComboBox::activated, this, [this] {
        m_editor->AddButton()->setEnabled(true);
        m_editor->ModifyButton()->setEnabled(m_editor->List()->GetSelectedCount() > 0);
    });
}

void CWizardPage1::OnInitialShow() {
    m_editor->List()->SetColumnWidth(0, m_table->width());
    WizardText::Fill(m_table, WizardText::Sorted(m_source.TableNames()));
    if (!m_preset.empty())
        m_editor->List()->InsertItem(0, WizardText::Shown(m_preset));
}

void CWizardPage1::OnSetActive() { Enable(); }

void CWizardPage1::Enable() {
    m_editor->ApplyRule(!m_table->currentText().isEmpty());
    SetWizardButtons(m_editor->List()->GetItemCount() > 0 ? WizardSheet::Next : 0);
}

std::vector<TwoCellRow> CWizardPage1::Rows() const {
    std::vector<TwoCellRow> rows;
    for (const QStringList &cells : m_editor->List()->Rows())
        rows.push_back({WizardText::Bytes(cells[0]), WizardText::Bytes(cells[1])});
    return rows;
}

bool CWizardPage1::OnWizardNext() {
    m_strTableList = QueryStatement::TableList(Rows());
    return true;
}
