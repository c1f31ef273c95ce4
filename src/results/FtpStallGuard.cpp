#include "results/FtpStallGuard.h"

#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// Bytes written to the socket that the peer has not acknowledged yet.
long long Unacknowledged(int fd) {
    int queued = 0;
    return ioctl(fd, TIOCOUTQ, &queued) == 0 ? queued : 0;
}

} // namespace

FtpStallGuard::~FtpStallGuard() {
    for (const Socket &socket : m_sockets)
        if (socket.owned)
            close(socket.fd);
}

void FtpStallGuard::Install(CURL *curl, curl_off_t uploadSize) {
    m_uploadSize = uploadSize;
    m_lastMove = Clock::now();
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, OnProgress);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, this);
    curl_easy_setopt(curl, CURLOPT_SOCKOPTFUNCTION, OnSocketOptions);
    curl_easy_setopt(curl, CURLOPT_SOCKOPTDATA, this);
    curl_easy_setopt(curl, CURLOPT_CLOSESOCKETFUNCTION, OnCloseSocket);
    curl_easy_setopt(curl, CURLOPT_CLOSESOCKETDATA, this);
}

void FtpStallGuard::Cancel() {
    std::lock_guard lock(m_socketsMutex);
    m_cancelled = true;
    // libcurl's waits end with an error at once; its sockets stay open.
    for (const Socket &socket : m_sockets)
        shutdown(socket.fd, SHUT_RDWR);
}

int FtpStallGuard::OnProgress(void *guard, curl_off_t, curl_off_t, curl_off_t,
                              curl_off_t uploaded) {
    return static_cast<FtpStallGuard *>(guard)->StillMoving(uploaded) ? 0 : 1;
}

int FtpStallGuard::OnSocketOptions(void *data, curl_socket_t socket, curlsocktype purpose) {
    auto *guard = static_cast<FtpStallGuard *>(data);
    std::lock_guard lock(guard->m_socketsMutex);
    if (purpose != CURLSOCKTYPE_ACCEPT) {
        guard->m_sockets.push_back({socket, false, false, false});
    } else if (const int copy = dup(socket); copy >= 0) {
        guard->m_sockets.push_back({copy, true, true, false});
        if (guard->m_cancelled)
            shutdown(copy, SHUT_RDWR);
    }
    return CURL_SOCKOPT_OK;
}

int FtpStallGuard::OnCloseSocket(void *data, curl_socket_t socket) {
    auto *guard = static_cast<FtpStallGuard *>(data);
    std::lock_guard lock(guard->m_socketsMutex);
    shutdown(socket, SHUT_WR);
    for (Socket &known : guard->m_sockets)
        if (known.fd == socket && !known.owned) {
            known.owned = known.shut = true;
            return 0;
        }
    guard->m_sockets.push_back({socket, false, true, true});
    return 0;
}

bool FtpStallGuard::StillMoving(curl_off_t uploaded) {
    if (m_cancelled)
        return false;
    bool moved = uploaded != m_uploaded;
    m_uploaded = uploaded;
    m_uploadedShown = uploaded;
    long long unsent = 0;
    {
        std::lock_guard lock(m_socketsMutex);
        for (Socket &socket : m_sockets) {
            // The whole page is written: the server may see its end.
            if (socket.accepted && !socket.shut && uploaded >= m_uploadSize) {
                shutdown(socket.fd, SHUT_WR);
                socket.shut = true;
            }
            unsent += Unacknowledged(socket.fd);
        }
    }
    if (unsent < m_unsent)
        moved = true;
    m_unsent = unsent;

    const Clock::time_point now = Clock::now();
    if (moved)
        m_lastMove = now;
    if (now - m_lastMove < m_stall)
        return true;
    m_stalled = true;
    return false;
}
