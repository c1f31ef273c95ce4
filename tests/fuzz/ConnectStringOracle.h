#pragma once

#include <string>
#include <string_view>

// What splitting, masking and listing a connect string must hold: the elements
// join back into the string, and no password value survives the mask or the
// console's listing.
class ConnectStringOracle {
public:
    // "" when every rule holds, else what went wrong.
    static std::string Check(std::string_view data);
};
