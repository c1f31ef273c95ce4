#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "results/ExportSource.h"

class ExportFile;
class QIODevice;

// Writes a grid's rows, or a stream's, to a file as they are read: tab- or comma-delimited, a
// fixed-width text report, or an HTML page (optionally through a template with
// "<%begindetail%>" and "<%enddetail%>" markers). Cell bytes are written as
// they are, except that quotes are doubled in delimited fields and HTML special
// characters are escaped in HTML cells and titles.
class GridExporter {
public:
    explicit GridExporter(ExportSource source);

    // Each returns the number of rows written.
    int ExportDelimited(ExportFile &out, char separator) const;
    int ExportTextReport(ExportFile &out) const;
    // `htmlTemplate` is an open, readable template, or nullptr for the plain page.
    int ExportHtml(ExportFile &out, QIODevice *htmlTemplate) const;
    int WriteHtmlTable(ExportFile &out, std::string_view rowTag, std::string_view headerTag,
                       std::string_view dataTag) const;

    // Character width per column: the larger of the title's length and the
    // pixel width divided by the width of "x".
    std::vector<size_t> CharacterWidths() const;

    // Characters in UTF-8 text; a byte that starts no valid sequence counts as one.
    static size_t CharacterCount(std::string_view text);

private:
    // Calls writeRow(cell) for every row to write, where cell(column) is the
    // row's text, moving the progress indicator once per grid row; returns the
    // rows written.
    template <typename WriteRow> int ForEachRow(ExportFile &out, WriteRow &&writeRow) const;
    std::string_view Title(int column) const;
    int ExportHtmlTemplate(ExportFile &out, QIODevice &htmlTemplate) const;
    void WriteCredit(ExportFile &out) const;

    ExportSource m_source;
};
