#pragma once

#include <string>

// Where the Syntax Dictionary puts the entry chosen with Insert: the console,
// or the field a wizard's Syntax button serves.
class SyntaxTarget {
public:
    virtual ~SyntaxTarget() = default;
    // `bytes` as UTF-8, to be inserted at the caret and left selected.
    virtual void InsertText(const std::string &bytes) = 0;
};
