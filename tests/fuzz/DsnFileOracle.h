#pragma once

#include <string>
#include <string_view>

// What a written .dsn must hold for any connect string: well-formed CR LF
// lines, none the driver manager would read back as a password, a FILEDSN or
// an empty DSN, and nothing at all when a value holds a line break.
class DsnFileOracle {
public:
    // "" when every rule holds, else what went wrong.
    static std::string Check(std::string_view data);
};
