#include "app/ProgressCounter.h"

#include <algorithm>

bool ProgressCounter::Begin(uint16_t total, uint16_t perStep) {
    if (total == 0 || perStep == 0)
        return false;
    m_perStep = perStep;
    m_count = 0;
    m_steps = 0;
    m_stepsFor100 = total / perStep;
    return true;
}

std::optional<int> ProgressCounter::Step() {
    if (m_perStep == 0 || ++m_count < m_perStep)
        return std::nullopt;
    m_count = 0;
    ++m_steps;
    if (m_stepsFor100 == 0)
        return std::nullopt;
    return std::min(100, m_steps * 100 / m_stepsFor100);
}

void ProgressCounter::End() {
    m_count = 0;
    m_steps = 0;
    m_stepsFor100 = 0;
    m_perStep = 0;
}
