#pragma once

#include <optional>
#include <string>

#include <QString>

#include "odbc/ConnectPrompt.h"

class QDialog;
class QWidget;

// Every dialog that blocks goes through here, so tests can answer them.
// Texts shown are plain text: driver and server texts never reach rich text.
class UserPrompts {
public:
    enum class Icon { Information, Exclamation, Stop, Question };
    // The buttons of a question. Yes and No where the question names an action
    // itself ("Cancel it and quit?"), so that no button reads against it.
    enum class Answers { OkCancel, YesNo };

    virtual ~UserPrompts() = default;

    // A message box with an OK button.
    virtual void Message(QWidget *parent, const QString &text, Icon icon) = 0;
    // The same under a caption of its own.
    virtual void CaptionedMessage(QWidget *parent, const QString &caption, const QString &text,
                                  Icon icon) = 0;
    // A question with the question icon; true for OK or Yes.
    virtual bool Question(QWidget *parent, const QString &caption, const QString &text,
                          Answers answers) = 0;
    // File choosers; an empty result is a cancel.
    virtual QString OpenFileName(QWidget *parent, const QString &caption, const QString &directory,
                                 const QString &filter) = 0;
    // When `selectedFilter` is given it receives the filter the user picked (one
    // of the ";;"-separated `filter`), and a name typed without an extension
    // gets that filter's extension.
    virtual QString SaveFileName(QWidget *parent, const QString &caption, const QString &proposed,
                                 const QString &filter, QString *selectedFilter = nullptr) = 0;
    // Our data-source dialog: a connection string, or nullopt on cancel.
    virtual std::optional<std::string> ChooseDataSource(QWidget *parent) = 0;
    // Our login prompt, its user name field starting with `user`: nullopt on cancel.
    virtual std::optional<ConnectPrompt::Login> AskLogin(QWidget *parent,
                                                         const std::string &dataSource,
                                                         const std::string &message,
                                                         const std::string &user) = 0;
    // Runs a modal dialog of ours (Settings, About, ...); returns QDialog::DialogCode.
    virtual int Exec(QDialog &dialog) = 0;
};
