#include "DsnFileOracle.h"

#include <sstream>

#include "ConnectStringSample.h"
#include "connection/DsnFileWriter.h"
#include "odbc/ConnectString.h"

namespace {

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size())
        return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        if ((text[i] | 0x20) != (prefix[i] | 0x20))
            return false;
    }
    return true;
}

// The driver manager reads a line as KEY=value, and splits a value at ";" again.
std::string CheckLine(std::string_view line) {
    size_t start = 0;
    while (start <= line.size()) {
        const size_t end = std::min(line.find(';', start), line.size());
        if (ConnectString::IsPasswordElement(line.substr(start, end - start)))
            return "a line that reads back as a password";
        start = end + 1;
    }
    const std::string_view key = ConnectString::Key(line);
    const bool hasValue = line.find('=') != std::string_view::npos;
    if (hasValue && StartsWithNoCase(key, "FILEDSN") && key.size() == 7)
        return "a line pointing at another file";
    // The line holds the value as it is, braces already gone.
    if (hasValue && StartsWithNoCase(key, "DSN") && key.size() == 3 &&
        line.substr(line.find('=') + 1).empty())
        return "an empty DSN line";
    return {};
}

std::string CheckWritten(const std::string &connect, bool mayRefuse) {
    std::ostringstream out;
    if (!DsnFileWriter::Write(out, connect, "DRIVER=Fallback")) {
        if (!out.str().empty())
            return "a refused file was written in part: " + connect;
        return mayRefuse ? std::string() : "refused without a line break: " + connect;
    }
    const std::string text = out.str();
    if (text.rfind("[ODBC]\r\n", 0) != 0)
        return "no [ODBC] line first";
    size_t start = 8;
    while (start < text.size()) {
        const size_t end = text.find("\r\n", start);
        if (end == std::string::npos)
            return "a last line without CR LF";
        const std::string_view line = std::string_view(text).substr(start, end - start);
        if (line.find_first_of("\r\n") != std::string_view::npos)
            return "a line break inside a line";
        std::string failure = CheckLine(line);
        if (!failure.empty())
            return failure + ": " + std::string(line);
        start = end + 2;
    }
    return {};
}

} // namespace

std::string DsnFileOracle::Check(std::string_view data) {
    std::string failure = CheckWritten(std::string(data), true);
    if (!failure.empty())
        return failure;
    const ConnectStringSample sample = ConnectStringSample::From(data);
    failure = CheckWritten(sample.text, sample.lineBreak);
    if (!failure.empty())
        return failure;
    std::ostringstream out;
    DsnFileWriter::Write(out, sample.text);
    if (out.str().find(ConnectStringSample::PasswordMark) != std::string::npos)
        return "a password reached the file: " + sample.text;
    return {};
}
