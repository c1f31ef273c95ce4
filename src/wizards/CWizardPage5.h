#pragma once

#include <string>
#include <vector>

#include "wizards/ConditionRow.h"
#include "wizards/WizardPage.h"

class CWizardPage3;
class QCheckBox;
class QComboBox;
class RowListEditor;

// SELECT step 5: the sort columns, each ascending or "DESC".
class CWizardPage5 : public WizardPage {
    Q_OBJECT
public:
    CWizardPage5(const CWizardPage3 &step3, QWidget *parent = nullptr);

    void OnInitialShow() override;
    void OnSetActive() override;
    bool OnWizardFinish() override;
    void OnWizardBack() override;

    std::vector<TwoCellRow> Rows() const;
    std::string m_strSortList;

    RowListEditor *Editor() const { return m_editor; }
    QComboBox *ColumnField() const { return m_column; }
    QCheckBox *DescendingBox() const { return m_descending; }

private:
    void Enable();

    const CWizardPage3 &m_step3;
    RowListEditor *m_editor;
    QComboBox *m_column;
    QCheckBox *m_descending;
};
