#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

#include <sql.h>

// The record of every database failure: the ODBC return code (or 1000 plus a
// connection-layer error number), the driver's messages and their states.
class DatabaseError : public std::exception {
public:
    DatabaseError(int16_t retCode, std::string errorText, std::string stateText);

    // Reads every diagnostic record of the statement, the connection and the
    // environment (any handle may be null), in that order.
    static DatabaseError FromDiagnostics(SQLRETURN retCode, SQLHENV env, SQLHDBC dbc,
                                         SQLHSTMT stmt);

    // A connection-layer error (1001-1028) with its standard text.
    static DatabaseError ConnectionLayer(int retCode);
    static const char *ConnectionLayerText(int retCode);

    // Errors of our own, in the shape of a driver's: the user cancelled the work
    // (HY008); the server did not answer and the connection was given up
    // (08S01); the connection is busy with another call (HY010); the query
    // timeout ran out and the statement was cancelled (HYT00).
    static DatabaseError Cancelled();
    static DatabaseError ServerSilent();
    static DatabaseError Busy();
    static DatabaseError TimedOut();
    // The driver left a statement's rows unread and its connection is out of
    // step with the server (08S01, so the connection is closed).
    static DatabaseError RowsLeftUnread();

    // Whether the error says the connection to the server is gone.
    bool IsConnectionLost() const;

    // "[unixODBC][Driver]message" -> message and "[unixODBC][Driver]".
    static void SplitTags(const std::string &message, std::string &text, std::string &origin);

    int16_t RetCode() const noexcept { return m_retCode; }
    const std::string &ErrorText() const noexcept { return m_errorText; }
    const std::string &StateText() const noexcept { return m_stateText; }
    // First SQLSTATE of the state text, or empty.
    std::string FirstState() const;
    const char *what() const noexcept override { return m_errorText.c_str(); }

private:
    int16_t m_retCode;
    std::string m_errorText;
    std::string m_stateText;
};

// Connection-layer error numbers used by the program.
enum ConnectionLayerError : int16_t {
    ConnectFailed = 1001,
    RecordsetForwardOnly = 1002,
    SnapshotNotSupported = 1013,
    ApiConformance = 1014,
    SqlConformance = 1015,
    NoDataFound = 1016,
};
