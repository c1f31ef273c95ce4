#pragma once

#include <QString>
#include <QStringList>

class QSettings;

// The texts last searched for, kept in the profile's "SearchList" section as
// values "0" to "15".
class FindHistory {
public:
    static constexpr int Capacity = 16;

    const QStringList &Texts() const { return m_texts; }

    // The non-empty values of the section, in order.
    void Load(QSettings &profile);
    // Replaces the section with the texts, in order.
    void Save(QSettings &profile) const;
    // A text already kept stays where it is; a new one is appended, or, once
    // the history is full, put first with the last text dropped. True when
    // the history changed.
    bool Add(const QString &text);

private:
    QStringList m_texts;
};
