#include "results/ExportFile.h"

#include <algorithm>

ExportFile::~ExportFile() {
    if (m_file.isOpen())
        Close();
}

bool ExportFile::Create(const QString &path) {
    m_file.setFileName(path);
    m_used = 0;
    m_failed = false;
    m_error.clear();
    // Our own buffer is the only one: QFile's would copy every byte twice.
    return m_file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered);
}

void ExportFile::WriteRepeatedLarge(char byte, size_t count) {
    while (count > 0) {
        if (m_used == BufferSize)
            Flush();
        const size_t part = std::min(count, BufferSize - m_used);
        std::memset(m_buffer + m_used, byte, part);
        m_used += part;
        count -= part;
    }
}

bool ExportFile::Close() {
    if (!m_file.isOpen())
        return !m_failed;
    Flush();
    m_file.close();
    if (!m_failed && m_file.error() != QFileDevice::NoError)
        Fail();
    return !m_failed;
}

void ExportFile::Flush() {
    WriteThrough(m_buffer, m_used);
    m_used = 0;
}

void ExportFile::WriteLarge(std::string_view bytes) {
    Flush();
    if (bytes.size() >= BufferSize) {
        WriteThrough(bytes.data(), bytes.size());
    } else {
        std::memcpy(m_buffer, bytes.data(), bytes.size());
        m_used = bytes.size();
    }
}

void ExportFile::WriteThrough(const char *data, size_t size) {
    while (size > 0 && !m_failed) {
        const qint64 written = m_file.write(data, static_cast<qint64>(size));
        if (written <= 0) {
            Fail();
            return;
        }
        data += written;
        size -= static_cast<size_t>(written);
    }
}

void ExportFile::Fail() {
    if (m_failed)
        return;
    m_failed = true;
    m_error = m_file.errorString();
}
