#pragma once

#include <cstdint>

#include <QString>

// Where long work reports what it is doing: the status bar's message pane and
// its progress bar.
class StatusSink {
public:
    virtual ~StatusSink() = default;
    // An empty text shows the idle text.
    virtual void SetMessageText(const QString &text) = 0;
    // False, and no progress shows, when total or perStep is 0 or a run is on.
    virtual bool BeginProgress(uint16_t total, uint16_t perStep) = 0;
    virtual void StepProgress() = 0;
    virtual void EndProgress() = 0;
};

// A progress run that ends with the object, at the latest; a null sink shows nothing.
class ProgressRun {
public:
    ProgressRun() = default;
    ProgressRun(StatusSink *sink, uint16_t total, uint16_t perStep) { Begin(sink, total, perStep); }
    ~ProgressRun() { End(); }

    void Begin(StatusSink *sink, uint16_t total, uint16_t perStep) {
        End();
        if (sink && sink->BeginProgress(total, perStep))
            m_sink = sink;
    }
    void End() {
        if (m_sink)
            m_sink->EndProgress();
        m_sink = nullptr;
    }
    ProgressRun(const ProgressRun &) = delete;
    ProgressRun &operator=(const ProgressRun &) = delete;

    void Step() {
        if (m_sink)
            m_sink->StepProgress();
    }

private:
    StatusSink *m_sink = nullptr;
};
