#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include "app/CSplashWnd.h"

// The picture lives in the core library's resources, which a static link drops unless asked for.
static void LoadResources() { Q_INIT_RESOURCE(brindle); }

namespace {

// A stand-in main window with something to type into, click and a shortcut.
struct MainWindow {
    QWidget window;
    QLineEdit *edit = new QLineEdit(&window);
    QPushButton *button = new QPushButton("Push", &window);
    QAction *action = new QAction(&window);

    MainWindow() {
        LoadResources();
        auto *layout = new QVBoxLayout(&window);
        layout->addWidget(edit);
        layout->addWidget(button);
        action->setShortcut(QKeySequence("F5"));
        window.addAction(action);
        window.show();
        QApplication::setActiveWindow(&window);
        edit->setFocus();
    }
    ~MainWindow() {
        // Leave no splash behind for the next test.
        if (CSplashWnd *splash = CSplashWnd::Current())
            splash->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

} // namespace

TEST(SplashWnd, ShowsCentredForFiveSeconds) {
    MainWindow main;
    CSplashWnd::ShowSplashScreen(&main.window);
    CSplashWnd *splash = CSplashWnd::Current();
    ASSERT_NE(splash, nullptr) << "no :/images/splash.png";
    EXPECT_TRUE(splash->isVisible());
    EXPECT_TRUE(splash->isWindow());
    EXPECT_TRUE(splash->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(splash->size(), QPixmap(":/images/splash.png").deviceIndependentSize().toSize());
    EXPECT_EQ(splash->geometry().center(), splash->screen()->geometry().center());
    auto *timer = splash->findChild<QTimer *>();
    ASSERT_NE(timer, nullptr);
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 5000);

    // A second request while it shows makes no second window.
    CSplashWnd::ShowSplashScreen(&main.window);
    EXPECT_EQ(CSplashWnd::Current(), splash);

    // Its timer running out closes it (shortened here).
    timer->start(1);
    EXPECT_TRUE(QTest::qWaitFor([] { return !CSplashWnd::IsShowing(); }, 2000));
}

TEST(SplashWnd, FirstKeyOnlyClosesIt) {
    MainWindow main;
    QSignalSpy triggered(main.action, &QAction::triggered);
    CSplashWnd::ShowSplashScreen(&main.window);
    ASSERT_TRUE(CSplashWnd::IsShowing());
    QApplication::setActiveWindow(&main.window);

    // A shortcut key is eaten too. (With a modifier, the modifier's own press closes it.)
    QTest::keyClick(main.edit, Qt::Key_F5);
    EXPECT_FALSE(CSplashWnd::IsShowing());
    EXPECT_EQ(triggered.count(), 0);
    EXPECT_EQ(main.edit->text(), "");

    // Once it is gone, keys and shortcuts work again.
    QTest::keyClicks(main.edit, "ab");
    EXPECT_EQ(main.edit->text(), "ab");
    QTest::keyClick(main.edit, Qt::Key_F5);
    EXPECT_EQ(triggered.count(), 1);

    // A plain key is eaten as well.
    CSplashWnd::ShowSplashScreen(&main.window);
    QApplication::setActiveWindow(&main.window);
    QTest::keyClick(main.edit, Qt::Key_X);
    EXPECT_FALSE(CSplashWnd::IsShowing());
    EXPECT_EQ(main.edit->text(), "ab");
}

TEST(SplashWnd, FirstClickOnlyClosesIt) {
    MainWindow main;
    QSignalSpy clicked(main.button, &QPushButton::clicked);
    CSplashWnd::ShowSplashScreen(&main.window);
    ASSERT_TRUE(CSplashWnd::IsShowing());

    QTest::mouseClick(main.button, Qt::RightButton);
    EXPECT_FALSE(CSplashWnd::IsShowing());
    QTest::mouseClick(main.button, Qt::LeftButton);
    EXPECT_EQ(clicked.count(), 1);

    CSplashWnd::ShowSplashScreen(&main.window);
    QTest::mouseClick(main.button, Qt::LeftButton);
    EXPECT_FALSE(CSplashWnd::IsShowing());
    EXPECT_EQ(clicked.count(), 1);
}

TEST(SplashWnd, SwitchedOffShowsNothing) {
    MainWindow main;
    CSplashWnd::EnableSplashScreen(false);
    CSplashWnd::ShowSplashScreen(&main.window);
    CSplashWnd::EnableSplashScreen(true);
    EXPECT_FALSE(CSplashWnd::IsShowing());
}
