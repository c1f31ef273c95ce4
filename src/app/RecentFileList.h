#pragma once

#include <QString>
#include <QStringList>

class QSettings;

// The most-recently-used .dsn files, newest first, kept in the profile
// section "Recent File List" as "File1".."File4".
class RecentFileList {
public:
    static constexpr int Size = 4;

    void Load(QSettings &profile);
    void Save(QSettings &profile) const;
    // Moves `path` to the front; the oldest entry falls off.
    void Add(const QString &path);
    void Remove(int index);
    const QStringList &Files() const { return m_files; }
    // "&1 /path/file.dsn"
    QString MenuText(int index) const;

private:
    QStringList m_files;
};
