#include "console/SpoolFile.h"

#include "console/ConsoleBanner.h"

SpoolFile::~SpoolFile() { Close(); }

bool SpoolFile::Open(const std::string &path) {
    Close();
    m_writeFailed = false;
    m_file = std::fopen(path.c_str(), "w");
    return m_file != nullptr;
}

void SpoolFile::Write(std::string_view bytes) {
    if (!m_file || bytes.empty())
        return;
    if (std::fwrite(bytes.data(), 1, bytes.size(), m_file) != bytes.size())
        m_writeFailed = true;
}

void SpoolFile::Flush() {
    if (m_file && std::fflush(m_file) != 0)
        m_writeFailed = true;
}

bool SpoolFile::Close() {
    if (!m_file)
        return true;
    // fclose releases the stream even when it fails.
    std::FILE *file = m_file;
    m_file = nullptr;
    const bool closed = std::fclose(file) == 0;
    // A byte lost on the way means the file is not what the console showed.
    const bool complete = closed && !m_writeFailed;
    m_writeFailed = false;
    return complete;
}

std::string SpoolFile::OpenedMessage(const std::string &path, const std::tm &time) {
    return "\r\n\r\nThe spool file " + path + " was opened at " + ConsoleBanner::ClockText(time) +
           "\r\n";
}

std::string SpoolFile::NotOpenedMessage(const std::string &path) {
    return "\r\n\r\nError: The spool file " + path + " was not opened\r\n";
}

std::string SpoolFile::ClosedMessage() { return "\r\n\r\nThe spool file was closed\r\n"; }

std::string SpoolFile::NotClosedMessage() {
    return "\r\n\r\nError: The spool file was not closed\r\n";
}
