#include "connection/ConnectionWorker.h"

#include <exception>
#include <optional>

#include <sqlext.h>

#include <QAbstractEventDispatcher>

#include "framework/DocumentHost.h"
#include "framework/InputGate.h"
#include "framework/StatusSink.h"
#include "odbc/DatabaseError.h"
#include "odbc/OdbcConnection.h"

namespace {

using namespace std::chrono_literals;

// How often the waiting thread delivers events in a call's first moments, and
// checks for a cancel and refreshes the status bar later when no event comes.
constexpr auto PumpInterval = 25ms;
// How often work on the window's own thread stops to deliver them: each time
// the window paints what has changed, which costs the work time.
constexpr auto AnswerInterval = 100ms;
constexpr auto StatusInterval = 250ms;
// Work shorter than this shows no running text: a script's statements would flicker.
constexpr auto StatusDelay = 400ms;
// How long each thread spins for the other before it sleeps.
constexpr auto SpinTime = 1ms;
// A fetching call gets this long to see the cancel flag before SQLCancel.
constexpr auto FetchCancelDelay = 1s;

QString Grouped(uint64_t value) {
    QString digits = QString::number(value);
    for (int at = digits.size() - 3; at > 0; at -= 3)
        digits.insert(at, QLatin1Char(','));
    return digits;
}

} // namespace

// The hand-over between the two threads. A call and its end are flagged in
// atomics, and each side spins briefly before it sleeps: a script's short
// statements then cost no system call to wake the other thread, while an idle
// worker or a long call sleeps on the condition variables.
struct ConnectionWorker::Shared {
    std::mutex mutex;
    std::condition_variable wake;
    std::condition_variable finished;
    // The waiting caller's event loop, woken at a call's end.
    QAbstractEventDispatcher *callerEvents = nullptr;
    // Written by the caller before `hasCall` is set; read by the worker after.
    std::function<SQLRETURN()> call;
    std::shared_ptr<const void> keepAlive;
    // Written by the worker before `done` is set; read by the caller after.
    SQLRETURN result = SQL_ERROR;
    std::exception_ptr error;
    std::atomic<bool> hasCall{false};
    std::atomic<bool> done{false};
    std::atomic<bool> stop{false};
    std::atomic<bool> workerSleeps{false};
    std::atomic<bool> callerSleeps{false};
    // Set under the mutex when the call running is given up: what the thread
    // does once it returns, so the connection holds no lock past it.
    std::function<void()> afterGivenUp;

    // Spins until `flag` is set or the time is up.
    static bool SpinFor(const std::atomic<bool> &flag, const std::atomic<bool> &stop) {
        const auto until = Clock::now() + SpinTime;
        for (unsigned round = 0;; ++round) {
            if (flag.load() || stop.load())
                return flag.load();
            if (round % 16 == 15 && Clock::now() > until)
                return false;
            std::this_thread::yield();
        }
    }

    void Post(std::function<SQLRETURN()> next, std::shared_ptr<const void> keep) {
        call = std::move(next);
        keepAlive = std::move(keep);
        error = nullptr;
        done = false;
        hasCall = true;
        if (workerSleeps) {
            std::lock_guard lock(mutex);
            wake.notify_one();
        }
    }

    void ReleaseGivenUp() {
        std::function<void()> release;
        {
            std::lock_guard lock(mutex);
            release = std::move(afterGivenUp);
        }
        if (release)
            release();
    }

    // The thread's loop: one call at a time until stopped. It holds the state
    // itself, so a thread left running past its connection still has it.
    static void Serve(const std::shared_ptr<Shared> &self) {
        for (;;) {
            if (!SpinFor(self->hasCall, self->stop)) {
                std::unique_lock lock(self->mutex);
                self->workerSleeps = true;
                self->wake.wait(lock, [&] { return self->hasCall.load() || self->stop.load(); });
                self->workerSleeps = false;
            }
            if (!self->hasCall) {
                self->ReleaseGivenUp(); // stopped
                return;
            }
            self->hasCall = false;
            std::function<SQLRETURN()> call = std::move(self->call);
            SQLRETURN result = SQL_ERROR;
            std::exception_ptr error;
            try {
                result = call();
            } catch (...) {
                error = std::current_exception();
            }
            call = nullptr;
            // Released before the caller hears of the end: only a connection
            // given up is freed here, on this thread.
            std::shared_ptr<const void> keep = std::move(self->keepAlive);
            keep.reset();
            self->result = result;
            self->error = error;
            self->done = true;
            if (self->callerSleeps) {
                std::lock_guard lock(self->mutex);
                self->finished.notify_all();
                if (self->callerSleeps && self->callerEvents)
                    self->callerEvents->wakeUp();
            }
            if (self->stop) {
                self->ReleaseGivenUp();
                return;
            }
        }
    }
};

