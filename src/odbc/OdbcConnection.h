#pragma once

#include <memory>
#include <string>

#include <sql.h>

#include "odbc/ConnectPrompt.h"
#include "odbc/OdbcEnvironment.h"

// An open ODBC connection. Statements hold a shared pointer to its handle
// holder, so the handle outlives any statement still open on it.
class OdbcConnection {
public:
    // Owns the connection handle; keeps the environment alive.
    class Handle {
    public:
        Handle(std::shared_ptr<OdbcEnvironment> env, SQLHDBC dbc)
            : m_env(std::move(env)), m_dbc(dbc) {}
        ~Handle();
        Handle(const Handle &) = delete;
        Handle &operator=(const Handle &) = delete;
        SQLHDBC Dbc() const noexcept { return m_dbc; }
        SQLHENV Env() const noexcept { return m_env->Handle(); }
        bool connected = false;

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

    // Whether a connect failure reads as a missing or refused login.
    static bool IsLoginRefusal(const std::string &state, const std::string &message);

private:
    void ConnectWith(const std::string &input, bool useCursorLib);
    void CheckConformance();

    std::shared_ptr<Handle> m_handle;
    std::string m_connect;
    unsigned long m_queryTimeout = 15;
    bool m_queryTimeoutRejected = false;
};
