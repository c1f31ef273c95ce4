#pragma once

#include "catalog/recordsets/CColumnNames.h"

#include <cstdint>
#include <string>

#include "BenchData.h"
#include "BenchSuite.h"

class AppSession;
class BenchReport;
class CChildFrame;
class RawCatalog;

// The catalog tree's figures on one data source, over a generated schema of
// `options.tables` tables (10 columns, a primary key, and a foreign key to the
// previous table each), each as a ratio against a raw loop of the same catalog
// calls reading the same fields:
//  - a Refresh (table list and the columns of every table; Views on,
//    Procedures off), against SQLTables and one SQLColumns for every table,
//    with the process's memory, and its time per table at a tenth of
//    the schema and at all of it,
//  - expanding one table (its primary and foreign keys).
class TreeBench {
public:
    TreeBench(AppSession &app, const BenchOptions &options, BenchReport &report);

    void Run(const std::string &source, const std::string &connect, BenchData::Dialect dialect);

    // The generated tables are named with this prefix and a 6-digit number.
    static constexpr const char *TablePrefix = "brindle_tree_";

private:
    struct Build {
        double app = 0;
        double raw = 0;
        double rawCatalog = 0; // the tree's own queries on the DBMS's catalog, raw
        int tables = 0;        // entries of the table list the tree was built from
    };
    Build MeasureBuild(CChildFrame &frame, RawCatalog &raw, int generated);
    void MeasureExpand(CChildFrame &frame, RawCatalog &raw, int generated);
    static void Refresh(AppSession &app, CChildFrame &frame);

    AppSession &m_app;
    BenchOptions m_options;
    BenchReport &m_report;
    std::string m_source;
    CColumnNames::Dialect m_dialect = CColumnNames::Dialect::Unknown;
    // The process's peak resident size during the last Refresh of MeasureBuild.
    bool m_treePeakKnown = false;
    uint64_t m_treePeak = 0;
};
