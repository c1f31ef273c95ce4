#pragma once

#include <string>

#include "connection/GridSink.h"

class OdbcStatement;

// The result grid as the document and the catalog tree see it.
class ResultPane : public GridSink {
public:
    virtual void ClearGrid() = 0;
    // Executes a query and shows its first MaxRecords rows, reporting on the console.
    virtual void LoadQueryResult(const std::string &statement) = 0;
    // The rows of a statement already executed and reported on the console.
    virtual void LoadStatementRows(OdbcStatement &query, long long elapsedSeconds) = 0;
    // The rows of a table or a procedure.
    virtual void LoadTableData(const std::string &tableName) = 0;
    virtual void LoadProcedureData(const std::string &procedureName) = 0;
    virtual void ShowGridLines(bool on) = 0;
    // Painting off while a catalog load lays its rows, and on again.
    virtual void SetRedraw(bool on) = 0;
    // Export Query: asks for a statement and a file and writes every row of the result there.
    virtual void ExportQuery() = 0;
};
