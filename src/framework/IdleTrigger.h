#pragma once

#include <functional>

#include <QObject>

// Runs a function each time the program goes idle after a batch of events:
// once the events that came in have been delivered, the function runs once.
// So whatever an event changed shows at once, however it changed, without a
// call at each place that changes something. Events the function itself
// causes do not start another round.
class IdleTrigger : public QObject {
public:
    explicit IdleTrigger(std::function<void()> onIdle, QObject *parent = nullptr);
    ~IdleTrigger() override;
    IdleTrigger(const IdleTrigger &) = delete;
    IdleTrigger &operator=(const IdleTrigger &) = delete;

    // Asks for a round without an event (a change made outside the event loop).
    void Request();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void timerEvent(QTimerEvent *event) override;

private:
    std::function<void()> m_onIdle;
    int m_timerId = 0;
    bool m_running = false;
};
