#pragma once

#include <optional>
#include <string>
#include <vector>

#include <QDialog>

#include "framework/UserPrompts.h"

// Answers the application's dialogs without a user: File > New gets the
// connection string set beforehand, a Save As (the spool file) the path set
// beforehand. Anything else is cancelled; messages are kept so a run that
// reported an error is not taken as a measurement.
class BenchPrompts : public UserPrompts {
public:
    std::string connectString;
    QString savePath;
    std::vector<QString> messages;

    void Message(QWidget *, const QString &text, Icon) override { messages.push_back(text); }
    void CaptionedMessage(QWidget *, const QString &, const QString &text, Icon) override {
        messages.push_back(text);
    }
    bool Question(QWidget *, const QString &, const QString &, Answers) override { return false; }
    QString OpenFileName(QWidget *, const QString &, const QString &, const QString &) override {
        return {};
    }
    QString SaveFileName(QWidget *, const QString &, const QString &, const QString &filter,
                         QString *selectedFilter = nullptr) override {
        if (selectedFilter)
            *selectedFilter = filter.section(QStringLiteral(";;"), 0, 0);
        return savePath;
    }
    std::optional<std::string> ChooseDataSource(QWidget *) override {
        if (connectString.empty())
            return std::nullopt;
        return connectString;
    }
    std::optional<ConnectPrompt::Login>
    AskLogin(QWidget *, const std::string &, const std::string &, const std::string &) override {
        return std::nullopt;
    }
    int Exec(QDialog &) override { return QDialog::Rejected; }
};
