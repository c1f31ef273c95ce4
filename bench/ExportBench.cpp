#include "ExportBench.h"

#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <stdexcept>
#include <vector>

#include "BenchReport.h"
#include "Stopwatch.h"
#include "results/ExportFile.h"
#include "results/ExportProgress.h"
#include "results/GridExporter.h"
#include "results/GridModel.h"

namespace {

constexpr int Columns = 8;
constexpr double RatioTarget = 2.0;
constexpr double MegabytesPerSecondTarget = 200.0;

// The status bar's counter costs a call per row; keep it in the measurement.
class CountingProgress : public ExportProgress {
public:
    bool Begin(int, int) override { return true; }
    void Step() override { ++steps; }
    void End() override {}
    long steps = 0;
};

std::string ReadFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The file's bytes cut after every "\r\n", as a writer of rows would hand them over.
std::vector<std::string_view> Lines(const std::string &bytes) {
    std::vector<std::string_view> lines;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find("\r\n", start);
        end = end == std::string::npos ? bytes.size() : end + 2;
        lines.emplace_back(bytes.data() + start, end - start);
        start = end;
    }
    return lines;
}

} // namespace

ExportBench::ExportBench(const std::string &workDir, uint64_t rows, int runs, BenchReport &report)
    : m_workDir(workDir), m_rows(rows), m_runs(runs), m_report(report) {}

void ExportBench::Run() {
    GridModel grid;
    const char *const titles[Columns] = {"id",   "customer", "city",  "amount",
                                         "date", "status",   "notes", "code"};
    for (int column = 0; column < Columns; ++column)
        grid.InsertColumn(column, titles[column], Qt::AlignLeft);
    std::vector<GridRow> rows;
    GridRow::Builder builder;
    for (uint64_t row = 0; row < m_rows; ++row) {
        builder.Clear();
        const std::string n = std::to_string(row);
        builder.AddCell(n);
        builder.AddCell("Customer " + n);
        builder.AddCell(row % 3 ? "Z\xC3\xBCrich" : "Oslo");
        builder.AddCell(std::to_string(row * 7 % 100000) + ".50");
        builder.AddCell("2024-05-17 10:22:31");
        builder.AddCell(row % 5 ? "shipped" : "on \"hold\"");
        builder.AddCell(row % 4 ? "" : "a & b < c");
        builder.AddCell("C-" + n);
        rows.push_back(builder.Build());
    }
    grid.AppendRows(rows);

    CountingProgress progress;
    ExportSource source;
    source.grid = &grid;
    source.columnCount = Columns;
    source.caption = "Result set for the most recently executed query:";
    source.versionText = "Brindle Version 2.1 ";
    source.columnPixelWidths = std::vector<int>(Columns, 90);
    source.xPixelWidth = 7;
    source.progress = &progress;
    const GridExporter exporter(source);

    const struct {
        const char *name;
        std::function<void(ExportFile &)> write;
    } formats[] = {
        {"tab-delimited", [&](ExportFile &f) { exporter.ExportDelimited(f, '\t'); }},
        {"comma-delimited", [&](ExportFile &f) { exporter.ExportDelimited(f, ','); }},
        {"text report", [&](ExportFile &f) { exporter.ExportTextReport(f); }},
        {"HTML", [&](ExportFile &f) { exporter.ExportHtml(f, nullptr); }},
    };
    const std::string path = m_workDir + "/export.out";
    const std::string rawPath = m_workDir + "/raw.out";
    const std::string figureRows = std::to_string(m_rows / 1000) + "k x 8";
    for (const auto &format : formats) {
        auto app = [&] {
            return Stopwatch::Seconds([&] {
                ExportFile file;
                if (!file.Create(QString::fromStdString(path)))
                    throw std::runtime_error("cannot create " + path);
                format.write(file);
                if (!file.Close())
                    throw std::runtime_error("export write failed");
            });
        };
        app();
        const std::string bytes = ReadFile(path);
        const std::vector<std::string_view> lines = Lines(bytes);
        auto raw = [&] {
            return Stopwatch::Seconds([&] {
                std::FILE *file = std::fopen(rawPath.c_str(), "wb");
                if (!file)
                    throw std::runtime_error("cannot create " + rawPath);
                for (std::string_view line : lines)
                    std::fwrite(line.data(), 1, line.size(), file);
                if (std::fclose(file) != 0)
                    throw std::runtime_error("raw write failed");
            });
        };
        const Stopwatch::Best best = Stopwatch::BestOf(m_runs, app, raw);
        const std::string figure = std::string("export ") + format.name + " " + figureRows;
        m_report.AddRatio("file", figure + " vs fwrite", best.app, best.raw, RatioTarget);
        const double megabytesPerSecond = static_cast<double>(bytes.size()) / 1e6 / best.app;
        char value[96];
        std::snprintf(value, sizeof value, "%.0f MB/s (%s)", megabytesPerSecond,
                      BenchReport::Bytes(static_cast<double>(bytes.size())).c_str());
        m_report.AddNote("file", figure + " speed", value,
                         megabytesPerSecond >= MegabytesPerSecondTarget
                             ? "met, target 200 MB/s"
                             : "MISSED, target 200 MB/s");
    }
    std::remove(path.c_str());
    std::remove(rawPath.c_str());
}
