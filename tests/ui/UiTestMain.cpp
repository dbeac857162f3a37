#include <QApplication>
#include <QStandardPaths>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    // Widget tests run without a display, on Qt's offscreen platform.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    // Settings go to a test location, never the user's own.
    QStandardPaths::setTestModeEnabled(true);
    QApplication::setOrganizationName("Tidewell");
    QApplication::setApplicationName("Tidewell tests");
    return RUN_ALL_TESTS();
}
