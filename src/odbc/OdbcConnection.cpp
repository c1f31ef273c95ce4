#include "odbc/OdbcConnection.h"

#include <sqlext.h>

#include <algorithm>
#include <cctype>
#include <vector>

#include "odbc/AsciiText.h"
#include "odbc/ConnectString.h"
#include "odbc/DatabaseError.h"
#include "odbc/OdbcTrace.h"

namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// The first element whose key is `key` (any letter case), or nullptr.
const std::string *FindElement(const std::vector<std::string> &elements, std::string_view key) {
    for (const std::string &element : elements)
        if (AsciiText::EqualNoCase(ConnectString::Key(element), key))
            return &element;
    return nullptr;
}

// Drops the UID and PWD elements of a connection string and appends the login.
std::string WithLogin(const std::string &input, const ConnectPrompt::Login &login) {
    std::string kept;
    for (const std::string &element : ConnectString::Elements(input)) {
        const std::string_view key = ConnectString::Key(element);
        if (!AsciiText::EqualNoCase(key, "UID") && !AsciiText::EqualNoCase(key, "PWD"))
            kept += element + ";";
    }
    return kept + "UID=" + ConnectString::Braced(login.user) +
           ";PWD=" + ConnectString::Braced(login.password) + ";";
}

// The DRIVER element of a connection string ("DRIVER={SQLite3}"), or "".
std::string DriverElement(const std::string &text) {
    const std::vector<std::string> elements = ConnectString::Elements(text);
    const std::string *driver = FindElement(elements, "DRIVER");
    return driver ? *driver : std::string();
}

// Whether a complete connection string can find its driver again: through a
// DRIVER, a named DSN or a FILEDSN.
bool NamesItsDriver(const std::string &text) {
    const std::vector<std::string> elements = ConnectString::Elements(text);
    if (FindElement(elements, "DRIVER") || FindElement(elements, "FILEDSN"))
        return true;
    const std::string *dsn = FindElement(elements, "DSN");
    return dsn && !ConnectString::Value(*dsn).empty();
}

// The name a login prompt shows for a connection string.
std::string DataSourceLabel(const std::string &input) {
    const std::vector<std::string> elements = ConnectString::Elements(input);
    for (const char *key : {"DSN", "FILEDSN", "DRIVER"})
        if (const std::string *element = FindElement(elements, key))
            return ConnectString::Value(*element);
    return input;
}

// The user name a connection string gives (its UID), or "".
std::string UserName(const std::string &input) {
    const std::vector<std::string> elements = ConnectString::Elements(input);
    const std::string *uid = FindElement(elements, "UID");
    return uid ? ConnectString::Value(*uid) : std::string();
}

} // namespace

OdbcConnection::Handle::~Handle() {
    const auto release = [this] {
        if (connected)
            SQLDisconnect(m_dbc);
        SQLFreeHandle(SQL_HANDLE_DBC, m_dbc);
    };
    // A given-up connection of a one-thread driver is freed on its own thread
    // or not at all: from another it could wait for ever.
    if (pinned && abandoned && !OnOwnThread())
        return;
    try {
        Pinned(release);
    } catch (const DatabaseError &) {
        // Busy with a call that did not come back: left to the driver manager.
    }
}

void OdbcConnection::Handle::Release(SQLHSTMT stmt) noexcept {
    if (stmt != SQL_NULL_HSTMT)
        SQLFreeHandle(SQL_HANDLE_STMT, stmt);
    if (connected) {
        SQLDisconnect(m_dbc);
        connected = false;
    }
}

OdbcConnection::~OdbcConnection() { Close(); }

void OdbcConnection::Close() noexcept {
    m_handle.reset();
    m_connect.clear();
    m_queryTimeoutRejected = false;
}

bool OdbcConnection::TakesCallsFromAnyThread(const std::string &driverFile) {
    // MariaDB Connector/ODBC 3.1 leaves its connection locked to the thread of
    // a statement that failed to parse: any other thread then waits for ever.
    return Lower(driverFile).find("maodbc") == std::string::npos;
}

