#pragma once

#include <chrono>
#include <cstdint>
#include <functional>

#include <QString>

// How the window waits while an upload runs on a thread of its own: it keeps
// answering, shows how far the upload is, and lets the user cancel it.
class UploadWait {
public:
    virtual ~UploadWait() = default;

    // On the window's thread. Returns once `waitDone` (which waits up to the
    // time given for the transfer to end) says it has ended. `sent` may be
    // called from here at any time.
    virtual void Wait(const QString &remoteName,
                      const std::function<bool(std::chrono::milliseconds)> &waitDone,
                      const std::function<uint64_t()> &sent, uint64_t total) = 0;
    // Any thread: the user asked the upload to stop.
    virtual bool CancelRequested() const = 0;
};
