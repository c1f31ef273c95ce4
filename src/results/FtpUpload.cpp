#include "results/FtpUpload.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

#include <pthread.h>

#include <QFile>

#include <curl/curl.h>

#include "framework/UserPrompts.h"
#include "framework/WaitCursor.h"
#include "results/FtpAddress.h"
#include "results/FtpStallGuard.h"
#include "results/UploadWait.h"

namespace {

void InitCurlOnce() {
    // Never cleaned up: other code in the process may still use the library at exit.
    static const bool initialised = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    (void)initialised;
}

// What the server answered, read from libcurl's protocol trace. Only replies
// are kept: the commands going out carry the password.
struct Conversation {
    FtpStallGuard *guard = nullptr;
    std::string partial;
    std::string lastReply;
    bool loggedOn = false;

    void Received(const char *data, size_t size) {
        partial.append(data, size);
        for (size_t end = partial.find('\n'); end != std::string::npos; end = partial.find('\n')) {
            std::string line = partial.substr(0, end);
            partial.erase(0, end + 1);
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            // "ddd text" ends a reply; "ddd-text" and plain lines continue one.
            if (line.size() >= 3 &&
                std::all_of(line.begin(), line.begin() + 3,
                            [](char c) { return c >= '0' && c <= '9'; }) &&
                (line.size() == 3 || line[3] == ' ')) {
                lastReply = line;
                if (line.starts_with("230"))
                    loggedOn = true;
            }
        }
    }
    int LastCode() const { return lastReply.empty() ? 0 : std::stoi(lastReply.substr(0, 3)); }
    bool LastIsError() const { return LastCode() >= 400; }
    bool LastIsTransferDone() const { return LastCode() == 226 || LastCode() == 250; }
};

int OnTrace(CURL *, curl_infotype type, char *data, size_t size, void *talk) {
    auto *conversation = static_cast<Conversation *>(talk);
    if (type == CURLINFO_HEADER_IN || type == CURLINFO_HEADER_OUT)
        conversation->guard->Moved();
    if (type == CURLINFO_HEADER_IN)
        conversation->Received(data, size);
    return 0;
}

struct Upload {
    QFile file;
    bool readFailed = false;
};

size_t OnRead(char *buffer, size_t size, size_t count, void *data) {
    auto *upload = static_cast<Upload *>(data);
    const qint64 read = upload->file.read(buffer, static_cast<qint64>(size * count));
    if (read < 0) {
        upload->readFailed = true;
        return CURL_READFUNC_ABORT;
    }
    return static_cast<size_t>(read);
}

struct CurlDeleter {
    void operator()(CURL *curl) const { curl_easy_cleanup(curl); }
};
struct SlistDeleter {
    void operator()(curl_slist *list) const { curl_slist_free_all(list); }
};

// A write to a connection the server dropped raises SIGPIPE (OpenSSL writes
// without MSG_NOSIGNAL). This thread holds the signal back during the upload
// and drops one it caused.
class SigpipeHeldBack {
public:
    SigpipeHeldBack() {
        sigemptyset(&m_pipe);
        sigaddset(&m_pipe, SIGPIPE);
        pthread_sigmask(SIG_BLOCK, &m_pipe, &m_previous);
    }
    ~SigpipeHeldBack() {
        sigset_t pending;
        sigemptyset(&pending);
        if (!sigismember(&m_previous, SIGPIPE) && sigpending(&pending) == 0 &&
            sigismember(&pending, SIGPIPE)) {
            const timespec now{};
            sigtimedwait(&m_pipe, nullptr, &now);
        }
        pthread_sigmask(SIG_SETMASK, &m_previous, nullptr);
    }
    SigpipeHeldBack(const SigpipeHeldBack &) = delete;
    SigpipeHeldBack &operator=(const SigpipeHeldBack &) = delete;

private:
    sigset_t m_pipe;
    sigset_t m_previous;
};

const char *Environment(const char *name) {
    const char *value = std::getenv(name);
    return value && *value ? value : nullptr;
}

// As the curl tool does: CURL_CA_BUNDLE, else SSL_CERT_DIR and SSL_CERT_FILE.
void TrustFromEnvironment(CURL *curl) {
    if (const char *bundle = Environment("CURL_CA_BUNDLE")) {
        curl_easy_setopt(curl, CURLOPT_CAINFO, bundle);
        return;
    }
    if (const char *folder = Environment("SSL_CERT_DIR"))
        curl_easy_setopt(curl, CURLOPT_CAPATH, folder);
    if (const char *file = Environment("SSL_CERT_FILE"))
        curl_easy_setopt(curl, CURLOPT_CAINFO, file);
}

bool CertificateRefused(CURLcode code) {
    return code == CURLE_PEER_FAILED_VERIFICATION || code == CURLE_SSL_CACERT_BADFILE ||
           code == CURLE_SSL_ISSUER_ERROR;
}

// The TLS connection could not be made: nothing but AUTH went to the server.
bool TlsRefused(CURLcode code) {
    return CertificateRefused(code) || code == CURLE_USE_SSL_FAILED ||
           code == CURLE_SSL_CONNECT_ERROR || code == CURLE_SSL_CERTPROBLEM ||
           code == CURLE_SSL_CIPHER;
}

// libcurl's words without its "SSL certificate problem: " or "SSL: " in front.
QString CertificateReason(const std::string &error) {
    for (const char *prefix : {"SSL certificate problem: ", "SSL: "})
        if (error.starts_with(prefix))
            return QString::fromStdString(error.substr(std::string_view(prefix).size()));
    return QString::fromStdString(error);
}

// The transfer, on this thread or, with a wait, on one of its own while the
// window waits.
CURLcode Perform(CURL *curl, FtpStallGuard &guard, UploadWait *wait, const QString &remoteName,
                 curl_off_t size) {
    if (!wait) {
        SigpipeHeldBack sigpipe;
        return curl_easy_perform(curl);
    }
    CURLcode code = CURLE_OK;
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    std::thread transfer([&] {
        SigpipeHeldBack sigpipe;
        const CURLcode result = curl_easy_perform(curl);
        std::lock_guard lock(mutex);
        code = result;
        done = true;
        finished.notify_one();
    });
    wait->Wait(
        remoteName,
        [&](std::chrono::milliseconds slice) {
            if (!guard.Cancelled() && wait->CancelRequested())
                guard.Cancel();
            std::unique_lock lock(mutex);
            return finished.wait_for(lock, slice, [&] { return done; });
        },
        [&guard] { return static_cast<uint64_t>(guard.Uploaded()); }, static_cast<uint64_t>(size));
    transfer.join();
    return code;
}

} // namespace

