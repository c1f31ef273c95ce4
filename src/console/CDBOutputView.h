#pragma once

#include <optional>

#include <string>
#include <vector>

#include <QPlainTextEdit>
#include <QPointer>
#include <QTextBlock>

#include "connection/ConsolePane.h"
#include "console/ConsoleFindDialog.h"
#include "console/SpoolFile.h"
#include "framework/CommandTarget.h"

class CBrindleDoc;

// The console of a connection window: the banner, the history of statements
// with their outcomes, and the input after the last "SQL> ". Everything above
// the last prompt is read-only. Texts come and go as UTF-8 bytes; "\r\n" is a
// line break on screen and goes unchanged to the spool file.
//
// Positions (PromptPos) are positions in the edit control's document, where a
// line break counts as one.
class CDBOutputView : public QPlainTextEdit, public ConsolePane, public CommandTarget {
    Q_OBJECT
public:
    static constexpr int LeftMargin = 5;

    CDBOutputView(CBrindleDoc &doc, QWidget *parent);
    ~CDBOutputView() override;

    // Literal text at the end, not undoable; copied to the spool file while spooling.
    void AppendText(const std::string &bytes) override;
    // "\r\nSQL> ", after which the text is the input.
    void ShowPrompt() override;
    // At the caret, or after the prompt when the caret is in the history; the
    // inserted text ends up selected.
    void InsertText(const std::string &bytes) override;

    void SetLastStatement(const std::string &statement) override { m_lastStatement = statement; }
    const std::string &LastStatement() const override { return m_lastStatement; }

    // While a batch is open, appended text waits and reaches the screen in one
    // insertion: when the outermost batch ends, or when any event reaches the
    // console first. Scripts run inside one, so thousands of statements do not
    // pay for thousands of edits. A batch's lines become soft line breaks in
    // blocks of up to 16 lines, as the document's cost is per block; CaretLine
    // still counts lines. The spool file gets every byte at once.
    void BeginBatch() override { ++m_batchDepth; }
    void EndBatch() override;
    // Puts text waiting from a batch into the document now.
    void FlushPending() override;

    // Version, time, the connect string with its password masked, and the first prompt.
    void ShowBanner();

    // Spool on (asking for the file) or off, with a message and a new prompt.
    // Spooling ends even when closing the file fails: the stream is gone.
    void ToggleSpool() override;
    // For the document's close: no message, no prompt.
    void CloseSpoolFile() override;
    bool IsSpoolFileOpen() const { return m_spoolFile.IsOpen(); }

    // 1 while the selection starts in the history (and until the first prompt).
    int ReadOnly() const { return m_readOnly ? 1 : 0; }
    long PromptPos() {
        FlushPending();
        return m_promptPos;
    }
    // The line holding the caret, counting from 1; a wrapped line counts once.
    unsigned CaretLine();

    // Searches from the selection; false (and a beep) when nothing is found.
    bool FindText(const ConsoleFindDialog::Search &search);
    // The Find dialog, once Find has been used.
    ConsoleFindDialog *FindDialog() const { return m_findDialog; }

    bool UpdateCommand(int id, CommandState &state) override;
    bool RunCommand(int id) override;

protected:
    bool event(QEvent *event) override;
    bool viewportEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    bool canInsertFromMimeData(const QMimeData *source) const override;
    void insertFromMimeData(const QMimeData *source) override;
    QMimeData *createMimeDataFromSelection() const override;

private:
    // Takes the input after the prompt and executes it.
    void RunInput();
    // Appends at the end; `spool` false keeps the text out of the spool file.
    void Append(const std::string &bytes, bool spool);
    // Inserts at the end of the document; the caret follows.
    void InsertAtEnd(const QString &text);
    // Line breaks in the blocks before `block`: soft ones (U+2028) and the
    // ends of blocks, except where a long word was cut.
    unsigned LinesBefore(const QTextBlock &block);
    static unsigned LineBreaksIn(const QTextBlock &block);
    // Asks for SyncView once control returns to the event loop.
    void PostSync();
    // Brings scroll bar and scroll position up to date after appends.
    void SyncView();
    void SetReadOnly(bool readOnly);
    // Read-only exactly while the selection starts before the prompt.
    void RecomputeReadOnly();
    bool SelectionInHistory() const;
    bool ClipboardHasText() const;

    void OnOpenSql();
    void OnSaveSql();
    void OnFind();
    void OnFindNext();

    CBrindleDoc &m_doc;
    // The document may go before its window's widgets do.
    QPointer<CBrindleDoc> m_docAlive;
    std::string m_lastStatement;
    bool m_readOnly = true;
    // Whether the clipboard holds text, asked once per clipboard change: the
    // Paste state is read each time the program goes idle, and asking another
    // program's clipboard is a round trip to it.
    mutable std::optional<bool> m_clipboardHasText;
    bool m_promptShown = false;
    long m_promptPos = 0;
    bool m_viewStale = false;
    bool m_scrollPending = false;
    bool m_syncPosted = false;
    int m_batchDepth = 0;
    // Text appended during a batch; the prompt ends at m_pendingPromptEnd
    // (an index into m_pending), or -1 while no prompt waits.
    QString m_pending;
    qsizetype m_pendingPromptEnd = -1;
    // m_linesBefore[i]: line breaks in blocks 0 to i - 1, for history blocks.
    std::vector<unsigned> m_linesBefore;
    SpoolFile m_spoolFile;
    QPointer<ConsoleFindDialog> m_findDialog;
    ConsoleFindDialog::Search m_lastSearch;
};
