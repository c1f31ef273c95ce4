#include "wizards/CTableWizard.h"

#include "wizards/CWizColumns.h"
#include "wizards/CWizTable.h"
#include "wizards/CWizWhere.h"

namespace {

struct PageTexts {
    const char *title;
    const char *description;
};

struct WizardTexts {
    PageTexts table;
    PageTexts columns;
    PageTexts where;
};

WizardTexts Texts(TableStatement::Kind kind) {
    switch (kind) {
    case TableStatement::Kind::CreateTable:
        return {{"CREATE TABLE Statement Wizard - Step 1 of 2: Table",
                 "Specifies the name of the table to be created. Table names must conform to the "
                 "rules for identifiers and must be unique within the database and for its "
                 "owner."},
                {"CREATE TABLE Statement Wizard - Step 2 of 2: Columns",
                 "Specifies the name and data type of field or fields to be created in the new "
                 "table. You must create at least one field. If NOT NULL is specified for a "
                 "field, then new records are required to have valid data in that field."},
                {}};
    case TableStatement::Kind::DropTable:
        return {{"DROP TABLE Statement Wizard - Step 1 of 1: Table",
                 "Specifies the name of the table to be deleted. You cannot use the DROP TABLE "
                 "statement on system tables."},
                {},
                {}};
    case TableStatement::Kind::Insert:
        return {{"INSERT Statement Wizard - Step 1 of 2: Table",
                 "Specifies the name of the table or view used in the INSERT statement."},
                {"INSERT Statement Wizard - Step 2 of 2: Columns",
                 "Lists one or more columns to which data is to be added."},
                {}};
    case TableStatement::Kind::Update:
        return {{"UPDATE Statement Wizard - Step 1 of 3: Table",
                 "Specifies the name of the table or view used in the UPDATE statement."},
                {"UPDATE Statement Wizard - Step 2 of 3: Columns",
                 "Specifies an expression that determines the value to be inserted into a "
                 "particular field in the updated records."},
                {"UPDATE Statement Wizard - Step 3 of 3: Where",
                 "Specifies an expression that determines which records will be updated. Only "
                 "records that satisfy the expression are updated."}};
    case TableStatement::Kind::Delete:
        return {{"DELETE Statement Wizard - Step 1 of 2: Table",
                 "Specifies the table or view used in the DELETE statement."},
                {},
                {"DELETE Statement Wizard - Step 2 of 2: Where",
                 "Specifies the criteria for a searched delete."}};
    }
    return {};
}

} // namespace

CTableWizard::CTableWizard(TableStatement::Kind kind, WizardSource &source, SyntaxOpener *opener,
                           const std::string &preset, QWidget *parent)
    : WizardSheet(parent), m_kind(kind) {
    const WizardTexts texts = Texts(kind);
    m_table = new CWizTable(source, QString::fromLatin1(texts.table.title),
                            QString::fromLatin1(texts.table.description),
                            kind == TableStatement::Kind::DropTable);
    m_table->m_strTable = preset;
    AddPage(m_table);
    if (texts.columns.title) {
        m_columns = new CWizColumns(source, opener, *m_table, kind,
                                    QString::fromLatin1(texts.columns.title),
                                    QString::fromLatin1(texts.columns.description));
        AddPage(m_columns);
    }
    if (texts.where.title) {
        m_where = new CWizWhere(source, *m_table, QString::fromLatin1(texts.where.title),
                                QString::fromLatin1(texts.where.description));
        AddPage(m_where);
    }
    resize(520, 400);
}

std::string CTableWizard::Statement() const {
    TableStatement statement;
    statement.kind = m_kind;
    statement.table = m_table->m_strTable;
    if (m_columns) {
        statement.columns = m_columns->m_strColumns;
        statement.values = m_columns->m_strValues;
    }
    if (m_where)
        statement.where = m_where->m_strWhere;
    return statement.Text();
}
