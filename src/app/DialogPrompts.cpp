#include "app/DialogPrompts.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QRegularExpression>

#include "connection/CDataSourceDialog.h"
#include "connection/CLoginDialog.h"

namespace {

QMessageBox::Icon BoxIcon(UserPrompts::Icon icon) {
    switch (icon) {
    case UserPrompts::Icon::Information:
        return QMessageBox::Information;
    case UserPrompts::Icon::Exclamation:
        return QMessageBox::Warning;
    case UserPrompts::Icon::Stop:
        return QMessageBox::Critical;
    case UserPrompts::Icon::Question:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

int ShowBox(QWidget *parent, const QString &caption, const QString &text, UserPrompts::Icon icon,
            QMessageBox::StandardButtons buttons) {
    QMessageBox box(BoxIcon(icon), caption, QString(), buttons, parent);
    // Driver and server texts end up here: never let them be read as markup.
    box.setTextFormat(Qt::PlainText);
    box.setText(text);
    return box.exec();
}

// "csv" of "Comma Delimited File (*.csv)"; empty when the pattern is no plain extension.
QString FilterExtension(const QString &nameFilter) {
    static const QRegularExpression pattern(QStringLiteral("\\(\\*\\.(\\w+)\\)$"));
    const QRegularExpressionMatch match = pattern.match(nameFilter);
    return match.hasMatch() ? match.captured(1) : QString();
}

} // namespace

void DialogPrompts::Message(QWidget *parent, const QString &text, Icon icon) {
    ShowBox(parent, QApplication::applicationName(), text, icon, QMessageBox::Ok);
}

void DialogPrompts::CaptionedMessage(QWidget *parent, const QString &caption, const QString &text,
                                     Icon icon) {
    ShowBox(parent, caption, text, icon, QMessageBox::Ok);
}

bool DialogPrompts::Question(QWidget *parent, const QString &caption, const QString &text,
                             Answers answers) {
    if (answers == Answers::YesNo)
        return ShowBox(parent, caption, text, Icon::Question, QMessageBox::Yes | QMessageBox::No) ==
               QMessageBox::Yes;
    return ShowBox(parent, caption, text, Icon::Question, QMessageBox::Ok | QMessageBox::Cancel) ==
           QMessageBox::Ok;
}

QString DialogPrompts::OpenFileName(QWidget *parent, const QString &caption,
                                    const QString &directory, const QString &filter) {
    return QFileDialog::getOpenFileName(parent, caption, directory, filter);
}

QString DialogPrompts::SaveFileName(QWidget *parent, const QString &caption,
                                    const QString &proposed, const QString &filter,
                                    QString *selectedFilter) {
    if (!selectedFilter)
        return QFileDialog::getSaveFileName(parent, caption, proposed, filter);
    QFileDialog dialog(parent, caption, QString(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.selectFile(proposed);
    // A name typed without an extension takes the chosen filter's, before the
    // dialog asks about overwriting.
    const auto useSuffixOf = [&dialog](const QString &nameFilter) {
        dialog.setDefaultSuffix(FilterExtension(nameFilter));
    };
    useSuffixOf(dialog.selectedNameFilter());
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, useSuffixOf);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    *selectedFilter = dialog.selectedNameFilter();
    return dialog.selectedFiles().constFirst();
}

std::optional<std::string> DialogPrompts::ChooseDataSource(QWidget *parent) {
    return CDataSourceDialog::Choose(parent);
}

std::optional<ConnectPrompt::Login> DialogPrompts::AskLogin(QWidget *parent,
                                                            const std::string &dataSource,
                                                            const std::string &message,
                                                            const std::string &user) {
    return CLoginDialog::Ask(parent, dataSource, message, user);
}

int DialogPrompts::Exec(QDialog &dialog) { return dialog.exec(); }
