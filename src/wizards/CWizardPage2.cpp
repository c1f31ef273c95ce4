#include "wizards/CWizardPage2.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "wizards/CListCtrlEx.h"
#include "wizards/CWizardPage1.h"
#include "wizards/QueryStatement.h"
#include "wizards/RowListEditor.h"
#include "wizards/SyntaxFieldButton.h"
#include "wizards/WizardSheet.h"
#include "wizards/WizardSource.h"
#include "wizards/WizardText.h"

CWizardPage2::CWizardPage2(WizardSource &source, SyntaxOpener *opener, const CWizardPage1 &step1,
                           QWidget *parent)
    : WizardPage(QStringLiteral("SELECT Statement Wizard - Step 2 of 5: Select List"), parent),
      m_source(source), m_step1(step1) {
    auto *description = new QLabel(
        QStringLiteral("Name of the field or fields to be retrieved along with any field name "
                       "aliases, SQL aggregate functions, selection predicates, or other SELECT "
                       "statement options."),
        this);
    description->setWordWrap(true);
    m_editor =
        new RowListEditor({QStringLiteral("Column / Expression"), QStringLiteral("Alias")}, this);
    m_column = new QComboBox(this);
    m_column->setEditable(true);
    m_column->setInsertPolicy(QComboBox::NoInsert);
    m_alias = new QLineEdit(this);
    m_distinct = new QCheckBox(QStringLiteral("Distinct"), this);
    m_syntax = new QPushButton(QStringLiteral("&Syntax..."), this);
    new SyntaxFieldButton(m_column, m_syntax, opener, SyntaxOpener::Field::Expression);

    auto *fields = new QGridLayout;
    fields->addWidget(new QLabel(QStringLiteral("Column / Expression:"), this), 0, 0);
    fields->addWidget(new QLabel(QStringLiteral("Alias:"), this), 0, 1);
    fields->addWidget(m_column, 1, 0);
    fields->addWidget(m_alias, 1, 1);
    fields->addWidget(m_syntax, 1, 2);
    fields->addWidget(m_distinct, 2, 0);
    fields->setColumnStretch(0, 3);
    fields->setColumnStretch(1, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(description);
    layout->addWidget(new QLabel(QStringLiteral("Select List:"), this));
    layout->addWidget(m_editor, 1);
    layout->addLayout(fields);

    m_editor->readFields = [this] { return QStringList{m_column->currentText(), m_alias->text()}; };
    m_editor->emptyFields = [this] {
        m_column->setEditText(QString());
        m_alias->clear();
    };
    m_editor->showRow = [this](int row) {
        m_column->setEditText(m_editor->List()->GetItemText(row, 0));
        m_alias->setText(m_editor->List()->GetItemText(row, 1));
    };
    m_editor->enable = [this] { Enable(); };
    connect(m_column, &QComboBox::editTextChanged, this, [this] { Enable(); });
    connect(m_column, &QComboBox::activated, this, [this] {
        m_editor->AddButton()->setEnabled(true);
        m_editor->ModifyButton()->setEnabled(m_editor->List()->GetSelectedCount() > 0);
    });
}

void CWizardPage2::OnInitialShow() { m_editor->List()->SetColumnWidth(0, m_column->width()); }

void CWizardPage2::OnSetActive() {
    m_bDistinct = false;
    m_distinct->setChecked(false);
    m_alias->clear();
    m_candidates = {"*"};
    const std::vector<std::string> qualifiers =
        QueryStatement::Qualifiers(m_step1.Rows(), m_source.TableNames());
    for (const std::string &qualifier : qualifiers) {
        const std::vector<std::string> columns = m_source.ColumnNames(qualifier);
        if (columns.empty())
            continue;
        m_candidates.push_back(qualifier + ".*");
        for (const std::string &column : columns)
            m_candidates.push_back(qualifier + "." + column);
    }
    WizardText::Fill(m_column, WizardText::Sorted(m_candidates));
    Enable();
}

void CWizardPage2::Enable() {
    m_editor->ApplyRule(!m_column->currentText().isEmpty());
    SetWizardButtons(WizardSheet::Back |
                     (m_editor->List()->GetItemCount() > 0 ? WizardSheet::Next : 0));
}

std::vector<TwoCellRow> CWizardPage2::Rows() const {
    std::vector<TwoCellRow> rows;
    for (const QStringList &cells : m_editor->List()->Rows())
        rows.push_back({WizardText::Bytes(cells[0]), WizardText::Bytes(cells[1])});
    return rows;
}

bool CWizardPage2::OnWizardNext() {
    m_bDistinct = m_distinct->isChecked();
    m_strSelectList = QueryStatement::SelectList(Rows(), m_bDistinct);
    return true;
}

void CWizardPage2::OnWizardBack() { m_editor->RemoveAll(); }
