#pragma once

#include <cstdint>
#include <string>

class CBrindleDoc;

// Runs what the user or a script gives the document: a query goes to the result
// grid, a comment does nothing, "@" runs a script file statement by statement,
// anything else is executed directly and reported on the console.
class StatementRunner {
public:
    // Scripts calling scripts stop this deep, so a script that calls itself ends.
    static constexpr int MaxScriptDepth = 16;
    // Script files are read whole: larger ones are refused.
    static constexpr uintmax_t MaxScriptBytes = uintmax_t(1) << 30;

    explicit StatementRunner(CBrindleDoc &doc) : m_doc(doc) {}

    void ExecuteStatement(const std::string &statement);
    // Executes a left-trimmed statement on the connection and reports it on the console.
    void ExecuteDirect(const std::string &text);
    // "@" alone asks for the file; "@path" runs that script file.
    void RunScript(const std::string &text);

private:
    // Console output, dropped while the connection window has no console.
    void AppendText(const std::string &text);
    void ShowPrompt();

    CBrindleDoc &m_doc;
    // How many script files are running inside each other right now.
    int m_depth = 0;
};
