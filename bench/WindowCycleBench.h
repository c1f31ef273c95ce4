#pragma once

#include <string>

class AppSession;
class BenchReport;

// Opens and closes connection windows on one data source, as File > New and
// Close would, and reports how much the process grew per window: heap in use,
// resident size and live QObjects, after a few warm-up cycles. A window that
// closes must give back everything it took, so the target is no growth.
class WindowCycleBench {
public:
    WindowCycleBench(AppSession &app, int cycles, BenchReport &report);

    void Run(const std::string &source, const std::string &connect);

    // QObjects alive under the application and its top-level widgets.
    static int LiveObjects();

private:
    AppSession &m_app;
    int m_cycles;
    BenchReport &m_report;
};
