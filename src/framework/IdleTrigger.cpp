#include "framework/IdleTrigger.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimerEvent>

IdleTrigger::IdleTrigger(std::function<void()> onIdle, QObject *parent)
    : QObject(parent), m_onIdle(std::move(onIdle)) {
    if (QCoreApplication *app = QCoreApplication::instance())
        app->installEventFilter(this);
}

IdleTrigger::~IdleTrigger() {
    if (QCoreApplication *app = QCoreApplication::instance())
        app->removeEventFilter(this);
}

void IdleTrigger::Request() {
    // A zero timer fires once the events queued before it have been delivered.
    if (m_timerId == 0)
        m_timerId = startTimer(0);
}

bool IdleTrigger::eventFilter(QObject *watched, QEvent *event) {
    // Only events of others count; the filter itself decides nothing.
    if (!m_running && watched != this && event->type() != QEvent::DeferredDelete)
        Request();
    return false;
}

void IdleTrigger::timerEvent(QTimerEvent *event) {
    if (event->timerId() != m_timerId)
        return;
    killTimer(m_timerId);
    m_timerId = 0;
    m_running = true;
    m_onIdle();
    m_running = false;
}
