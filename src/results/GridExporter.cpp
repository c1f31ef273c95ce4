#include "results/GridExporter.h"

#include <algorithm>
#include <string>
#include <utility>

#include <QIODevice>

#include "results/ExportFile.h"
#include "results/ExportProgress.h"
#include "results/ExportRowStream.h"
#include "results/GridModel.h"

namespace {

constexpr int RowsPerProgressStep = 10;

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// Bytes of the character at the start of `text`: a whole UTF-8 sequence when one
// starts there, else the single byte.
size_t CharacterBytes(std::string_view text) {
    const auto lead = static_cast<unsigned char>(text[0]);
    size_t length = 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF)
        length = 3;
    else if (lead >= 0xF0 && lead <= 0xF4)
        length = 4;
    if (length > text.size())
        return 1;
    for (size_t i = 1; i < length; ++i)
        if (!IsContinuation(static_cast<unsigned char>(text[i])))
            return 1;
    return length;
}

struct Prefix {
    size_t bytes = 0;
    size_t characters = 0;
};

// The first `limit` characters of `text`.
Prefix LeadingCharacters(std::string_view text, size_t limit) {
    // Most cells are ASCII: one byte, one character.
    const size_t ascii = std::min(text.size(), limit);
    size_t i = 0;
    while (i < ascii && static_cast<unsigned char>(text[i]) < 0x80)
        ++i;
    Prefix prefix{i, i};
    while (prefix.bytes < text.size() && prefix.characters < limit) {
        const auto byte = static_cast<unsigned char>(text[prefix.bytes]);
        prefix.bytes += byte < 0x80 ? 1 : CharacterBytes(text.substr(prefix.bytes));
        ++prefix.characters;
    }
    return prefix;
}

void WriteQuoted(ExportFile &out, std::string_view text) {
    out.Write('"');
    // A doubled quote keeps the field whole for every reader of delimited files.
    for (size_t quote = text.find('"'); quote != std::string_view::npos; quote = text.find('"')) {
        out.Write(text.substr(0, quote + 1));
        out.Write('"');
        text.remove_prefix(quote + 1);
    }
    out.Write(text);
    out.Write('"');
}

bool NeedsEscape(char c) { return c == '&' || c == '<' || c == '>' || c == '"'; }

void WriteHtmlEscaped(ExportFile &out, std::string_view text) {
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (!NeedsEscape(text[i]))
            continue;
        std::string_view entity;
        switch (text[i]) {
        case '&':
            entity = "&amp;";
            break;
        case '<':
            entity = "&lt;";
            break;
        case '>':
            entity = "&gt;";
            break;
        case '"':
            entity = "&quot;";
            break;
        default:
            continue;
        }
        out.Write(text.substr(start, i - start));
        out.Write(entity);
        start = i + 1;
    }
    out.Write(text.substr(start));
}

enum class Escape { None, Html };

// The text left-justified in `width` characters; cut to them when `cut` is set.
// Padding and cutting count the text's own characters, never its escapes.
void WriteField(ExportFile &out, std::string_view text, size_t width, bool cut, Escape escape) {
    const Prefix prefix = cut ? LeadingCharacters(text, width)
                              : Prefix{text.size(), GridExporter::CharacterCount(text)};
    const std::string_view shown = text.substr(0, prefix.bytes);
    if (escape == Escape::Html)
        WriteHtmlEscaped(out, shown);
    else
        out.Write(shown);
    if (prefix.characters < width)
        out.WriteRepeated(' ', width - prefix.characters);
}

std::string LowerAscii(std::string_view text) {
    std::string lower(text);
    for (char &c : lower)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

} // namespace

GridExporter::GridExporter(ExportSource source) : m_source(std::move(source)) {
    if (m_source.stream)
        m_source.columnCount = m_source.stream->ColumnCount();
    std::vector<int> &rows = m_source.selectedRows;
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
}

size_t GridExporter::CharacterCount(std::string_view text) {
    return LeadingCharacters(text, text.size()).characters;
}

