#pragma once

#include <QString>
#include <QStringList>

class QSettings;

// The upload addresses used before, in the profile's "History" section under
// the value names 0, 1, 2 ...; each entry is the address, a line feed and the
// user name (empty for anonymous). Passwords are never part of it.
class AddressHistory {
public:
    // `maxUrlHistory`: how many values are read; the list keeps one fewer.
    explicit AddressHistory(int maxUrlHistory) : m_max(maxUrlHistory) {}

    void Load(QSettings &profile);
    // Rewrites the whole section from the list.
    void Save(QSettings &profile) const;
    // An identical entry changes nothing; a new one is appended while the list
    // holds fewer than MaxURLHistory - 1 entries, else it goes to the front and
    // the last one is dropped.
    void Remember(const QString &address, const QString &user);

    const QStringList &Entries() const { return m_entries; }
    // The addresses of the entries, for the address list.
    QStringList Addresses() const;

    static QString Entry(const QString &address, const QString &user);
    static QString AddressOf(const QString &entry);
    static QString UserOf(const QString &entry);

private:
    int m_max;
    QStringList m_entries;
};
