#pragma once

#include <atomic>
#include <chrono>
#include <mutex>
#include <vector>

#include <curl/curl.h>

// Gives an FTP exchange up only when nothing moves: no command or reply on the
// control connection, no byte of the page taken, no byte of a data connection's
// send queue acknowledged by the server, for the stall time. A slow transfer
// that keeps moving runs as long as it needs, however long that is.
//
// The bytes still queued after the last write are what a slow server is still
// reading, so the guard keeps the sockets: one libcurl closes is only shut for
// writing (the server still sees the end of the file), and an accepted one
// (active mode, closed by libcurl behind any callback) is watched through a
// duplicate that is shut once the whole page is written. All are closed with
// the guard, which must outlive the libcurl handle. Knowing every socket also
// lets a cancel end the exchange at once, from any thread.
class FtpStallGuard {
public:
    explicit FtpStallGuard(std::chrono::milliseconds stall) : m_stall(stall) {}
    ~FtpStallGuard();
    FtpStallGuard(const FtpStallGuard &) = delete;
    FtpStallGuard &operator=(const FtpStallGuard &) = delete;

    void Install(CURL *curl, curl_off_t uploadSize);
    // Any thread: ends the exchange now by shutting its connections down.
    void Cancel();
    // Control traffic: a command went out or a reply came in.
    void Moved() { m_lastMove = Clock::now(); }
    bool Stalled() const { return m_stalled; }
    bool Cancelled() const { return m_cancelled.load(); }
    // Bytes of the page libcurl has taken so far; any thread.
    curl_off_t Uploaded() const { return m_uploadedShown.load(); }

private:
    using Clock = std::chrono::steady_clock;
    struct Socket {
        int fd;
        bool accepted; // watched through a duplicate of ours
        bool owned;    // ours to close: the duplicate, or closed by libcurl
        bool shut;     // shut for writing
    };

    static int OnProgress(void *guard, curl_off_t, curl_off_t, curl_off_t, curl_off_t uploaded);
    static int OnSocketOptions(void *guard, curl_socket_t socket, curlsocktype purpose);
    static int OnCloseSocket(void *guard, curl_socket_t socket);
    bool StillMoving(curl_off_t uploaded);

    std::chrono::milliseconds m_stall;
    Clock::time_point m_lastMove = Clock::now();
    curl_off_t m_uploadSize = 0;
    curl_off_t m_uploaded = 0;
    long long m_unsent = 0;
    bool m_stalled = false;
    std::atomic<bool> m_cancelled{false};
    std::atomic<curl_off_t> m_uploadedShown{0};
    std::mutex m_socketsMutex;
    std::vector<Socket> m_sockets;
};
