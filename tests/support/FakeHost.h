#pragma once

#include <QString>

#include "ScriptedPrompts.h"
#include "framework/AppSettings.h"
#include "framework/DocumentHost.h"
#include "framework/InputGate.h"

// A document host without an application: default settings, scripted dialogs,
// no status bar and no command routing.
class FakeHost : public DocumentHost {
public:
    AppSettings settings;
    ScriptedPrompts prompts;
    int untitled = 0;
    QStringList recentFiles;
    InputGate gate;

    AppSettings &Settings() override { return settings; }
    UserPrompts &Prompts() override { return prompts; }
    QWidget *DialogParent() override { return nullptr; }
    StatusSink *Status() override { return nullptr; }
    CommandRouter *Commands() override { return nullptr; }
    InputGate &Gate() override { return gate; }
    QString NextUntitledName() override { return QStringLiteral("BRINDLE%1").arg(++untitled); }
    void AddToRecentFileList(const QString &path) override { recentFiles.append(path); }
};
