#pragma once
// CGeneratorApp: starts the program, runs the main window modally and ends
// when it closes.
#include "platform/app.h"
#include "platform/wintypes.h"

class CGeneratorApp {
public:
    // Checks that windows can be shown (else returns 1), creates the
    // application, runs InitInstance; the exit code.
    int Run(int& argc, char** argv);

    // Runs the main window modally, then releases the core objects.
    // Returns FALSE: the application ends.
    BOOL InitInstance();

    // Deletes g_core and frees g_soft, setting both to null.
    static void ReleaseCoreObjects();

    // The program as the application shows it: name, version, the main
    // window's font and the program's icon. Tests and tools that show the
    // program's windows configure their application with it too.
    static AppInfo Info();
};
