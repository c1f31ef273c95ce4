#include <cstdlib>

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char **argv) {
    Q_INIT_RESOURCE(brindle);
    // Tests never need a screen; a developer's DISPLAY must not pop windows.
    if (!std::getenv("BRINDLE_TEST_SHOW"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
