#include "console/CDBOutputView.h"

#include <algorithm>
#include <fstream>
#include <utility>

#include <QAbstractTextDocumentLayout>
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include "connection/CBrindleDoc.h"
#include "console/ConsoleAccessible.h"
#include "console/ConsoleBanner.h"
#include "console/JoinedBlocks.h"
#include "console/SqlFileReader.h"
#include "framework/AppVersion.h"
#include "framework/CommandTable.h"
#include "framework/DocumentHost.h"
#include "framework/UserPrompts.h"
#include "framework/WaitCursor.h"

namespace {

const char *const PromptText = "\r\nSQL> ";

bool IsBlank(QChar c) {
    const char16_t u = c.unicode();
    return u == ' ' || u == '\t' || u == '\r' || u == '\n' || u == '\v' || u == '\f';
}

// The text of a selection with its line breaks as the console's CR LF.
QString SelectionText(const QTextCursor &cursor) {
    return JoinedBlocks::Text(*cursor.document(), cursor.selectionStart(), cursor.selectionEnd(),
                              QStringLiteral("\r\n"));
}

// A file name without an extension gets the dialog's default one.
QString WithDefaultSuffix(const QString &path, const char *suffix) {
    if (QFileInfo(path).suffix().isEmpty())
        return path + QLatin1Char('.') + QLatin1String(suffix);
    return path;
}

std::string LocalPath(const QString &path) { return QFile::encodeName(path).toStdString(); }

// A block of the console's document with at most this many lines: a script's
// output comes as lines in blocks rather than a block per line, which costs the
// text document a quarter of the time and keeps each block quick to lay out.
constexpr int LinesPerBlock = 16;

bool IsLineBreak(QChar c) {
    const char16_t u = c.unicode();
    return u == '\n' || u == '\r' || u == QChar::ParagraphSeparator || u == QChar::LineSeparator;
}

// The text with its line breaks ("\r\n", "\r", "\n") as soft line breaks
// (U+2028), and every LinesPerBlock-th line as a new block. `lines` is the
// number of lines already in the block the text continues, and is updated.
QString WithSoftLineBreaks(const QString &text, int &lines) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (!IsLineBreak(c)) {
            out += c;
            continue;
        }
        if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
            ++i;
        if (++lines >= LinesPerBlock) {
            out += QChar(QChar::ParagraphSeparator);
            lines = 0;
        } else {
            out += QChar(QChar::LineSeparator);
        }
    }
    return out;
}

qsizetype SoftBreakCount(const QString &text) { return text.count(QChar(QChar::LineSeparator)); }

} // namespace

CDBOutputView::CDBOutputView(CBrindleDoc &doc, QWidget *parent)
    : QPlainTextEdit(parent), m_doc(doc), m_docAlive(&doc) {
    setObjectName(QStringLiteral("console"));
    // Screen readers read the text as Copy gives it, long words whole.
    static const bool readable = (QAccessible::installFactory(&ConsoleAccessible::Factory), true);
    Q_UNUSED(readable);
    // Long lines wrap; there is never anything to scroll sideways to.
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    document()->setDocumentMargin(0);
    setViewportMargins(LeftMargin, 0, 0, 0);
    // The margin outside the viewport takes the text background too.
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    // Tabs indent the banner's connect-string listing: eight columns each.
    setTabStopDistance(QFontMetricsF(font()).horizontalAdvance(QLatin1Char(' ')) * 8);
    // A drop could land in the history.
    setAcceptDrops(false);
    m_readOnly = false;
    SetReadOnly(true);
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this,
            [this] { m_clipboardHasText.reset(); });
    doc.m_pOutputView = this;
}

CDBOutputView::~CDBOutputView() {
    const bool spooling = m_spoolFile.IsOpen();
    m_spoolFile.Close();
    if (m_docAlive) {
        if (m_doc.m_pOutputView == this)
            m_doc.m_pOutputView = nullptr;
        if (spooling)
            m_doc.Spooling = 0;
    }
}

