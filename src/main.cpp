#include <QApplication>

#include "app/CBrindleApp.h"

int main(int argc, char **argv) {
    // The images live in the core library; a static library needs telling.
    Q_INIT_RESOURCE(brindle);
    QApplication application(argc, argv);
    QApplication::setApplicationName(CBrindleApp::Title());
    CBrindleApp app;
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    if (!app.InitInstance(arguments))
        return 1;
    return QApplication::exec();
}
