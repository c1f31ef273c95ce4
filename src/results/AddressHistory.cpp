#include "results/AddressHistory.h"

#include <QSettings>

namespace {
const QString Section = QStringLiteral("History");
constexpr QChar LineFeed(u'\n');
} // namespace

void AddressHistory::Load(QSettings &profile) {
    m_entries.clear();
    profile.beginGroup(Section);
    for (int i = 0; i < m_max; ++i) {
        const QString entry = profile.value(QString::number(i)).toString();
        if (!entry.isEmpty())
            m_entries.append(entry);
    }
    profile.endGroup();
}

void AddressHistory::Save(QSettings &profile) const {
    profile.remove(Section);
    profile.beginGroup(Section);
    for (int i = 0; i < m_entries.size(); ++i)
        profile.setValue(QString::number(i), m_entries[i]);
    profile.endGroup();
}

void AddressHistory::Remember(const QString &address, const QString &user) {
    const QString entry = Entry(address, user);
    if (m_entries.contains(entry))
        return;
    if (m_entries.size() < m_max - 1) {
        m_entries.append(entry);
    } else {
        m_entries.prepend(entry);
        m_entries.removeLast();
    }
}

QStringList AddressHistory::Addresses() const {
    QStringList addresses;
    for (const QString &entry : m_entries)
        addresses.append(AddressOf(entry));
    return addresses;
}

QString AddressHistory::Entry(const QString &address, const QString &user) {
    return address + LineFeed + user;
}

QString AddressHistory::AddressOf(const QString &entry) { return entry.section(LineFeed, 0, 0); }

QString AddressHistory::UserOf(const QString &entry) {
    const qsizetype feed = entry.indexOf(LineFeed);
    return feed < 0 ? QString() : entry.mid(feed + 1);
}
