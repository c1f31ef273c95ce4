#include "catalog/recordsets/SearchPattern.h"

#include <sqlext.h>

#include "odbc/OdbcConnection.h"

std::string EscapeSearchPattern(std::string_view name, std::string_view escape) {
    if (escape.empty())
        return std::string(name);
    std::string escaped;
    escaped.reserve(name.size() * 2);
    size_t i = 0;
    while (i < name.size()) {
        if (name.substr(i, escape.size()) == escape) {
            escaped.append(escape);
            escaped.append(escape);
            i += escape.size();
            continue;
        }
        if (name[i] == '_' || name[i] == '%')
            escaped.append(escape);
        escaped.push_back(name[i]);
        ++i;
    }
    return escaped;
}

std::optional<std::string> NamePattern(const OdbcConnection &connection, const char *name) {
    if (!name)
        return std::nullopt;
    // A driver that cannot say has no escape; the name then goes as it is.
    return EscapeSearchPattern(name, connection.InfoText(SQL_SEARCH_PATTERN_ESCAPE));
}
