#include "ScriptReaderOracle.h"

#include <vector>

#include "FuzzInput.h"
#include "connection/ScriptReader.h"

namespace {

std::vector<std::string> Statements(std::string script, size_t limit) {
    ScriptReader reader(std::move(script));
    std::vector<std::string> statements;
    std::string statement;
    while (statements.size() <= limit && reader.NextStatement(statement))
        statements.push_back(statement);
    return statements;
}

// A line break becomes one blank: CR LF, a lone CR and a lone LF alike.
std::string JoinedLines(std::string_view text) {
    std::string joined;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && i > 0 && text[i - 1] == '\r')
            continue;
        joined += text[i] == '\r' || text[i] == '\n' ? ' ' : text[i];
    }
    return joined;
}

std::string Doubled(const std::string &text, char quote) {
    std::string doubled;
    for (char c : text) {
        doubled += c;
        if (c == quote)
            doubled += quote;
    }
    return doubled;
}

// Every statement byte comes from the file, in order, each used once; line
// breaks may turn into blanks.
std::string CheckNothingInvented(std::string_view data) {
    std::string_view text = data;
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    const std::vector<std::string> statements = Statements(std::string(data), data.size() + 1);
    if (statements.size() > data.size() + 1)
        return "more statements than bytes";
    size_t at = 0;
    for (const std::string &statement : statements) {
        if (statement.find_first_of("\r\n") != std::string::npos)
            return "a line break inside a statement: " + statement;
        for (char c : statement) {
            const auto matches = [c](char source) {
                return source == c || (c == ' ' && (source == '\r' || source == '\n'));
            };
            while (at < text.size() && !matches(text[at]))
                ++at;
            if (at == text.size())
                return "statement text that is not in the file: " + statement;
            ++at;
        }
    }
    return {};
}

// A literal and an identifier of any bytes stay inside their statement.
std::string CheckQuotesHold(std::string_view data) {
    FuzzInput input(data);
    const bool byteOrderMark = input.Byte() & 1;
    const std::string literal = Doubled(input.Bytes(64), '\'');
    const std::string identifier = Doubled(input.Bytes(16), '"');
    const std::string statement =
        "INSERT INTO t VALUES ('" + literal + "', \"" + identifier + "\")";
    const std::string script = (byteOrderMark ? "\xEF\xBB\xBF" : "") + statement + ";\r\nSELECT 2";
    const std::vector<std::string> expected = {JoinedLines(statement), "SELECT 2"};
    if (Statements(script, 3) != expected)
        return "a quoted text did not stay whole: " + script;
    return {};
}

} // namespace

std::string ScriptReaderOracle::Check(std::string_view data) {
    std::string failure = CheckNothingInvented(data);
    return failure.empty() ? CheckQuotesHold(data) : failure;
}
