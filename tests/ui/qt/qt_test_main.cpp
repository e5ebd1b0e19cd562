// The QApplication that every widget test runs in, in the program's start-up look.
#include <gtest/gtest.h>

#include <QApplication>

#include "ui/qt/qt_platform.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // ctest lists the tests without the test environment.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    wt::qt::installClassicLook();
    return RUN_ALL_TESTS();
}
