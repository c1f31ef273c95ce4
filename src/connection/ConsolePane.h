#pragma once

#include <string>

// The output console as the document sees it: where statements are echoed and
// reported, and where the spool file is kept.
class ConsolePane {
public:
    virtual ~ConsolePane() = default;
    // Literal text at the end, copied to the spool file while spooling.
    virtual void AppendText(const std::string &text) = 0;
    // "\r\nSQL> " and the caret after it.
    virtual void ShowPrompt() = 0;
    // The text Save SQL writes.
    virtual void SetLastStatement(const std::string &statement) = 0;
    virtual const std::string &LastStatement() const = 0;
    // At the caret, replacing the selection as one undoable edit, or at the end
    // (copied to the spool file) when the caret is in the history; the inserted
    // text is left selected and scrolled into view.
    virtual void InsertText(const std::string &text) = 0;
    // A wizard's statement: it becomes the last statement and is inserted as
    // InsertText does.
    void InsertStatementText(const std::string &statement) {
        SetLastStatement(statement);
        InsertText(statement);
    }
    // Output gathered between these two goes on screen in one insertion.
    virtual void BeginBatch() = 0;
    virtual void EndBatch() = 0;
    // Puts gathered output on screen now (before a message box, say).
    virtual void FlushPending() = 0;
    virtual void ToggleSpool() = 0;
    virtual void CloseSpoolFile() = 0;
};