bool OdbcConnection::MayLeaveRowsUnread(const std::string &driverFile) {
    // Connector/ODBC 3.1 reads a result only for the statements it knows to
    // give one; the server's answer to any other stays on the line.
    return Lower(driverFile).find("maodbc") != std::string::npos;
}

void OdbcConnection::Abandon() noexcept {
    if (m_handle)
        m_handle->abandoned = true;
    Close();
}

void OdbcConnection::SetDispatcher(CallDispatcher *dispatcher) noexcept {
    m_dispatcher = dispatcher;
}

bool OdbcConnection::IsDead() const noexcept {
    if (!m_handle)
        return true;
    // Some drivers ask the server: the answer comes back as the return code.
    // A cancelled or busy connection cannot be asked, and counts as alive.
    SQLRETURN rc = SQL_NO_DATA;
    try {
        rc = m_handle->Run(
            SQL_NULL_HSTMT, CallDispatcher::CancelBy::Driver, [dbc = m_handle->Dbc()] {
                SQLUINTEGER dead = SQL_CD_FALSE;
                const SQLRETURN got =
                    SQLGetConnectAttr(dbc, SQL_ATTR_CONNECTION_DEAD, &dead, 0, nullptr);
                return SQL_SUCCEEDED(got) && dead == SQL_CD_TRUE ? SQL_SUCCESS : SQL_NO_DATA;
            });
    } catch (const DatabaseError &) {
    }
    return rc == SQL_SUCCESS;
}

bool OdbcConnection::Open(const std::string &connect, bool useCursorLib, ConnectPrompt *prompt) {
    Close();
    std::string input = AsciiText::StartsWithNoCase(connect, "ODBC;") ? connect.substr(5) : connect;
    if (input.empty()) {
        std::optional<std::string> chosen = prompt ? prompt->ChooseDataSource() : std::nullopt;
        if (!chosen || chosen->empty())
            return false;
        input = *chosen;
    }
    for (;;) {
        try {
            ConnectWith(input, useCursorLib);
            return IsOpen();
        } catch (const DatabaseError &error) {
            Close();
            if (!prompt || !IsLoginRefusal(error.FirstState(), error.ErrorText()))
                throw;
            std::optional<ConnectPrompt::Login> login =
                prompt->AskLogin(DataSourceLabel(input), error.ErrorText(), UserName(input));
            if (!login)
                return false;
            input = WithLogin(input, *login);
        }
    }
}

// A connect as the connection's thread makes it: everything it writes is its
// own, so a connect that is given up touches nothing of its caller's.
struct OdbcConnection::Attempt {
    std::string input;
    bool useCursorLib = false;
    std::shared_ptr<Handle> handle; // null when the user cancelled
    std::string complete;
    std::string driverName;
};

