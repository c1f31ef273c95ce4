#include "ConnectStringSample.h"

#include "FuzzInput.h"

namespace {

std::string Without(std::string text, std::string_view unwanted) {
    std::string kept;
    for (char c : text) {
        if (unwanted.find(c) == std::string_view::npos)
            kept += c;
    }
    return kept;
}

std::string Braced(const std::string &value) {
    std::string braced = "{";
    for (char c : value) {
        braced += c;
        if (c == '}')
            braced += '}';
    }
    return braced + "}";
}

std::string Key(FuzzInput &input) {
    static const char *const keys[] = {"DSN", "FILEDSN", "DRIVER", "UID", "ODBC", "Database"};
    const size_t pick = input.Below(8);
    if (pick < 6)
        return keys[pick];
    return Without(input.Bytes(8), std::string("=;\x01", 3));
}

} // namespace

ConnectStringSample ConnectStringSample::From(std::string_view data) {
    static const char *const passwordKeys[] = {"PWD", "pwd", "Password", " PWD ", "PASSWORD"};
    FuzzInput input(data);
    ConnectStringSample sample;
    const size_t count = input.Below(8);
    for (size_t i = 0; i < count; ++i) {
        std::string element;
        bool password = false;
        switch (input.Below(4)) {
        case 0: { // unbraced: no ";", and no "{" to start the value
            std::string value = Without(input.Bytes(12), std::string(";\x01", 2));
            while (!value.empty() && value.front() == '{')
                value.erase(0, 1);
            element = Key(input) + "=" + value;
            break;
        }
        case 1: // braced: anything at all inside
            element = Key(input) + "=" + Braced(Without(input.Bytes(12), std::string("\x01", 1)));
            break;
        case 2: { // a password, braced or not
            password = true;
            const std::string secret = PasswordMark + input.Bytes(8) + PasswordMark;
            const std::string key = passwordKeys[input.Below(5)];
            element = key + "=" + (input.Byte() & 1 ? Braced(secret) : Without(secret, ";"));
            break;
        }
        default: // a key alone
            element = Without(input.Bytes(8), std::string("=;\x01", 3));
            break;
        }
        if (element.empty())
            continue;
        if (!password && element.find_first_of("\r\n") != std::string::npos)
            sample.lineBreak = true;
        if (!sample.text.empty())
            sample.text += input.Byte() & 1 ? ";;" : ";";
        sample.text += element;
        sample.elements.push_back(element);
    }
    return sample;
}
