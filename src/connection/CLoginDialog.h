#pragma once

#include <optional>
#include <string>

#include <QDialog>

#include "odbc/ConnectPrompt.h"

class QLabel;
class QLineEdit;

// Asks for a user name and password when a driver refuses to connect without
// them. The data source name and the driver's message are shown as plain text.
class CLoginDialog : public QDialog {
    Q_OBJECT

public:
    // The user name field starts with `user` (the connection string's UID).
    CLoginDialog(QWidget *parent, const std::string &dataSource, const std::string &message,
                 const std::string &user = {});

    // Runs the dialog; the login, or nullopt on Cancel.
    static std::optional<ConnectPrompt::Login> Ask(QWidget *parent, const std::string &dataSource,
                                                   const std::string &message,
                                                   const std::string &user = {});

    ConnectPrompt::Login Login() const;

private:
    QLineEdit *m_userEdit = nullptr;
    QLineEdit *m_passwordEdit = nullptr;
};
