// Test main: headless Qt, a private configuration folder, then GoogleTest.
#include <gtest/gtest.h>

#ifdef KELVANE_GUI_TEST
#include <QApplication>
using TestApp = QApplication;
#else
#include <QCoreApplication>
using TestApp = QCoreApplication;
#endif
#include <QTemporaryDir>

#include <cstdlib>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QTemporaryDir config;
    setenv("XDG_CONFIG_HOME", config.path().toLocal8Bit().constData(), 1);
    TestApp app(argc, argv);
    return RUN_ALL_TESTS();
}
