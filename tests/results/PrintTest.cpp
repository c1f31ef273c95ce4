#include <csignal>
#include <functional>

#include <sys/mount.h>
#include <sys/resource.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "GridFixture.h"
#include "results/GridPrintMetrics.h"
#include "results/GridPrintRenderer.h"
#include "results/GridPrinter.h"

namespace {

const QString Version = QStringLiteral("Brindle Version 2.1 ");

QByteArray RunTool(const QString &program, const QStringList &arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished() || process.exitCode() != 0)
        ADD_FAILURE() << program.toStdString() << " failed (poppler-utils installed?)";
    return process.readAllStandardOutput();
}

QString PageText(const QString &pdf, int page) {
    const QString number = QString::number(page);
    return QString::fromUtf8(
        RunTool(QStringLiteral("pdftotext"), {"-layout", "-f", number, "-l", number, pdf, "-"}));
}

int PageCount(const QString &pdf) {
    const QString info = QString::fromUtf8(RunTool(QStringLiteral("pdfinfo"), {pdf}));
    const QRegularExpressionMatch pages = QRegularExpression(R"(Pages:\s+(\d+))").match(info);
    return pages.hasMatch() ? pages.captured(1).toInt() : -1;
}

// The print dialog, answered with printing to the file `pdf`.
std::function<int(QDialog &)> PrintDialogChoosing(const QString &pdf) {
    return [pdf](QDialog &dialog) {
        auto *print = qobject_cast<QPrintDialog *>(&dialog);
        if (!print)
            return int(QDialog::Rejected);
        print->printer()->setOutputFileName(pdf);
        return int(QDialog::Accepted);
    };
}

// Letter paper at 300 dpi without margins: 3300 units high.
void SetUpPage(QPdfWriter &writer) {
    writer.setResolution(300);
    writer.setPageSize(QPageSize(QSizeF(8.5, 11), QPageSize::Inch));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
}

// 50 units high at 300 dpi.
QFont PrintFont() {
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setPixelSize(43);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

TEST(GridPrintMetrics, RowsPerPageScaleAndPages) {
    struct Case {
        int lineHeight;
        double printerXWidth;
        int xWidth, height;
        double scale;
        int rowsPerPage;
        int rows, pages;
    };
    const Case cases[] = {
        {50, 48, 8, 3300, 6, 62, 130, 3},
        {50, 48, 8, 3300, 6, 62, 124, 2},
        {50, 48, 8, 3300, 6, 62, 125, 3},
        {50, 48, 8, 3300, 6, 62, 0, 0},
        // The exact ratio, not a whole number below it.
        {50, 87.5, 7, 3300, 12.5, 62, 1, 1},
        // A printer coarser than the screen, a page too short for its header and footer.
        {10, 5, 8, 45, 1, 1, 3, 3},
    };
    for (const Case &c : cases) {
        const GridPrintMetrics metrics =
            GridPrintMetrics::Compute(c.lineHeight, c.printerXWidth, c.xWidth, c.height);
        EXPECT_DOUBLE_EQ(metrics.scale, c.scale);
        EXPECT_EQ(metrics.rowsPerPage, c.rowsPerPage);
        EXPECT_EQ(metrics.PageCount(c.rows), c.pages) << c.rows;
    }
    // Rows past the last one with a 32-bit position are not paged.
    const GridPrintMetrics tall = GridPrintMetrics::Compute(1000, 8, 8, 64000);
    EXPECT_EQ(tall.lastPrintableRow, 2147482);
    EXPECT_EQ(tall.PageCount(1 << 30), (2147483 + 59) / 60);
}

TEST(GridPrintRenderer, PagesCarryTitlesFooterAndTheirOwnRows) {
    GridModel model;
    model.InsertColumn(0, "Name", Qt::AlignLeft);
    model.InsertColumn(1, "Note", Qt::AlignLeft);
    for (int row = 0; row < 130; ++row) {
        model.InsertRow(row, QStringLiteral("r%1").arg(row, 3, 10, QLatin1Char('0')).toStdString());
        model.SetCell(row, 1, row == 70 ? "The quick brown fox jumps over the lazy dog" : "short");
    }
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("grid.pdf"));
    {
        QPdfWriter writer(pdf);
        SetUpPage(writer);
        const GridPrintRenderer renderer(model, {80, 120}, 8, PrintFont(), Version);
        ASSERT_EQ(renderer.Metrics(writer).lineHeight, 50);
        ASSERT_EQ(writer.height(), 3300);
        EXPECT_EQ(renderer.Print(writer), 3);
    }
    ASSERT_EQ(PageCount(pdf), 3);
    const QString pages[] = {PageText(pdf, 1), PageText(pdf, 2), PageText(pdf, 3)};
    const QRegularExpression titles(R"(^\s*Name\s+Note\s*$)", QRegularExpression::MultilineOption);
    for (int page = 1; page <= 3; ++page) {
        const QString &text = pages[page - 1];
        EXPECT_TRUE(titles.match(text).hasMatch()) << text.toStdString();
        const QRegularExpression footer(
            QStringLiteral(R"(Brindle Version 2\.1\s+Page: %1\s*$)").arg(page),
            QRegularExpression::MultilineOption);
        EXPECT_TRUE(footer.match(text).hasMatch()) << text.toStdString();
    }
    // 62 rows a page: 0-61, 62-123, 124-129.
    EXPECT_TRUE(pages[0].contains("r061") && !pages[0].contains("r062"));
    EXPECT_TRUE(pages[1].contains("r062") && pages[1].contains("r123") &&
                !pages[1].contains("r124"));
    EXPECT_TRUE(pages[2].contains("r124") && pages[2].contains("r129"));
    // The cell wider than its column is cut and ends in "...".
    EXPECT_TRUE(QRegularExpression(R"(r070\s+The quick\S* ?\S*\.\.\.)").match(pages[1]).hasMatch())
        << pages[1].toStdString();
    EXPECT_FALSE(pages[1].contains("lazy"));
}

