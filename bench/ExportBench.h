#pragma once

#include <cstdint>
#include <string>

class BenchReport;

// Export of a large grid in each format against one fwrite loop writing the
// same bytes, row by row, through stdio: the ratio and the writer's MB/s.
class ExportBench {
public:
    ExportBench(const std::string &workDir, uint64_t rows, int runs, BenchReport &report);
    void Run();

private:
    std::string m_workDir;
    uint64_t m_rows;
    int m_runs;
    BenchReport &m_report;
};
