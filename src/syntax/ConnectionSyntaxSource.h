#pragma once

#include <functional>
#include <string>
#include <vector>

#include "syntax/SyntaxSource.h"

class CTables;
class DatabaseError;
class OdbcConnection;

// The Syntax Dictionary's view of an open connection: the connection's table
// list and driver information as its document holds them, and column queries
// of its own, each announced through `status` ("" when it is done) and its
// failures handed to `reportError`.
class ConnectionSyntaxSource : public SyntaxSource {
public:
    using StatusSink = std::function<void(const std::string &)>;
    using ErrorSink = std::function<void(const DatabaseError &)>;

    // `tables` and `driverInfo` may be null (no table list); they must outlive the source.
    ConnectionSyntaxSource(OdbcConnection &connection, CTables *tables,
                           const CDriverInfo *driverInfo, StatusSink status, ErrorSink reportError);

    bool HasTableList() override;
    std::vector<Table> Tables() override;
    std::vector<Column> Columns(const std::string &table) override;
    const CDriverInfo *DriverInfo() override;

    // "Fetching \"orders\" column info..."
    static std::string ColumnStatusText(const std::string &table);

private:
    void Status(const std::string &text) const;

    OdbcConnection &m_connection;
    CTables *m_tables;
    const CDriverInfo *m_driverInfo;
    StatusSink m_status;
    ErrorSink m_reportError;
};