std::string_view GridExporter::Title(int column) const {
    return m_source.stream ? m_source.stream->Title(column) : m_source.grid->ColumnTitle(column);
}

std::vector<size_t> GridExporter::CharacterWidths() const {
    std::vector<size_t> widths;
    widths.reserve(static_cast<size_t>(std::max(m_source.columnCount, 0)));
    for (int column = 0; column < m_source.columnCount; ++column) {
        const size_t title = CharacterCount(Title(column));
        if (column < static_cast<int>(m_source.characterWidths.size())) {
            widths.push_back(std::max(title, m_source.characterWidths[column]));
            continue;
        }
        const int pixels = column < static_cast<int>(m_source.columnPixelWidths.size())
                               ? m_source.columnPixelWidths[column]
                               : 0;
        const size_t fromPixels = m_source.xPixelWidth > 0 && pixels > 0
                                      ? static_cast<size_t>(pixels / m_source.xPixelWidth)
                                      : 0;
        widths.push_back(std::max(title, fromPixels));
    }
    return widths;
}

template <typename WriteRow>
int GridExporter::ForEachRow(ExportFile &out, WriteRow &&writeRow) const {
    if (ExportRowStream *stream = m_source.stream) {
        const auto cell = [stream](int column) { return stream->Cell(column); };
        int written = 0;
        while (!out.Failed() && stream->Next()) {
            writeRow(cell);
            ++written;
        }
        return written;
    }
    const GridModel &grid = *m_source.grid;
    const int total = m_source.grid->RowCount();
    ExportProgress *progress = m_source.progress;
    // Without an indicator the progress still hears a cancel.
    const bool indicator = progress && progress->Begin(total, RowsPerProgressStep);
    int written = 0;
    auto selected = m_source.selectedRows.begin();
    const auto selectedEnd = m_source.selectedRows.end();
    // A failed write ends the export: the rest would be lost as well.
    for (int row = 0; row < total && !out.Failed() && !(progress && progress->Cancelled()); ++row) {
        while (selected != selectedEnd && *selected < row)
            ++selected;
        if (m_source.exportAllRows || (selected != selectedEnd && *selected == row)) {
            writeRow([&grid, row](int column) { return grid.Cell(row, column); });
            ++written;
        }
        if (indicator)
            progress->Step();
    }
    if (indicator)
        progress->End();
    return written;
}

int GridExporter::ExportDelimited(ExportFile &out, char separator) const {
    const int columns = m_source.columnCount;
    for (int column = 0; column < columns; ++column) {
        if (column > 0)
            out.Write(separator);
        WriteQuoted(out, Title(column));
    }
    return ForEachRow(out, [&](const auto &cell) {
        out.Write("\r\n");
        for (int column = 0; column < columns; ++column) {
            if (column > 0)
                out.Write(separator);
            WriteQuoted(out, cell(column));
        }
    });
}

int GridExporter::ExportTextReport(ExportFile &out) const {
    const int columns = m_source.columnCount;
    out.Write(m_source.caption);
    out.Write("\r\n\r\n");
    const std::vector<size_t> widths = CharacterWidths();
    for (int column = 0; column < columns; ++column) {
        if (column > 0)
            out.Write(' ');
        WriteField(out, Title(column), widths[column], false, Escape::None);
    }
    out.Write("\r\n");
    for (int column = 0; column < columns; ++column) {
        if (column > 0)
            out.Write(' ');
        out.WriteRepeated('-', widths[column]);
    }
    const int written = ForEachRow(out, [&](const auto &cell) {
        out.Write("\r\n");
        for (int column = 0; column < columns; ++column) {
            if (column > 0)
                out.Write(' ');
            WriteField(out, cell(column), widths[column], true, Escape::None);
        }
    });
    out.Write("\r\n----------------------------------\r\n");
    out.Write(" " + std::to_string(written) + " rows retrieved\r\n");
    out.Write("Created by ");
    out.Write(m_source.versionText);
    return written;
}

