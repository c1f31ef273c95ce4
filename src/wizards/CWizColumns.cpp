#include "wizards/CWizColumns.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "wizards/CListCtrlEx.h"
#include "wizards/CWizTable.h"
#include "wizards/RowListEditor.h"
#include "wizards/SyntaxFieldButton.h"
#include "wizards/WizardSheet.h"
#include "wizards/WizardSource.h"
#include "wizards/WizardText.h"

namespace {

QStringList Headers(TableStatement::Kind mode) {
    switch (mode) {
    case TableStatement::Kind::CreateTable:
        return {QStringLiteral("Name"), QStringLiteral("Type")};
    case TableStatement::Kind::Update:
        return {QStringLiteral("Column"), QStringLiteral("Expression")};
    default:
        return {QStringLiteral("Column"), QStringLiteral("Value")};
    }
}

QComboBox *EditableCombo(QWidget *parent) {
    auto *combo = new QComboBox(parent);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    return combo;
}

} // namespace

CWizColumns::CWizColumns(WizardSource &source, SyntaxOpener *opener, const CWizTable &table,
                         TableStatement::Kind mode, const QString &title,
                         const QString &description, QWidget *parent)
    : WizardPage(title, parent), m_nMode(mode),
      m_bLastPage(mode == TableStatement::Kind::CreateTable ||
                  mode == TableStatement::Kind::Insert),
      m_bValueSyntax(mode == TableStatement::Kind::Insert || mode == TableStatement::Kind::Update),
      m_source(source), m_table(table) {
    auto *text = new QLabel(description, this);
    text->setWordWrap(true);
    text->setTextFormat(Qt::PlainText);
    const QStringList headers = Headers(mode);
    m_editor = new RowListEditor(headers, this);
    m_first = EditableCombo(this);
    m_second = EditableCombo(this);
    m_syntax = new QPushButton(QStringLiteral("&Syntax..."), this);
    m_syntaxField = new SyntaxFieldButton(m_second, m_syntax, opener,
                                          mode == TableStatement::Kind::Insert
                                              ? SyntaxOpener::Field::Value
                                              : SyntaxOpener::Field::Expression,
                                          m_bValueSyntax);

    auto *fields = new QGridLayout;
    fields->addWidget(new QLabel(headers[0] + QLatin1Char(':'), this), 0, 0);
    fields->addWidget(new QLabel(headers[1] + QLatin1Char(':'), this), 0, 1);
    fields->addWidget(m_first, 1, 0);
    fields->addWidget(m_second, 1, 1);
    fields->addWidget(m_syntax, 1, 2);
    fields->setColumnStretch(0, 1);
    fields->setColumnStretch(1, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(new QLabel(QStringLiteral("Column Expression List:"), this));
    layout->addWidget(m_editor, 1);
    layout->addLayout(fields);

    m_editor->readFields = [this] {
        return QStringList{m_first->currentText(), m_second->currentText()};
    };
    m_editor->emptyFields = [this] {
        m_first->setEditText(QString());
        m_second->setEditText(QString());
    };
    m_editor->showRow = [this](int row) {
        m_first->setEditText(m_editor->List()->GetItemText(row, 0));
        m_second->setEditText(m_editor->List()->GetItemText(row, 1));
    };
    m_editor->enable = [this] { Enable(); };
    connect(m_first, &QComboBox::editTextChanged, this, &CWizColumns::Enable);
    connect(m_second, &QComboBox::editTextChanged, this, &CWizColumns::Enable);
    const auto setAdd = [this](bool add) {
        m_editor->AddButton()->setEnabled(add);
        m_editor->ModifyButton()->setEnabled(add && m_editor->List()->GetSelectedCount() > 0);
    };
    connect(m_first, &QComboBox::activated, this,
            [this, setAdd] { setAdd(!m_second->currentText().isEmpty()); });
    connect(m_second, &QComboBox::activated, this, [this, setAdd] {
        setAdd(m_nMode == TableStatement::Kind::Insert || !m_first->currentText().isEmpty());
    });
}

void CWizColumns::OnSetActive() {
    m_first->clear();
    m_second->clear();
    const std::vector<std::string> columns = m_source.ColumnNames(m_table.m_strTable);
    WizardText::Fill(m_first, WizardText::Sorted(columns));
    if (m_nMode == TableStatement::Kind::Update)
        WizardText::Fill(m_second, WizardText::Sorted(columns));
    else if (m_nMode == TableStatement::Kind::CreateTable)
        WizardText::Fill(m_second, WizardText::Sorted(m_source.TypeNames()));
    Enable();
}

bool CWizColumns::AddAllowed() const {
    return !m_second->currentText().isEmpty() &&
           (m_nMode == TableStatement::Kind::Insert || !m_first->currentText().isEmpty());
}

void CWizColumns::Enable() {
    m_editor->ApplyRule(AddAllowed());
    const bool rows = m_editor->List()->GetItemCount() > 0;
    if (m_bLastPage)
        SetWizardButtons(WizardSheet::Back |
                         (rows ? WizardSheet::Finish : WizardSheet::DisabledFinish));
    else
        SetWizardButtons(WizardSheet::Back | (rows ? WizardSheet::Next : 0));
}

std::vector<TwoCellRow> CWizColumns::Rows() const {
    std::vector<TwoCellRow> rows;
    for (const QStringList &cells : m_editor->List()->Rows())
        rows.push_back({WizardText::Bytes(cells[0]), WizardText::Bytes(cells[1])});
    return rows;
}

void CWizColumns::BuildLists() {
    TableStatement lists;
    lists.kind = m_nMode;
    lists.SetColumnRows(Rows());
    m_strColumns = lists.columns;
    m_strValues = lists.values;
}

bool CWizColumns::OnWizardNext() {
    BuildLists();
    return true;
}

bool CWizColumns::OnWizardFinish() {
    BuildLists();
    return true;
}

void CWizColumns::OnWizardBack() { m_editor->RemoveAll(); }
