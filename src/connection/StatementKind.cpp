#include "connection/StatementKind.h"

namespace {

bool IsLeadingBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

// ASCII letters only: statement texts are bytes, whatever the locale says.
char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size())
        return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (Upper(text[i]) != prefix[i])
            return false;
    return true;
}

} // namespace

std::string_view LeftTrimmed(std::string_view text) {
    size_t start = 0;
    while (start < text.size() && IsLeadingBlank(text[start]))
        ++start;
    return text.substr(start);
}

StatementKind ClassifyStatement(std::string_view text) {
    text = LeftTrimmed(text);
    if (text.empty())
        return StatementKind::Empty;
    if (StartsWithNoCase(text, "SELECT") || StartsWithNoCase(text, "{CALL") ||
        StartsWithNoCase(text, "{?=CALL"))
        return StatementKind::Query;
    if (StartsWithNoCase(text, "REM") || StartsWithNoCase(text, "--"))
        return StatementKind::Comment;
    if (text.front() == '@')
        return StatementKind::Script;
    return StatementKind::Other;
}
