#include "WindowCycleBench.h"

#include <cstdint>
#include <cstdio>
#include <exception>
#include <optional>

#include <QApplication>
#include <QWidget>

#include "AppSession.h"
#include "BenchReport.h"
#include "ProcessMemory.h"
#include "RawSession.h"

namespace {

// Driver and Qt caches fill on the first windows; they are not what is measured.
constexpr int WarmUpCycles = 10;
// Below this much heap growth per window the figure counts as flat: what is left
// is allocator noise, not a window's worth of objects.
constexpr double FlatBytesPerCycle = 1024;

struct Sample {
    std::optional<uint64_t> heap;
    std::optional<uint64_t> resident;
    int objects = 0;
};

Sample Take() {
    AppSession::ProcessEvents();
    return {ProcessMemory::HeapInUseBytes(), ProcessMemory::ResidentBytes(),
            WindowCycleBench::LiveObjects()};
}

std::string PerCycle(std::optional<uint64_t> before, std::optional<uint64_t> after, int cycles) {
    if (!before || !after)
        return "n/a";
    const double growth = static_cast<double>(*after) - static_cast<double>(*before);
    char text[96];
    std::snprintf(text, sizeof text, "%+.0f B/window (%+.1f kB over %d)", growth / cycles,
                  growth / 1024, cycles);
    return text;
}

} // namespace

WindowCycleBench::WindowCycleBench(AppSession &app, int cycles, BenchReport &report)
    : m_app(app), m_cycles(cycles), m_report(report) {}

int WindowCycleBench::LiveObjects() {
    int count = 1 + static_cast<int>(qApp->findChildren<QObject *>().size());
    for (const QWidget *widget : QApplication::topLevelWidgets())
        if (!widget->parent())
            count += 1 + static_cast<int>(widget->findChildren<QObject *>().size());
    return count;
}

void WindowCycleBench::Run(const std::string &source, const std::string &connect) {
    try {
        // A few tables, so every window builds a tree with columns and keys.
        RawSession raw(connect);
        raw.Execute("CREATE TABLE IF NOT EXISTS brindle_window_a (id INTEGER PRIMARY KEY, name "
                    "VARCHAR(20))");
        raw.Execute("CREATE TABLE IF NOT EXISTS brindle_window_b (id INTEGER PRIMARY KEY, a_id "
                    "INTEGER REFERENCES brindle_window_a (id))");
        const auto cycle = [&] { m_app.CloseWindow(m_app.OpenWindow(connect)); };
        for (int i = 0; i < WarmUpCycles; ++i)
            cycle();
        const Sample before = Take();
        for (int i = 0; i < m_cycles; ++i)
            cycle();
        const Sample after = Take();

        const std::string windows = std::to_string(m_cycles) + " windows opened and closed";
        const int objects = after.objects - before.objects;
        m_report.AddNote(source, windows + ": QObjects", std::to_string(objects) + " more",
                         objects <= 0 ? "met, target flat" : "MISSED, target flat");
        m_report.AddNote(source, windows + ": resident size",
                         PerCycle(before.resident, after.resident, m_cycles), "reported");
        std::string verdict = "not measured on this platform";
        if (before.heap && after.heap) {
            const double perCycle =
                (static_cast<double>(*after.heap) - static_cast<double>(*before.heap)) / m_cycles;
            verdict = perCycle < FlatBytesPerCycle ? "met, target flat (< 1 kB/window)"
                                                   : "MISSED, target flat (< 1 kB/window)";
        }
        m_report.AddNote(source, windows + ": heap in use",
                         PerCycle(before.heap, after.heap, m_cycles), verdict);
    } catch (const std::exception &error) {
        m_report.AddFailure(source, error.what());
    }
}