void OdbcConnection::ConnectOnThread(Attempt &attempt) {
    std::shared_ptr<OdbcEnvironment> env = OdbcEnvironment::Acquire();
    SQLHDBC dbc = SQL_NULL_HDBC;
    SQLRETURN rc = SQLAllocHandle(SQL_HANDLE_DBC, env->Handle(), &dbc);
    if (!SQL_SUCCEEDED(rc))
        throw DatabaseError::FromDiagnostics(rc, env->Handle(), nullptr, nullptr);
    auto handle = std::make_shared<Handle>(env, dbc);

    // Not every driver takes a login timeout; connecting works without it.
    SQLSetConnectAttr(dbc, SQL_ATTR_LOGIN_TIMEOUT,
                      reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(LoginTimeoutSeconds)), 0);
    if (attempt.useCursorLib) {
        // The driver manager's cursor library only where the driver has no scrollable
        // cursors of its own: forced on, it returns wrong rows or crashes with drivers
        // that do (psqlODBC, SQLite3).
        rc = SQLSetConnectAttr(dbc, SQL_ATTR_ODBC_CURSORS,
                               reinterpret_cast<SQLPOINTER>(SQL_CUR_USE_IF_NEEDED), 0);
        if (!SQL_SUCCEEDED(rc))
            throw DatabaseError::FromDiagnostics(rc, env->Handle(), dbc, nullptr);
    }

    std::vector<SQLCHAR> out(ConnectStringBufferSize, 0);
    SQLSMALLINT outLength = 0;
    std::string in = attempt.input;
    rc = OdbcTrace::Call("SQLDriverConnect", [&] {
        return SQLDriverConnect(dbc, nullptr, reinterpret_cast<SQLCHAR *>(in.data()), SQL_NTS,
                                out.data(), static_cast<SQLSMALLINT>(out.size()), &outLength,
                                SQL_DRIVER_NOPROMPT);
    });
    if (rc == SQL_NO_DATA)
        return; // cancelled: no handle, nothing to report
    if (!SQL_SUCCEEDED(rc))
        throw DatabaseError::FromDiagnostics(rc, env->Handle(), dbc, nullptr);
    handle->connected = true;

    if (outLength >= static_cast<SQLSMALLINT>(out.size())) {
        // The complete string did not fit: connect again with room for all of it,
        // or a saved .dsn would silently lose attributes.
        SQLDisconnect(dbc);
        handle->connected = false;
        out.assign(static_cast<size_t>(outLength) + 1, 0);
        rc = SQLDriverConnect(dbc, nullptr, reinterpret_cast<SQLCHAR *>(in.data()), SQL_NTS,
                              out.data(), static_cast<SQLSMALLINT>(out.size()), &outLength,
                              SQL_DRIVER_NOPROMPT);
        if (!SQL_SUCCEEDED(rc))
            throw DatabaseError::FromDiagnostics(rc, env->Handle(), dbc, nullptr);
        handle->connected = true;
    }
    const size_t length =
        std::min(static_cast<size_t>(std::max<SQLSMALLINT>(outLength, 0)), out.size() - 1);
    attempt.complete.assign(reinterpret_cast<char *>(out.data()), length);
    char driver[200] = {};
    SQLSMALLINT driverLength = 0;
    if (SQL_SUCCEEDED(SQLGetInfo(dbc, SQL_DRIVER_NAME, driver, sizeof driver, &driverLength)))
        attempt.driverName.assign(
            driver, std::min<size_t>(std::max<SQLSMALLINT>(driverLength, 0), sizeof driver - 1));
    attempt.handle = std::move(handle);
}

void OdbcConnection::ConnectWith(const std::string &input, bool useCursorLib) {
    auto attempt = std::make_shared<Attempt>();
    attempt->input = input;
    attempt->useCursorLib = useCursorLib;
    // On the connection's thread, so the window answers and Esc gives up a
    // server that never does; the attempt alone lives on when it is given up.
    const auto connect = [attempt] {
        ConnectOnThread(*attempt);
        return SQLRETURN(SQL_SUCCESS);
    };
    try {
        if (m_dispatcher)
            m_dispatcher->Run(attempt, SQL_NULL_HSTMT, CallDispatcher::CancelBy::Abandon, connect);
        else
            connect();
    } catch (const DatabaseError &error) {
        if (error.FirstState() == "HY008")
            return; // the user cancelled: as a cancelled dialog
        throw;
    }
    if (!attempt->handle)
        return;
    const std::shared_ptr<Handle> handle = attempt->handle;
    handle->dispatcher = m_dispatcher;
    handle->pinned = !TakesCallsFromAnyThread(attempt->driverName);
    handle->leavesRowsUnread = MayLeaveRowsUnread(attempt->driverName);
    m_handle = handle;
    std::string complete = attempt->complete;
    // Some drivers (SQLite3) answer without the DRIVER they were reached by; a
    // .dsn saved from that could never be opened again.
    if (!NamesItsDriver(complete) && !DriverElement(input).empty())
        complete = DriverElement(input) + ";" + complete;
    m_connect = "ODBC;" + complete;
    CheckConformance();
}

