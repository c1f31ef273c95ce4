#include "syntax/ConnectionSyntaxSource.h"

#include "catalog/recordsets/CColumns.h"
#include "catalog/recordsets/CTables.h"
#include "odbc/DatabaseError.h"

ConnectionSyntaxSource::ConnectionSyntaxSource(OdbcConnection &connection, CTables *tables,
                                               const CDriverInfo *driverInfo, StatusSink status,
                                               ErrorSink reportError)
    : m_connection(connection), m_tables(tables), m_driverInfo(driverInfo),
      m_status(std::move(status)), m_reportError(std::move(reportError)) {}

bool ConnectionSyntaxSource::HasTableList() { return m_tables != nullptr; }

std::vector<SyntaxSource::Table> ConnectionSyntaxSource::Tables() {
    std::vector<Table> rows;
    if (!m_tables || !m_tables->IsOpen())
        return rows;
    try {
        // The document's list is shared with the tree: start from its first row.
        m_tables->MoveFirst();
        for (; !m_tables->IsEOF(); m_tables->MoveNext())
            rows.push_back({m_tables->TableName, m_tables->Remarks});
    } catch (const DatabaseError &error) {
        if (m_reportError)
            m_reportError(error);
    }
    return rows;
}

std::vector<SyntaxSource::Column> ConnectionSyntaxSource::Columns(const std::string &table) {
    std::vector<Column> rows;
    Status(ColumnStatusText(table));
    try {
        CColumns columns(m_connection);
        if (columns.Open(nullptr, nullptr, table.c_str(), nullptr)) {
            for (; !columns.IsEOF(); columns.MoveNext())
                rows.push_back({columns.ColumnName, columns.TypeName, columns.Remarks});
        }
    } catch (const DatabaseError &error) {
        // Half a column list would pass for the whole table: none at all.
        rows.clear();
        if (m_reportError)
            m_reportError(error);
    }
    Status({});
    return rows;
}

const CDriverInfo *ConnectionSyntaxSource::DriverInfo() {
    return m_tables ? m_driverInfo : nullptr;
}

std::string ConnectionSyntaxSource::ColumnStatusText(const std::string &table) {
    return "Fetching \"" + table + "\" column info...";
}

void ConnectionSyntaxSource::Status(const std::string &text) const {
    if (m_status)
        m_status(text);
}