void CDBOutputView::Append(const std::string &bytes, bool spool) {
    if (spool && m_doc.Spooling == 1 && m_spoolFile.IsOpen())
        m_spoolFile.Write(bytes);
    const QString text = QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
    if (m_batchDepth > 0) {
        // A CR ending one append and an LF starting the next are two line
        // breaks, as separate insertions would make them; joined they are one.
        if (!m_pending.isEmpty() && m_pending.back() == QLatin1Char('\r') &&
            text.startsWith(QLatin1Char('\n')))
            FlushPending();
        m_pending += text;
    } else {
        InsertAtEnd(text);
    }
    PostSync();
}

void CDBOutputView::PostSync() {
    m_scrollPending = true;
    if (!m_syncPosted) {
        m_syncPosted = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                m_syncPosted = false;
                SyncView();
            },
            Qt::QueuedConnection);
    }
}

void CDBOutputView::InsertAtEnd(const QString &text) {
    QTextDocument *document = this->document();
    // Left to itself, the view lays out the new lines and resizes its scroll bar
    // on every insertion. Nothing is painted before control returns to the event
    // loop, so a script's thousands of appends catch up once, in SyncView.
    QAbstractTextDocumentLayout *layout = document->documentLayout();
    const bool blocked = layout->blockSignals(true);
    // Program output is not undoable; as with the edit controls it mimics, it
    // also ends what Undo could take back, so Undo never reaches above the prompt.
    document->setUndoRedoEnabled(false);
    QTextCursor end(document);
    // Inside an edit block a moved cursor does not lay out the line it lands on.
    end.beginEditBlock();
    end.movePosition(QTextCursor::End);
    const QTextCursor caret = textCursor();
    const bool caretAtEnd = !caret.hasSelection() && caret.position() == end.position();
    if (!text.isEmpty()) {
        JoinedBlocks::Insert(end, text);
        m_viewStale = true;
    }
    end.endEditBlock();
    document->setUndoRedoEnabled(true);
    layout->blockSignals(blocked);
    // A caret at the end moves along with text inserted there.
    if (!caretAtEnd)
        setTextCursor(end);
}

void CDBOutputView::FlushPending() {
    if (m_pending.isEmpty())
        return;
    const QString pending = std::exchange(m_pending, QString());
    const qsizetype promptEnd = std::exchange(m_pendingPromptEnd, -1);
    int lines = int(SoftBreakCount(document()->lastBlock().text()));
    if (promptEnd < 0) {
        InsertAtEnd(WithSoftLineBreaks(pending, lines));
        return;
    }
    // The prompt's position is where the document's end stands right after it.
    InsertAtEnd(WithSoftLineBreaks(pending.left(promptEnd), lines));
    m_promptPos = textCursor().position();
    if (promptEnd < pending.size())
        InsertAtEnd(WithSoftLineBreaks(pending.mid(promptEnd), lines));
}

unsigned CDBOutputView::LineBreaksIn(const QTextBlock &block) {
    const QTextBlock next = block.next();
    return unsigned(SoftBreakCount(block.text())) +
           (next.isValid() && !JoinedBlocks::IsJoined(next) ? 1u : 0u);
}

unsigned CDBOutputView::LinesBefore(const QTextBlock &block) {
    // Blocks before the prompt's are history and never change again, so their
    // counts are kept; the few after it are counted each time.
    const int target = block.blockNumber();
    const int settled = std::min(target, document()->findBlock(int(m_promptPos)).blockNumber());
    if (m_linesBefore.empty())
        m_linesBefore.push_back(0);
    if (int(m_linesBefore.size()) <= settled) {
        QTextBlock last = document()->findBlockByNumber(int(m_linesBefore.size()) - 1);
        while (int(m_linesBefore.size()) <= settled && last.isValid()) {
            m_linesBefore.push_back(m_linesBefore.back() + LineBreaksIn(last));
            last = last.next();
        }
    }
    unsigned count = m_linesBefore[size_t(std::min(settled, int(m_linesBefore.size()) - 1))];
    for (QTextBlock b = document()->findBlockByNumber(settled); b.isValid() && b != block;
         b = b.next())
        count += LineBreaksIn(b);
    return count;
}