TEST(GridPrintRenderer, EmptyGridPrintsNoPage) {
    GridModel model;
    model.InsertColumn(0, "Name", Qt::AlignLeft);
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("empty.pdf"));
    {
        QPdfWriter writer(pdf);
        SetUpPage(writer);
        const GridPrintRenderer renderer(model, {80}, 8, PrintFont(), Version);
        EXPECT_EQ(renderer.PageCount(writer), 0);
        EXPECT_EQ(renderer.Print(writer), 0);
    }
    EXPECT_TRUE(!QFile::exists(pdf) || QFile(pdf).size() == 0);
}

using GridPrinterTest = GridFixture;

TEST_F(GridPrinterTest, PrintsToPdfWithSelectedRowsUnhighlighted) {
    Fill({"name", "kind"}, {{"alpha", "one"}, {"beta", "two"}, {"gamma", "three"}});
    // Columns as wide as their texts: the page shows what the screen shows.
    grid_->AutoFormatColumns(true);
    grid_->SelectRow(0, true);
    grid_->SelectRow(1, true);
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("printed.pdf"));
    prompts_->onExec = [&](QDialog &dialog) {
        auto *print = qobject_cast<QPrintDialog *>(&dialog);
        if (!print)
            return int(QDialog::Rejected);
        print->printer()->setOutputFileName(pdf);
        return int(QDialog::Accepted);
    };
    GridPrinter printer(Version, *prompts_);
    EXPECT_EQ(printer.Print(*grid_, nullptr), 1);
    const QString text = PageText(pdf, 1);
    for (const char *cell : {"alpha", "beta", "gamma", "three", "Page: 1"})
        EXPECT_TRUE(text.contains(QLatin1String(cell))) << cell;

    RunTool(QStringLiteral("pdftoppm"),
            {"-r", "40", "-png", "-singlefile", pdf, dir.filePath("page")});
    const QImage page(dir.filePath(QStringLiteral("page.png")));
    ASSERT_FALSE(page.isNull());
    int coloured = 0;
    int dark = 0;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) {
            const QColor pixel = page.pixelColor(x, y);
            coloured += pixel.red() != pixel.green() || pixel.green() != pixel.blue();
            dark += pixel.lightness() < 128;
        }
    EXPECT_EQ(coloured, 0);
    EXPECT_GT(dark, 0);
}

