#pragma once

#include <vector>

#include <QFont>
#include <QString>

#include "results/GridPrintMetrics.h"

class GridModel;
class QFontMetrics;
class QPagedPaintDevice;
class QPaintDevice;
class QPainter;

// Lays every row of a grid out on pages: the column titles at the top of
// each page, the version text and page number at the foot, and between them
// the page's rows in columns as wide as on the screen, scaled to the printer.
// The same drawing serves the printer, the preview and a PDF file.
class GridPrintRenderer {
public:
    // `screenWidths`: each column's width on the screen, in pixels;
    // `screenXWidth`: the width of "x" in the grid's screen font;
    // `versionText`: the footer's left part.
    GridPrintRenderer(const GridModel &model, std::vector<int> screenWidths, int screenXWidth,
                      QFont printFont, QString versionText);

    GridPrintMetrics Metrics(QPaintDevice &device) const;
    int PageCount(QPaintDevice &device) const;

    // Draws page `page` (from 1) with a painter active on the page's device.
    void RenderPage(QPainter &painter, int page) const;
    // Prints pages `first` to `last` (from 1; 0 for the first or the last
    // page), one sheet each; returns how many, or -1 when the device cannot
    // be opened (a file that cannot be written). An empty grid prints nothing.
    int Print(QPagedPaintDevice &device, int first = 0, int last = 0) const;

    static QString LimitWarning();

private:
    struct Span {
        int left;
        int width;
        // Between the column's edges and its text, on either side.
        int inset;
    };
    std::vector<Span> Spans(double scale) const;
    void DrawText(QPainter &painter, const QFontMetrics &font, const QString &text, int column,
                  const Span &span, int top, int height) const;
    int DrawHeader(QPainter &painter, const QFontMetrics &font, const std::vector<Span> &spans,
                   int top) const;
    int DrawFooter(QPainter &painter, const QFontMetrics &font, int width, int bottom,
                   int page) const;

    const GridModel &m_model;
    std::vector<int> m_screenWidths;
    int m_screenXWidth;
    QFont m_font;
    QString m_versionText;
};
