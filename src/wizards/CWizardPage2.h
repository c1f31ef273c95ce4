#pragma once

#include <string>
#include <vector>

#include "wizards/ConditionRow.h"
#include "wizards/WizardPage.h"

class CWizardPage1;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class RowListEditor;
class SyntaxFieldButton;
class SyntaxOpener;
class WizardSource;

// SELECT step 2: the select list with its aliases, and Distinct.
class CWizardPage2 : public WizardPage {
    Q_OBJECT
public:
    CWizardPage2(WizardSource &source, SyntaxOpener *opener, const CWizardPage1 &step1,
                 QWidget *parent = nullptr);

    void OnInitialShow() override;
    void OnSetActive() override;
    bool OnWizardNext() override;
    void OnWizardBack() override;

    // "*", then per qualifier its ".*" and its qualified columns, in that order.
    const std::vector<std::string> &Candidates() const { return m_candidates; }
    std::vector<TwoCellRow> Rows() const;
    bool m_bDistinct = false;
    std::string m_strSelectList;

    RowListEditor *Editor() const { return m_editor; }
    QComboBox *ColumnField() const { return m_column; }
    QLineEdit *AliasField() const { return m_alias; }
    QCheckBox *DistinctBox() const { return m_distinct; }

private:
    void Enable();

    WizardSource &m_source;
    const CWizardPage1 &m_step1;
    std::vector<std::string> m_candidates;
    RowListEditor *m_editor;
    QComboBox *m_column;
    QLineEdit *m_alias;
    QCheckBox *m_distinct;
    QPushButton *m_syntax;
};
