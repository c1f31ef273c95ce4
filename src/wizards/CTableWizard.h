#pragma once

#include <string>

#include "wizards/TableStatement.h"
#include "wizards/WizardSheet.h"

class CWizColumns;
class CWizTable;
class CWizWhere;
class SyntaxOpener;
class WizardSource;

// The CREATE TABLE, DROP TABLE, INSERT, UPDATE and DELETE wizards: the table
// page, then the columns page and the where page where the statement has them.
// `preset` (a written table name, or empty) is the table page's first text.
class CTableWizard : public WizardSheet {
    Q_OBJECT
public:
    CTableWizard(TableStatement::Kind kind, WizardSource &source, SyntaxOpener *opener,
                 const std::string &preset, QWidget *parent = nullptr);

    // The statement, once the wizard ended with Finish.
    std::string Statement() const;

    CWizTable *TablePage() const { return m_table; }
    // Null where the statement has no such page.
    CWizColumns *ColumnsPage() const { return m_columns; }
    CWizWhere *WherePage() const { return m_where; }

private:
    TableStatement::Kind m_kind;
    CWizTable *m_table = nullptr;
    CWizColumns *m_columns = nullptr;
    CWizWhere *m_where = nullptr;
};
