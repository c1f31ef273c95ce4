#include "connection/CLoginDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

QLabel *PlainLabel(const std::string &text, const QString &objectName, QWidget *parent) {
    auto *label = new QLabel(parent);
    label->setObjectName(objectName);
    // Driver and server texts are never markup.
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setText(QString::fromStdString(text));
    return label;
}

} // namespace

CLoginDialog::CLoginDialog(QWidget *parent, const std::string &dataSource,
                           const std::string &message, const std::string &user)
    : QDialog(parent) {
    setWindowTitle(tr("Login"));

    auto *dataSourceLabel = PlainLabel(dataSource, "dataSourceLabel", this);
    auto *messageLabel = PlainLabel(message, "messageLabel", this);
    messageLabel->setVisible(!message.empty());

    m_userEdit = new QLineEdit(QString::fromStdString(user), this);
    m_userEdit->setObjectName("userEdit");
    m_passwordEdit = new QLineEdit(this);
    m_passwordEdit->setObjectName("passwordEdit");
    m_passwordEdit->setEchoMode(QLineEdit::Password);

    const auto caption = [this](const QString &text) {
        auto *label = new QLabel(text, this);
        label->setTextFormat(Qt::PlainText);
        return label;
    };
    auto *form = new QFormLayout;
    form->addRow(caption(tr("Data source:")), dataSourceLabel);
    form->addRow(caption(tr("User name:")), m_userEdit);
    form->addRow(caption(tr("Password:")), m_passwordEdit);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName("buttons");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(messageLabel);
    layout->addLayout(form);
    layout->addWidget(buttons);

    // With a user name given, the password is what is missing.
    if (user.empty())
        m_userEdit->setFocus();
    else
        m_passwordEdit->setFocus();
    setMinimumWidth(360);
}

std::optional<ConnectPrompt::Login> CLoginDialog::Ask(QWidget *parent,
                                                      const std::string &dataSource,
                                                      const std::string &message,
                                                      const std::string &user) {
    CLoginDialog dialog(parent, dataSource, message, user);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.Login();
}

ConnectPrompt::Login CLoginDialog::Login() const {
    return {m_userEdit->text().toStdString(), m_passwordEdit->text().toStdString()};
}
