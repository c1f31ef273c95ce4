#pragma once

#include <string>

class QWidget;

// Opens the Syntax Dictionary for a wizard field. The program provides it;
// tests script it.
class SyntaxOpener {
public:
    // The pages a field offers.
    enum class Field {
        TableReference, // Tables, Columns, Joins, Operators, Other
        Expression,     // Columns, Functions, Operators, Date/Time, Other
        Value,          // Date/Time
    };

    virtual ~SyntaxOpener() = default;
    // True when the user chose an entry with Insert: its text is in `text`.
    virtual bool Open(QWidget *parent, Field field, std::string &text) = 0;
};
