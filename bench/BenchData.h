#pragma once

#include <cstdint>
#include <string>
#include <vector>

class RawSession;

// The data the figures run on, built by the benchmark itself so every run
// starts alike: an 8-column table of generated rows (numbers, short texts, a
// date, every tenth note NULL) and a script of single-row INSERTs.
class BenchData {
public:
    enum class Dialect { Sqlite, Postgres };

    // Names unlikely to belong to anyone else: the tables are dropped and
    // remade at the start and dropped again at the end.
    static constexpr const char *Table = "brindle_bench_rows";
    static constexpr const char *InsertTable = "brindle_bench_script";

    // Replaces the table with `rows` generated rows, loaded by one INSERT ... SELECT.
    static void BuildTable(RawSession &session, Dialect dialect, uint64_t rows);
    // An empty table for the INSERT script.
    static void ResetInsertTable(RawSession &session);
    // Leaves the data source as it was found.
    static void DropTables(RawSession &session);
    // Writes `count` INSERT statements to `path`, one per line ending in ";",
    // and returns them without the ";" as a raw loop executes them.
    static std::vector<std::string> WriteInsertScript(const std::string &path, int count);
};
