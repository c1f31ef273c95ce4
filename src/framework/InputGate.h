#pragma once

#include <chrono>
#include <functional>

#include <QObject>

class QEvent;
class QWidget;

// While work runs the window keeps painting, but takes only the input that
// cannot start more work: Esc (cancel), the widgets marked as allowed (the
// Cancel buttons), menus (whose commands are disabled but Cancel), window
// management (moving, sizing, activating and closing windows) and modal dialogs.
// So a statement never starts while another runs, and no second Enter or
// command reaches code that is waiting for the driver.
class InputGate : public QObject {
    Q_OBJECT
public:
    // The property that lets a widget, and those inside it, take input while work runs.
    static constexpr const char *AllowedProperty = "takesInputWhileBusy";

    InputGate() = default;
    ~InputGate() override;
    InputGate(const InputGate &) = delete;
    InputGate &operator=(const InputGate &) = delete;

    // Work begins; `cancel` is what Esc and Cancel do. Nested work keeps the
    // outermost handler. Every Close is matched by an Open.
    void Close(std::function<void()> cancel);
    void Open();
    bool IsClosed() const noexcept { return m_depth > 0; }
    // Closed, and seen as busy: it has delivered events since.
    bool IsBusy() const noexcept { return m_filtering; }

    // Delivers the events waiting now, with the input filtered. Only while
    // closed. With a `wait`, waits that long for the first event when none is
    // there (QAbstractEventDispatcher::wakeUp ends the wait early).
    void Pump(std::chrono::milliseconds wait = std::chrono::milliseconds(0));
    bool IsPumping() const noexcept { return m_pumping > 0; }

    // Asks the work running to stop; nothing when none runs.
    void RequestCancel();

    // Marks `widget` as one that takes input while work runs.
    static void AllowWhileBusy(QWidget *widget);

Q_SIGNALS:
    // Work has waited long enough to deliver events (Cancel is worth offering),
    // or all work ended.
    void BusyChanged(bool busy);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool Admits(QObject *watched, QEvent *event);

    int m_depth = 0;
    int m_pumping = 0;
    bool m_filtering = false;
    std::function<void()> m_cancel;
};
