#pragma once

#include <QAccessibleWidget>

class QPlainTextEdit;
class QTextDocument;

// What a screen reader reads of the console: its text as Copy gives it, a long
// word whole across the blocks it was cut into. Offsets count the characters
// of that text; each is mapped to and from the document's positions, which
// count one more at every cut.
class ConsoleAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit ConsoleAccessible(QPlainTextEdit *console);

    // For QAccessible::installFactory: this interface for every console.
    static QAccessibleInterface *Factory(const QString &className, QObject *object);

    void *interface_cast(QAccessible::InterfaceType type) override;
    QAccessible::State state() const override;
    QString text(QAccessible::Text type) const override;

    void selection(int selectionIndex, int *startOffset, int *endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint &point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int *startOffset, int *endOffset) const override;

    // A document position as an offset in the joined text, and back.
    static int ToOffset(const QTextDocument &document, int position);
    static int ToPosition(const QTextDocument &document, int offset);

private:
    QPlainTextEdit *Console() const;
};
