#pragma once

#include <functional>
#include <memory>

#include <sql.h>

// Runs driver calls that may wait on the server where the caller can go on
// answering (a worker thread), and returns when they are done. Exceptions the
// call throws reach the caller.
class CallDispatcher {
public:
    // What a cancel does to the call running.
    enum class CancelBy {
        // SQLCancel on the statement at once: an execution or a catalog call.
        // Such a call may be given up when the server never answers, so it
        // must write nothing but its return value: its caller may be gone.
        Driver,
        // A fetching loop that checks CancelRequested() between rows; SQLCancel
        // only when a single call outlasts the grace. It is never given up.
        Work,
        // A call no cancel reaches (connecting): a cancel gives it up at once,
        // so it too must write nothing but its return value.
        Abandon,
    };

    virtual ~CallDispatcher() = default;
    // `stmt` is the handle a cancel goes to (may be null); `keepAlive` is held
    // until the call returns, even when its caller no longer waits for it.
    virtual SQLRETURN Run(std::shared_ptr<const void> keepAlive, SQLHSTMT stmt, CancelBy cancelBy,
                          const std::function<SQLRETURN()> &call) = 0;
    // Runs `call` on the thread the connection's calls run on and waits for it,
    // whatever the cancel state: for drivers that take a connection's calls from
    // one thread only. Short calls only: nothing cancels or gives it up.
    virtual SQLRETURN RunPinned(const std::function<SQLRETURN()> &call) = 0;
    // Whether the user asked to stop the work running now; safe from any thread.
    virtual bool CancelRequested() const noexcept = 0;
};
