#include "wizards/ConditionEditor.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "wizards/CListCtrlEx.h"
#include "wizards/RowListEditor.h"
#include "wizards/WizardText.h"

namespace {

QComboBox *EditableCombo(QWidget *parent) {
    auto *combo = new QComboBox(parent);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    return combo;
}

} // namespace

ConditionEditor::ConditionEditor(QWidget *parent) : QWidget(parent) {
    m_editor = new RowListEditor({QStringLiteral("Link"), QStringLiteral("Expression 1"),
                                  QStringLiteral("Operator"), QStringLiteral("Expression 2")},
                                 this);
    m_link = new QComboBox(this);
    m_link->addItems({QStringLiteral("AND"), QStringLiteral("OR")});
    m_expression1 = EditableCombo(this);
    m_operator = EditableCombo(this);
    m_expression2 = EditableCombo(this);

    auto *fields = new QGridLayout;
    const QStringList labels = {QStringLiteral("Link:"), QStringLiteral("Expression 1:"),
                                QStringLiteral("Operator:"), QStringLiteral("Expression 2:")};
    const QList<QComboBox *> combos = {m_link, m_expression1, m_operator, m_expression2};
    for (int column = 0; column < 4; ++column) {
        fields->addWidget(new QLabel(labels[column], this), 0, column);
        fields->addWidget(combos[column], 1, column);
    }
    fields->setColumnStretch(1, 2);
    fields->setColumnStretch(3, 2);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_editor, 1);
    layout->addLayout(fields);

    m_editor->readFields = [this] {
        return QStringList{m_link->isEnabled() ? m_link->currentText() : QString(),
                           m_expression1->currentText(), m_operator->currentText(),
                           m_expression2->currentText()};
    };
    m_editor->storeRow = [this](int row, const QStringList &cells) {
        // The first row keeps its empty link whatever the Link field shows.
        if (row != 0)
            List()->SetItemText(row, 0, cells[0]);
        for (int column = 1; column < 4; ++column)
            List()->SetItemText(row, column, cells[column]);
    };
    m_editor->emptyFields = [this] {
        m_expression1->setEditText(QString());
        m_operator->setEditText(QString());
        m_expression2->setEditText(QString());
    };
    m_editor->showRow = [this](int row) {
        const QString link = List()->GetItemText(row, 0);
        if (!link.isEmpty()) {
            for (int item = 0; item < m_link->count(); ++item)
                if (m_link->itemText(item).startsWith(link)) {
                    m_link->setCurrentIndex(item);
                    break;
                }
        }
        m_expression1->setEditText(List()->GetItemText(row, 1));
        m_operator->setEditText(List()->GetItemText(row, 2));
        m_expression2->setEditText(List()->GetItemText(row, 3));
    };
    m_editor->enable = [this] { Enable(); };
    connect(m_expression1, &QComboBox::editTextChanged, this, [this] { Enable(); });
    connect(m_expression1, &QComboBox::activated, this, [this] {
        if (m_areaEnabled) {
            m_editor->AddButton()->setEnabled(true);
            m_editor->ModifyButton()->setEnabled(List()->GetSelectedCount() > 0);
        }
    });
}

CListCtrlEx *ConditionEditor::List() const { return m_editor->List(); }

void ConditionEditor::InitialShow(const std::vector<std::string> &operators) {
    // Each column but the last as wide as its field; the last takes the rest.
    const QList<QComboBox *> combos = {m_link, m_expression1, m_operator};
    int used = 0;
    for (int column = 0; column < 3; ++column) {
        const int width = combos[column]->width();
        List()->SetColumnWidth(column, width);
        used += width;
    }
    List()->SetColumnWidth(3, std::max(0, List()->viewport()->width() - used));
    m_operator->clear();
    for (const std::string &op : operators)
        m_operator->addItem(WizardText::Shown(op));
    m_operator->setEditText(QString());
}

void ConditionEditor::Refill(const std::vector<std::string> &candidates) {
    m_link->setCurrentIndex(0);
    const std::vector<std::string> sorted = WizardText::Sorted(candidates);
    WizardText::Fill(m_expression1, sorted);
    WizardText::Fill(m_expression2, sorted);
    m_operator->setEditText(QString());
    Enable();
}

void ConditionEditor::SetAreaEnabled(bool enabled) {
    m_areaEnabled = enabled;
    Enable();
}

void ConditionEditor::RunRule() { Enable(); }

void ConditionEditor::RemoveAll() { m_editor->RemoveAll(); }

void ConditionEditor::Enable() {
    List()->setEnabled(m_areaEnabled);
    m_expression1->setEnabled(m_areaEnabled);
    m_operator->setEnabled(m_areaEnabled);
    m_expression2->setEnabled(m_areaEnabled);
    if (m_areaEnabled) {
        m_link->setEnabled(List()->GetItemCount() > 0);
        m_editor->ApplyRule(!m_expression1->currentText().isEmpty());
    } else {
        m_link->setEnabled(false);
        m_editor->SetButtonsEnabled(false);
    }
    if (List()->GetItemCount() > 0)
        List()->SetItemText(0, 0, QString());
}

std::vector<ConditionRow> ConditionEditor::Rows() const {
    std::vector<ConditionRow> rows;
    for (const QStringList &cells : List()->Rows())
        rows.push_back({WizardText::Bytes(cells[0]), WizardText::Bytes(cells[1]),
                        WizardText::Bytes(cells[2]), WizardText::Bytes(cells[3])});
    return rows;
}
