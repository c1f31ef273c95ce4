#pragma once

#include <optional>
#include <string>
#include <string_view>

class OdbcConnection;

// Some catalog arguments are search patterns to the driver, where "_" and "%"
// match any character(s): a table named order_items would also find order1items.
// Escaping them makes such an argument match the one name it spells.

// `name` with "_", "%" and `escape` itself each preceded by `escape`; unchanged
// when `escape` is empty (the driver has no escape).
std::string EscapeSearchPattern(std::string_view name, std::string_view escape);

// A name for a pattern argument of a catalog call on `connection`, escaped with
// the driver's SQL_SEARCH_PATTERN_ESCAPE. A null name stays null (no restriction).
std::optional<std::string> NamePattern(const OdbcConnection &connection, const char *name);

// The argument form of a NamePattern result: null, or its text.
inline const char *PatternArg(const std::optional<std::string> &pattern) {
    return pattern ? pattern->c_str() : nullptr;
}
