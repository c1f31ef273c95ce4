#pragma once

#include <algorithm>
#include <chrono>
#include <functional>
#include <limits>

// Wall-clock timing for the figures. Each side of a comparison times only its
// own work (setup such as emptying a table is left out) and the two sides run
// alternately, so drift on the machine touches both alike.
class Stopwatch {
public:
    using Clock = std::chrono::steady_clock;

    template <typename F> static double Seconds(F &&work) {
        const Clock::time_point start = Clock::now();
        std::forward<F>(work)();
        return Between(start, Clock::now());
    }
    static double Between(Clock::time_point from, Clock::time_point to) {
        return std::chrono::duration<double>(to - from).count();
    }

    struct Best {
        double app = std::numeric_limits<double>::infinity();
        double raw = std::numeric_limits<double>::infinity();
        double Ratio() const { return app / raw; }
    };
    // One warm-up, then the best of `runs` times.
    static double BestOf(int runs, const std::function<double()> &work) {
        work();
        double best = std::numeric_limits<double>::infinity();
        for (int run = 0; run < runs; ++run)
            best = std::min(best, work());
        return best;
    }
    // One warm-up of each side, then `runs` rounds of both; the best time of each.
    static Best BestOf(int runs, const std::function<double()> &app,
                       const std::function<double()> &raw) {
        app();
        raw();
        Best best;
        for (int run = 0; run < runs; ++run) {
            best.app = std::min(best.app, app());
            best.raw = std::min(best.raw, raw());
        }
        return best;
    }
};