void OdbcConnection::CheckConformance() {
    bool ok = false;
    const SQLUSMALLINT api = InfoU16(SQL_ODBC_API_CONFORMANCE, &ok);
    if (ok && api < SQL_OAC_LEVEL1) {
        Close();
        throw DatabaseError::ConnectionLayer(ApiConformance);
    }
    // Read as signed: a driver answering an out-of-range value falls below minimum.
    const auto sql = static_cast<SQLSMALLINT>(InfoU16(SQL_ODBC_SQL_CONFORMANCE, &ok));
    if (ok && sql < SQL_OSC_MINIMUM) {
        Close();
        throw DatabaseError::ConnectionLayer(SqlConformance);
    }
}

void OdbcConnection::ApplyStatementOptions(SQLHSTMT stmt) {
    if (m_queryTimeoutRejected || !m_handle)
        return;
    const auto seconds = static_cast<SQLULEN>(m_queryTimeout);
    const SQLRETURN rc = m_handle->Pinned([stmt, seconds] {
        return SQLSetStmtAttr(stmt, SQL_ATTR_QUERY_TIMEOUT, reinterpret_cast<SQLPOINTER>(seconds),
                              0);
    });
    if (!SQL_SUCCEEDED(rc))
        m_queryTimeoutRejected = true;
}

std::string OdbcConnection::InfoText(SQLUSMALLINT infoType, bool *ok) const {
    char buffer[200] = {};
    SQLSMALLINT length = 0;
    const SQLRETURN rc =
        Pinned([&] { return SQLGetInfo(Dbc(), infoType, buffer, sizeof buffer, &length); });
    if (ok)
        *ok = SQL_SUCCEEDED(rc);
    if (!SQL_SUCCEEDED(rc))
        return {};
    return std::string(buffer,
                       std::min<size_t>(std::max<SQLSMALLINT>(length, 0), sizeof buffer - 1));
}

SQLUSMALLINT OdbcConnection::InfoU16(SQLUSMALLINT infoType, bool *ok) const {
    SQLUSMALLINT value = 0;
    const SQLRETURN rc =
        Pinned([&] { return SQLGetInfo(Dbc(), infoType, &value, sizeof value, nullptr); });
    if (ok)
        *ok = SQL_SUCCEEDED(rc);
    return SQL_SUCCEEDED(rc) ? value : 0;
}

SQLUINTEGER OdbcConnection::InfoU32(SQLUSMALLINT infoType, bool *ok) const {
    SQLUINTEGER value = 0;
    const SQLRETURN rc =
        Pinned([&] { return SQLGetInfo(Dbc(), infoType, &value, sizeof value, nullptr); });
    if (ok)
        *ok = SQL_SUCCEEDED(rc);
    return SQL_SUCCEEDED(rc) ? value : 0;
}

bool OdbcConnection::HasFunction(SQLUSMALLINT functionId) const {
    SQLUSMALLINT exists = SQL_FALSE;
    if (!IsOpen())
        return false;
    const SQLRETURN rc = Pinned([&] { return SQLGetFunctions(Dbc(), functionId, &exists); });
    return SQL_SUCCEEDED(rc) && exists == SQL_TRUE;
}

SQLRETURN OdbcConnection::Pinned(const std::function<SQLRETURN()> &call) const {
    if (!m_handle)
        return SQL_ERROR;
    try {
        return m_handle->Pinned(call);
    } catch (const DatabaseError &) {
        return SQL_ERROR; // busy: as a call that failed
    }
}

bool OdbcConnection::IsLoginRefusal(const std::string &state, const std::string &message) {
    if (state.rfind("28", 0) == 0)
        return true; // SQLSTATE class 28: the login was refused
    // PostgreSQL's client library reports a refused login as a failed connection
    // (08001); only its own words tell. A mere mention of "authentication" is
    // not enough: any service on the port can answer with that.
    const std::string text = Lower(message);
    return state == "08001" && (text.find("password authentication failed") != std::string::npos ||
                                text.find("no password supplied") != std::string::npos);
}
