#include "BenchSuite.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <limits>
#include <stdexcept>
#include <vector>

#include <QTextCursor>
#include <QTextDocument>

#include "AppSession.h"
#include "BenchReport.h"
#include "RawSession.h"
#include "Stopwatch.h"
#include "app/CBrindleApp.h"
#include "app/CChildFrame.h"
#include "app/CMainFrame.h"
#include "connection/CBrindleDoc.h"
#include "console/CDBOutputView.h"
#include "results/CDBListView.h"

namespace {

std::string Number(uint64_t value) { return std::to_string(value); }

std::string Ratio(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2fx", value);
    return text;
}

void Require(bool condition, const std::string &what) {
    if (!condition)
        throw std::runtime_error(what);
}

std::string ReadFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace

BenchSuite::BenchSuite(AppSession &app, const BenchOptions &options, BenchReport &report)
    : m_app(app), m_options(options), m_report(report) {}

void BenchSuite::Run(const std::string &source, const std::string &connect,
                     BenchData::Dialect dialect) {
    m_source = source;
    try {
        RawSession raw(connect);
        if (m_options.Measures("loads")) {
            std::printf("%s: building %s rows of %s ...", source.c_str(),
                        Number(m_options.rows).c_str(), BenchData::Table);
            std::fflush(stdout);
            const double built =
                Stopwatch::Seconds([&] { BenchData::BuildTable(raw, dialect, m_options.rows); });
            std::printf(" %s\n", BenchReport::Duration(built).c_str());
        }

        try {
            if (m_options.Measures("loads")) {
                CChildFrame &frame = m_app.OpenWindow(connect);
                CountPastMaxRecords(frame, raw);
                LoadIntoGrid(frame, raw);
                m_app.CloseWindow(frame);
            }
            if (m_options.Measures("scripts"))
                RunInsertScripts(connect, raw);
        } catch (const std::exception &error) {
            m_report.AddFailure(source, error.what());
        }
        // Windows closed first: their connections could keep the tables locked.
        for (CChildFrame *open : m_app.App().MainFrame()->ChildFrames())
            m_app.CloseWindow(*open);
        BenchData::DropTables(raw);
    } catch (const std::exception &error) {
        m_report.AddFailure(source, error.what());
    }
}

std::string BenchSuite::LastStatusLine(CChildFrame &frame) {
    // The last few lines only: reading the whole history would cost as much as the run.
    QTextDocument *document = frame.Console()->document();
    QTextCursor tail(document);
    tail.movePosition(QTextCursor::End);
    const int end = tail.position();
    tail.setPosition(std::max(0, end - 2000));
    tail.setPosition(end, QTextCursor::KeepAnchor);
    QString text = tail.selectedText();
    text.replace(QChar(QChar::ParagraphSeparator), QLatin1Char('\n'));
    text.replace(QChar(QChar::LineSeparator), QLatin1Char('\n'));
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (qsizetype i = lines.size() - 1; i >= 0 && i >= lines.size() - 8; --i) {
        const QString &line = lines[i];
        if (line.startsWith(QStringLiteral("OK (")) || line.startsWith(QStringLiteral("Error:")))
            return line.trimmed().toStdString();
    }
    return {};
}

void BenchSuite::CountPastMaxRecords(CChildFrame &frame, RawSession &raw) {
    const std::string query = std::string("SELECT * FROM ") + BenchData::Table;
    CDBListView &grid = *frame.ListView();
    m_app.App().Settings().MaxRecords = 100;

    const Stopwatch::Best best = Stopwatch::BestOf(
        m_options.runs,
        [&] {
            const double seconds = Stopwatch::Seconds([&] {
                grid.LoadQueryResult(query);
                AppSession::ProcessEvents();
            });
            m_app.CheckNoMessages("counting");
            Require(grid.RowCount() == 100, "the grid did not load 100 rows");
            return seconds;
        },
        [&] {
            uint64_t rows = 0;
            const double seconds = Stopwatch::Seconds([&] { rows = raw.CountRows(query); });
            Require(rows == m_options.rows, "the raw loop counted " + Number(rows) + " rows");
            return seconds;
        });
    const std::string expected = "Loaded 100 of " + Number(m_options.rows) + " total records";
    const std::string status = LastStatusLine(frame);
    Require(status.find(expected) != std::string::npos,
            "the console reported \"" + status + "\" instead of \"" + expected + "\"");
    m_report.AddRatio(m_source, "count past MaxRecords (100 of " + Number(m_options.rows) + ")",
                      best.app, best.raw, 1.10);
}

void BenchSuite::LoadIntoGrid(CChildFrame &frame, RawSession &raw) {
    const uint64_t rows = std::min(m_options.loadRows, m_options.rows);
    // Exactly `rows` rows, so neither side counts past the load.
    const std::string query =
        std::string("SELECT * FROM ") + BenchData::Table + " WHERE id <= " + Number(rows);
    CDBListView &grid = *frame.ListView();
    m_app.App().Settings().MaxRecords = static_cast<uint32_t>(rows);

    const Stopwatch::Best best = Stopwatch::BestOf(
        m_options.runs,
        [&] {
            // Emptying the previous load is not part of this one.
            grid.ClearGrid();
            AppSession::ProcessEvents();
            const double seconds = Stopwatch::Seconds([&] {
                grid.LoadQueryResult(query);
                AppSession::ProcessEvents();
            });
            m_app.CheckNoMessages("loading");
            Require(static_cast<uint64_t>(grid.RowCount()) == rows,
                    "the grid loaded " + Number(grid.RowCount()) + " rows");
            return seconds;
        },
        [&] {
            RawSession::CellTotals totals;
            const double seconds = Stopwatch::Seconds([&] { totals = raw.ReadCells(query); });
            Require(totals.rows == rows, "the raw loop read " + Number(totals.rows) + " rows");
            return seconds;
        });
    m_report.AddRatio(m_source, "load " + Number(rows) + " rows into the grid", best.app, best.raw,
                      1.50);

    const GridModel &model = grid.Model();
    const double cells = double(model.RowCount()) * model.ColumnCount();
    const double memory = double(model.MemoryBytes());
    const double cellBytes = double(model.CellBytes());
    const double limit = 2 * cellBytes + 16 * cells;
    m_report.AddNote(m_source, "grid memory for " + Number(rows) + " rows",
                     BenchReport::Bytes(memory) + " for " + BenchReport::Bytes(cellBytes) +
                         " of cell text (" + Ratio(memory / cellBytes) + ", " +
                         std::to_string(memory / cells).substr(0, 5) + " B/cell)",
                     (memory <= limit ? "met, limit " : "MISSED, limit ") +
                         BenchReport::Bytes(limit) + " = 2x text + 16 B/cell");
    grid.ClearGrid();
    AppSession::ProcessEvents();
}

double BenchSuite::AppScriptRun(const std::string &connect, RawSession &raw,
                                const std::string &script, int count) {
    BenchData::ResetInsertTable(raw);
    // A fresh window per run: the console's history starts at the banner.
    CChildFrame &frame = m_app.OpenWindow(connect);
    const std::string spool = m_options.workDir + "/spool.lst";
    m_app.SetSpool(frame, true, spool);

    const double seconds = Stopwatch::Seconds([&] {
        frame.Document().ExecuteStatement("@" + script);
        // Console output the application leaves for the event loop is part of the run.
        AppSession::ProcessEvents();
    });

    m_app.SetSpool(frame, false);
    m_app.CheckNoMessages("running the script");
    const std::string status = LastStatusLine(frame);
    Require(status.rfind("OK (", 0) == 0,
            "the script's last statement reported \"" + status + "\"");
    m_app.CloseWindow(frame);
    const int64_t inserted =
        raw.QueryNumber(std::string("SELECT COUNT(*) FROM ") + BenchData::InsertTable);
    Require(inserted == count, "the script inserted " + std::to_string(inserted) +
                                   " rows instead of " + std::to_string(count));
    const std::string lastRow = "'Script row " + std::to_string(count) + "'";
    Require(ReadFile(spool).find(lastRow) != std::string::npos,
            "the spool file lacks the script's last statement");
    return seconds;
}

void BenchSuite::RunInsertScripts(const std::string &connect, RawSession &raw) {
    const int count = m_options.statements;
    const auto scriptPath = [&](int statements) {
        return m_options.workDir + "/insert-" + std::to_string(statements) + ".sql";
    };

    // Shorter scripts first: their time per statement against the full script's
    // shows whether the console slows down as its history grows.
    const std::vector<int> shorter = {count / 20, count / 4, count / 2};
    std::vector<double> perStatement;
    for (int statements : shorter) {
        const std::string script = scriptPath(statements);
        BenchData::WriteInsertScript(script, statements);
        const double best = Stopwatch::BestOf(
            m_options.runs, [&] { return AppScriptRun(connect, raw, script, statements); });
        perStatement.push_back(best / statements);
    }

    const std::string script = scriptPath(count);
    const std::vector<std::string> statements = BenchData::WriteInsertScript(script, count);
    const Stopwatch::Best best = Stopwatch::BestOf(
        m_options.runs, [&] { return AppScriptRun(connect, raw, script, count); },
        [&] {
            BenchData::ResetInsertTable(raw);
            const double seconds = Stopwatch::Seconds([&] { raw.ExecuteEach(statements); });
            Require(raw.QueryNumber(std::string("SELECT COUNT(*) FROM ") +
                                    BenchData::InsertTable) == count,
                    "the raw loop lost rows");
            return seconds;
        });
    perStatement.push_back(best.app / count);

    m_report.AddRatio(m_source,
                      "script of " + std::to_string(count) + " INSERTs, console + spool on",
                      best.app, best.raw, 1.30);
    std::string value;
    for (size_t i = 0; i < perStatement.size(); ++i) {
        const int statementsRun = i < shorter.size() ? shorter[i] : count;
        value += (i > 0 ? ", " : "") + std::to_string(statementsRun) + ": " +
                 BenchReport::Duration(perStatement[i]);
    }
    const double growth = perStatement.back() / perStatement.front();
    value += " (raw loop " + BenchReport::Duration(best.raw / count) + "; " +
             std::to_string(count) + " vs " + std::to_string(shorter.front()) + ": " +
             Ratio(growth) + ")";
    m_report.AddNote(m_source, "script time per statement", value,
                     growth <= 1.25 ? "met, flat (within 1.25x)" : "MISSED, grows with history");
}
