#include "EchoBench.h"

#include <stdexcept>

#include "AppSession.h"
#include "BenchReport.h"
#include "Stopwatch.h"
#include "app/CChildFrame.h"
#include "console/CDBOutputView.h"

namespace {

constexpr size_t WordBytes = 5 * 1024 * 1024;
constexpr double RatioTarget = 3.0;
constexpr double SecondsTarget = 1.0;

std::string HexLiteral(size_t bytes) {
    std::string text = "INSERT INTO blobs VALUES (X'";
    const char *const digits = "0123456789ABCDEF";
    for (size_t i = 0; text.size() < bytes - 2; ++i)
        text += digits[(i * 7) % 16];
    return text + "')";
}

// The same bytes, a line break after every 80.
std::string InLines(const std::string &word) {
    std::string text;
    for (size_t i = 0; i < word.size(); i += 80)
        text += word.substr(i, 80) + "\r\n";
    return text;
}

} // namespace

EchoBench::EchoBench(AppSession &app, const std::string &workDir, int runs, BenchReport &report)
    : m_app(app), m_workDir(workDir), m_runs(runs), m_report(report) {}

void EchoBench::Run() {
    const std::string word = HexLiteral(WordBytes);
    const std::string lines = InLines(word);
    const std::string connect = "DRIVER={SQLite3};DATABASE=" + m_workDir + "/echo.db";
    for (const bool batch : {false, true}) {
        const auto echo = [&](const std::string &text) {
            CChildFrame &frame = m_app.OpenWindow(connect);
            CDBOutputView &console = *frame.Console();
            const double seconds = Stopwatch::Seconds([&] {
                if (batch)
                    console.BeginBatch();
                console.AppendText(text + "\r\n\r\n");
                console.ShowPrompt();
                if (batch)
                    console.EndBatch();
                AppSession::ProcessEvents();
                console.repaint();
            });
            if (console.document()->characterCount() < int(word.size()))
                throw std::runtime_error("the console did not show the whole echo");
            m_app.CloseWindow(frame);
            return seconds;
        };
        const Stopwatch::Best best = Stopwatch::BestOf(
            m_runs, [&] { return echo(word); }, [&] { return echo(lines); });
        const std::string figure =
            std::string("echo of a 5 MB word") + (batch ? ", in a script" : "");
        m_report.AddRatio("console", figure + " vs 80-char lines", best.app, best.raw, RatioTarget);
        m_report.AddNote("console", figure, BenchReport::Duration(best.app),
                         best.app < SecondsTarget ? "met (< 1 s)" : "MISSED (< 1 s)");
    }
}
