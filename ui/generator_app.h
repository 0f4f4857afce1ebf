#pragma once
// CGeneratorApp: starts the program, runs the main window modally and ends
// when it closes.
#include "platform/dialog/wintypes.h"

class CGeneratorApp {
public:
    // Checks that a display is available (else prints why not and returns
    // 1), creates the Qt application, runs InitInstance; the exit code.
    int Run(int& argc, char** argv);

    // Runs the main window modally, then releases the core objects.
    // Returns FALSE: the application ends.
    BOOL InitInstance();

    // Application-wide settings: name, version, icon, style and font.
    static void ConfigureApplication();
    // Deletes g_core and frees g_soft, setting both to null.
    static void ReleaseCoreObjects();
    // DISPLAY or WAYLAND_DISPLAY is set, or QT_QPA_PLATFORM names a platform.
    static bool DisplayAvailable();
};
