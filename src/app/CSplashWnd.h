#pragma once

#include <QPixmap>
#include <QPointer>
#include <QWidget>

// The start-up picture: a borderless window centred on the screen that goes away
// after five seconds or at the first key or mouse press anywhere in the program.
// That press only closes it; it reaches nothing else.
class CSplashWnd : public QWidget {
    Q_OBJECT
public:
    static constexpr int TimeoutMs = 5000;

    // Allows or forbids later ShowSplashScreen calls (allowed at start).
    static void EnableSplashScreen(bool enable);
    // Shows the splash window unless forbidden or already showing. `parent` is the
    // main window, repainted when the splash goes.
    static void ShowSplashScreen(QWidget *parent);
    // The splash window while it exists, or nullptr.
    static CSplashWnd *Current();
    static bool IsShowing() { return Current() != nullptr; }
    // "Version 2.1", painted over the picture.
    static QString VersionLine();

    ~CSplashWnd() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    CSplashWnd(const QPixmap &picture, QWidget *parent);
    void HideSplashScreen();

    QPixmap m_picture;
    QPointer<QWidget> m_mainWindow;
    static bool s_enabled;
    static QPointer<CSplashWnd> s_current;
};
