#pragma once

#include <set>
#include <string>

// How the wizards write a table or column name the catalog gave them: plain
// names (letters, digits and "_", not starting with a digit, not a reserved
// word) stay as they are; any other name goes between the driver's identifier
// quote, so "order items" or Order still name the right object.
class SqlIdentifier {
public:
    // `quote` is the driver's SQL_IDENTIFIER_QUOTE_CHAR (empty or blank: the
    // driver does not quote, names stay bare); `driverKeywords` its SQL_KEYWORDS
    // answer, a comma-separated list.
    SqlIdentifier(std::string quote, const std::string &driverKeywords);

    // The name as a statement should hold it.
    std::string Written(const std::string &name) const;
    // The name a written text stands for: the quotes removed, doubled quotes
    // made single. A text that is not quoted comes back unchanged.
    std::string Bare(const std::string &text) const;

    bool IsReserved(const std::string &name) const;
    // Letters, digits and "_", not starting with a digit.
    static bool IsRegular(const std::string &name);

private:
    std::string m_quote;
    std::set<std::string> m_driverKeywords;
};
