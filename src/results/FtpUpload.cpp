#include "results/FtpUpload.h"

#include <algorithm>
#include <memory>
#include <string>

#include <QFile>

#include <curl/curl.h>

#include "framework/UserPrompts.h"
#include "framework/WaitCursor.h"
#include "results/FtpAddress.h"

namespace {

void InitCurlOnce() {
    // Never cleaned up: other code in the process may still use the library at exit.
    static const bool initialised = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    (void)initialised;
}

// What the server answered, read from libcurl's protocol trace. Only replies
// are kept: the commands going out carry the password.
struct Conversation {
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

int OnTrace(CURL *, curl_infotype type, char *data, size_t size, void *conversation) {
    if (type == CURLINFO_HEADER_IN)
        static_cast<Conversation *>(conversation)->Received(data, size);
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

} // namespace

const QString FtpUpload::IdleText = QStringLiteral("For Help, press F1");
const QString FtpUpload::InvalidAddressText = QStringLiteral("Please enter a valid FTP URL");

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
    std::unique_ptr<CURL, CurlDeleter> curl(curl_easy_init());
    Upload upload;
    upload.file.setFileName(localFile);
    if (!curl || !upload.file.open(QIODevice::ReadOnly)) {
        ShowError(ConnectionFailedText());
        Status(IdleText);
        return Result::NotConnected;
    }
    const curl_off_t size = upload.file.size();

    // The file goes into the directory the CWD below chose, under its base name.
    const std::string name = remoteName.toStdString();
    std::unique_ptr<char, decltype(&curl_free)> escapedName(
        curl_easy_escape(curl.get(), name.c_str(), static_cast<int>(name.size())), curl_free);
    const std::string url = "ftp://" + parsed->host + ":" + std::to_string(parsed->PortToUse()) +
                            "/" + (escapedName ? escapedName.get() : "");
    std::unique_ptr<curl_slist, SlistDeleter> commands;
    if (!parsed->path.empty())
        commands.reset(curl_slist_append(nullptr, ("CWD " + parsed->path).c_str()));

    Conversation conversation;
    CURL *handle = curl.get();
    curl_easy_setopt(handle, CURLOPT_URL, url.c_str());
    curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "ftp");
    curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(handle, CURLOPT_FTPPORT, "-");
    curl_easy_setopt(handle, CURLOPT_FTP_FILEMETHOD, static_cast<long>(CURLFTPMETHOD_NOCWD));
    curl_easy_setopt(handle, CURLOPT_TRANSFERTEXT, 0L);
    curl_easy_setopt(handle, CURLOPT_QUOTE, commands.get());
    curl_easy_setopt(handle, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(handle, CURLOPT_READFUNCTION, OnRead);
    curl_easy_setopt(handle, CURLOPT_READDATA, &upload);
    curl_easy_setopt(handle, CURLOPT_INFILESIZE_LARGE, size);
    curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT, m_timeouts.connectSeconds);
    curl_easy_setopt(handle, CURLOPT_SERVER_RESPONSE_TIMEOUT, m_timeouts.responseSeconds);
    curl_easy_setopt(handle, CURLOPT_ACCEPTTIMEOUT_MS, m_timeouts.responseSeconds * 1000L);
    curl_easy_setopt(handle, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(handle, CURLOPT_LOW_SPEED_TIME, m_timeouts.stallSeconds);
    curl_easy_setopt(handle, CURLOPT_DEBUGFUNCTION, OnTrace);
    curl_easy_setopt(handle, CURLOPT_DEBUGDATA, &conversation);
    curl_easy_setopt(handle, CURLOPT_VERBOSE, 1L);
    // Empty user and password: libcurl logs on as "anonymous".
    std::string userName = user.toStdString();
    std::string secret = password.toStdString();
    if (!userName.empty()) {
        curl_easy_setopt(handle, CURLOPT_USERNAME, userName.c_str());
        curl_easy_setopt(handle, CURLOPT_PASSWORD, secret.c_str());
    }

    const CURLcode code = curl_easy_perform(handle);
    std::fill(secret.begin(), secret.end(), '\0');
    curl_off_t sent = 0;
    curl_easy_getinfo(handle, CURLINFO_SIZE_UPLOAD_T, &sent);

    // Deployed only when every byte went out and the server said it has them all.
    if (code == CURLE_OK && !upload.readFailed && sent == size &&
        conversation.LastIsTransferDone()) {
        Status(remoteName + QStringLiteral(" deployed"));
        return Result::Deployed;
    }
    ShowError(conversation.LastIsError() ? QString::fromStdString(conversation.lastReply)
                                         : ConnectionFailedText());
    if (!conversation.loggedOn) {
        Status(IdleText);
        return Result::NotConnected;
    }
    Status(remoteName + QStringLiteral(" not deployed"));
    return Result::NotDeployed;
}
