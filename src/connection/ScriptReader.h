#pragma once

#include <cstddef>
#include <istream>
#include <string>

// Cuts a script file into statements: ";" ends a statement outside block
// comments and quotes ('...' literals and "..." identifiers, a doubled quote
// standing for itself), and a statement that begins with REM, -- or @ ends with
// its line. A quote left open runs to the end of the file. A "--" after other
// text comments out the rest of its line, ";" and quotes included.
// A leading UTF-8 byte-order mark is skipped.
class ScriptReader {
public:
    // Reads the whole stream.
    explicit ScriptReader(std::istream &in);
    explicit ScriptReader(std::string bytes);

    // The next statement, without its ";" and leading white space (possibly
    // empty). False once the whole text has been handed out.
    bool NextStatement(std::string &statement);

private:
    enum class State { Line, Normal, CommentFromNormal, CommentFromLine };

    void SkipByteOrderMark();

    // The file's bytes; the string's terminating NUL stands after the last one.
    std::string m_bytes;
    size_t m_index = 0;
};
