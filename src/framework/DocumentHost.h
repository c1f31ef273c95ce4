#pragma once

#include <QString>

struct AppSettings;
class CommandRouter;
class InputGate;
class StatusSink;
class UserPrompts;
class QWidget;

// What a connection document and its views get from the program around them.
// The application provides it; tests provide a fake.
class DocumentHost {
public:
    virtual ~DocumentHost() = default;
    virtual AppSettings &Settings() = 0;
    virtual UserPrompts &Prompts() = 0;
    // The window dialogs and message boxes stand over; may be null.
    virtual QWidget *DialogParent() = 0;
    // May be null: the work then shows no status.
    virtual StatusSink *Status() = 0;
    // May be null: context menus then offer only their view's own commands.
    virtual CommandRouter *Commands() = 0;
    // What the windows take as input while a connection's work runs.
    virtual InputGate &Gate() = 0;
    // "BRINDLE1", "BRINDLE2", ...: titles of documents without a file.
    virtual QString NextUntitledName() = 0;
    // A .dsn file was opened or saved.
    virtual void AddToRecentFileList(const QString &path) = 0;
};
