#pragma once

#include <string>

class AppSession;
class BenchReport;

// The console's echo of a statement that is one 5 MB word (a BLOB literal of a
// dump) against the echo of the same bytes in 80-character lines, appended on
// its own and inside a script's batch; each run in a new window, until the
// text is on screen.
class EchoBench {
public:
    EchoBench(AppSession &app, const std::string &workDir, int runs, BenchReport &report);
    void Run();

private:
    AppSession &m_app;
    std::string m_workDir;
    int m_runs;
    BenchReport &m_report;
};
