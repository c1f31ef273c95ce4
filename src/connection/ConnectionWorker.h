#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include <QString>

#include "odbc/CallDispatcher.h"

class DocumentHost;
class OdbcConnection;

// The thread a connection's driver calls run on, so the window keeps painting
// and Cancel can stop them. The user-interface thread hands it one call at a
// time and waits for it, delivering events through the host's input gate
// meanwhile: callers keep their synchronous shape, and no input that could
// start more work is taken while they wait.
//
// A cancel sets a flag that fetching loops check and sends SQLCancel to the
// statement; so does the query timeout, for drivers that do not enforce it.
// A call that has not returned some seconds after that cancel is given up
// with its connection: the thread is left to end on its own, frees the
// connection as soon as the call returns, and a new one serves the next
// connection.
class ConnectionWorker : public CallDispatcher {
public:
    // How long a call may outlast a cancel before its connection is given up,
    // and the query timeout when there is no statement to cancel.
    static constexpr std::chrono::seconds CancelGrace{4};
    static constexpr std::chrono::seconds TimeoutGrace{10};
    // How long past the query timeout the statement is cancelled: a driver that
    // enforces the timeout itself answers first, in its own words.
    static constexpr std::chrono::milliseconds TimeoutMargin{250};

    ConnectionWorker(DocumentHost &host, OdbcConnection &connection);
    ~ConnectionWorker() override;
    ConnectionWorker(const ConnectionWorker &) = delete;
    ConnectionWorker &operator=(const ConnectionWorker &) = delete;

    SQLRETURN Run(std::shared_ptr<const void> keepAlive, SQLHSTMT stmt, CancelBy cancelBy,
                  const std::function<SQLRETURN()> &call) override;
    SQLRETURN RunPinned(const std::function<SQLRETURN()> &call) override;
    bool CancelRequested() const noexcept override { return m_cancelled.load(); }

    // One piece of work as the user sees it (a statement, a script, a tree
    // build): the window takes no other input until it ends, a cancel holds for
    // all of it, and the status bar tells what runs and for how long (unless
    // `activity` is empty: the work then shows its own status texts).
    class Work {
    public:
        Work(ConnectionWorker &worker, QString activity);
        ~Work();
        Work(const Work &) = delete;
        Work &operator=(const Work &) = delete;

    private:
        ConnectionWorker &m_worker;
    };

    // Stops the work running, if any.
    void Cancel();
    bool IsWorking() const noexcept { return m_workDepth > 0; }
    // Rows fetched so far by the work running, for the status bar; any thread.
    void CountRows(uint64_t rows) noexcept { m_rows.fetch_add(rows); }
    // Lets the window paint during long work on this thread (laying out rows):
    // events are delivered now and then, input gated.
    void KeepAnswering();
    // Whether a call was given up since the last ClearGivenUp; the connection is closed then.
    bool ConnectionGivenUp() const noexcept { return m_gaveUp; }
    void ClearGivenUp() noexcept { m_gaveUp = false; }

    // "Running the query: 12 s, 4,000 rows fetched. Esc cancels."
    static QString StatusText(const QString &activity, int64_t seconds, uint64_t rows);

private:
    struct Shared;
    using Clock = std::chrono::steady_clock;

    void BeginWork(const QString &activity);
    void EndWork();
    void StartThread();
    // Returns whether the query timeout cancelled the call.
    bool WaitFor(const std::shared_ptr<Shared> &shared, SQLHSTMT stmt, CancelBy cancelBy);
    // Delivers events, waiting up to `wait` for the first when there is none.
    void Pump(std::chrono::milliseconds wait = std::chrono::milliseconds(0));
    void GiveUp(SQLHSTMT stmt);

    DocumentHost &m_host;
    OdbcConnection &m_connection;
    std::shared_ptr<Shared> m_shared;
    std::thread m_thread;
    std::atomic<bool> m_cancelled{false};
    std::atomic<uint64_t> m_rows{0};
    bool m_running = false;
    bool m_gaveUp = false;
    int m_workDepth = 0;
    QString m_activity;
    Clock::time_point m_workStart;
    Clock::time_point m_cancelAt;
    Clock::time_point m_lastPump;
    Clock::time_point m_lastStatus;
    bool m_statusShown = false;
};
