#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>

#include <QFile>
#include <QString>

// The file an export writes: bytes go out unchanged through a 4096-byte buffer.
// The first failed write is kept and reported by Close(), so a full disk never
// passes for a complete file; writes after a failure are dropped.
class ExportFile {
public:
    static constexpr size_t BufferSize = 4096;

    ExportFile() = default;
    ~ExportFile();
    ExportFile(const ExportFile &) = delete;
    ExportFile &operator=(const ExportFile &) = delete;

    // Creates or truncates the file; false when it cannot be created.
    bool Create(const QString &path);
    // Writes to a new file beside `path` instead, which Commit() puts in its
    // place: until then no file at `path` looks complete. Without a Commit the
    // new file is removed. A `path` that is a link or not a regular file is
    // written in place, as Create does.
    bool CreateBeside(const QString &path);
    // Closes the file and, after CreateBeside, moves it to its path (replacing
    // any file there); false, and nothing moved, when a write failed.
    bool Commit();
    // Closes and removes the file of CreateBeside; nothing after Create.
    void Discard();

    void Write(std::string_view bytes) {
        // An empty cell (a NULL) may come as a view without data: memcpy must not see it.
        if (bytes.empty())
            return;
        if (bytes.size() <= BufferSize - m_used) {
            std::memcpy(m_buffer + m_used, bytes.data(), bytes.size());
            m_used += bytes.size();
        } else {
            WriteLarge(bytes);
        }
    }
    void Write(char byte) {
        if (m_used == BufferSize)
            Flush();
        m_buffer[m_used++] = byte;
    }
    void WriteRepeated(char byte, size_t count) {
        if (count <= BufferSize - m_used) {
            std::memset(m_buffer + m_used, byte, count);
            m_used += count;
        } else {
            WriteRepeatedLarge(byte, count);
        }
    }

    // Writes what is buffered and closes the file; false when any write or the
    // close failed (ErrorText says why).
    bool Close();
    bool Failed() const { return m_failed; }
    QString ErrorText() const { return m_error; }

private:
    void Flush();
    void WriteLarge(std::string_view bytes);
    void WriteRepeatedLarge(char byte, size_t count);
    void WriteThrough(const char *data, size_t size);
    void Fail();

    QFile m_file;
    // The path CreateBeside's file goes to on Commit; empty after Create.
    QString m_target;
    char m_buffer[BufferSize];
    size_t m_used = 0;
    bool m_failed = false;
    QString m_error;
};
