#pragma once

#include <string>
#include <vector>

#include "wizards/ConditionRow.h"
#include "wizards/TableStatement.h"
#include "wizards/WizardPage.h"

class CWizTable;
class QComboBox;
class QPushButton;
class RowListEditor;
class SyntaxFieldButton;
class SyntaxOpener;
class WizardSource;

// The column rows of CREATE TABLE (name, type), INSERT (column, value) and
// UPDATE (column, expression).
class CWizColumns : public WizardPage {
    Q_OBJECT
public:
    CWizColumns(WizardSource &source, SyntaxOpener *opener, const CWizTable &table,
                TableStatement::Kind mode, const QString &title, const QString &description,
                QWidget *parent = nullptr);

    void OnSetActive() override;
    bool OnWizardNext() override;
    bool OnWizardFinish() override;
    void OnWizardBack() override;

    std::vector<TwoCellRow> Rows() const;
    TableStatement::Kind m_nMode;
    bool m_bLastPage;
    bool m_bValueSyntax;
    std::string m_strColumns;
    std::string m_strValues;

    RowListEditor *Editor() const { return m_editor; }
    QComboBox *FirstField() const { return m_first; }
    QComboBox *SecondField() const { return m_second; }
    QPushButton *SyntaxButton() const { return m_syntax; }
    SyntaxFieldButton *Syntax() const { return m_syntaxField; }

private:
    void Enable();
    bool AddAllowed() const;
    void BuildLists();

    WizardSource &m_source;
    const CWizTable &m_table;
    RowListEditor *m_editor;
    QComboBox *m_first;
    QComboBox *m_second;
    QPushButton *m_syntax;
    SyntaxFieldButton *m_syntaxField;
};
