// Test main: private configuration and data folders, then GoogleTest.
// Window tests (KELVANE_DIALOG_TEST) run inside the program's application,
// headless; tests that run Qt programs (KELVANE_QT_CORE_TEST) inside a Qt
// core one.
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#if defined(KELVANE_DIALOG_TEST)
#include "platform/app.h"
#include "ui/generator_app.h"
#elif defined(KELVANE_QT_CORE_TEST)
#include <QCoreApplication>
#endif

#include <cstdlib>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    TempDir config, data;
#ifdef _WIN32
    _putenv_s("XDG_CONFIG_HOME", config.path().c_str());
    _putenv_s("XDG_DATA_HOME", data.path().c_str());
#else
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("XDG_CONFIG_HOME", config.path().c_str(), 1);
    setenv("XDG_DATA_HOME", data.path().c_str(), 1);
#endif
#if defined(KELVANE_DIALOG_TEST)
    Application app(argc, argv);
    Application::configure(CGeneratorApp::Info());
#elif defined(KELVANE_QT_CORE_TEST)
    QCoreApplication app(argc, argv);
#endif
    return RUN_ALL_TESTS();
}
