#pragma once

#include <vector>

#include <QString>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

// A word without a break in it is laid out by Qt in time that grows with the
// square of its length: a 5 MB literal in a dump never gets on screen. The
// console therefore cuts such words into blocks of at most MaxRun characters;
// each block after a cut is marked as joined to the one before, and every text
// read back from the document (copies, the input, Find, line counts) treats a
// joined block as part of the line before it. Nothing is inserted into the text.
class JoinedBlocks {
public:
    static constexpr qsizetype MaxRun = 1024;

    // The block continues the line of the block before it.
    static bool IsJoined(const QTextBlock &block);
    // Indexes of `text` before which a joined block starts, for text continuing
    // an unbroken run of `run` characters. A surrogate pair is never cut.
    static std::vector<qsizetype> CutPoints(const QString &text, qsizetype run);
    // Inserts `text` at the cursor (which moves past it), cutting long words.
    static void Insert(QTextCursor &cursor, const QString &text);
    // The text from `from` to `to` as written, with each line break (between
    // blocks that are not joined, and U+2028 inside a block) as `lineBreak`.
    static QString Text(const QTextDocument &document, int from, int to, const QString &lineBreak);
    // QTextDocument::find for a plain string, also finding what spans a cut.
    static QTextCursor Find(QTextDocument &document, const QString &what, const QTextCursor &from,
                            QTextDocument::FindFlags flags);
};
