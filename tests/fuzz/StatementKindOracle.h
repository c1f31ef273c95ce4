#pragma once

#include <string>
#include <string_view>

// What classifying a statement must hold for any bytes: only leading blanks are
// trimmed, and the kind depends on the first characters alone, in any letter case.
class StatementKindOracle {
public:
    // "" when every rule holds, else what went wrong.
    static std::string Check(std::string_view data);
};
