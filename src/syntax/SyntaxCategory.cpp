#include "syntax/SyntaxCategory.h"

std::string SyntaxCategoryCaption(SyntaxCategory category) {
    switch (category) {
    case SyntaxCategory::Tables:
        return "Tables";
    case SyntaxCategory::Columns:
        return "Columns";
    case SyntaxCategory::Functions:
        return "Functions";
    case SyntaxCategory::DateTime:
        return "Date/Time";
    case SyntaxCategory::Joins:
        return "Joins";
    case SyntaxCategory::Operators:
        return "Operators";
    case SyntaxCategory::Other:
        return "Other";
    }
    return {};
}

namespace SyntaxPages {

using enum SyntaxCategory;

const std::vector<SyntaxCategory> &PasteSyntax() {
    static const std::vector<SyntaxCategory> pages = {Tables,    Columns,  Joins, Functions,
                                                      Operators, DateTime, Other};
    return pages;
}

const std::vector<SyntaxCategory> &TableReference() {
    static const std::vector<SyntaxCategory> pages = {Tables, Columns, Joins, Operators, Other};
    return pages;
}

const std::vector<SyntaxCategory> &Expression() {
    static const std::vector<SyntaxCategory> pages = {Columns, Functions, Operators, DateTime,
                                                      Other};
    return pages;
}

const std::vector<SyntaxCategory> &Value() {
    static const std::vector<SyntaxCategory> pages = {DateTime};
    return pages;
}

} // namespace SyntaxPages
