#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    // Widget tests run offscreen; the X11 suites talk to their own Xvfb through xcb and child processes.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // Windows that reach for the user's settings and stickers find a private folder instead of the real ones.
    QTemporaryDir home;
    setenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(QStringLiteral("config"))).constData(), 1);
    setenv("XDG_DATA_HOME", QFile::encodeName(home.filePath(QStringLiteral("data"))).constData(), 1);
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
