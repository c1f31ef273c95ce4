#pragma once

#include <string>

// `name` between the driver's identifier quote (SQL_IDENTIFIER_QUOTE_CHAR),
// with every quote inside the name doubled. A quote that is empty or blank
// means the driver does not quote identifiers: the name stays bare.
std::string QuotedIdentifier(const std::string &name, const std::string &quote);