const QString FtpUpload::IdleText = QStringLiteral("For Help, press F1");
const QString FtpUpload::InvalidAddressText = QStringLiteral("Please enter a valid FTP URL");
const QString FtpUpload::NoTlsText =
    QStringLiteral("The server does not offer TLS, so neither the log-on nor the page was sent.");

QString FtpUpload::StalledText(long seconds) {
    return QStringLiteral("Nothing moved on the FTP connection for %1 seconds, so the upload "
                          "was given up.")
        .arg(seconds);
}

QString FtpUpload::UnverifiedCertificateText(const QString &reason) {
    return QStringLiteral("The server's certificate could not be verified: ") + reason;
}

QString FtpUpload::ConnectionFailedText() {
    return QStringLiteral("An exception occurred when attempting to create an FTP connection.\r\n"
                          "  Please check your internet configuration and make sure your "
                          "environment\r\n is set up with libcurl in the path.");
}

FtpUpload::FtpUpload(UserPrompts &prompts, QWidget *parent, StatusText statusText)
    : m_prompts(prompts), m_parent(parent), m_statusText(std::move(statusText)) {}

void FtpUpload::ShowError(const QString &text) {
    m_prompts.Message(m_parent, text, UserPrompts::Icon::Exclamation);
}

void FtpUpload::Status(const QString &text) {
    if (m_statusText)
        m_statusText(text);
}