void CDBOutputView::EndBatch() {
    if (m_batchDepth == 0 || --m_batchDepth > 0)
        return;
    FlushPending();
    if (m_doc.Spooling == 1)
        m_spoolFile.Flush();
}

void CDBOutputView::SyncView() {
    FlushPending();
    if (m_viewStale) {
        m_viewStale = false;
        QAbstractTextDocumentLayout *layout = document()->documentLayout();
        Q_EMIT layout->documentSizeChanged(layout->documentSize());
        viewport()->update();
    }
    if (m_scrollPending) {
        m_scrollPending = false;
        ensureCursorVisible();
    }
}

void CDBOutputView::AppendText(const std::string &bytes) { Append(bytes, true); }

void CDBOutputView::ShowPrompt() {
    Append(PromptText, true);
    if (m_batchDepth > 0)
        m_pendingPromptEnd = m_pending.size();
    else
        m_promptPos = textCursor().position();
    m_promptShown = true;
    SetReadOnly(false);
    // Whoever reads the spool file meanwhile sees everything up to the prompt;
    // a batch flushes once, at its end.
    if (m_doc.Spooling == 1 && m_batchDepth == 0)
        m_spoolFile.Flush();
}

void CDBOutputView::InsertText(const std::string &bytes) {
    FlushPending();
    if (m_readOnly || SelectionInHistory()) {
        QTextCursor end(document());
        end.movePosition(QTextCursor::End);
        const int start = end.position();
        Append(bytes, true);
        QTextCursor cursor = textCursor();
        cursor.setPosition(start);
        cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
        setTextCursor(cursor);
    } else {
        QTextCursor cursor = textCursor();
        const int start = cursor.selectionStart();
        cursor.beginEditBlock();
        cursor.removeSelectedText();
        JoinedBlocks::Insert(cursor, QString::fromUtf8(bytes.data(), qsizetype(bytes.size())));
        cursor.endEditBlock();
        const int end = cursor.position();
        cursor.setPosition(start);
        cursor.setPosition(end, QTextCursor::KeepAnchor);
        setTextCursor(cursor);
    }
    m_scrollPending = true;
    SyncView();
    RecomputeReadOnly();
}

void CDBOutputView::ShowBanner() {
    SetReadOnly(true);
    const std::string version = AppVersion::Text().toStdString();
    Append(ConsoleBanner::Text(version, ConsoleBanner::Now(), m_doc.Database().ConnectString()),
           true);
    ShowPrompt();
}

unsigned CDBOutputView::CaretLine() {
    FlushPending();
    const QTextCursor caret = textCursor();
    const QTextBlock block = caret.block();
    return LinesBefore(block) +
           unsigned(SoftBreakCount(block.text().left(caret.positionInBlock()))) + 1;
}

void CDBOutputView::SetReadOnly(bool readOnly) {
    if (m_readOnly == readOnly)
        return;
    m_readOnly = readOnly;
    // Read-only keeps the caret and keyboard selection, unlike QPlainTextEdit's own
    // read-only mode: the history can still be walked and copied from.
    setTextInteractionFlags(readOnly ? Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard
                                     : Qt::TextEditorInteraction);
    setAttribute(Qt::WA_InputMethodEnabled, !readOnly);
}

bool CDBOutputView::SelectionInHistory() const {
    return textCursor().selectionStart() < m_promptPos;
}

void CDBOutputView::RecomputeReadOnly() {
    if (!m_promptShown)
        return;
    SetReadOnly(SelectionInHistory());
}

