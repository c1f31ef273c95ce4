#include "results/WorkerUploadWait.h"

#include "connection/ConnectionWorker.h"
#include "framework/StatusSink.h"

namespace {
constexpr int ProgressSteps = 100;
constexpr std::chrono::milliseconds WaitSlice{25};
} // namespace

void WorkerUploadWait::Wait(const QString &remoteName,
                            const std::function<bool(std::chrono::milliseconds)> &waitDone,
                            const std::function<uint64_t()> &sent, uint64_t total) {
    ConnectionWorker::Work work(m_worker, QStringLiteral("Uploading ") + remoteName);
    ProgressRun progress(m_status, ProgressSteps, 1);
    int shown = 0;
    while (!waitDone(WaitSlice)) {
        m_worker.KeepAnswering();
        const uint64_t done = total > 0 ? sent() * ProgressSteps / total : 0;
        for (; shown < static_cast<int>(done) && shown < ProgressSteps; ++shown)
            progress.Step();
    }
}

bool WorkerUploadWait::CancelRequested() const { return m_worker.CancelRequested(); }
