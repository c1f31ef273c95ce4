#pragma once

#include <string>
#include <vector>

#include "wizards/WizardPage.h"

class ConditionEditor;
class CWizardPage3;
class QListWidget;
class QPushButton;
class SyntaxOpener;
class WizardSource;

// SELECT step 4: the group columns, moved across from "Columns:", and the
// group criteria, editable only while there are group columns.
class CWizardPage4 : public WizardPage {
    Q_OBJECT
public:
    CWizardPage4(WizardSource &source, SyntaxOpener *opener, const CWizardPage3 &step3,
                 QWidget *parent = nullptr);

    void OnInitialShow() override;
    void OnSetActive() override;
    bool OnWizardNext() override;
    void OnWizardBack() override;

    std::string m_strGroupColumns;
    std::string m_strGroupCriteria;

    QListWidget *ColumnsList() const { return m_columns; }
    QListWidget *GroupList() const { return m_group; }
    QPushButton *MoveRightButton() const { return m_right; }
    QPushButton *MoveLeftButton() const { return m_left; }
    QPushButton *MoveAllLeftButton() const { return m_allLeft; }
    ConditionEditor *Criteria() const { return m_criteria; }

private:
    void Enable();
    void MoveRight();
    void MoveLeft();
    void MoveAllLeft();

    WizardSource &m_source;
    const CWizardPage3 &m_step3;
    QListWidget *m_columns;
    QListWidget *m_group;
    QPushButton *m_right;
    QPushButton *m_left;
    QPushButton *m_allLeft;
    QPushButton *m_syntax;
    ConditionEditor *m_criteria;
};