void CDBOutputView::RunInput() {
    SyncView();
    QTextCursor cursor(document());
    cursor.setPosition(m_promptPos);
    cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    setTextCursor(cursor);
    ensureCursorVisible();
    const QString input = SelectionText(cursor);
    qsizetype first = 0;
    while (first < input.size() && IsBlank(input[first]))
        ++first;
    if (first == input.size()) {
        ShowPrompt();
        return;
    }
    const std::string statement = input.mid(first).toUtf8().toStdString();
    // The statement's own echo shows it again.
    cursor.removeSelectedText();
    setTextCursor(cursor);
    m_doc.ExecuteStatement(statement);
}

void CDBOutputView::ToggleSpool() {
    std::string message;
    if (m_doc.Spooling == 1) {
        // The stream is gone even when its close failed, so spooling ends
        // either way: nothing more could reach the file.
        const bool closed = m_spoolFile.Close();
        m_doc.Spooling = 0;
        message = closed ? SpoolFile::ClosedMessage() : SpoolFile::NotClosedMessage();
    } else {
        UserPrompts *prompts = &m_doc.Host().Prompts();
        const QString proposed =
            QString::fromStdString(m_doc.GetDataSourceName()) + QStringLiteral(".lst");
        QString path = prompts->SaveFileName(this, QStringLiteral("Save As"), proposed,
                                             QStringLiteral("Spool Files (*.lst)"));
        if (path.isEmpty())
            return;
        path = QFileInfo(WithDefaultSuffix(path, "lst")).absoluteFilePath();
        const std::string shown = path.toStdString();
        if (m_spoolFile.Open(LocalPath(path))) {
            m_doc.Spooling = 1;
            message = SpoolFile::OpenedMessage(shown, ConsoleBanner::Now());
        } else {
            message = SpoolFile::NotOpenedMessage(shown);
        }
    }
    AppendText(message);
    ShowPrompt();
}

void CDBOutputView::CloseSpoolFile() {
    m_spoolFile.Close();
    m_doc.Spooling = 0;
}

bool CDBOutputView::ClipboardHasText() const {
    if (!m_clipboardHasText) {
        const QMimeData *data = QGuiApplication::clipboard()->mimeData();
        m_clipboardHasText = data && !data->formats().isEmpty() && data->hasText();
    }
    return *m_clipboardHasText;
}

void CDBOutputView::OnOpenSql() {
    UserPrompts *prompts = &m_doc.Host().Prompts();
    const QString path =
        prompts->OpenFileName(this, QStringLiteral("Open"), QString(),
                              QStringLiteral("SQL Statement Files (*.sql);;All Files (*)"));
    if (path.isEmpty())
        return;
    std::string text;
    SqlFileReader::Outcome outcome;
    {
        WaitCursor wait;
        outcome = SqlFileReader::Read(LocalPath(path), text);
    }
    if (outcome != SqlFileReader::Outcome::Read) {
        const std::string refusal = SqlFileReader::RefusalMessage(path.toStdString(), outcome);
        if (!refusal.empty())
            prompts->Message(this, QString::fromStdString(refusal), UserPrompts::Icon::Exclamation);
        return;
    }
    // The text ends at the first NUL byte.
    const size_t nul = text.find('\0');
    if (nul != std::string::npos)
        text.resize(nul);
    m_lastStatement = text;
    AppendText(text);
}

void CDBOutputView::OnSaveSql() {
    UserPrompts *prompts = &m_doc.Host().Prompts();
    const QString proposed =
        QString::fromStdString(m_doc.GetDataSourceName()) + QStringLiteral(".sql");
    QString path = prompts->SaveFileName(this, QStringLiteral("Save As"), proposed,
                                         QStringLiteral("SQL Statement Files (*.sql)"));
    if (path.isEmpty())
        return;
    path = WithDefaultSuffix(path, "sql");
    std::ofstream file(LocalPath(path), std::ios::binary | std::ios::trunc);
    if (!file)
        return;
    file.write(m_lastStatement.data(), std::streamsize(m_lastStatement.size()));
}

