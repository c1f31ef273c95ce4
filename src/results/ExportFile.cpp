#include "results/ExportFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include <QFileInfo>
#include <QTemporaryFile>

ExportFile::~ExportFile() {
    if (!m_target.isEmpty())
        Discard();
    else if (m_file.isOpen())
        Close();
}

bool ExportFile::CreateBeside(const QString &path) {
    const QFileInfo target(path);
    // A rename would put a file in place of a device, a pipe or a link: those
    // are written as they are.
    if (target.isSymLink() || (target.exists() && !target.isFile()))
        return Create(path);
    // A unique name in the target's folder, so the move on Commit is a rename.
    QTemporaryFile staged(target.absolutePath() + QStringLiteral("/.") + target.fileName() +
                          QStringLiteral(".XXXXXX.part"));
    staged.setAutoRemove(false);
    if (!staged.open())
        return false;
    const QString stagedPath = staged.fileName();
    staged.close();
    if (!Create(stagedPath)) {
        QFile::remove(stagedPath);
        return false;
    }
    // A temporary file is the owner's alone; the export is as readable as any other file.
    m_file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                          QFileDevice::ReadGroup | QFileDevice::ReadOther);
    m_target = target.absoluteFilePath();
    return true;
}

bool ExportFile::Commit() {
    if (!Close())
        return false;
    if (m_target.isEmpty())
        return true;
    // rename() replaces an existing file in one step.
    const QByteArray from = QFile::encodeName(m_file.fileName());
    const QByteArray to = QFile::encodeName(m_target);
    if (std::rename(from.constData(), to.constData()) != 0) {
        m_failed = true;
        m_error = QString::fromLocal8Bit(std::strerror(errno));
        QFile::remove(m_file.fileName());
        m_target.clear();
        return false;
    }
    m_target.clear();
    return true;
}

void ExportFile::Discard() {
    if (m_target.isEmpty())
        return;
    m_used = 0;
    m_file.close();
    QFile::remove(m_file.fileName());
    m_target.clear();
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
