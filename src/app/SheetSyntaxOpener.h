#pragma once

#include "wizards/SyntaxOpener.h"

class CBrindleDoc;

// Opens the Syntax Dictionary sheet over a document's connection for a
// wizard's "&Syntax..." button.
class SheetSyntaxOpener : public SyntaxOpener {
public:
    explicit SheetSyntaxOpener(CBrindleDoc &doc) : m_doc(doc) {}

    bool Open(QWidget *parent, Field field, std::string &text) override;

private:
    CBrindleDoc &m_doc;
};
