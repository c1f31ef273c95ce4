#pragma once

#include <string>
#include <string_view>
#include <vector>

// A connect string built from fuzzer bytes element by element, so the
// elements it must split into are known without the splitter. Password values
// carry the byte 0x01, which nothing else in the sample holds: wherever that
// byte shows up, a password has leaked.
struct ConnectStringSample {
    static constexpr char PasswordMark = '\x01';

    std::string text;                  // the elements joined by ";"
    std::vector<std::string> elements; // what the splitter must answer
    // Whether an element that is not a password holds CR or LF.
    bool lineBreak = false;

    static ConnectStringSample From(std::string_view data);
};
