#include "app/CProgressStatusBar.h"

#include <QEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QProgressBar>

CProgressStatusBar::CProgressStatusBar(QWidget *parent) : QStatusBar(parent) {}

void CProgressStatusBar::SetIndicators(const std::vector<Pane> &panes) {
    for (auto &[index, entry] : m_entries)
        delete entry.bar;
    m_entries.clear();
    for (QLabel *label : m_labels) {
        removeWidget(label);
        delete label;
    }
    m_labels.clear();
    m_panes = panes;
    for (size_t i = 0; i < panes.size(); ++i) {
        auto *label = new QLabel(this);
        label->setObjectName(QStringLiteral("pane%1").arg(panes[i].id));
        // Status texts carry table names and driver texts: never markup, which
        // could make Qt load any file an <img> names.
        label->setTextFormat(Qt::PlainText);
        if (panes[i].width > 0)
            label->setFixedWidth(panes[i].width);
        // The message pane is hidden by temporary messages; the others stay.
        if (i == 0)
            addWidget(label, 1);
        else
            addPermanentWidget(label);
        label->installEventFilter(this);
        m_labels.push_back(label);
    }
}

int CProgressStatusBar::PaneIndex(int id) const {
    for (size_t i = 0; i < m_panes.size(); ++i)
        if (m_panes[i].id == id)
            return static_cast<int>(i);
    return -1;
}

QWidget *CProgressStatusBar::PaneWidget(int index) const {
    return index >= 0 && index < PaneCount() ? m_labels[static_cast<size_t>(index)] : nullptr;
}

void CProgressStatusBar::SetPaneText(int index, const QString &text) {
    auto *pane = static_cast<QLabel *>(PaneWidget(index));
    if (pane && pane->text() != text) {
        pane->setText(text);
        pane->repaint();
    }
}

QString CProgressStatusBar::PaneText(int index) const {
    QWidget *pane = PaneWidget(index);
    return pane ? static_cast<QLabel *>(pane)->text() : QString();
}

bool CProgressStatusBar::CreateProgress(int index, bool showText) {
    if (!PaneWidget(index) || !(m_panes[static_cast<size_t>(index)].style & ProgressPaneStyle))
        return false;
    ResetProgress(index, true);
    Entry entry;
    entry.showText = showText;
    entry.bar = new QProgressBar(PaneWidget(index));
    entry.bar->setTextVisible(false);
    entry.bar->setRange(0, 100);
    entry.bar->setValue(0);
    SetPaneText(index, QString());
    PlaceBar(index, entry);
    entry.bar->show();
    m_entries[index] = entry;
    return true;
}

void CProgressStatusBar::PlaceBar(int index, Entry &entry) {
    QRect rect = PaneWidget(index)->rect();
    // Inside the pane's borders: a pixel more at the top, two at the bottom.
    rect.adjust(1, 2, -1, -3);
    if (entry.showText)
        rect.setLeft(rect.left() + QFontMetrics(font()).horizontalAdvance(QStringLiteral("100")));
    entry.bar->setGeometry(rect.isValid() ? rect : QRect());
}

bool CProgressStatusBar::SetProgress(int index, int range, int position) {
    auto it = m_entries.find(index);
    if (it == m_entries.end()) {
        if (!CreateProgress(index, false))
            return false;
        it = m_entries.find(index);
    }
    Entry &entry = it->second;
    const int percentage = range == 0 ? 0 : position * 100 / range;
    // Long loads step far more often than the bar moves: only a change is painted.
    if (entry.bar->maximum() == range && entry.bar->value() == position &&
        entry.percentage == percentage)
        return false;
    // QProgressBar paints itself at once on a visible change; the owner decides
    // whether work that blocks the event loop should pay for that. Turning
    // updates back on schedules the paint.
    entry.bar->setUpdatesEnabled(false);
    entry.bar->setRange(0, range);
    entry.bar->setValue(position);
    entry.bar->setUpdatesEnabled(true);
    entry.percentage = percentage;
    if (entry.showText)
        SetPaneText(index, QStringLiteral("%1%").arg(entry.percentage));
    return true;
}

void CProgressStatusBar::ResetProgress(int index, bool remove) {
    const auto it = m_entries.find(index);
    if (it == m_entries.end())
        return;
    if (remove) {
        delete it->second.bar;
        m_entries.erase(it);
        SetPaneText(index, QString());
    } else {
        SetProgress(index, 100, 0);
    }
}

int CProgressStatusBar::Percentage(int index) const {
    const auto it = m_entries.find(index);
    return it == m_entries.end() ? -1 : it->second.percentage;
}

QProgressBar *CProgressStatusBar::ProgressBar(int index) const {
    const auto it = m_entries.find(index);
    return it == m_entries.end() ? nullptr : it->second.bar;
}

bool CProgressStatusBar::eventFilter(QObject *watched, QEvent *event) {
    // A pane that changes size takes its progress bar along.
    if (event->type() == QEvent::Resize)
        for (auto &[index, entry] : m_entries)
            if (PaneWidget(index) == watched)
                PlaceBar(index, entry);
    return QStatusBar::eventFilter(watched, event);
}
