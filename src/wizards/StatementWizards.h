#pragma once

#include <string>

class CBrindleDoc;
class SyntaxOpener;

// The wizard commands of a connection document: each runs its wizard through
// the document's prompts and, on Finish, puts the statement into the console
// as its last statement, selected at the caret.
class StatementWizards {
public:
    // `presetTable` is the tree's selected table (its label), or empty.
    static void QueryWizard(CBrindleDoc &doc, SyntaxOpener *opener, const std::string &presetTable);
    // For the CREATE TABLE, DROP TABLE, INSERT, UPDATE and DELETE commands;
    // CREATE TABLE ignores the preset.
    static void TableWizard(CBrindleDoc &doc, SyntaxOpener *opener, int command,
                            const std::string &presetTable);
    // Whether `command` is one of the five table wizard commands.
    static bool IsTableWizardCommand(int command);
};
