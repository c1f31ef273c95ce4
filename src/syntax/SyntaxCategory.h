#pragma once

#include <string>
#include <vector>

// The Syntax Dictionary's categories. The value is the id of the string that
// is also the page's tab caption.
enum class SyntaxCategory : int {
    Tables = 183,
    Columns = 184,
    Functions = 185,
    DateTime = 186,
    Joins = 187,
    Operators = 188,
    Other = 189,
};

// "Tables", "Columns", "Functions", "Date/Time", "Joins", "Operators" or "Other".
std::string SyntaxCategoryCaption(SyntaxCategory category);

// The pages each opener shows, in their order.
namespace SyntaxPages {
// Paste Syntax at the console: every category.
const std::vector<SyntaxCategory> &PasteSyntax();
// A table or join field: Tables, Columns, Joins, Operators, Other.
const std::vector<SyntaxCategory> &TableReference();
// An expression field: Columns, Functions, Operators, Date/Time, Other.
const std::vector<SyntaxCategory> &Expression();
// A value field: Date/Time alone.
const std::vector<SyntaxCategory> &Value();
} // namespace SyntaxPages