// The grid as a user sees it: a proportional font, columns fitted to their texts.
TEST_F(GridPrinterTest, PrintedColumnsAreAsWideAsOnScreen) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(12);
    grid_->setFont(font);
    std::vector<std::vector<std::string>> rows;
    for (int row = 1; row <= 3; ++row) {
        const std::string number =
            QStringLiteral("%1").arg(row, 3, 10, QLatin1Char('0')).toStdString();
        rows.push_back({"name" + number, "n" + number, "Wide Widget " + number, "ok"});
    }
    Fill({"id", "customer_reference_code", "description", "quality_checked_by_inspector"}, rows);
    grid_->AutoFormatColumns(true);
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("printed.pdf"));
    prompts_->onExec = PrintDialogChoosing(pdf);
    GridPrinter printer(Version, *prompts_);
    ASSERT_EQ(printer.Print(*grid_, nullptr), 1);
    const QString text = PageText(pdf, 1);
    // Every title whole, every cell apart from its neighbours.
    EXPECT_FALSE(text.contains(QLatin1String("..."))) << text.toStdString();
    EXPECT_TRUE(
        QRegularExpression(
            R"(^\s*id\s+customer_reference_code\s+description\s+quality_checked_by_inspector\s*$)",
            QRegularExpression::MultilineOption)
            .match(text)
            .hasMatch())
        << text.toStdString();
    for (int row = 1; row <= 3; ++row)
        EXPECT_TRUE(
            QRegularExpression(
                QStringLiteral(R"(^\s*name00%1\s+n00%1\s+Wide Widget 00%1\s+ok\s*$)").arg(row),
                QRegularExpression::MultilineOption)
                .match(text)
                .hasMatch())
            << text.toStdString();
}

// A filesystem of 64 KB, as a full disk meets a print. Where mounting one is
// not allowed, a file size limit fails the writes past 64 KB alike.
class FullDisk {
public:
    explicit FullDisk(const QString &dir) {
        m_path = dir.toStdString();
        m_mounted = ::mount("tmpfs", m_path.c_str(), "tmpfs", 0, "size=64k") == 0;
        if (m_mounted)
            return;
        ::getrlimit(RLIMIT_FSIZE, &m_limit);
        rlimit small = m_limit;
        small.rlim_cur = 64 * 1024;
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
        ::setrlimit(RLIMIT_FSIZE, &small);
    }
    ~FullDisk() {
        if (m_mounted) {
            ::umount2(m_path.c_str(), MNT_DETACH);
            return;
        }
        ::setrlimit(RLIMIT_FSIZE, &m_limit);
        std::signal(SIGXFSZ, m_handler);
    }
    FullDisk(const FullDisk &) = delete;
    FullDisk &operator=(const FullDisk &) = delete;

private:
    std::string m_path;
    bool m_mounted = false;
    rlimit m_limit{};
    void (*m_handler)(int) = SIG_DFL;
};

TEST_F(GridPrinterTest, PrintThatCannotBeWrittenIsReportedAndLeavesNoFile) {
    std::vector<std::vector<std::string>> rows;
    for (int row = 0; row < 6000; ++row)
        rows.push_back({QStringLiteral("row %1").arg(row * 7919 % 100003).toStdString(),
                        QStringLiteral("%1").arg(row * 104729 % 999983, 0, 36).toStdString()});
    Fill({"name", "code"}, rows);
    QTemporaryDir dir;
    const QString disk = dir.filePath(QStringLiteral("disk"));
    ASSERT_TRUE(QDir().mkdir(disk));
    const QString pdf = disk + QStringLiteral("/printed.pdf");
    prompts_->onExec = PrintDialogChoosing(pdf);
    GridPrinter printer(Version, *prompts_);
    {
        FullDisk full(disk);
        EXPECT_EQ(printer.Print(*grid_, nullptr), 0);
        ASSERT_EQ(prompts_->messages.size(), 1u);
        EXPECT_TRUE(
            prompts_->messages[0].first.startsWith(pdf + " could not be written completely: "))
            << prompts_->messages[0].first.toStdString();
        EXPECT_EQ(prompts_->messages[0].second, UserPrompts::Icon::Stop);
        // Neither the file nor a part of it is left behind.
        EXPECT_EQ(QDir(disk).entryList(QDir::Files | QDir::Hidden), QStringList());
    }
    // With room on the disk the same print is written whole.
    prompts_->messages.clear();
    const int pages = printer.Print(*grid_, nullptr);
    EXPECT_GT(pages, 1);
    EXPECT_TRUE(prompts_->messages.empty());
    EXPECT_EQ(PageCount(pdf), pages);
}

} // namespace
