#include "console/ConsoleAccessible.h"

#include <algorithm>

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include "console/JoinedBlocks.h"

ConsoleAccessible::ConsoleAccessible(QPlainTextEdit *console)
    : QAccessibleWidget(console, QAccessible::EditableText) {}

QAccessibleInterface *ConsoleAccessible::Factory(const QString &className, QObject *object) {
    if (className != QLatin1String("CDBOutputView"))
        return nullptr;
    auto *console = qobject_cast<QPlainTextEdit *>(object);
    return console ? new ConsoleAccessible(console) : nullptr;
}

QPlainTextEdit *ConsoleAccessible::Console() const {
    return static_cast<QPlainTextEdit *>(widget());
}

void *ConsoleAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface *>(this);
    return QAccessibleWidget::interface_cast(type);
}

QAccessible::State ConsoleAccessible::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    state.editable = true;
    state.multiLine = true;
    state.selectableText = true;
    state.readOnly = Console()->isReadOnly();
    return state;
}

QString ConsoleAccessible::text(QAccessible::Text type) const {
    if (type == QAccessible::Value)
        return text(0, characterCount());
    return QAccessibleWidget::text(type);
}

int ConsoleAccessible::ToOffset(const QTextDocument &document, int position) {
    int cuts = 0;
    for (QTextBlock block = document.begin().next();
         block.isValid() && block.position() <= position; block = block.next())
        cuts += JoinedBlocks::IsJoined(block);
    return std::max(position - cuts, 0);
}

int ConsoleAccessible::ToPosition(const QTextDocument &document, int offset) {
    // The last block starting at or before the offset decides: its cuts before it.
    int cuts = 0;
    for (QTextBlock block = document.begin().next(); block.isValid(); block = block.next()) {
        const int joined = JoinedBlocks::IsJoined(block);
        if (block.position() - cuts - joined > offset)
            break;
        cuts += joined;
    }
    return std::clamp(offset + cuts, 0, document.characterCount() - 1);
}

void ConsoleAccessible::selection(int selectionIndex, int *startOffset, int *endOffset) const {
    *startOffset = *endOffset = 0;
    const QTextCursor cursor = Console()->textCursor();
    if (selectionIndex != 0 || !cursor.hasSelection())
        return;
    const QTextDocument &document = *Console()->document();
    *startOffset = ToOffset(document, cursor.selectionStart());
    *endOffset = ToOffset(document, cursor.selectionEnd());
}

int ConsoleAccessible::selectionCount() const {
    return Console()->textCursor().hasSelection() ? 1 : 0;
}

void ConsoleAccessible::addSelection(int startOffset, int endOffset) {
    setSelection(0, startOffset, endOffset);
}

void ConsoleAccessible::removeSelection(int selectionIndex) {
    if (selectionIndex != 0)
        return;
    QTextCursor cursor = Console()->textCursor();
    cursor.clearSelection();
    Console()->setTextCursor(cursor);
}

void ConsoleAccessible::setSelection(int selectionIndex, int startOffset, int endOffset) {
    if (selectionIndex != 0)
        return;
    const QTextDocument &document = *Console()->document();
    QTextCursor cursor = Console()->textCursor();
    cursor.setPosition(ToPosition(document, startOffset));
    cursor.setPosition(ToPosition(document, endOffset), QTextCursor::KeepAnchor);
    Console()->setTextCursor(cursor);
}

int ConsoleAccessible::cursorPosition() const {
    return ToOffset(*Console()->document(), Console()->textCursor().position());
}

void ConsoleAccessible::setCursorPosition(int position) {
    QTextCursor cursor = Console()->textCursor();
    cursor.setPosition(ToPosition(*Console()->document(), position));
    Console()->setTextCursor(cursor);
}

QString ConsoleAccessible::text(int startOffset, int endOffset) const {
    const QTextDocument &document = *Console()->document();
    return JoinedBlocks::Text(document, ToPosition(document, startOffset),
                              ToPosition(document, endOffset), QStringLiteral("\n"));
}

int ConsoleAccessible::characterCount() const {
    const QTextDocument &document = *Console()->document();
    return ToOffset(document, document.characterCount() - 1);
}

QRect ConsoleAccessible::characterRect(int offset) const {
    QTextCursor cursor(Console()->document());
    cursor.setPosition(ToPosition(*Console()->document(), offset));
    QRect rect = Console()->cursorRect(cursor);
    const QString character = text(offset, offset + 1);
    rect.setWidth(std::max(Console()->fontMetrics().horizontalAdvance(character), 1));
    return QRect(Console()->viewport()->mapToGlobal(rect.topLeft()), rect.size());
}

int ConsoleAccessible::offsetAtPoint(const QPoint &point) const {
    const QPoint local = Console()->viewport()->mapFromGlobal(point);
    if (!Console()->viewport()->rect().contains(local))
        return -1;
    return ToOffset(*Console()->document(), Console()->cursorForPosition(local).position());
}

void ConsoleAccessible::scrollToSubstring(int startIndex, int endIndex) {
    setSelection(0, startIndex, endIndex);
    Console()->ensureCursorVisible();
}

QString ConsoleAccessible::attributes(int offset, int *startOffset, int *endOffset) const {
    // One run without attributes of its own.
    Q_UNUSED(offset);
    *startOffset = 0;
    *endOffset = characterCount();
    return QString();
}