void CDBOutputView::OnFind() {
    if (!m_findDialog) {
        m_findDialog = new ConsoleFindDialog(this);
        connect(m_findDialog, &ConsoleFindDialog::FindNextRequested, this,
                [this](const ConsoleFindDialog::Search &search) {
                    m_lastSearch = search;
                    FindText(search);
                });
    }
    ConsoleFindDialog::Search search = m_lastSearch;
    // A selection on one line is what the user most likely wants to find.
    const QString selected = SelectionText(textCursor());
    if (!selected.isEmpty() && !selected.contains(QLatin1Char('\n')))
        search.text = selected;
    m_findDialog->SetSearch(search);
    m_findDialog->show();
    m_findDialog->raise();
    m_findDialog->activateWindow();
}

void CDBOutputView::OnFindNext() {
    if (m_lastSearch.text.isEmpty()) {
        OnFind();
        return;
    }
    FindText(m_lastSearch);
}

bool CDBOutputView::FindText(const ConsoleFindDialog::Search &search) {
    if (search.text.isEmpty())
        return false;
    SyncView();
    QTextDocument::FindFlags flags;
    if (search.matchCase)
        flags |= QTextDocument::FindCaseSensitively;
    if (search.wholeWord)
        flags |= QTextDocument::FindWholeWords;
    if (!search.down)
        flags |= QTextDocument::FindBackward;
    const QTextCursor found = JoinedBlocks::Find(*document(), search.text, textCursor(), flags);
    if (found.isNull()) {
        QApplication::beep();
        return false;
    }
    setTextCursor(found);
    ensureCursorVisible();
    // A match in the history must not be typed over.
    RecomputeReadOnly();
    return true;
}

bool CDBOutputView::UpdateCommand(int id, CommandState &state) {
    FlushPending();
    const bool hasText = !document()->isEmpty();
    switch (id) {
    case ID_OPEN_SQL:
        state.enabled = true;
        return true;
    case ID_SAVE_SQL:
        state.enabled = !m_lastStatement.empty();
        return true;
    case ID_EDIT_CUT:
        state.enabled = !m_readOnly && textCursor().hasSelection();
        return true;
    case ID_EDIT_PASTE:
        state.enabled = !m_readOnly && ClipboardHasText();
        return true;
    case ID_EDIT_COPY:
        state.enabled = textCursor().hasSelection();
        return true;
    case ID_EDIT_UNDO:
        state.enabled = document()->isUndoAvailable();
        return true;
    case ID_EDIT_SELECT_ALL:
    case ID_EDIT_FIND:
        state.enabled = hasText;
        return true;
    case ID_EDIT_REPEAT:
        state.enabled = hasText && !m_lastSearch.text.isEmpty();
        return true;
    default:
        return false;
    }
}

bool CDBOutputView::RunCommand(int id) {
    switch (id) {
    case ID_OPEN_SQL:
        OnOpenSql();
        break;
    case ID_SAVE_SQL:
        OnSaveSql();
        break;
    case ID_EDIT_CUT:
        if (!m_readOnly)
            cut();
        break;
    case ID_EDIT_PASTE:
        if (!m_readOnly)
            paste();
        break;
    case ID_EDIT_COPY:
        copy();
        break;
    case ID_EDIT_UNDO:
        undo();
        break;
    case ID_EDIT_SELECT_ALL:
        selectAll();
        break;
    case ID_EDIT_FIND:
        OnFind();
        break;
    case ID_EDIT_REPEAT:
        OnFindNext();
        break;
    default:
        return false;
    }
    RecomputeReadOnly();
    return true;
}

bool CDBOutputView::event(QEvent *event) {
    // Whatever the user or the system does next sees all output.
    FlushPending();
    return QPlainTextEdit::event(event);
}

