#include "odbc/DatabaseError.h"

#include <sqlext.h>

#include <array>

DatabaseError::DatabaseError(int16_t retCode, std::string errorText, std::string stateText)
    : m_retCode(retCode), m_errorText(std::move(errorText)), m_stateText(std::move(stateText)) {}

void DatabaseError::SplitTags(const std::string &message, std::string &text, std::string &origin) {
    size_t pos = 0;
    origin.clear();
    while (pos < message.size() && message[pos] == '[') {
        const size_t close = message.find(']', pos);
        if (close == std::string::npos)
            break;
        origin.append(message, pos, close - pos + 1);
        pos = close + 1;
        if (pos < message.size() && message[pos] == ' ')
            ++pos;
    }
    text = message.substr(pos);
}

namespace {

// Appends every record of one handle; returns false once SQLSTATE "00000" is seen.
bool AppendRecords(SQLSMALLINT handleType, SQLHANDLE handle, std::string &errorText,
                   std::string &stateText) {
    if (handle == nullptr)
        return true;
    for (SQLSMALLINT record = 1;; ++record) {
        SQLCHAR state[6] = {};
        SQLINTEGER native = 0;
        SQLSMALLINT length = 0;
        // psqlODBC cuts a long message into records the size of the first buffer it is given.
        std::string message(4096, '\0');
        SQLRETURN rc = SQLGetDiagRec(handleType, handle, record, state, &native,
                                     reinterpret_cast<SQLCHAR *>(message.data()),
                                     static_cast<SQLSMALLINT>(message.size()), &length);
        if (rc == SQL_SUCCESS_WITH_INFO && length >= static_cast<SQLSMALLINT>(message.size())) {
            // A message longer than the buffer: ask again with its full length.
            message.assign(static_cast<size_t>(length) + 1, '\0');
            rc = SQLGetDiagRec(handleType, handle, record, state, &native,
                               reinterpret_cast<SQLCHAR *>(message.data()),
                               static_cast<SQLSMALLINT>(message.size()), &length);
        }
        if (!SQL_SUCCEEDED(rc))
            return true;
        const std::string sqlState(reinterpret_cast<char *>(state));
        if (sqlState == "00000")
            return false;
        message.resize(std::min<size_t>(static_cast<size_t>(std::max<SQLSMALLINT>(length, 0)),
                                        message.size()));
        std::string text, origin;
        DatabaseError::SplitTags(message, text, origin);
        errorText += text + "\n";
        stateText +=
            "State:" + sqlState + ",Native:" + std::to_string(native) + ",Origin:" + origin + "\n";
    }
}

} // namespace

DatabaseError DatabaseError::FromDiagnostics(SQLRETURN retCode, SQLHENV env, SQLHDBC dbc,
                                             SQLHSTMT stmt) {
    std::string errorText, stateText;
    if (AppendRecords(SQL_HANDLE_STMT, stmt, errorText, stateText) &&
        AppendRecords(SQL_HANDLE_DBC, dbc, errorText, stateText))
        AppendRecords(SQL_HANDLE_ENV, env, errorText, stateText);
    if (errorText.empty())
        errorText = retCode == SQL_INVALID_HANDLE ? "Invalid handle.\n" : "Unknown error.\n";
    return DatabaseError(static_cast<int16_t>(retCode), std::move(errorText), std::move(stateText));
}

const char *DatabaseError::ConnectionLayerText(int retCode) {
    static const std::array<const char *, 28> texts = {
        "Attempt to connect to datasource failed",
        "Recordset supports only forward movement.",
        "Attempt to open a table failed - there were no columns to retrieve were specified.",
        "Unexpected column data types were returned from query.",
        "Attempt to Update or Delete failed.",
        "Multiple rows were updated.",
        "Operation failed, no current record.",
        "No rows were affected by the update or delete operation.",
        "Recordset is read-only",
        "ODBC driver does not support the long binary data model.",
        "Attempt to load required component of the ODBC driver manager failed.",
        "ODBC driver does not support dynasets.",
        "ODBC static cursors required for snapshot support.",
        "ODBC driver incompatible with MFC database classes (API_CONFORMANCE >= "
        "SQL_OAC_LEVEL1 required).",
        "ODBC driver incompatible with MFC database classes (SQL_CONFORMANCE >= "
        "SQL_OSC_MINIMUM required).",
        "Attempt to scroll past end or before beginning of data.",
        "Dynasets not supported by ODBC driver.",
        "ODBC Level 2 compliant driver required.",
        "Positioned updates not supported by ODBC driver.",
        "Requested lock mode is not supported.",
        "Data truncated.",
        "Error retrieving record.",
        "A required ODBC entry point was not found. Make sure ODBC is installed correctly.",
        "Update or Delete failed.",
        "Dynamic cursors not supported by ODBC driver.",
        "Invalid field name or field index.",
        "Bookmarks not supported for ODBC driver.",
        "Bookmarks not enabled on recordset.",
    };
    if (retCode < 1001 || retCode > 1028)
        return "";
    return texts[static_cast<size_t>(retCode - 1001)];
}

DatabaseError DatabaseError::ConnectionLayer(int retCode) {
    return DatabaseError(static_cast<int16_t>(retCode), ConnectionLayerText(retCode), "");
}

std::string DatabaseError::FirstState() const {
    const std::string key = "State:";
    if (m_stateText.compare(0, key.size(), key) != 0)
        return {};
    return m_stateText.substr(key.size(), 5);
}

namespace {
DatabaseError OwnError(const char *state, const char *text) {
    return DatabaseError(SQL_ERROR, std::string(text) + "\n",
                         std::string("State:") + state + ",Native:0,Origin:[Brindle]\n");
}
} // namespace

DatabaseError DatabaseError::Cancelled() { return OwnError("HY008", "Operation cancelled."); }

DatabaseError DatabaseError::ServerSilent() {
    return OwnError("08S01", "The server did not answer; the connection was given up.");
}

DatabaseError DatabaseError::Busy() {
    return OwnError("HY010",
                    "Another statement is running on this connection; this one was not run.");
}

DatabaseError DatabaseError::TimedOut() { return OwnError("HYT00", "Timeout expired"); }

DatabaseError DatabaseError::RowsLeftUnread() {
    return OwnError("08S01", "The driver returned no columns for this statement's rows and could "
                             "not read them; its connection cannot be used any more.");
}

bool DatabaseError::IsConnectionLost() const {
    // Communication link failure, PostgreSQL's administrator shutdown, and a
    // connection that is not open any more.
    for (const char *state : {"State:08S01", "State:57P01", "State:08003"})
        if (m_stateText.find(state) != std::string::npos)
            return true;
    return false;
}
