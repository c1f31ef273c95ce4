#include "results/GridPrinter.h"

#include <vector>

#include <QPageSetupDialog>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QSaveFile>

#include "framework/UserPrompts.h"
#include "results/CListViewEx.h"
#include "results/ExportCommand.h"
#include "results/GridPrintRenderer.h"

namespace {

int PrintChosenPages(const GridPrintRenderer &renderer, const QPrinter &printer,
                     QPagedPaintDevice &device) {
    const bool range = printer.printRange() == QPrinter::PageRange;
    return renderer.Print(device, range ? printer.fromPage() : 0, range ? printer.toPage() : 0);
}

int PrintChosenPages(const GridPrintRenderer &renderer, QPrinter &printer) {
    return PrintChosenPages(renderer, printer, printer);
}

} // namespace

GridPrinter::GridPrinter(QString versionText, UserPrompts &prompts)
    : m_versionText(std::move(versionText)), m_prompts(prompts),
      m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution)) {}

GridPrinter::~GridPrinter() = default;

GridPrintRenderer GridPrinter::RendererFor(const CListViewEx &grid, const QString &versionText) {
    std::vector<int> widths;
    for (int column = 0; column < grid.GridColumnCount(); ++column)
        widths.push_back(grid.columnWidth(column));
    // A font sized in screen pixels would come out a few printer dots high.
    QFont font = grid.font();
    if (font.pixelSize() > 0)
        font.setPointSizeF(font.pixelSize() * 72.0 / grid.logicalDpiY());
    return GridPrintRenderer(grid.Model(), std::move(widths), grid.TextWidth(QStringLiteral("x")),
                             font, versionText);
}

int GridPrinter::Print(const CListViewEx &grid, QWidget *parent) {
    const GridPrintRenderer renderer = RendererFor(grid, m_versionText);
    const int pages = renderer.PageCount(*m_printer);
    if (pages == 0)
        return 0;
    QPrintDialog dialog(m_printer.get(), parent);
    dialog.setMinMax(1, pages);
    m_printer->setFromTo(1, pages);
    if (m_prompts.Exec(dialog) != QDialog::Accepted)
        return 0;
    if (m_printer->outputFormat() == QPrinter::PdfFormat && !m_printer->outputFileName().isEmpty())
        return PrintToFile(renderer, parent);
    const int printed = PrintChosenPages(renderer, *m_printer);
    if (printed < 0) {
        m_prompts.Message(parent, QStringLiteral("Cannot print the results."),
                          UserPrompts::Icon::Exclamation);
        return 0;
    }
    return printed;
}

int GridPrinter::PrintToFile(const GridPrintRenderer &renderer, QWidget *parent) {
    // The PDF writer never reports a failed write: the pages go to a file
    // beside the target that takes the target's name only once every byte
    // is written, so a full disk leaves no truncated file behind.
    const QString path = m_printer->outputFileName();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        m_prompts.Message(parent, QStringLiteral("Cannot write %1.").arg(path),
                          UserPrompts::Icon::Exclamation);
        return 0;
    }
    int printed = 0;
    {
        QPdfWriter writer(&file);
        writer.setResolution(m_printer->resolution());
        writer.setPageLayout(m_printer->pageLayout());
        writer.setPdfVersion(m_printer->pdfVersion());
        writer.setTitle(m_printer->docName());
        writer.setCreator(m_printer->creator());
        printed = PrintChosenPages(renderer, *m_printer, writer);
    }
    if (printed <= 0) {
        file.cancelWriting();
        if (printed < 0)
            m_prompts.Message(parent, QStringLiteral("Cannot write %1.").arg(path),
                              UserPrompts::Icon::Exclamation);
        return 0;
    }
    if (!file.commit()) {
        m_prompts.Message(parent, ExportCommand::WriteFailedText(path, file.errorString()),
                          UserPrompts::Icon::Stop);
        return 0;
    }
    return printed;
}

void GridPrinter::PrintPreview(const CListViewEx &grid, QWidget *parent) {
    const GridPrintRenderer renderer = RendererFor(grid, m_versionText);
    QPrintPreviewDialog preview(m_printer.get(), parent);
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested,
                     [&renderer](QPrinter *printer) { PrintChosenPages(renderer, *printer); });
    m_prompts.Exec(preview);
}

bool GridPrinter::PrintSetup(QWidget *parent) {
    QPageSetupDialog dialog(m_printer.get(), parent);
    return m_prompts.Exec(dialog) == QDialog::Accepted;
}
