#pragma once

#include <string>
#include <vector>

#include "wizards/ConditionRow.h"
#include "wizards/WizardPage.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class RowListEditor;
class SyntaxFieldButton;
class SyntaxOpener;
class WizardSource;

// SELECT step 1: the tables (or joins) and their aliases.
class CWizardPage1 : public WizardPage {
    Q_OBJECT
public:
    CWizardPage1(WizardSource &source, SyntaxOpener *opener, std::string preset,
                 QWidget *parent = nullptr);

    void OnInitialShow() override;
    void OnSetActive() override;
    bool OnWizardNext() override;

    std::vector<TwoCellRow> Rows() const;
    std::string m_strTableList;

    RowListEditor *Editor() const { return m_editor; }
    QComboBox *TableField() const { return m_table; }
    QLineEdit *AliasField() const { return m_alias; }
    QPushButton *SyntaxButton() const { return m_syntax; }
    SyntaxFieldButton *Syntax() const { return m_syntaxField; }

private:
    void Enable();

    WizardSource &m_source;
    std::string m_preset;
    RowListEditor *m_editor;
    QComboBox *m_table;
    QLineEdit *m_alias;
    QPushButton *m_syntax;
    SyntaxFieldButton *m_syntaxField;
};
