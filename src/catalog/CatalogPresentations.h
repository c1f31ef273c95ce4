#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class CBrindleDoc;
class GridSink;
class Recordset;

// Lays catalog information into the result grid: one presentation per kind of
// catalog question, each with its caption, labels, source and filter. A
// presentation restricted to one named object shows it as Property/Value rows;
// the others show one grid row per catalog row. Database errors go to the
// document's ReportError; a catalog function the driver lacks leaves the
// caption and labels with no records and no message.
class CatalogPresentations {
public:
    CatalogPresentations(CBrindleDoc &doc, GridSink &grid);

    // Null restrictions restrict nothing; names are compared exactly.
    void ShowDriverInfo();
    void ShowTables(const char *tableName, const char *tableType);
    void ShowColumns(const std::string &tableName, const char *columnName);
    void ShowProcedureColumns(const std::string &procedureName, const char *columnName);
    void ShowColumnPrivileges(const std::string &tableName, const char *columnName);
    void ShowTablePrivileges(const std::string &tableName);
    // `unique` is SQL_INDEX_ALL (1) or SQL_INDEX_UNIQUE (0), `accuracy` SQL_ENSURE
    // (1) or SQL_QUICK (0), as chosen in the Statistic Parameters dialog.
    void ShowStatistics(const std::string &tableName, uint16_t unique = 1, uint16_t accuracy = 1);
    void ShowSpecialColumns(const std::string &tableName);
    void ShowPrimaryKeys(const std::string &tableName, const char *columnName);
    void ShowForeignKeys(const std::string &tableName, const char *columnName);
    void ShowProcedures(const char *procedureName);

private:
    using Cells = std::vector<std::string>;

    void Begin(bool propertyMode, const std::vector<std::string> &labels, const char *caption);
    void SetCatalogCell(int record, int label, const std::string &text);
    // Lays every accepted row of `rs` from its first row on, numbering records
    // from `record`; returns the number after the last one laid.
    int LayRecords(Recordset &rs, int record, const std::function<bool()> &accept,
                   const std::function<Cells()> &cells);
    void Finish();
    // Runs one catalog question's laying, then finishes the grid; nothing more
    // when `lay` finds the driver lacks the function (false) or a database
    // error comes (reported).
    void Present(const std::function<bool()> &lay);
    // The text of the driver manager's "ODBC Version", empty without driver information.
    std::string OdbcVersion() const;

    CBrindleDoc &m_doc;
    GridSink &m_grid;
};
