#include <QApplication>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    // Widget tests run without a display, on Qt's offscreen platform.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Without one, Qt makes itself a runtime folder in /tmp and leaves it there.
    const QTemporaryDir runtime;
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    // Settings go to a folder of this run's own: never the user's, and never
    // those of tests running beside it.
    const QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    QApplication::setOrganizationName("Tidewell");
    QApplication::setApplicationName("Tidewell tests");
    return RUN_ALL_TESTS();
}
