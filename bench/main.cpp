// brindle_bench: the speed figures of query loading and script running, each
// as a ratio against a raw ODBC loop in the same process. See README.md,
// "Benchmarks".
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include <QApplication>

#include "AppSession.h"
#include "BenchReport.h"
#include "BenchSuite.h"
#include "EchoBench.h"
#include "ExportBench.h"
#include "QueryExportBench.h"
#include "ScratchDir.h"
#include "TreeBench.h"
#include "WindowCycleBench.h"

namespace {

void Usage() {
    std::printf("usage: brindle_bench [--rows N] [--load-rows N] [--statements N] [--runs N]\n"
                "                     [--tables N] [--tree-db FILE] [--keep-tree] [--cycles N]\n"
                "                     [--only sqlite|postgres]\n"
                "                     [--part loads|scripts|tree|export|query-export|\n"
                "                             console|windows]\n"
                "--tree-db keeps the SQLite tree tables in FILE between runs (made when missing).\n"
                "--keep-tree keeps PostgreSQL's tree tables between runs.\n"
                "PostgreSQL is measured when BRINDLE_PG_CONNECT holds its connection string.\n");
}

bool ParseCount(const char *text, uint64_t &value) {
    char *end = nullptr;
    const unsigned long long parsed = std::strtoull(text, &end, 10);
    if (end == text || *end != '\0' || parsed == 0)
        return false;
    value = parsed;
    return true;
}

} // namespace

int main(int argc, char **argv) {
    // No screen needed: the windows exist but draw offscreen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    Q_INIT_RESOURCE(brindle);
    QApplication application(argc, argv);

    BenchOptions options;
    std::string only;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        uint64_t value = 0;
        const bool hasValue = i + 1 < argc;
        if (argument == "--only" && hasValue) {
            only = argv[++i];
        } else if (argument == "--keep-tree") {
            options.keepTree = true;
        } else if (argument == "--tree-db" && hasValue) {
            options.treeDb = argv[++i];
        } else if (argument == "--part" && hasValue) {
            options.part = argv[++i];
            if (options.part != "loads" && options.part != "scripts" && options.part != "tree" &&
                options.part != "export" && options.part != "query-export" &&
                options.part != "console" && options.part != "windows") {
                Usage();
                return 2;
            }
        } else if (hasValue && ParseCount(argv[i + 1], value) &&
                   (argument == "--rows" || argument == "--load-rows" ||
                    argument == "--statements" || argument == "--runs" || argument == "--tables" ||
                    argument == "--cycles")) {
            ++i;
            if (argument == "--cycles")
                options.cycles = static_cast<int>(std::min<uint64_t>(value, 100000));
            else if (argument == "--rows")
                options.rows = value;
            else if (argument == "--load-rows")
                options.loadRows = value;
            else if (argument == "--tables")
                options.tables = std::min<uint64_t>(value, 999999);
            else if (argument == "--statements")
                options.statements = static_cast<int>(std::min<uint64_t>(value, 10000000));
            else
                options.runs = static_cast<int>(std::min<uint64_t>(value, 100));
        } else {
            Usage();
            return 2;
        }
    }
    if (options.statements < 20) {
        std::printf("--statements must be at least 20\n");
        return 2;
    }

#ifndef NDEBUG
    std::printf("warning: an unoptimised build; configure with -DCMAKE_BUILD_TYPE=Release\n");
#endif
    try {
        ScratchDir scratch;
        options.workDir = scratch.Path();
        std::printf("brindle_bench: %llu rows, %llu loaded into the grid, %d script statements, "
                    "best of %d runs after a warm-up\n",
                    static_cast<unsigned long long>(options.rows),
                    static_cast<unsigned long long>(std::min(options.loadRows, options.rows)),
                    options.statements, options.runs);

        AppSession app(scratch.File("profile"));
        BenchReport report;
        BenchSuite suite(app, options, report);
        TreeBench tree(app, options, report);
        QueryExportBench queryExport(app, options, report);

        if (options.Measures("console"))
            EchoBench(app, options.workDir, options.runs, report).Run();
        if (options.Measures("export"))
            ExportBench(options.workDir, options.loadRows, options.runs, report).Run();
        if (only.empty() || only == "sqlite") {
            // The disk's sync is no part of what is measured: it would only dilute the ratios.
            if (options.Measures("loads") || options.Measures("scripts"))
                suite.Run("sqlite",
                          "DRIVER={SQLite3};DATABASE=" + scratch.File("bench.db") +
                              ";SyncPragma=OFF;JournalMode=WAL",
                          BenchData::Dialect::Sqlite);
            if (options.Measures("tree"))
                tree.Run("sqlite", {}, BenchData::Dialect::Sqlite);
            if (options.Measures("query-export"))
                queryExport.Run("sqlite",
                                "DRIVER={SQLite3};DATABASE=" + scratch.File("export.db") +
                                    ";SyncPragma=OFF;JournalMode=WAL",
                                BenchData::Dialect::Sqlite, scratch.File("export.db"));
            if (options.Measures("windows"))
                WindowCycleBench(app, options.cycles, report)
                    .Run("sqlite", "DRIVER={SQLite3};DATABASE=" + scratch.File("windows.db") + ";");
        }
        if (only.empty() || only == "postgres") {
            const char *connect = std::getenv("BRINDLE_PG_CONNECT");
            if (connect && *connect) {
                if (options.Measures("loads") || options.Measures("scripts"))
                    suite.Run("postgres", connect, BenchData::Dialect::Postgres);
                if (options.Measures("tree"))
                    tree.Run("postgres", connect, BenchData::Dialect::Postgres);
                if (options.Measures("query-export"))
                    queryExport.Run("postgres", connect, BenchData::Dialect::Postgres, {});
            } else {
                std::printf("BRINDLE_PG_CONNECT is not set: PostgreSQL not measured, "
                            "SQLite figures only.\n");
            }
        }
        report.PrintTable();
        return report.AllMet() ? 0 : 1;
    } catch (const std::exception &error) {
        std::fprintf(stderr, "brindle_bench: %s\n", error.what());
        return 2;
    }
}
