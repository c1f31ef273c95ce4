#include "results/QuotedIdentifier.h"

std::string QuotedIdentifier(const std::string &name, const std::string &quote) {
    if (quote.find_first_not_of(' ') == std::string::npos)
        return name;
    std::string quoted = quote;
    for (size_t start = 0;;) {
        const size_t found = name.find(quote, start);
        if (found == std::string::npos) {
            quoted.append(name, start, std::string::npos);
            break;
        }
        quoted.append(name, start, found + quote.size() - start);
        quoted += quote;
        start = found + quote.size();
    }
    quoted += quote;
    return quoted;
}
