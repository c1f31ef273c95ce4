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
                           const std::string &message)
    : QDialog(parent) {
    setWindowTitle(tr("Login"));

    auto *dataSourceLabel = PlainLabel(dataSource, "dataSourceLabel", this);
    auto *messageLabel = PlainLabel(message, "messageLabel", this);
    messageLabel->setVisible(!message.empty());

    m_userEdit = new QLineEdit(this);
    m_userEdit->setObjectName("userEdit");
    m_passwordEdit = new QLineEdit(this);
    m_passwordEdit->setObjectName("passwordEdit");
    m_passwordEdit->setEchoMode(QLineEdit::Password);

    auto *form = new QFormLayout;
    form->addRow(tr("Data source:"), dataSourceLabel);
    form->addRow(tr("User name:"), m_userEdit);
    form->addRow(tr("Password:"), m_passwordEdit);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName("buttons");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(messageLabel);
    layout->addLayout(form);
    layout->addWidget(buttons);

    m_userEdit->setFocus();
    setMinimumWidth(360);
}

std::optional<ConnectPrompt::Login>
CLoginDialog::Ask(QWidget *parent, const std::string &dataSource, const std::string &message) {
    CLoginDialog dialog(parent, dataSource, message);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.Login();
}

ConnectPrompt::Login CLoginDialog::Login() const {
    return {m_userEdit->text().toStdString(), m_passwordEdit->text().toStdString()};
}
