#include "connection/ScriptReader.h"

#include <iterator>

#include "odbc/AsciiText.h"

namespace {

// REM (any case), -- and @ statements run to the end of their line.
bool StartsLineStatement(const std::string &text) {
    switch (text.size()) {
    case 1:
        return text[0] == '@';
    case 2:
        return text[0] == '-' && text[1] == '-';
    case 3:
        return (text[0] | 0x20) == 'r' && (text[1] | 0x20) == 'e' && (text[2] | 0x20) == 'm';
    default:
        return false;
    }
}

} // namespace

ScriptReader::ScriptReader(std::istream &in)
    : m_bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()) {
    SkipByteOrderMark();
}

ScriptReader::ScriptReader(std::string bytes) : m_bytes(std::move(bytes)) { SkipByteOrderMark(); }

void ScriptReader::SkipByteOrderMark() {
    // Editors on some systems start UTF-8 files with one; left in, it would
    // hide the first statement's keyword.
    if (m_bytes.compare(0, 3, "\xEF\xBB\xBF") == 0)
        m_index = 3;
}

bool ScriptReader::NextStatement(std::string &statement) {
    statement.clear();
    State state = State::Normal;
    const size_t length = m_bytes.size();
    if (m_index >= length)
        return false;
    // Whether the character before the current one was a carriage return (a
    // statement never starts right after one: it starts after ";" or a line feed).
    bool afterCR = false;
    // The quote character of an open literal or identifier, or 0.
    char quote = 0;
    // Inside a "--" comment that follows text: dropped up to its line feed, so
    // the next line is not swallowed once the lines are joined.
    bool comment = false;
    for (; m_index < length; ++m_index) {
        char &current = m_bytes[m_index];
        const bool wasCR = current == '\r';
        if (wasCR)
            current = ' ';
        const char next = m_bytes[m_index + 1]; // the NUL after the last byte at the end
        const bool lineFeedAfterCR = afterCR;
        afterCR = wasCR;
        if (comment) {
            if (current != '\n') {
                afterCR = false; // its line feed gives the blank the dropped CR would have
                continue;
            }
            comment = false;
        }

        if (AsciiText::IsBlank(current) && statement.empty())
            continue;
        if (quote != 0) {
            // Everything up to the closing quote is the literal's, ";" and "/*" too.
            // A doubled quote closes and at once reopens, so it needs no case of its own.
            if (current == '\n') {
                if (!lineFeedAfterCR)
                    statement += ' ';
                continue;
            }
            statement += current;
            if (current == quote)
                quote = 0;
            continue;
        }
        if (current == '/' && next == '*') {
            if (state == State::Normal)
                state = State::CommentFromNormal;
            else if (state == State::Line)
                state = State::CommentFromLine;
            ++m_index;
            afterCR = false;
            continue;
        }
        if (current == '*' && next == '/') {
            if (state == State::CommentFromNormal)
                state = State::Normal;
            else if (state == State::CommentFromLine)
                state = State::Line;
            ++m_index;
            afterCR = false;
            continue;
        }
        if (current == '\n') {
            if (state == State::Line) {
                ++m_index;
                return true;
            }
            // A CR LF line end has already given its blank; a lone LF gives one
            // here, so the last word of a line is not glued to the next line's first.
            if (state == State::Normal && !lineFeedAfterCR)
                statement += ' ';
            continue;
        }
        if (current == ';' && state == State::Normal) {
            ++m_index;
            return true;
        }
        // A "--" after text is a comment; "--" at the start is a line statement.
        if (state == State::Normal && current == '-' && next == '-' && !statement.empty() &&
            statement != "-") {
            while (AsciiText::IsBlank(statement.back()))
                statement.pop_back();
            comment = true;
            continue;
        }
        if (state == State::Line || state == State::Normal)
            statement += current;
        if (state == State::Normal && (current == '\'' || current == '"'))
            quote = current;
        if (StartsLineStatement(statement))
            state = State::Line;
    }
    return true;
}
