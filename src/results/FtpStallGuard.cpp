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
    for (const KeptSocket &kept : m_kept)
        close(kept.fd);
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

int FtpStallGuard::OnProgress(void *guard, curl_off_t, curl_off_t, curl_off_t,
                              curl_off_t uploaded) {
    return static_cast<FtpStallGuard *>(guard)->StillMoving(uploaded) ? 0 : 1;
}

int FtpStallGuard::OnSocketOptions(void *guard, curl_socket_t socket, curlsocktype purpose) {
    if (purpose == CURLSOCKTYPE_ACCEPT) {
        const int copy = dup(socket);
        if (copy >= 0)
            static_cast<FtpStallGuard *>(guard)->m_kept.push_back({copy, false});
    }
    return CURL_SOCKOPT_OK;
}

int FtpStallGuard::OnCloseSocket(void *guard, curl_socket_t socket) {
    shutdown(socket, SHUT_WR);
    static_cast<FtpStallGuard *>(guard)->m_kept.push_back({socket, true});
    return 0;
}

bool FtpStallGuard::StillMoving(curl_off_t uploaded) {
    if (m_cancelRequested && m_cancelRequested()) {
        m_cancelled = true;
        return false;
    }
    bool moved = uploaded != m_uploaded;
    m_uploaded = uploaded;
    m_uploadedShown = uploaded;
    long long unsent = 0;
    for (KeptSocket &kept : m_kept) {
        // The whole page is written: the server may see its end.
        if (!kept.shut && uploaded >= m_uploadSize) {
            shutdown(kept.fd, SHUT_WR);
            kept.shut = true;
        }
        unsent += Unacknowledged(kept.fd);
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
