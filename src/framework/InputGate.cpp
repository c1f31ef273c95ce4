#include "framework/InputGate.h"

#include <thread>

#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QWidget>

InputGate::~InputGate() {
    if (m_filtering && qApp)
        qApp->removeEventFilter(this);
}

void InputGate::Close(std::function<void()> cancel) {
    if (m_depth++ == 0)
        m_cancel = std::move(cancel);
}

void InputGate::Open() {
    if (m_depth == 0 || --m_depth > 0)
        return;
    m_cancel = nullptr;
    if (m_filtering) {
        qApp->removeEventFilter(this);
        QApplication::restoreOverrideCursor();
        m_filtering = false;
        Q_EMIT BusyChanged(false);
    }
}

void InputGate::Pump(std::chrono::milliseconds wait) {
    if (m_depth == 0 || !qApp) {
        std::this_thread::sleep_for(wait); // no events to deliver: only the wait
        return;
    }
    // The filter goes on with the first pump: work that never waits costs
    // nothing and shows nothing.
    if (!m_filtering) {
        qApp->installEventFilter(this);
        // The pointer says the window still answers: Cancel can be clicked.
        QApplication::setOverrideCursor(QCursor(Qt::BusyCursor));
        m_filtering = true;
        Q_EMIT BusyChanged(true);
    }
    ++m_pumping;
    if (wait.count() > 0) {
        // The timer ends the wait when no event does.
        const int tick = startTimer(wait);
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        killTimer(tick);
    } else {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
    --m_pumping;
}

void InputGate::RequestCancel() {
    if (m_depth > 0 && m_cancel)
        m_cancel();
}

void InputGate::AllowWhileBusy(QWidget *widget) {
    if (widget)
        widget->setProperty(AllowedProperty, true);
}

bool InputGate::eventFilter(QObject *watched, QEvent *event) {
    if (m_depth == 0)
        return false;
    return !Admits(watched, event);
}

bool InputGate::Admits(QObject *watched, QEvent *event) {
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::ShortcutOverride:
        // Esc stops the work, unless it is for a dialog or menu of its own.
        if (static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape &&
            !QApplication::activeModalWidget() && !QApplication::activePopupWidget()) {
            if (event->type() == QEvent::KeyPress)
                RequestCancel();
            return false; // taken here: the focused widget never sees it
        }
        [[fallthrough]];
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::InputMethod:
        break;
    default:
        return true; // painting, timers, resizing, closing: not input
    }
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget)
        return event->type() != QEvent::Shortcut;
    // A modal dialog shown during the work (a question before closing, a login).
    if (QWidget *modal = QApplication::activeModalWidget())
        return modal == widget->window();
    // Menus open; their commands answer for themselves.
    if (qobject_cast<QMenu *>(widget->window()) || qobject_cast<QMenuBar *>(widget))
        return true;
    // A connection window's title bar and frame: moving, sizing, closing.
    if (qobject_cast<QMdiSubWindow *>(widget))
        return true;
    for (QWidget *at = widget; at; at = at->parentWidget())
        if (at->property(AllowedProperty).toBool())
            return true;
    return false;
}
