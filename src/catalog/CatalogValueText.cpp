#include "catalog/CatalogValueText.h"

#include <array>
#include <cstdio>

namespace {

// Codes 0 .. N-1 name themselves; anything else is "Unknown (code)".
template <size_t N> std::string FromTable(const std::array<const char *, N> &texts, int32_t code) {
    if (code >= 0 && static_cast<size_t>(code) < N && texts[static_cast<size_t>(code)])
        return texts[static_cast<size_t>(code)];
    char text[32];
    std::snprintf(text, sizeof text, "Unknown (%d)", static_cast<int>(code));
    return text;
}

} // namespace

std::string ColumnTypeText(int32_t code) {
    static constexpr std::array<const char *, 6> Texts = {"PARAM TYPE UNKNOWN", "PARAM INPUT",
                                                          "PARAM INPUT OUTPUT", "RESULT COLUMN",
                                                          "PARAM OUTPUT",       "RETURN VALUE"};
    return FromTable(Texts, code);
}

std::string StatisticTypeText(int32_t code) {
    static constexpr std::array<const char *, 4> Texts = {"Table Statistic", "Index Clustered",
                                                          "Index Hashed", "Index Other"};
    return FromTable(Texts, code);
}

std::string ScopeText(int32_t code) {
    static constexpr std::array<const char *, 3> Texts = {"CURROW", "TRANSACTION", "SESSION"};
    return FromTable(Texts, code);
}

std::string PseudoColumnText(int32_t code) {
    static constexpr std::array<const char *, 3> Texts = {nullptr, "No", "Yes"};
    return FromTable(Texts, code);
}

std::string RuleText(int32_t code) {
    static constexpr std::array<const char *, 7> Texts = {
        "CASCADE",     "RESTRICT",           "SET NULL",           "NO ACTION",
        "SET DEFAULT", "INITIALLY DEFERRED", "INITIALLY IMMEDIATE"};
    return FromTable(Texts, code);
}

std::string ProcedureTypeText(int32_t code) {
    static constexpr std::array<const char *, 3> Texts = {"UNKNOWN", "PROCEDURE", "FUNCTION"};
    return FromTable(Texts, code);
}

std::string NullableText(int32_t code) {
    switch (code) {
    case 0:
        return "No";
    case 1:
        return "Yes";
    default:
        return "Unknown";
    }
}

std::string NonUniqueText(int32_t code) { return code != 0 ? "Yes" : "No"; }

std::string CollationText(const std::string &collation) {
    if (collation.starts_with('A'))
        return "Ascending";
    if (collation.starts_with('D'))
        return "Descending";
    return "Unknown (" + collation + ")";
}
