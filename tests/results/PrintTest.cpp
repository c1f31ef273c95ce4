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
        int lineHeight, averageWidth, xWidth, height;
        int scale, rowsPerPage;
        int rows, pages;
    };
    const Case cases[] = {
        {50, 48, 8, 3300, 6, 62, 130, 3},
        {50, 48, 8, 3300, 6, 62, 124, 2},
        {50, 48, 8, 3300, 6, 62, 125, 3},
        {50, 48, 8, 3300, 6, 62, 0, 0},
        // A printer coarser than the screen, a page too short for its header and footer.
        {10, 5, 8, 45, 1, 1, 3, 3},
    };
    for (const Case &c : cases) {
        const GridPrintMetrics metrics =
            GridPrintMetrics::Compute(c.lineHeight, c.averageWidth, c.xWidth, c.height);
        EXPECT_EQ(metrics.scale, c.scale);
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
    // The cell wider than its 360 units is cut and ends in "...".
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

} // namespace
