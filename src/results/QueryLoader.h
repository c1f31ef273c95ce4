#pragma once

#include <string>

class CBrindleDoc;
class GridModel;
class GridSink;
class OdbcStatement;

// Executes a query on the document's connection and lays its first MaxRecords
// rows into a grid, counting the rest; reports the statement and its outcome
// on the document's console.
class QueryLoader {
public:
    // `grid` takes the columns, `model` the rows: both are the same result grid.
    QueryLoader(CBrindleDoc &doc, GridSink &grid, GridModel &model)
        : m_doc(doc), m_grid(grid), m_model(model) {}

    void Load(const std::string &statement);
    // The first result of a statement already executed (timed at `elapsed`
    // seconds): its columns, its first MaxRecords rows and the count of the rest.
    void LoadRows(OdbcStatement &query, long long elapsed);

private:
    CBrindleDoc &m_doc;
    GridSink &m_grid;
    GridModel &m_model;
};