bool CDBOutputView::viewportEvent(QEvent *event) {
    FlushPending();
    return QPlainTextEdit::viewportEvent(event);
}

void CDBOutputView::keyPressEvent(QKeyEvent *event) {
    // The caret may have moved since the last release (Find, a key held down).
    RecomputeReadOnly();
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        // Enter runs the input; it never breaks the line.
        if (!m_readOnly)
            RunInput();
        event->accept();
        return;
    }
    if (!m_readOnly) {
        QTextCursor cursor = textCursor();
        if (key == Qt::Key_Backspace && cursor.selectionStart() == m_promptPos) {
            event->accept(); // the prompt cannot be erased
            return;
        }
        // Deleting back by word or line must stop at the prompt.
        const bool wordBack = event->matches(QKeySequence::DeleteStartOfWord);
        if (wordBack || event->matches(QKeySequence::DeleteCompleteLine)) {
            if (!cursor.hasSelection()) {
                if (wordBack) {
                    cursor.movePosition(QTextCursor::PreviousWord, QTextCursor::KeepAnchor);
                } else {
                    cursor.movePosition(QTextCursor::End);
                    cursor.setPosition(m_promptPos, QTextCursor::KeepAnchor);
                }
            }
            if (cursor.selectionStart() < m_promptPos) {
                const int end = cursor.selectionEnd();
                cursor.setPosition(m_promptPos);
                cursor.setPosition(end, QTextCursor::KeepAnchor);
            }
            cursor.removeSelectedText();
            setTextCursor(cursor);
            event->accept();
            return;
        }
    } else if (m_promptShown) {
        // A letter or digit typed in the history goes to the end of the input;
        // typed text never reaches the spool file.
        const Qt::KeyboardModifiers commands =
            Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
        QString text = event->text();
        bool letters = !text.isEmpty() && !(event->modifiers() & commands);
        for (QChar c : text)
            letters = letters && c.isLetterOrNumber();
        if (letters) {
            if (text.size() == 1 && event->count() > 1)
                text = text.repeated(event->count());
            Append(text.toUtf8().toStdString(), false);
            event->accept();
            return;
        }
    }
    QPlainTextEdit::keyPressEvent(event);
}

void CDBOutputView::keyReleaseEvent(QKeyEvent *event) {
    RecomputeReadOnly();
    QPlainTextEdit::keyReleaseEvent(event);
}

void CDBOutputView::mouseReleaseEvent(QMouseEvent *event) {
    QPlainTextEdit::mouseReleaseEvent(event);
    RecomputeReadOnly();
}

void CDBOutputView::contextMenuEvent(QContextMenuEvent *event) {
    // The menu's Cut, Paste and Delete follow the state at this moment.
    RecomputeReadOnly();
    QPlainTextEdit::contextMenuEvent(event);
}

bool CDBOutputView::canInsertFromMimeData(const QMimeData *source) const {
    return !m_readOnly && QPlainTextEdit::canInsertFromMimeData(source);
}

void CDBOutputView::insertFromMimeData(const QMimeData *source) {
    if (m_readOnly || SelectionInHistory())
        return;
    if (!source->hasText())
        return;
    // As the default paste of plain text, with a long word cut for the screen.
    QTextCursor cursor = textCursor();
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    JoinedBlocks::Insert(cursor, source->text());
    cursor.endEditBlock();
    setTextCursor(cursor);
    ensureCursorVisible();
}

QMimeData *CDBOutputView::createMimeDataFromSelection() const {
    // Plain text only, and a long word whole across the blocks it was cut into.
    const QTextCursor cursor = textCursor();
    auto *data = new QMimeData;
    data->setText(JoinedBlocks::Text(*document(), cursor.selectionStart(), cursor.selectionEnd(),
                                     QStringLiteral("\n")));
    return data;
}
