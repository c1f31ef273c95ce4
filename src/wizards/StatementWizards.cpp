#include "wizards/StatementWizards.h"

#include <QDialog>

#include "connection/CBrindleDoc.h"
#include "connection/ConsolePane.h"
#include "framework/CommandTable.h"
#include "framework/DocumentHost.h"
#include "framework/UserPrompts.h"
#include "wizards/CQueryWizard.h"
#include "wizards/CTableWizard.h"
#include "wizards/DocumentWizardSource.h"

namespace {

void Deliver(CBrindleDoc &doc, const std::string &statement) {
    if (!statement.empty() && doc.m_pOutputView)
        doc.m_pOutputView->InsertStatementText(statement);
}

TableStatement::Kind KindOf(int command) {
    switch (command) {
    case ID_CREATE_TABLE_WIZARD:
        return TableStatement::Kind::CreateTable;
    case ID_DROP_TABLE_WIZARD:
        return TableStatement::Kind::DropTable;
    case ID_INSERT_WIZARD:
        return TableStatement::Kind::Insert;
    case ID_UPDATE_WIZARD:
        return TableStatement::Kind::Update;
    default:
        return TableStatement::Kind::Delete;
    }
}

} // namespace

void StatementWizards::QueryWizard(CBrindleDoc &doc, SyntaxOpener *opener,
                                   const std::string &presetTable) {
    DocumentWizardSource source(doc);
    const std::string preset = presetTable.empty() ? std::string() : source.Written(presetTable);
    CQueryWizard wizard(source, opener, preset, doc.Host().DialogParent());
    if (doc.Host().Prompts().Exec(wizard) == QDialog::Accepted)
        Deliver(doc, wizard.Statement());
}

void StatementWizards::TableWizard(CBrindleDoc &doc, SyntaxOpener *opener, int command,
                                   const std::string &presetTable) {
    const TableStatement::Kind kind = KindOf(command);
    DocumentWizardSource source(doc);
    const std::string preset = kind == TableStatement::Kind::CreateTable || presetTable.empty()
                                   ? std::string()
                                   : source.Written(presetTable);
    CTableWizard wizard(kind, source, opener, preset, doc.Host().DialogParent());
    if (doc.Host().Prompts().Exec(wizard) == QDialog::Accepted)
        Deliver(doc, wizard.Statement());
}

bool StatementWizards::IsTableWizardCommand(int command) {
    switch (command) {
    case ID_CREATE_TABLE_WIZARD:
    case ID_DROP_TABLE_WIZARD:
    case ID_INSERT_WIZARD:
    case ID_UPDATE_WIZARD:
    case ID_DELETE_WIZARD:
        return true;
    default:
        return false;
    }
}
