#pragma once

#include <functional>

#include <QString>

class QWidget;
class UserPrompts;

// Puts one local file on an FTP server over libcurl: log on (anonymously when
// user and password are empty), change to the address's directory, store the
// file in binary mode under the remote name. Active mode, as the server sees a
// plain PORT client. Errors are shown through the prompts with the server's
// last reply, or a general text when the server gave none; status texts go to
// the callback. The password is handed to the FTP library only.
class FtpUpload {
public:
    enum class Result {
        InvalidAddress, // "Please enter a valid FTP URL"
        NotConnected,   // no server, or it refused the connection or the log-on
        Deployed,       // the whole file arrived and the server confirmed it
        NotDeployed,    // the directory or the transfer failed
    };
    struct Timeouts {
        long connectSeconds = 20;
        // Longest wait for a reply, and for the server to open the data connection.
        long responseSeconds = 30;
        // A transfer slower than 1 byte/s for this long is given up.
        long stallSeconds = 30;
    };
    using StatusText = std::function<void(const QString &)>;

    static const QString IdleText;           // "For Help, press F1"
    static const QString InvalidAddressText; // "Please enter a valid FTP URL"
    // Shown when the server gave no reply to quote.
    static QString ConnectionFailedText();

    FtpUpload(UserPrompts &prompts, QWidget *parent, StatusText statusText);

    void SetTimeouts(const Timeouts &timeouts) { m_timeouts = timeouts; }

    Result UploadByFtp(const QString &address, const QString &localFile, const QString &remoteName,
                       const QString &user, const QString &password);

private:
    void ShowError(const QString &text);
    void Status(const QString &text);

    UserPrompts &m_prompts;
    QWidget *m_parent;
    StatusText m_statusText;
    Timeouts m_timeouts;
};
