#pragma once

#include <cstdint>
#include <optional>

// Counts the items of a long operation into percent steps for the status bar.
class ProgressCounter {
public:
    // False (and nothing changes) when total or perStep is 0.
    bool Begin(uint16_t total, uint16_t perStep);
    // Counts one item; returns the new percentage when a step completes and the
    // bar is to move (never above 100; never when total < perStep).
    std::optional<int> Step();
    void End();

    int StepsDone() const { return m_steps; }

private:
    uint16_t m_perStep = 0;
    uint16_t m_count = 0;
    int m_steps = 0;
    int m_stepsFor100 = 0;
};
