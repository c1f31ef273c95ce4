#pragma once

#include <memory>

#include <QString>

class CListViewEx;
class GridPrintRenderer;
class QPrinter;
class QWidget;
class UserPrompts;

// Print, Print Preview and Print Setup for a result grid. The printer and its
// page setup are kept from one command to the next.
class GridPrinter {
public:
    // `versionText` is the left part of every page's footer.
    GridPrinter(QString versionText, UserPrompts &prompts);
    ~GridPrinter();

    // The print dialog (a printer, or a PDF file), then the chosen pages.
    // Returns the pages printed: 0 when cancelled or the grid is empty.
    int Print(const CListViewEx &grid, QWidget *parent);
    // The preview window, paging through the whole document.
    void PrintPreview(const CListViewEx &grid, QWidget *parent);
    // The page setup dialog; true when accepted.
    bool PrintSetup(QWidget *parent);

    QPrinter &Printer() { return *m_printer; }
    // The grid's rows, column widths and font as the renderer takes them.
    static GridPrintRenderer RendererFor(const CListViewEx &grid, const QString &versionText);

private:
    // The chosen pages into the printer's PDF file; reports a file that
    // cannot be written completely.
    int PrintToFile(const GridPrintRenderer &renderer, QWidget *parent);

    QString m_versionText;
    UserPrompts &m_prompts;
    std::unique_ptr<QPrinter> m_printer;
};
