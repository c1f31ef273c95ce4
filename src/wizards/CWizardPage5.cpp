#include "wizards/CWizardPage5.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "wizards/CListCtrlEx.h"
#include "wizards/CWizardPage3.h"
#include "wizards/QueryStatement.h"
#include "wizards/RowListEditor.h"
#include "wizards/WizardSheet.h"
#include "wizards/WizardText.h"

CWizardPage5::CWizardPage5(const CWizardPage3 &step3, QWidget *parent)
    : WizardPage(QStringLiteral("SELECT Statement Wizard - Step 5 of 5: Sort Order"),
                 parent),
      m_step3(step3) {
    auto *description = new QLabel(QStringLiteral("Sorts a query's resulting records on a "
                                                  "specified field or fields in ascending or "
                                                  "descending order."),
                                   this);
    description->setWordWrap(true);
    m_editor =
        new RowListEditor({QStringLiteral("Column / Expression"), QStringLiteral("Sort")}, this);
    m_column = new QComboBox(this);
    m_column->setEditable(true);
    m_column->setInsertPolicy(QComboBox::NoInsert);
    m_descending = new QCheckBox(QStringLiteral("Descending"), this);

    auto *fields = new QGridLayout;
    fields->addWidget(new QLabel(QStringLiteral("Column / Expression:"), this), 0, 0);
    fields->addWidget(m_column, 1, 0);
    fields->addWidget(m_descending, 1, 1);
    fields->setColumnStretch(0, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(description);
    layout->addWidget(new QLabel(QStringLiteral("Sort Criteria:"), this));
    layout->addWidget(m_editor, 1);
    layout->addLayout(fields);

    m_editor->readFields = [this] {
        return QStringList{m_column->currentText(),
                           m_descending->isChecked() ? QStringLiteral("DESC") : QString()};
    };
    m_editor->emptyFields = [this] {
        m_column->setEditText(QString());
        m_descending->setChecked(false);
    };
    m_editor->showRow = [this](int row) {
        m_column->setEditText(m_editor->List()->GetItemText(row, 0));
        m_descending->setChecked(!m_editor->List()->GetItemText(row, 1).isEmpty());
    };
    m_editor->enable = [this] { Enable(); };
    connect(m_column, &QComboBox::editTextChanged, this, [this] { Enable(); });
    connect(m_column, &QComboBox::activated, this, [this] {
        m_editor->AddButton()->setEnabled(true);
        m_editor->ModifyButton()->setEnabled(m_editor->List()->GetSelectedCount() > 0);
    });
}

void CWizardPage5::OnInitialShow() { m_editor->List()->SetColumnWidth(0, m_column->width()); }

void CWizardPage5::OnSetActive() {
    SetWizardButtons(WizardSheet::Back | WizardSheet::Finish);
    WizardText::Fill(m_column, m_step3.Expressions());
    m_descending->setChecked(false);
    Enable();
}

void CWizardPage5::Enable() { m_editor->ApplyRule(!m_column->currentText().isEmpty()); }

std::vector<TwoCellRow> CWizardPage5::Rows() const {
    std::vector<TwoCellRow> rows;
    for (const QStringList &cells : m_editor->List()->Rows())
        rows.push_back({WizardText::Bytes(cells[0]), WizardText::Bytes(cells[1])});
    return rows;
}

bool CWizardPage5::OnWizardFinish() {
    m_strSortList = QueryStatement::SortList(Rows());
    return true;
}

void CWizardPage5::OnWizardBack() { m_editor->RemoveAll(); }
