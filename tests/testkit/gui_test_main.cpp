// Test main for suites that drive real windows: a QApplication, the font mapping and the Thai
// platform texts the program itself installs, then GoogleTest.

#include "ui/fonts.h"
#include "ui/platform_texts.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    platform::installFontSubstitutes();
    platform::installThaiPlatformTexts();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
