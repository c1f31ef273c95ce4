#pragma once

#include <string>
#include <string_view>

// What the script reader must do with any bytes: hand out nothing that was not
// in the file, and keep a quoted literal whole whatever it holds.
class ScriptReaderOracle {
public:
    // "" when every rule holds, else what went wrong.
    static std::string Check(std::string_view data);
};
