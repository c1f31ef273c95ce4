#include "connection/StatementKind.h"

#include "odbc/AsciiText.h"

using AsciiText::StartsWithNoCase;

std::string_view LeftTrimmed(std::string_view text) {
    size_t start = 0;
    while (start < text.size() && AsciiText::IsBlank(text[start]))
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
