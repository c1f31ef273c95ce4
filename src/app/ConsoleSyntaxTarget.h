#pragma once

#include <string>

#include "console/CDBOutputView.h"
#include "syntax/SyntaxTarget.h"

// Paste Syntax puts the chosen entry at the console's caret. The console and the
// dictionary do not know each other; the connection window joins them here.
class ConsoleSyntaxTarget : public SyntaxTarget {
public:
    explicit ConsoleSyntaxTarget(CDBOutputView &console) : m_console(console) {}
    void InsertText(const std::string &bytes) override { m_console.InsertText(bytes); }

private:
    CDBOutputView &m_console;
};
