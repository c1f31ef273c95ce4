#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <QDialog>

#include "framework/UserPrompts.h"

// Answers the program's blocking dialogs from queues a test fills; records
// what was asked. An empty queue answers as a user pressing Cancel.
class ScriptedPrompts : public UserPrompts {
public:
    std::vector<std::pair<QString, Icon>> messages;
    // Captions of captioned messages and questions, in the order asked.
    std::vector<QString> captions;
    std::vector<QString> questions;
    std::deque<bool> questionAnswers;
    // The buttons each question offered.
    std::vector<Answers> questionButtons;
    std::deque<QString> openFileAnswers;
    std::deque<QString> saveFileAnswers;
    std::vector<QString> proposedSaveNames;
    // The filter the user picks in a Save dialog that reports it; none keeps the first.
    std::deque<QString> saveFilterAnswers;
    std::deque<std::optional<std::string>> dataSourceAnswers;
    std::deque<std::optional<ConnectPrompt::Login>> loginAnswers;
    std::vector<std::string> loginMessages;
    // The user name each login prompt started with.
    std::vector<std::string> loginUsers;
    std::function<int(QDialog &)> onExec = [](QDialog &) { return int(QDialog::Rejected); };
    std::function<void(const QString &)> onMessage;
    int execCount = 0;

    void Message(QWidget *, const QString &text, Icon icon) override {
        messages.emplace_back(text, icon);
        if (onMessage)
            onMessage(text);
    }
    void CaptionedMessage(QWidget *parent, const QString &caption, const QString &text,
                          Icon icon) override {
        captions.push_back(caption);
        Message(parent, text, icon);
    }
    bool Question(QWidget *, const QString &caption, const QString &text,
                  Answers answers) override {
        captions.push_back(caption);
        questions.push_back(text);
        questionButtons.push_back(answers);
        return Next(questionAnswers, false);
    }
    QString OpenFileName(QWidget *, const QString &, const QString &, const QString &) override {
        return Next(openFileAnswers, QString());
    }
    QString SaveFileName(QWidget *, const QString &, const QString &proposed, const QString &filter,
                         QString *selectedFilter = nullptr) override {
        proposedSaveNames.push_back(proposed);
        if (selectedFilter)
            *selectedFilter = Next(saveFilterAnswers, filter.section(QStringLiteral(";;"), 0, 0));
        return Next(saveFileAnswers, QString());
    }
    std::optional<std::string> ChooseDataSource(QWidget *) override {
        return Next(dataSourceAnswers, std::optional<std::string>());
    }
    std::optional<ConnectPrompt::Login> AskLogin(QWidget *, const std::string &,
                                                 const std::string &message,
                                                 const std::string &user) override {
        loginMessages.push_back(message);
        loginUsers.push_back(user);
        return Next(loginAnswers, std::optional<ConnectPrompt::Login>());
    }
    int Exec(QDialog &dialog) override {
        ++execCount;
        return onExec(dialog);
    }

private:
    template <typename T> static T Next(std::deque<T> &queue, T cancel) {
        if (queue.empty())
            return cancel;
        T answer = std::move(queue.front());
        queue.pop_front();
        return answer;
    }
};
