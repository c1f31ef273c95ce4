#include "connection/DsnFileWriter.h"

#include <cctype>
#include <fstream>
#include <ostream>

#include "connection/ConnectString.h"

namespace {

bool IsOdbcPrefix(const std::string &element) {
    static constexpr char prefix[] = "ODBC";
    if (element.size() < 4)
        return false;
    for (size_t i = 0; i < 4; ++i) {
        if (std::toupper(static_cast<unsigned char>(element[i])) != prefix[i])
            return false;
    }
    return true;
}

} // namespace

bool DsnFileWriter::Write(std::ostream &out, const std::string &connect) {
    // Elements are split with their braces in mind, so a ";" inside a braced
    // value never starts a line of its own, and a braced password is dropped
    // whole. The element after the last ";" is written like any other.
    const std::vector<std::string> elements = ConnectString::Elements(connect);
    out << "[ODBC]\r\n";
    for (size_t i = 0; i < elements.size(); ++i) {
        const std::string &element = elements[i];
        // Only the leading "ODBC" is the connection layer's marker; a later
        // key that happens to start with it is the driver's.
        if (i == 0 && IsOdbcPrefix(element))
            continue;
        if (ConnectString::IsPasswordElement(element))
            continue;
        std::string line;
        line.reserve(element.size() + 2);
        for (char c : element) {
            if (c != '{' && c != '}')
                line += c;
        }
        line += "\r\n";
        out << line;
    }
    out.flush();
    return out.good();
}

bool DsnFileWriter::WriteFile(const std::string &path, const std::string &connect) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file)
        return false;
    if (!Write(file, connect))
        return false;
    file.close();
    return !file.fail();
}
