#include "console/JoinedBlocks.h"

#include <algorithm>
#include <utility>

#include <QTextBlockFormat>

namespace {

constexpr int JoinedProperty = QTextFormat::UserProperty + 1;

// Where a line may break, so a run of other characters ends.
bool EndsRun(QChar c) {
    const char16_t u = c.unicode();
    return u == ' ' || u == '\t' || u == '\n' || u == '\r' || u == QChar::LineSeparator ||
           u == QChar::ParagraphSeparator;
}

bool StartsBlock(QChar c) {
    const char16_t u = c.unicode();
    return u == '\n' || u == '\r' || u == QChar::ParagraphSeparator;
}

// The unbroken run that ends at the cursor, within its block.
qsizetype RunBefore(const QTextCursor &cursor) {
    const QTextDocument *document = cursor.document();
    const int blockStart = cursor.block().position();
    qsizetype run = 0;
    for (int pos = cursor.position() - 1; pos >= blockStart && run < JoinedBlocks::MaxRun; --pos) {
        if (EndsRun(document->characterAt(pos)))
            break;
        ++run;
    }
    return run;
}

// Inserts text without cuts. A block made by a line break in it must not
// inherit the joined mark of the block the cursor is in.
void InsertPiece(QTextCursor &cursor, QStringView piece) {
    if (JoinedBlocks::IsJoined(cursor.block())) {
        const auto found = std::find_if(piece.begin(), piece.end(), StartsBlock);
        if (found != piece.end()) {
            qsizetype at = found - piece.begin();
            cursor.insertText(piece.left(at).toString());
            if (piece[at] == QLatin1Char('\r') && at + 1 < piece.size() &&
                piece[at + 1] == QLatin1Char('\n'))
                ++at;
            cursor.insertBlock(QTextBlockFormat());
            piece = piece.mid(at + 1);
        }
    }
    if (!piece.isEmpty())
        cursor.insertText(piece.toString());
}

} // namespace

bool JoinedBlocks::IsJoined(const QTextBlock &block) {
    return block.isValid() && block.blockFormat().boolProperty(JoinedProperty);
}

std::vector<qsizetype> JoinedBlocks::CutPoints(const QString &text, qsizetype run) {
    std::vector<qsizetype> cuts;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (EndsRun(c)) {
            run = 0;
            continue;
        }
        if (run >= MaxRun && !c.isLowSurrogate()) {
            cuts.push_back(i);
            run = 0;
        }
        ++run;
    }
    return cuts;
}

void JoinedBlocks::Insert(QTextCursor &cursor, const QString &text) {
    const std::vector<qsizetype> cuts = CutPoints(text, RunBefore(cursor));
    QTextBlockFormat joined;
    joined.setProperty(JoinedProperty, true);
    const QStringView all(text);
    qsizetype start = 0;
    for (qsizetype cut : cuts) {
        InsertPiece(cursor, all.mid(start, cut - start));
        cursor.insertBlock(joined);
        start = cut;
    }
    InsertPiece(cursor, all.mid(start));
}

QString JoinedBlocks::Text(const QTextDocument &document, int from, int to,
                           const QString &lineBreak) {
    QString out;
    for (QTextBlock block = document.findBlock(from); block.isValid() && block.position() <= to;
         block = block.next()) {
        const int position = block.position();
        if (position > from && !IsJoined(block))
            out += lineBreak;
        const QString text = block.text();
        const qsizetype start = std::max(from - position, 0);
        const qsizetype end = std::min<qsizetype>(to - position, text.size());
        if (end > start)
            out += text.mid(start, end - start);
    }
    if (lineBreak != QString(QChar(QChar::LineSeparator)))
        out.replace(QChar(QChar::LineSeparator), lineBreak);
    return out;
}

QTextCursor JoinedBlocks::Find(QTextDocument &document, const QString &what,
                               const QTextCursor &from, QTextDocument::FindFlags flags) {
    if (what.isEmpty())
        return {};
    // The whole text, with its blocks' starts as (index in it, document position).
    QString text;
    std::vector<std::pair<qsizetype, int>> starts;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block != document.begin() && !IsJoined(block))
            text += QChar(QChar::ParagraphSeparator);
        starts.emplace_back(text.size(), block.position());
        text += block.text();
    }
    text.replace(QChar(QChar::Nbsp), QLatin1Char(' '));
    const auto blockAtIndex = [&](qsizetype index) {
        return std::prev(std::upper_bound(
            starts.begin(), starts.end(), index,
            [](qsizetype i, const std::pair<qsizetype, int> &start) { return i < start.first; }));
    };
    const auto blockAtPosition = [&](int position) {
        return std::prev(std::upper_bound(
            starts.begin(), starts.end(), position,
            [](int p, const std::pair<qsizetype, int> &start) { return p < start.second; }));
    };
    const auto indexOf = [&](int position) {
        const auto start = blockAtPosition(position);
        return start->first + (position - start->second);
    };
    const auto positionOf = [&](qsizetype index) {
        const auto start = blockAtIndex(index);
        return start->second + int(index - start->first);
    };

    const bool backward = flags.testFlag(QTextDocument::FindBackward);
    const Qt::CaseSensitivity sensitivity = flags.testFlag(QTextDocument::FindCaseSensitively)
                                                ? Qt::CaseSensitive
                                                : Qt::CaseInsensitive;
    qsizetype index = 0;
    if (backward) {
        const int position =
            (from.isNull() ? document.characterCount() - 1 : from.selectionStart()) - 1;
        if (position < 0)
            return {};
        index = indexOf(position);
    } else if (!from.isNull()) {
        index = indexOf(from.selectionEnd());
    }
    for (;;) {
        const qsizetype found = backward ? text.lastIndexOf(what, index, sensitivity)
                                         : text.indexOf(what, index, sensitivity);
        if (found < 0)
            return {};
        const qsizetype end = found + what.size();
        if (flags.testFlag(QTextDocument::FindWholeWords) &&
            ((found > 0 && text[found - 1].isLetterOrNumber()) ||
             (end < text.size() && text[end].isLetterOrNumber()))) {
            index = backward ? found - 1 : found + 1;
            if (index < 0)
                return {};
            continue;
        }
        QTextCursor cursor(&document);
        cursor.setPosition(positionOf(found));
        cursor.setPosition(positionOf(end - 1) + 1, QTextCursor::KeepAnchor);
        return cursor;
    }
}
