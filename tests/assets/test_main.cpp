// The drawing code needs a GUI application for its fonts; the tests run it off screen.
#include <gtest/gtest.h>

#include <QGuiApplication>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    int qtArgc = 1;
    QGuiApplication app(qtArgc, argv);
    return RUN_ALL_TESTS();
}
