#pragma once

#include <functional>
#include <utility>
#include <vector>

#include <QDialog>

#include "app/UserPrompts.h"

// Answers every prompt without a screen: records messages and lets a test drive
// each modal dialog in place of the user.
class RecordingPrompts : public UserPrompts {
public:
    std::vector<std::pair<QString, Icon>> messages;
    // Plays the user's part; returns what the dialog ended with.
    std::function<int(QDialog &)> onExec = [](QDialog &) { return int(QDialog::Rejected); };

    void Message(QWidget *, const QString &text, Icon icon) override {
        messages.emplace_back(text, icon);
    }
    QString OpenFileName(QWidget *, const QString &, const QString &, const QString &) override {
        return {};
    }
    QString SaveFileName(QWidget *, const QString &, const QString &, const QString &) override {
        return {};
    }
    std::optional<std::string> ChooseDataSource(QWidget *) override { return std::nullopt; }
    std::optional<ConnectPrompt::Login> AskLogin(QWidget *, const std::string &,
                                                 const std::string &) override {
        return std::nullopt;
    }
    int Exec(QDialog &dialog) override { return onExec(dialog); }
};
