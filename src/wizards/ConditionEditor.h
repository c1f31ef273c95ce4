#pragma once

#include <string>
#include <vector>

#include <QWidget>

#include "wizards/ConditionRow.h"

class CListCtrlEx;
class QComboBox;
class RowListEditor;

// The condition-list editor: rows of Link, Expression 1, Operator and
// Expression 2. The first row never carries a link: the Link field is enabled
// only once the list has rows, and the first row's Link cell is emptied after
// every enabling pass.
class ConditionEditor : public QWidget {
    Q_OBJECT
public:
    explicit ConditionEditor(QWidget *parent = nullptr);

    // First showing: column widths and the Operator items, in their stored order.
    void InitialShow(const std::vector<std::string> &operators);
    // Becoming active: Link shows "AND", the expression fields get `candidates`
    // (sorted), the Operator text is emptied.
    void Refill(const std::vector<std::string> &candidates);
    // False disables the list, the fields and the buttons (step 4 without group columns).
    void SetAreaEnabled(bool enabled);
    void RunRule();
    void RemoveAll();
    std::vector<ConditionRow> Rows() const;

    RowListEditor *Editor() const { return m_editor; }
    CListCtrlEx *List() const;
    QComboBox *Link() const { return m_link; }
    QComboBox *Expression1() const { return m_expression1; }
    QComboBox *Operator() const { return m_operator; }
    QComboBox *Expression2() const { return m_expression2; }

private:
    void Enable();

    RowListEditor *m_editor;
    QComboBox *m_link;
    QComboBox *m_expression1;
    QComboBox *m_operator;
    QComboBox *m_expression2;
    bool m_areaEnabled = true;
};
