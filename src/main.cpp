#include <cstdio>
#include <cstring>

#include <QApplication>

#include "app/AppIcon.h"
#include "app/CBrindleApp.h"

int main(int argc, char **argv) {
    // Answered before QApplication exists, so it needs no display.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::fputs(qPrintable(CBrindleApp::VersionText() + QLatin1Char('\n')), stdout);
            return std::fflush(stdout) == 0 ? 0 : 1;
        }
    }
    // The images live in the core library; a static library needs telling.
    Q_INIT_RESOURCE(brindle);
    QApplication application(argc, argv);
    QApplication::setApplicationName(CBrindleApp::Title());
    // Ties the windows to the installed desktop entry (its name and icon on Wayland).
    QApplication::setDesktopFileName(QStringLiteral("brindle"));
    QApplication::setWindowIcon(AppIcon::Icon());
    CBrindleApp app;
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    if (!app.InitInstance(arguments))
        return 1;
    return QApplication::exec();
}
