#pragma once

#include <cstdio>
#include <ctime>
#include <string>
#include <string_view>

// The file a console copies its output into while spooling. Bytes go out
// unchanged (the console's CR LF line ends included) through a buffered stream
// that lives from Open to Close.
class SpoolFile {
public:
    SpoolFile() = default;
    ~SpoolFile();
    SpoolFile(const SpoolFile &) = delete;
    SpoolFile &operator=(const SpoolFile &) = delete;

    // Creates or truncates the file; false when it cannot be opened. An open
    // file is closed first.
    bool Open(const std::string &path);
    bool IsOpen() const { return m_file != nullptr; }
    // Write errors are not reported: spooling goes on as well as it can.
    void Write(std::string_view bytes);
    // Hands what is buffered to the system, so others reading the file see it.
    void Flush();
    // True when every byte reached the file, or when nothing was open. The
    // stream is gone afterwards either way: a failed close is never retried.
    bool Close();

    // The console's messages about the spool file.
    static std::string OpenedMessage(const std::string &path, const std::tm &time);
    static std::string NotOpenedMessage(const std::string &path);
    static std::string ClosedMessage();
    static std::string NotClosedMessage();

private:
    std::FILE *m_file = nullptr;
    bool m_writeFailed = false;
};
