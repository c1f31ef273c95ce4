#include "odbc/ConnectString.h"

#include <algorithm>
#include <cctype>

#include <sqlext.h>

#include "odbc/AsciiText.h"
#include "odbc/OdbcConnection.h"

namespace {

using AsciiText::StartsWithNoCase;

// The "}" that closes a brace opened just before `from`, or npos.
size_t ClosingBrace(std::string_view text, size_t from) {
    for (size_t i = from; i < text.size(); ++i) {
        if (text[i] != '}')
            continue;
        if (i + 1 < text.size() && text[i + 1] == '}') {
            ++i;
            continue;
        }
        return i;
    }
    return std::string_view::npos;
}

} // namespace

std::string ConnectString::DataSourceName(const std::string &connect,
                                          const std::string &databaseName) {
    std::string name;
    const size_t key = connect.find("DSN=");
    if (key != std::string::npos) {
        const size_t begin = key + 4;
        const size_t end = connect.find(';', begin);
        if (end != std::string::npos)
            name = connect.substr(begin, end - begin);
    } else {
        // Database names are often file paths: keep the last component only.
        const size_t slash = databaseName.find_last_of("\\/");
        name = slash == std::string::npos ? databaseName : databaseName.substr(slash + 1);
    }
    return name.empty() ? std::string(DefaultName) : name;
}

std::string ConnectString::DataSourceName(const OdbcConnection &connection) {
    if (!connection.IsOpen())
        return NoDataSourceText;
    const std::string &connect = connection.ConnectString();
    if (connect.find("DSN=") != std::string::npos)
        return DataSourceName(connect, std::string());
    return DataSourceName(connect, connection.InfoText(SQL_DATABASE_NAME));
}

std::vector<ConnectString::Span> ConnectString::Split(std::string_view connect) {
    std::vector<Span> spans;
    // Once a brace finds no "}" to close it, no later brace will: scanning again
    // for each would make a string of many open braces cost quadratic time.
    bool closable = true;
    size_t start = 0;
    while (start < connect.size()) {
        size_t end = std::min(connect.find(';', start), connect.size());
        // Only a "{" right after the "=" opens a brace; anywhere else it is data,
        // or "UID=bob{;PWD=se}cret" would hide the password inside the user name.
        const size_t equals = connect.substr(start, end - start).find('=');
        const size_t value = start + equals + 1;
        if (closable && equals != std::string_view::npos && value < connect.size() &&
            connect[value] == '{') {
            const size_t close = ClosingBrace(connect, value + 1);
            if (close == std::string_view::npos)
                closable = false;
            else
                end = std::min(connect.find(';', close + 1), connect.size());
        }
        if (end > start)
            spans.push_back({start, end - start});
        start = end + 1;
    }
    return spans;
}

std::vector<std::string> ConnectString::Elements(std::string_view connect) {
    std::vector<std::string> elements;
    for (const Span &span : Split(connect))
        elements.emplace_back(connect.substr(span.begin, span.length));
    return elements;
}

std::string_view ConnectString::Key(std::string_view element) {
    std::string_view key = element.substr(0, element.find('='));
    while (!key.empty() && (key.front() == ' ' || key.front() == '\t'))
        key.remove_prefix(1);
    while (!key.empty() && (key.back() == ' ' || key.back() == '\t'))
        key.remove_suffix(1);
    return key;
}

std::string ConnectString::Value(std::string_view element) {
    const size_t equals = element.find('=');
    if (equals == std::string_view::npos)
        return {};
    const std::string_view value = element.substr(equals + 1);
    const size_t close =
        value.empty() || value.front() != '{' ? std::string_view::npos : ClosingBrace(value, 1);
    if (close == std::string_view::npos)
        return std::string(value);
    std::string unbraced;
    unbraced.reserve(value.size());
    for (size_t i = 1; i < close; ++i) {
        unbraced += value[i];
        if (value[i] == '}')
            ++i; // the second of "}}"
    }
    // Whatever follows the closing brace stays as it stands.
    unbraced.append(value.substr(close + 1));
    return unbraced;
}

bool ConnectString::IsPasswordElement(std::string_view element) {
    const size_t first = element.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return false;
    element.remove_prefix(first);
    if (StartsWithNoCase(element, "PWD"))
        return true;
    std::string_view key = element.substr(0, element.find('='));
    while (!key.empty() && (key.back() == ' ' || key.back() == '\t'))
        key.remove_suffix(1);
    return key.size() == 8 && StartsWithNoCase(key, "PASSWORD");
}

std::string ConnectString::MaskPassword(const std::string &connect) {
    std::string masked;
    size_t copied = 0;
    for (const Span &span : Split(connect)) {
        const std::string_view element(connect.data() + span.begin, span.length);
        if (!IsPasswordElement(element))
            continue;
        const size_t equals = element.find('=');
        if (equals == std::string_view::npos)
            continue;
        const size_t valueBegin = span.begin + equals + 1;
        masked.append(connect, copied, valueBegin - copied);
        masked += PasswordMask;
        copied = span.begin + span.length;
    }
    masked.append(connect, copied, std::string::npos);
    return masked;
}

std::string ConnectString::Braced(std::string_view value) {
    const bool blankEnds =
        !value.empty() && (AsciiText::IsBlank(value.front()) || AsciiText::IsBlank(value.back()));
    if (!blankEnds && value.find_first_of("[]{}(),;?*=!@") == std::string_view::npos)
        return std::string(value);
    std::string braced = "{";
    for (char c : value) {
        braced += c;
        if (c == '}')
            braced += '}';
    }
    return braced + "}";
}
