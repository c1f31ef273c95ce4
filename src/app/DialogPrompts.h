#pragma once

#include "framework/UserPrompts.h"

// The prompts a user sees: message boxes, file choosers and our own dialogs.
class DialogPrompts : public UserPrompts {
public:
    void Message(QWidget *parent, const QString &text, Icon icon) override;
    void CaptionedMessage(QWidget *parent, const QString &caption, const QString &text,
                          Icon icon) override;
    bool Question(QWidget *parent, const QString &caption, const QString &text,
                  Answers answers) override;
    QString OpenFileName(QWidget *parent, const QString &caption, const QString &directory,
                         const QString &filter) override;
    QString SaveFileName(QWidget *parent, const QString &caption, const QString &proposed,
                         const QString &filter, QString *selectedFilter = nullptr) override;
    std::optional<std::string> ChooseDataSource(QWidget *parent) override;
    std::optional<ConnectPrompt::Login> AskLogin(QWidget *parent, const std::string &dataSource,
                                                 const std::string &message,
                                                 const std::string &user) override;
    int Exec(QDialog &dialog) override;
};
