#include "StatementKindOracle.h"

#include "connection/StatementKind.h"

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string OtherCase(std::string_view text) {
    std::string swapped(text);
    for (char &c : swapped) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
        else if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return swapped;
}

} // namespace

std::string StatementKindOracle::Check(std::string_view data) {
    const std::string_view trimmed = LeftTrimmed(data);
    const size_t cut = data.size() - trimmed.size();
    if (data.substr(cut) != trimmed)
        return "the trimmed text is not the end of the text";
    for (size_t i = 0; i < cut; ++i) {
        if (!IsBlank(data[i]))
            return "trimming removed more than blanks";
    }
    if (!trimmed.empty() && IsBlank(trimmed.front()))
        return "trimming left a leading blank";
    const StatementKind kind = ClassifyStatement(data);
    if ((kind == StatementKind::Empty) != trimmed.empty())
        return "Empty does not mean blank";
    if (ClassifyStatement(trimmed) != kind)
        return "leading blanks changed the kind";
    // "{?=CALL" is the longest prefix that decides.
    if (ClassifyStatement(trimmed.substr(0, 7)) != kind)
        return "characters past the prefix changed the kind";
    if (ClassifyStatement(OtherCase(trimmed)) != kind)
        return "letter case changed the kind";
    return {};
}