ConnectionWorker::ConnectionWorker(DocumentHost &host, OdbcConnection &connection)
    : m_host(host), m_connection(connection) {}

ConnectionWorker::~ConnectionWorker() {
    if (!m_thread.joinable())
        return;
    {
        std::lock_guard lock(m_shared->mutex);
        m_shared->stop = true;
        m_shared->wake.notify_all();
    }
    m_thread.join();
}

void ConnectionWorker::StartThread() {
    if (m_thread.joinable())
        return;
    m_shared = std::make_shared<Shared>();
    m_thread = std::thread([shared = m_shared] { Shared::Serve(shared); });
}

SQLRETURN ConnectionWorker::Run(std::shared_ptr<const void> keepAlive, SQLHSTMT stmt,
                                CancelBy cancelBy, const std::function<SQLRETURN()> &call) {
    // A call from inside another of this connection's waits (an event delivered
    // meanwhile) would have to wait for the one before it: refused instead.
    if (m_running)
        throw DatabaseError::Busy();
    std::optional<Work> implicit;
    if (m_workDepth == 0)
        implicit.emplace(*this, QStringLiteral("Waiting for the data source"));
    // Many short calls in a row (a script) still let the window paint and hear Esc.
    KeepAnswering();
    if (m_cancelled)
        throw DatabaseError::Cancelled();
    StartThread();
    const std::shared_ptr<Shared> shared = m_shared;
    shared->Post(call, std::move(keepAlive));
    m_running = true;
    bool timedOut = false;
    try {
        timedOut = WaitFor(shared, stmt, cancelBy);
    } catch (...) {
        m_running = false;
        throw;
    }
    m_running = false;
    const SQLRETURN result = shared->result;
    // Cancelled for the timeout: reported as a driver reports its own.
    if (timedOut && (shared->error || (!SQL_SUCCEEDED(result) && result != SQL_NO_DATA)))
        throw DatabaseError::TimedOut();
    if (shared->error)
        std::rethrow_exception(shared->error);
    return result;
}

SQLRETURN ConnectionWorker::RunPinned(const std::function<SQLRETURN()> &call) {
    if (m_running)
        throw DatabaseError::Busy();
    StartThread();
    const std::shared_ptr<Shared> shared = m_shared;
    shared->Post(call, nullptr);
    m_running = true;
    if (!Shared::SpinFor(shared->done, shared->stop)) {
        std::unique_lock lock(shared->mutex);
        shared->callerSleeps = true;
        shared->finished.wait(lock, [&] { return shared->done.load(); });
        shared->callerSleeps = false;
    }
    m_running = false;
    if (shared->error)
        std::rethrow_exception(shared->error);
    return shared->result;
}

