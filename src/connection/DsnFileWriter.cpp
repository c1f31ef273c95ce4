#include "connection/DsnFileWriter.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <sstream>
#include <string_view>
#include <vector>

#include "odbc/AsciiText.h"
#include "odbc/ConnectString.h"

namespace {

// A .dsn is a few lines; anything bigger is not one.
constexpr std::uintmax_t MaxDsnFileSize = 64 * 1024;

bool IsOdbcPrefix(const std::string &element) {
    return element.size() >= 4 &&
           AsciiText::EqualNoCase(std::string_view(element).substr(0, 4), "ODBC");
}

// A DRIVER or a non-empty DSN: how the driver manager finds the driver again.
bool NamesDriver(std::string_view element) {
    const std::string_view key = ConnectString::Key(element);
    return (AsciiText::EqualNoCase(key, "DRIVER") || AsciiText::EqualNoCase(key, "DSN")) &&
           element.find('=') != std::string_view::npos && !ConnectString::Value(element).empty();
}

// The driver manager splits a .dsn value at ";" again: a line whose pieces
// hold a password would hand it back on the next connect.
bool CarriesPassword(std::string_view line) {
    size_t start = 0;
    while (start <= line.size()) {
        const size_t end = std::min(line.find(';', start), line.size());
        if (ConnectString::IsPasswordElement(line.substr(start, end - start)))
            return true;
        start = end + 1;
    }
    return false;
}

} // namespace

bool DsnFileWriter::Write(std::ostream &out, const std::string &connect,
                          const std::string &driver) {
    // Elements are split with their braces in mind, so a ";" inside a braced
    // value never starts a line of its own, and a braced password is dropped
    // whole. The element after the last ";" is written like any other.
    const std::vector<std::string> elements = ConnectString::Elements(connect);
    std::vector<std::string> lines;
    bool namesDriver = false;
    for (size_t i = 0; i < elements.size(); ++i) {
        const std::string &element = elements[i];
        // Only the leading "ODBC" is the connection layer's marker; a later
        // key that happens to start with it is the driver's.
        if (i == 0 && IsOdbcPrefix(element))
            continue;
        if (ConnectString::IsPasswordElement(element))
            continue;
        const std::string_view key = ConnectString::Key(element);
        const bool hasValue = element.find('=') != std::string::npos;
        std::string value = ConnectString::Value(element);
        // A file pointing at another file breaks when that one moves; an empty
        // DSN names nothing and, without a DRIVER, stops the file from opening.
        if (hasValue && (AsciiText::EqualNoCase(key, "FILEDSN") ||
                         (AsciiText::EqualNoCase(key, "DSN") && value.empty())))
            continue;
        std::string line = hasValue ? element.substr(0, element.find('=') + 1) + value : element;
        if (line.find_first_of("\r\n") != std::string::npos)
            return false;
        if (CarriesPassword(line))
            continue;
        namesDriver = namesDriver || NamesDriver(element);
        lines.push_back(std::move(line));
    }
    if (!namesDriver && !driver.empty()) {
        if (driver.find_first_of("\r\n") != std::string::npos || CarriesPassword(driver))
            return false;
        lines.insert(lines.begin(), driver);
    }
    std::string text = "[ODBC]\r\n";
    for (const std::string &line : lines)
        text.append(line).append("\r\n");
    out << text;
    out.flush();
    return out.good();
}

std::string DsnFileWriter::DriverOfFile(const std::string &path) {
    // A FIFO or a device would block or never end.
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error) ||
        std::filesystem::file_size(path, error) > MaxDsnFileSize || error)
        return {};
    std::ifstream in(path, std::ios::binary);
    std::string driver;
    std::string dsn;
    std::string line;
    while (std::getline(in, line)) {
        while (!line.empty() && std::isspace(static_cast<unsigned char>(line.back())))
            line.pop_back();
        const std::string_view key = ConnectString::Key(line);
        if (line.find('=') == std::string::npos)
            continue;
        if (driver.empty() && AsciiText::EqualNoCase(key, "DRIVER") && NamesDriver(line))
            driver = line;
        else if (dsn.empty() && AsciiText::EqualNoCase(key, "DSN") && NamesDriver(line))
            dsn = line;
    }
    return driver.empty() ? dsn : driver;
}

bool DsnFileWriter::WriteFile(const std::string &path, const std::string &connect) {
    std::string driver;
    for (const std::string &element : ConnectString::Elements(connect)) {
        if (AsciiText::EqualNoCase(ConnectString::Key(element), "FILEDSN") &&
            element.find('=') != std::string::npos) {
            driver = DriverOfFile(ConnectString::Value(element));
            break;
        }
    }
    // The whole text first: the file named by FILEDSN may be this very file,
    // and a refused save must leave the old file whole.
    std::ostringstream text;
    if (!Write(text, connect, driver))
        return false;
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file)
        return false;
    file << text.str();
    file.close();
    return !file.fail();
}
