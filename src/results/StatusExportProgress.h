#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>

#include "framework/StatusSink.h"
#include "results/ExportProgress.h"

// An export's progress on the status bar's indicator. The indicator counts in
// 16 bits: a longer export fills it and then holds it full.
class StatusExportProgress : public ExportProgress {
public:
    explicit StatusExportProgress(StatusSink *sink) : m_sink(sink) {}
    ~StatusExportProgress() override { End(); }

    bool Begin(int total, int perStep) override {
        End();
        m_running = m_sink && m_sink->BeginProgress(Clamp(total), Clamp(perStep));
        return m_running;
    }
    void Step() override {
        if (m_running)
            m_sink->StepProgress();
    }
    void End() override {
        if (m_running)
            m_sink->EndProgress();
        m_running = false;
    }

private:
    static uint16_t Clamp(int value) {
        return static_cast<uint16_t>(
            std::clamp(value, 0, int(std::numeric_limits<uint16_t>::max())));
    }

    StatusSink *m_sink;
    bool m_running = false;
};