bool ConnectionWorker::WaitFor(const std::shared_ptr<Shared> &shared, SQLHSTMT stmt,
                               CancelBy cancelBy) {
    const Clock::time_point start = Clock::now();
    // Most calls end while this thread spins: no events, no status.
    if (Shared::SpinFor(shared->done, shared->stop))
        return false;
    bool cancelSent = false;
    bool timedOut = false;
    Clock::time_point timedOutAt;
    {
        std::lock_guard lock(shared->mutex);
        shared->callerEvents = QAbstractEventDispatcher::instance();
        shared->callerSleeps = true;
    }
    for (;;) {
        if (Clock::now() - start < StatusDelay) {
            // A short call delivers events on the ticks, as a script's
            // statements always have.
            std::unique_lock lock(shared->mutex);
            if (shared->finished.wait_for(lock, PumpInterval, [&] { return shared->done.load(); }))
                break;
            lock.unlock();
            Pump();
        } else {
            // A long one waits in the event loop, not beside it: an event (a
            // screen reader's question) is answered as it comes, not on a tick.
            Pump(PumpInterval);
            if (shared->done.load())
                break;
        }
        const Clock::time_point now = Clock::now();
        if (cancelBy == CancelBy::Abandon && m_cancelled) {
            GiveUp(SQL_NULL_HSTMT);
            throw DatabaseError::Cancelled();
        }
        const unsigned long timeout =
            cancelBy == CancelBy::Driver ? m_connection.QueryTimeout() : 0;
        if (!cancelSent && stmt != SQL_NULL_HSTMT) {
            if (m_cancelled &&
                (cancelBy == CancelBy::Driver || now - m_cancelAt > FetchCancelDelay)) {
                SQLCancel(stmt);
                cancelSent = true;
            } else if (timeout > 0 &&
                       now - start >= std::chrono::seconds(timeout) + TimeoutMargin) {
                // The driver did not enforce the timeout: cancelled as Esc does.
                SQLCancel(stmt);
                cancelSent = timedOut = true;
                timedOutAt = now;
            }
        }
        if (cancelBy == CancelBy::Driver) {
            const bool stalled = (m_cancelled && now - m_cancelAt > CancelGrace) ||
                                 (timedOut && now - timedOutAt > CancelGrace) ||
                                 (stmt == SQL_NULL_HSTMT && timeout > 0 &&
                                  now - start > std::chrono::seconds(timeout) + TimeoutGrace);
            if (stalled) {
                GiveUp(stmt);
                throw DatabaseError::ServerSilent();
            }
        }
    }
    shared->callerSleeps = false;
    return timedOut;
}

void ConnectionWorker::GiveUp(SQLHSTMT stmt) {
    {
        std::lock_guard lock(m_shared->mutex);
        // Once the call returns, its statement and the connection are closed
        // there: a lock it holds goes with them.
        if (std::shared_ptr<OdbcConnection::Handle> handle = m_connection.SharedHandle())
            m_shared->afterGivenUp = [handle, stmt] { handle->Release(stmt); };
        m_shared->stop = true;
        m_shared->callerSleeps = false;
    }
    // The thread ends when the driver lets go of it; its result is dropped.
    m_thread.detach();
    m_shared.reset();
    m_connection.Abandon();
    m_gaveUp = true;
}

void ConnectionWorker::Cancel() {
    if (m_workDepth == 0 || m_cancelled)
        return;
    m_cancelAt = Clock::now();
    m_cancelled = true;
}

void ConnectionWorker::KeepAnswering() {
    if (m_workDepth > 0 && Clock::now() - m_lastPump >= AnswerInterval)
        Pump();
}

void ConnectionWorker::Pump(std::chrono::milliseconds wait) {
    m_host.Gate().Pump(wait);
    const Clock::time_point now = Clock::now();
    m_lastPump = now;
    if (now - m_workStart < StatusDelay || now - m_lastStatus < StatusInterval)
        return;
    m_lastStatus = now;
    // Work without an activity keeps the status texts it sets itself.
    if (StatusSink *status = m_host.Status(); status && !m_activity.isEmpty()) {
        const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(now - m_workStart);
        status->SetMessageText(m_cancelled
                                   ? QStringLiteral("Cancelling...")
                                   : StatusText(m_activity, seconds.count(), m_rows.load()));
        m_statusShown = true;
    }
}

QString ConnectionWorker::StatusText(const QString &activity, int64_t seconds, uint64_t rows) {
    QString text = QStringLiteral("%1: %2 s").arg(activity).arg(seconds);
    if (rows > 0)
        text += QStringLiteral(", %1 rows fetched").arg(Grouped(rows));
    return text + QStringLiteral(". Esc cancels.");
}

void ConnectionWorker::BeginWork(const QString &activity) {
    if (m_workDepth++ > 0)
        return;
    m_activity = activity;
    m_cancelled = false;
    m_rows = 0;
    m_workStart = m_lastPump = Clock::now();
    m_lastStatus = {};
    m_statusShown = false;
    m_host.Gate().Close([this] { Cancel(); });
}

void ConnectionWorker::EndWork() {
    if (--m_workDepth > 0)
        return;
    // A cancel ends with its work: the next work starts afresh.
    m_cancelled = false;
    m_host.Gate().Open();
    if (m_statusShown)
        if (StatusSink *status = m_host.Status())
            status->SetMessageText(QString());
    m_statusShown = false;
}

ConnectionWorker::Work::Work(ConnectionWorker &worker, QString activity) : m_worker(worker) {
    m_worker.BeginWork(activity);
}

ConnectionWorker::Work::~Work() { m_worker.EndWork(); }
