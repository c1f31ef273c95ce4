#include "wizards/RowListEditor.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "wizards/CListCtrlEx.h"

RowListEditor::RowListEditor(const QStringList &headers, QWidget *parent) : QWidget(parent) {
    m_list = new CListCtrlEx(headers, this);
    m_add = new QPushButton(QStringLiteral("&Add"), this);
    m_modify = new QPushButton(QStringLiteral("&Modify"), this);
    m_delete = new QPushButton(QStringLiteral("&Delete"), this);
    m_clear = new QPushButton(QStringLiteral("&Clear"), this);
    auto *buttons = new QVBoxLayout;
    for (QPushButton *button : {m_add, m_modify, m_delete, m_clear}) {
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    buttons->addStretch();
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);

    storeRow = [this](int row, const QStringList &cells) {
        for (int column = 0; column < cells.size(); ++column)
            m_list->SetItemText(row, column, cells[column]);
    };
    connect(m_add, &QPushButton::clicked, this, &RowListEditor::OnAdd);
    connect(m_modify, &QPushButton::clicked, this, &RowListEditor::OnModify);
    connect(m_delete, &QPushButton::clicked, this, &RowListEditor::OnDelete);
    connect(m_clear, &QPushButton::clicked, this, &RowListEditor::OnClear);
    connect(m_list, &CListCtrlEx::RowStateChanged, this, [this](int row) {
        if (showRow)
            showRow(row);
        RunRule();
    });
}

void RowListEditor::ApplyRule(bool add) {
    const bool rows = m_list->GetItemCount() > 0;
    const bool selected = m_list->GetSelectedCount() > 0;
    m_clear->setEnabled(rows);
    m_delete->setEnabled(selected);
    m_add->setEnabled(add);
    m_modify->setEnabled(add && selected);
}

void RowListEditor::SetButtonsEnabled(bool enabled) {
    for (QPushButton *button : {m_add, m_modify, m_delete, m_clear})
        button->setEnabled(enabled);
}

void RowListEditor::RunRule() {
    if (enable)
        enable();
}

void RowListEditor::RemoveAll() {
    m_list->DeleteAllItems();
    RunRule();
}

void RowListEditor::OnAdd() {
    const QStringList cells = readFields();
    const int row = m_list->InsertItem(m_list->GetItemCount(), cells.value(0));
    for (int column = 1; column < cells.size(); ++column)
        m_list->SetItemText(row, column, cells[column]);
    if (emptyFields)
        emptyFields();
    RunRule();
}

void RowListEditor::OnModify() {
    const int row = m_list->FirstSelected();
    if (row >= 0) {
        storeRow(row, readFields());
        if (emptyFields)
            emptyFields();
    }
    RunRule();
}

void RowListEditor::OnDelete() {
    const int row = m_list->FirstSelected();
    if (row >= 0)
        m_list->DeleteItem(row);
    RunRule();
}

void RowListEditor::OnClear() {
    m_list->DeleteAllItems();
    RunRule();
}
