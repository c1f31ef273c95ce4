#pragma once

#include "wizards/SqlIdentifier.h"
#include "wizards/WizardSource.h"

class CBrindleDoc;

// The wizards' view of a connection document: its table list, its column
// query (which replaces the document's column list, announced in the status
// bar, failures reported by the document), its operator list and a type query.
class DocumentWizardSource : public WizardSource {
public:
    explicit DocumentWizardSource(CBrindleDoc &doc);

    std::vector<std::string> TableNames() override;
    std::vector<std::string> ColumnNames(const std::string &table) override;
    std::vector<std::string> Operators() override;
    std::vector<std::string> TypeNames() override;
    std::string Written(const std::string &name) override;

private:
    CBrindleDoc &m_doc;
    SqlIdentifier m_identifier;
};
