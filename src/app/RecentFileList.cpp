#include "app/RecentFileList.h"

#include <QDir>
#include <QSettings>

namespace {
const char *const Section = "Recent File List";
}

void RecentFileList::Load(QSettings &profile) {
    m_files.clear();
    profile.beginGroup(Section);
    for (int i = 1; i <= Size; ++i) {
        const QString file = profile.value(QStringLiteral("File%1").arg(i)).toString();
        if (!file.isEmpty())
            m_files.append(file);
    }
    profile.endGroup();
}

void RecentFileList::Save(QSettings &profile) const {
    profile.beginGroup(Section);
    for (int i = 1; i <= Size; ++i) {
        const QString key = QStringLiteral("File%1").arg(i);
        if (i <= m_files.size())
            profile.setValue(key, m_files[i - 1]);
        else
            profile.remove(key);
    }
    profile.endGroup();
}

void RecentFileList::Add(const QString &path) {
    const QString clean = QDir::cleanPath(path);
    m_files.removeAll(clean);
    m_files.prepend(clean);
    while (m_files.size() > Size)
        m_files.removeLast();
}

void RecentFileList::Remove(int index) {
    if (index >= 0 && index < m_files.size())
        m_files.removeAt(index);
}

QString RecentFileList::MenuText(int index) const {
    if (index < 0 || index >= m_files.size())
        return {};
    QString path = QDir::toNativeSeparators(m_files[index]);
    path.replace(QLatin1Char('&'), QLatin1String("&&"));
    return QStringLiteral("&%1 %2").arg(index + 1).arg(path);
}
