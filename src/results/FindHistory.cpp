#include "results/FindHistory.h"

#include <QSettings>

namespace {

const QString Section = QStringLiteral("SearchList");

} // namespace

void FindHistory::Load(QSettings &profile) {
    m_texts.clear();
    profile.beginGroup(Section);
    for (int i = 0; i < Capacity; ++i) {
        const QString text = profile.value(QString::number(i)).toString();
        if (!text.isEmpty())
            m_texts.append(text);
    }
    profile.endGroup();
}

void FindHistory::Save(QSettings &profile) const {
    // Old values past the end would come back on the next load.
    profile.remove(Section);
    profile.beginGroup(Section);
    for (int i = 0; i < m_texts.size(); ++i)
        profile.setValue(QString::number(i), m_texts[i]);
    profile.endGroup();
}

bool FindHistory::Add(const QString &text) {
    if (text.isEmpty() || m_texts.contains(text))
        return false;
    if (m_texts.size() >= Capacity) {
        m_texts.prepend(text);
        m_texts.removeLast();
    } else {
        m_texts.append(text);
    }
    return true;
}
