#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <type_traits>

#include <sql.h>

#include "odbc/CallDispatcher.h"
#include "odbc/ConnectPrompt.h"
#include "odbc/OdbcEnvironment.h"

// An open ODBC connection. Statements hold a shared pointer to its handle
// holder, so the handle outlives any statement still open on it.
class OdbcConnection {
public:
    // Owns the connection handle; keeps the environment alive.
    class Handle : public std::enable_shared_from_this<Handle> {
    public:
        Handle(std::shared_ptr<OdbcEnvironment> env, SQLHDBC dbc)
            : m_env(std::move(env)), m_dbc(dbc) {}
        ~Handle();
        Handle(const Handle &) = delete;
        Handle &operator=(const Handle &) = delete;
        SQLHDBC Dbc() const noexcept { return m_dbc; }
        SQLHENV Env() const noexcept { return m_env->Handle(); }
        bool connected = false;
        // Where calls that wait on the server run; null runs them in place.
        CallDispatcher *dispatcher = nullptr;
        // Set when a call never came back and the connection was given up: its
        // handles belong to the call still running and are not freed under it.
        std::atomic<bool> abandoned{false};
        // The driver takes a connection's calls from one thread only: the one
        // it connected on. Every call then goes there.
        bool pinned = false;
        // The driver may announce no columns for a statement that returns rows
        // and leave them unread (OdbcStatement::LeftRowsUnread).
        bool leavesRowsUnread = false;
        std::thread::id ownThread = std::this_thread::get_id();

        // Runs `call` through the dispatcher, or in place without one.
        SQLRETURN Run(SQLHSTMT stmt, CallDispatcher::CancelBy cancelBy,
                      const std::function<SQLRETURN()> &call) const {
            if (!dispatcher || (pinned && OnOwnThread()))
                return call();
            return dispatcher->Run(shared_from_this(), stmt, cancelBy, call);
        }
        bool CancelRequested() const noexcept {
            return dispatcher && dispatcher->CancelRequested();
        }
        bool OnOwnThread() const noexcept { return std::this_thread::get_id() == ownThread; }
        // Runs a short call where this connection's calls must run, and returns
        // its result; in place for drivers that take calls from any thread.
        template <typename F> auto Pinned(F &&call) const -> decltype(call()) {
            using Result = decltype(call());
            if (!pinned || !dispatcher || OnOwnThread())
                return call();
            if constexpr (std::is_void_v<Result>) {
                dispatcher->RunPinned([&] {
                    call();
                    return SQLRETURN(SQL_SUCCESS);
                });
            } else {
                std::optional<Result> result;
                dispatcher->RunPinned([&] {
                    result.emplace(call());
                    return SQLRETURN(SQL_SUCCESS);
                });
                return std::move(*result);
            }
        }
        // After a given-up call has returned, on its thread: frees its statement
        // (may be null) and closes the connection, so it holds no lock.
        void Release(SQLHSTMT stmt) noexcept;

    private:
        std::shared_ptr<OdbcEnvironment> m_env;
        SQLHDBC m_dbc;
    };

    static constexpr SQLUINTEGER LoginTimeoutSeconds = 15;
    // The first answer buffer of SQLDriverConnect: room for the usual complete
    // strings (psqlODBC answers about 700 bytes); longer ones are asked for again.
    static constexpr SQLSMALLINT ConnectStringBufferSize = 1024;

    OdbcConnection() = default;
    ~OdbcConnection();
    OdbcConnection(const OdbcConnection &) = delete;
    OdbcConnection &operator=(const OdbcConnection &) = delete;

    // Connects. `connect` may start with "ODBC;" (any case), which is removed; an
    // empty string asks `prompt` for a data source (no prompt: treated as a cancel).
    // Returns false when the user cancelled; throws DatabaseError on failure,
    // after freeing the handle.
    bool Open(const std::string &connect, bool useCursorLib, ConnectPrompt *prompt);
    void Close() noexcept;
    // Gives the connection up while a call on it has not come back: the handle
    // stays with that call, which frees it when it returns.
    void Abandon() noexcept;
    // Where this connection's calls that wait on the server run from the next Open on.
    void SetDispatcher(CallDispatcher *dispatcher) noexcept;
    // Whether the driver says the connection to the server is gone.
    bool IsDead() const noexcept;

    bool IsOpen() const noexcept { return m_handle != nullptr; }
    SQLHDBC Dbc() const noexcept { return m_handle ? m_handle->Dbc() : SQL_NULL_HDBC; }
    SQLHENV Env() const noexcept { return m_handle ? m_handle->Env() : SQL_NULL_HENV; }
    std::shared_ptr<Handle> SharedHandle() const { return m_handle; }

    // "ODBC;" followed by the complete connection string the driver manager returned.
    const std::string &ConnectString() const noexcept { return m_connect; }

    // Setting the timeout again re-arms it after a driver refused it once.
    // Drivers count the timeout in milliseconds in a 32-bit number: anything
    // longer than this wraps (to under a second in psqlODBC), so it is held here.
    static constexpr unsigned long MaxQueryTimeout = 2147483;

    void SetQueryTimeout(unsigned long seconds) noexcept {
        m_queryTimeout = seconds < MaxQueryTimeout ? seconds : MaxQueryTimeout;
        m_queryTimeoutRejected = false;
    }
    unsigned long QueryTimeout() const noexcept { return m_queryTimeout; }
    // Sets the query timeout on a new statement; once the driver rejects it, it
    // is not set again on this connection.
    void ApplyStatementOptions(SQLHSTMT stmt);

    // SQLGetInfo helpers; a failed call gives "" or 0 and sets *ok to false.
    std::string InfoText(SQLUSMALLINT infoType, bool *ok = nullptr) const;
    SQLUSMALLINT InfoU16(SQLUSMALLINT infoType, bool *ok = nullptr) const;
    SQLUINTEGER InfoU32(SQLUSMALLINT infoType, bool *ok = nullptr) const;
    // Whether SQLGetFunctions reports the function; false when it cannot say.
    bool HasFunction(SQLUSMALLINT functionId) const;

    // Whether the driver (its SQL_DRIVER_NAME) may have a connection's calls made
    // from more than one thread; its calls run in place when not.
    static bool TakesCallsFromAnyThread(const std::string &driverFile);
    // Whether the driver may leave a statement's rows unread, having announced
    // no columns for them (MariaDB's, for VALUES, HELP or XA RECOVER).
    static bool MayLeaveRowsUnread(const std::string &driverFile);

    // Whether a connect failure reads as a missing or refused login.
    static bool IsLoginRefusal(const std::string &state, const std::string &message);

private:
    struct Attempt;
    static void ConnectOnThread(Attempt &attempt);
    void ConnectWith(const std::string &input, bool useCursorLib);
    void CheckConformance();
    // A short call on the connection's own thread; SQL_ERROR when closed or busy.
    SQLRETURN Pinned(const std::function<SQLRETURN()> &call) const;

    std::shared_ptr<Handle> m_handle;
    CallDispatcher *m_dispatcher = nullptr;
    std::string m_connect;
    unsigned long m_queryTimeout = 15;
    bool m_queryTimeoutRejected = false;
};
