#include "app/CSplashWnd.h"

#include <QApplication>
#include <QEvent>
#include <QFont>
#include <QPainter>
#include <QScreen>
#include <QTimer>

#include "framework/AppVersion.h"

bool CSplashWnd::s_enabled = true;
QPointer<CSplashWnd> CSplashWnd::s_current;

void CSplashWnd::EnableSplashScreen(bool enable) { s_enabled = enable; }

CSplashWnd *CSplashWnd::Current() { return s_current.data(); }

void CSplashWnd::ShowSplashScreen(QWidget *parent) {
    if (!s_enabled || s_current)
        return;
    QPixmap picture(QStringLiteral(":/images/splash.png"));
    if (picture.isNull())
        return;
    const qreal ratio = parent ? parent->devicePixelRatioF() : qApp->devicePixelRatio();
    if (ratio > 1) {
        QPixmap sharp(QStringLiteral(":/images/splash@2x.png"));
        if (!sharp.isNull()) {
            sharp.setDevicePixelRatio(2);
            picture = sharp;
        }
    }
    s_current = new CSplashWnd(picture, parent);
    s_current->show();
    s_current->raise();
}

CSplashWnd::CSplashWnd(const QPixmap &picture, QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_picture(picture), m_mainWindow(parent) {
    setAttribute(Qt::WA_DeleteOnClose);
    // The main window keeps the focus; the splash only covers part of it for a while.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFixedSize(m_picture.deviceIndependentSize().toSize());

    QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    if (screen) {
        QRect frame(QPoint(), size());
        frame.moveCenter(screen->geometry().center());
        move(frame.topLeft());
    }

    auto *timer = new QTimer(this);
    timer->setSingleShot(true);
    timer->setInterval(TimeoutMs);
    connect(timer, &QTimer::timeout, this, &CSplashWnd::HideSplashScreen);
    timer->start();

    qApp->installEventFilter(this);
}

CSplashWnd::~CSplashWnd() { qApp->removeEventFilter(this); }

void CSplashWnd::HideSplashScreen() {
    // Stop filtering at once: the splash is deleted later, and no press may be eaten meanwhile.
    qApp->removeEventFilter(this);
    if (s_current == this)
        s_current = nullptr;
    if (auto *timer = findChild<QTimer *>())
        timer->stop();
    close();
    if (m_mainWindow && m_mainWindow->isVisible())
        m_mainWindow->repaint();
}

bool CSplashWnd::eventFilter(QObject *watched, QEvent *event) {
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        // Claim the key so no shortcut fires; the key press that follows closes the splash.
        event->accept();
        return true;
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonDblClick:
        HideSplashScreen();
        return true;
    default:
        return QWidget::eventFilter(watched, event);
    }
}

void CSplashWnd::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    painter.drawPixmap(rect(), m_picture);
    // The picture leaves this line free (tools/make_icons.cpp), so the version shown is
    // always the build's own.
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(17);
    painter.setFont(font);
    painter.setPen(QColor(0xBF, 0xD8, 0xF0));
    painter.drawText(QRectF(163, 126, 230, 24), Qt::AlignLeft | Qt::AlignVCenter, VersionLine());
}

QString CSplashWnd::VersionLine() {
    return QStringLiteral("Version %1.%2")
        .arg(AppVersion::Number >> 8)
        .arg(AppVersion::Number & 0xFF);
}
