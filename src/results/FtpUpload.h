#pragma once

#include <functional>

#include <QString>

class QWidget;
class UploadWait;
class UserPrompts;

// Puts one local file on an FTP server over libcurl: log on (anonymously when
// user and password are empty), change to the address's directory, store the
// file in binary mode under the remote name. Plain FTP uses active mode, as the
// server sees a plain PORT client; FTP over TLS ("ftps://", "ftpes://") uses a
// passive data connection, protected too, and sends nothing before the
// server's certificate has been verified against the trusted certificates
// (CURL_CA_BUNDLE, SSL_CERT_FILE and SSL_CERT_DIR name others, as for the curl
// tool) and the host name. Errors are shown through the prompts with the
// server's last reply, libcurl's own text, or a general text when there is
// neither; status texts go to the callback. The password is handed to the FTP
// library only.
class FtpUpload {
public:
    enum class Result {
        InvalidAddress, // "Please enter a valid FTP URL"
        NotConnected,   // no server, or it refused the connection or the log-on
        Deployed,       // the whole file arrived and the server confirmed it
        NotDeployed,    // TLS was refused, the directory or the transfer failed, or cancelled
    };
    struct Timeouts {
        long connectSeconds = 20;
        // Nothing moved for this long (no reply, no byte of the page taken or
        // acknowledged): given up. There is no limit on a transfer that moves.
        long stallSeconds = 30;
    };
    using StatusText = std::function<void(const QString &)>;

    static const QString IdleText;           // "For Help, press F1"
    static const QString InvalidAddressText; // "Please enter a valid FTP URL"
    // Shown when the server gave no reply to quote.
    static QString ConnectionFailedText();
    static QString StalledText(long seconds);
    static QString UnverifiedCertificateText(const QString &reason);
    static const QString NoTlsText;

    FtpUpload(UserPrompts &prompts, QWidget *parent, StatusText statusText);

    void SetTimeouts(const Timeouts &timeouts) { m_timeouts = timeouts; }
    // With a wait the transfer runs on a thread of its own and can be
    // cancelled; without one it runs on the calling thread.
    void SetWait(UploadWait *wait) { m_wait = wait; }

    Result UploadByFtp(const QString &address, const QString &localFile, const QString &remoteName,
                       const QString &user, const QString &password);

private:
    void ShowError(const QString &text);
    void Status(const QString &text);

    UserPrompts &m_prompts;
    QWidget *m_parent;
    StatusText m_statusText;
    Timeouts m_timeouts;
    UploadWait *m_wait = nullptr;
};
