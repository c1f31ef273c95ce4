#pragma once

#include <cstdint>
#include <string>

#include "BenchData.h"

class AppSession;
class BenchReport;
class CChildFrame;
class RawSession;

struct BenchOptions {
    uint64_t rows = 1000000;    // rows of the bench table
    uint64_t loadRows = 200000; // rows loaded into the grid
    int statements = 20000;     // INSERTs in the script
    int runs = 3;               // timed runs per figure, after one warm-up
    uint64_t tables = 5000;     // tables of the catalog tree's schema
    int cycles = 200;           // connection windows opened and closed
    std::string workDir;        // script and spool files go here
    std::string treeDb;         // a SQLite file whose tree tables are kept between runs
    bool keepTree = false;      // PostgreSQL's tree tables are kept between runs
    std::string part;           // loads, scripts, tree, export, console or windows; empty for all

    bool Measures(const char *name) const { return part.empty() || part == name; }
};

// The three figures on one data source, each as a ratio against a raw ODBC
// loop in this process:
//  - counting past MaxRecords (MaxRecords 100 over the whole table),
//  - loading rows into the grid (MaxRecords = loadRows), and its memory,
//  - an INSERT script run with the console and the spool file on, and its
//    time per statement for scripts of 1/20, 1/4, 1/2 and all of its length.
class BenchSuite {
public:
    BenchSuite(AppSession &app, const BenchOptions &options, BenchReport &report);

    void Run(const std::string &source, const std::string &connect, BenchData::Dialect dialect);

private:
    void CountPastMaxRecords(CChildFrame &frame, RawSession &raw);
    void LoadIntoGrid(CChildFrame &frame, RawSession &raw);
    void RunInsertScripts(const std::string &connect, RawSession &raw);
    // One run of a script through the application, in a new window with the
    // spool file on; the seconds of the run, checked for what it inserted.
    double AppScriptRun(const std::string &connect, RawSession &raw, const std::string &script,
                        int count);
    // The console's status line for the latest statement ("OK (...)"), or empty.
    static std::string LastStatusLine(CChildFrame &frame);

    AppSession &m_app;
    BenchOptions m_options;
    BenchReport &m_report;
    std::string m_source;
};