int GridExporter::WriteHtmlTable(ExportFile &out, std::string_view rowTag,
                                 std::string_view headerTag, std::string_view dataTag) const {
    const int columns = m_source.columnCount;
    out.Write(rowTag);
    out.Write("\r\n");
    const std::vector<size_t> widths = CharacterWidths();
    for (int column = 0; column < columns; ++column) {
        out.Write(headerTag);
        WriteField(out, Title(column), widths[column], false, Escape::Html);
    }
    return ForEachRow(out, [&](const auto &cell) {
        out.Write(rowTag);
        out.Write("\r\n");
        for (int column = 0; column < columns; ++column) {
            out.Write(dataTag);
            WriteField(out, cell(column), widths[column], true, Escape::Html);
        }
    });
}

void GridExporter::WriteCredit(ExportFile &out) const {
    out.Write("<P> <FONT COLOR=BLUE SIZE=\"-1\">Created by ");
    out.Write(m_source.versionText);
    out.Write("</FONT>\r\n");
}

int GridExporter::ExportHtml(ExportFile &out, QIODevice *htmlTemplate) const {
    if (htmlTemplate)
        return ExportHtmlTemplate(out, *htmlTemplate);
    out.Write("<html>\r\n\r\n<head>\r\n"
              "<meta http-equiv=\"Content-Type\" content=\"text/html\">\r\n"
              "<title>Brindle</title>\r\n</head>\r\n\r\n"
              "<body bgcolor=\"#C0C0C0\">\r\n<TABLE BORDER=1>\r\n"
              "<CAPTION ALIGN= LEFT><BIG><B><I>");
    WriteHtmlEscaped(out, m_source.caption);
    out.Write("</I></B></BIG></CAPTION>\r\n");
    const int written = WriteHtmlTable(out, "<TR>", "<TH>", "<TD>");
    out.Write("</TABLE>\r\n<P> <B>" + std::to_string(written) + "</B> rows retrieved\r\n");
    WriteCredit(out);
    out.Write("</body>\r\n</html>\r\n");
    return written;
}

int GridExporter::ExportHtmlTemplate(ExportFile &out, QIODevice &htmlTemplate) const {
    static constexpr std::string_view BeginMarker = "<%begindetail%>";
    static constexpr std::string_view EndMarker = "<%enddetail%>";
    std::string rowTag = "<TR>";
    std::string headerTag = "<TH>";
    std::string dataTag = "<TD>";
    bool inDetail = false;
    int written = 0;
    for (QByteArray raw = htmlTemplate.readLine(); !raw.isEmpty(); raw = htmlTemplate.readLine()) {
        std::string_view line(raw.constData(), static_cast<size_t>(raw.size()));
        if (line.ends_with('\n'))
            line.remove_suffix(1);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        // Markers and tags are found without regard to case, at the same positions.
        const std::string lower = LowerAscii(line);
        std::string_view remainder = line;

        if (const size_t begin = lower.find(BeginMarker); begin != std::string::npos) {
            out.Write(line.substr(0, begin));
            remainder = line.substr(begin + BeginMarker.size());
            inDetail = true;
        }
        if (inDetail) {
            const std::pair<std::string_view, std::string *> tags[] = {
                {"<tr", &rowTag}, {"<th", &headerTag}, {"<td", &dataTag}};
            for (const auto &[start, tag] : tags) {
                const size_t at = lower.find(start);
                const size_t close = at == std::string::npos ? at : lower.find('>', at);
                if (close != std::string::npos)
                    *tag = std::string(line.substr(at, close + 1 - at));
            }
            // An end marker counts only inside a detail section.
            if (const size_t end = lower.find(EndMarker); end != std::string::npos) {
                written += WriteHtmlTable(out, rowTag, headerTag, dataTag);
                remainder = line.substr(end + EndMarker.size());
                inDetail = false;
            }
        }
        if (inDetail)
            continue;
        if (lower.find("</html") != std::string::npos)
            WriteCredit(out);
        out.Write(remainder);
        out.Write("\r\n");
    }
    return written;
}