FtpUpload::Result FtpUpload::UploadByFtp(const QString &address, const QString &localFile,
                                         const QString &remoteName, const QString &user,
                                         const QString &password) {
    const std::optional<FtpAddress> parsed = FtpAddress::ParseOrAssumeFtp(address.toStdString());
    if (!parsed) {
        ShowError(InvalidAddressText);
        return Result::InvalidAddress;
    }
    WaitCursor wait;
    Status(QStringLiteral("Opening Internet..."));
    if (!parsed->IsFtp() || parsed->host.empty()) {
        ShowError(InvalidAddressText);
        Status(IdleText);
        return Result::InvalidAddress;
    }

    InitCurlOnce();
    // All that libcurl's callbacks reach outlives the handle, whose cleanup
    // still says QUIT and closes sockets.
    FtpStallGuard guard{std::chrono::seconds(m_timeouts.stallSeconds)};
    Conversation conversation;
    conversation.guard = &guard;
    char errorText[CURL_ERROR_SIZE] = {};
    Upload upload;
    std::unique_ptr<curl_slist, SlistDeleter> commands;
    std::unique_ptr<CURL, CurlDeleter> curl(curl_easy_init());
    upload.file.setFileName(localFile);
    if (!curl || !upload.file.open(QIODevice::ReadOnly)) {
        ShowError(ConnectionFailedText());
        Status(IdleText);
        return Result::NotConnected;
    }
    const curl_off_t size = upload.file.size();
    const FtpAddress::Security security = parsed->SecurityOf();
    const bool tls = security != FtpAddress::Security::Plain;

    // The file goes into the directory the CWD below chose, under its base name.
    const std::string name = remoteName.toStdString();
    std::unique_ptr<char, decltype(&curl_free)> escapedName(
        curl_easy_escape(curl.get(), name.c_str(), static_cast<int>(name.size())), curl_free);
    const std::string url =
        std::string(security == FtpAddress::Security::ImplicitTls ? "ftps://" : "ftp://") +
        parsed->host + ":" + std::to_string(parsed->PortToUse()) + "/" +
        (escapedName ? escapedName.get() : "");
    if (!parsed->path.empty())
        commands.reset(curl_slist_append(nullptr, ("CWD " + parsed->path).c_str()));

    CURL *handle = curl.get();
    curl_easy_setopt(handle, CURLOPT_URL, url.c_str());
    curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "ftp,ftps");
    curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(handle, CURLOPT_ERRORBUFFER, errorText);
    if (tls) {
        // Required, never tried: without TLS nothing else is sent. Passive
        // (EPSV, then PASV): active mode over TLS fails in libcurl.
        curl_easy_setopt(handle, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_ALL));
        curl_easy_setopt(handle, CURLOPT_FTPSSLAUTH, static_cast<long>(CURLFTPAUTH_TLS));
        curl_easy_setopt(handle, CURLOPT_SSLVERSION, static_cast<long>(CURL_SSLVERSION_TLSv1_2));
        curl_easy_setopt(handle, CURLOPT_SSL_VERIFYPEER, 1L);
        curl_easy_setopt(handle, CURLOPT_SSL_VERIFYHOST, 2L);
        TrustFromEnvironment(handle);
    } else {
        curl_easy_setopt(handle, CURLOPT_FTPPORT, "-");
    }
    curl_easy_setopt(handle, CURLOPT_FTP_FILEMETHOD, static_cast<long>(CURLFTPMETHOD_NOCWD));
    curl_easy_setopt(handle, CURLOPT_TRANSFERTEXT, 0L);
    curl_easy_setopt(handle, CURLOPT_QUOTE, commands.get());
    curl_easy_setopt(handle, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(handle, CURLOPT_READFUNCTION, OnRead);
    curl_easy_setopt(handle, CURLOPT_READDATA, &upload);
    curl_easy_setopt(handle, CURLOPT_INFILESIZE_LARGE, size);
    curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT, m_timeouts.connectSeconds);
    // libcurl counts its reply wait from the last byte it wrote, while a slow
    // server may still be reading the page for minutes: the guard watches for
    // a stall instead.
    curl_easy_setopt(handle, CURLOPT_SERVER_RESPONSE_TIMEOUT, 7L * 24 * 3600);
    curl_easy_setopt(handle, CURLOPT_ACCEPTTIMEOUT_MS, m_timeouts.stallSeconds * 1000L);
    curl_easy_setopt(handle, CURLOPT_DEBUGFUNCTION, OnTrace);
    curl_easy_setopt(handle, CURLOPT_DEBUGDATA, &conversation);
    curl_easy_setopt(handle, CURLOPT_VERBOSE, 1L);
    guard.Install(handle, size);
    // Empty user and password: libcurl logs on as "anonymous".
    std::string userName = user.toStdString();
    std::string secret = password.toStdString();
    if (!userName.empty()) {
        curl_easy_setopt(handle, CURLOPT_USERNAME, userName.c_str());
        curl_easy_setopt(handle, CURLOPT_PASSWORD, secret.c_str());
    }

    const CURLcode code = Perform(handle, guard, m_wait, remoteName, size);
    std::fill(secret.begin(), secret.end(), '\0');
    curl_off_t sent = 0;
    curl_easy_getinfo(handle, CURLINFO_SIZE_UPLOAD_T, &sent);

    // Deployed only when every byte went out and the server said it has them all.
    if (code == CURLE_OK && !upload.readFailed && sent == size &&
        conversation.LastIsTransferDone()) {
        Status(remoteName + QStringLiteral(" deployed"));
        return Result::Deployed;
    }
    // The user asked for it: no box.
    if (guard.Cancelled()) {
        Status(remoteName + QStringLiteral(" not deployed"));
        return Result::NotDeployed;
    }
    const bool tlsRefused = tls && !conversation.loggedOn && TlsRefused(code);
    // libcurl keeps its first error text. In active mode that is a harmless
    // complaint about the accepted connection's address, made on every upload:
    // its name for the code then says more.
    std::string curlText = errorText;
    if (curlText.starts_with("sa_addr inet_ntop() failed"))
        curlText = curl_easy_strerror(code);
    if (guard.Stalled())
        ShowError(StalledText(m_timeouts.stallSeconds));
    else if (tlsRefused && code == CURLE_USE_SSL_FAILED)
        ShowError(NoTlsText);
    else if (tlsRefused && CertificateRefused(code))
        ShowError(UnverifiedCertificateText(CertificateReason(curlText)));
    else if (conversation.LastIsError())
        ShowError(QString::fromStdString(conversation.lastReply));
    else if (!curlText.empty())
        ShowError(QString::fromStdString(curlText));
    else
        ShowError(ConnectionFailedText());
    if (!conversation.loggedOn && !tlsRefused) {
        Status(IdleText);
        return Result::NotConnected;
    }
    Status(remoteName + QStringLiteral(" not deployed"));
    return Result::NotDeployed;
}
