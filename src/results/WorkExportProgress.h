#pragma once

#include "connection/ConnectionWorker.h"
#include "results/StatusExportProgress.h"

// An export of the grid run as the connection's work: the status bar's
// indicator and running text move, the window answers now and then, and Esc or
// Cancel stops it.
class WorkExportProgress : public ExportProgress {
public:
    // Rows between two looks at the window's events.
    static constexpr unsigned RowsPerAnswer = 256;

    WorkExportProgress(ConnectionWorker &worker, StatusSink *sink)
        : m_worker(worker), m_indicator(sink) {}

    bool Begin(int total, int perStep) override {
        m_indicator.Begin(total, perStep);
        // Steps are wanted even without an indicator: they let the window answer.
        return true;
    }
    void Step() override {
        m_indicator.Step();
        m_worker.CountRows(1);
        if (++m_rows % RowsPerAnswer == 0)
            m_worker.KeepAnswering();
    }
    void End() override { m_indicator.End(); }
    bool Cancelled() const override { return m_worker.CancelRequested(); }

private:
    ConnectionWorker &m_worker;
    StatusExportProgress m_indicator;
    unsigned m_rows = 0;
};
