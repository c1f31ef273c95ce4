#pragma once

#include "results/UploadWait.h"

class ConnectionWorker;
class StatusSink;

// An upload waited for as the connection's work: the window takes only Esc,
// Cancel and window management meanwhile, the status bar tells what runs and
// how far it is, and a close of the window cancels it first.
class WorkerUploadWait : public UploadWait {
public:
    WorkerUploadWait(ConnectionWorker &worker, StatusSink *status)
        : m_worker(worker), m_status(status) {}

    void Wait(const QString &remoteName,
              const std::function<bool(std::chrono::milliseconds)> &waitDone,
              const std::function<uint64_t()> &sent, uint64_t total) override;
    bool CancelRequested() const override;

private:
    ConnectionWorker &m_worker;
    StatusSink *m_status;
};
