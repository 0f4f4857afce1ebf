#include "ui/generator_app.h"

#include "core/ccore.h"
#include "res/resource.h"
#include "res/templates.h"
#include "ui/generator_dlg.h"

#include <cstdlib>

int CGeneratorApp::Run(int& argc, char** argv)
{
    if (!Application::canStart())
        return 1;
    Application app(argc, argv);
    Application::configure(Info());
    app.closeWindowsOnTerminate();
    InitInstance();
    return 0;
}

BOOL CGeneratorApp::InitInstance()
{
    CGeneratorDlg dlg;
    dlg.DoModal();
    ReleaseCoreObjects();
    return FALSE;
}

void CGeneratorApp::ReleaseCoreObjects()
{
    delete g_core;
    g_core = nullptr;
    std::free(g_soft);
    g_soft = nullptr;
}

AppInfo CGeneratorApp::Info()
{
    return {"Kelvane", KELVANE_VERSION, "kelvane", kGeneratorDialogTemplate.fontFace,
            kGeneratorDialogTemplate.fontPoints, IDR_MAINFRAME};
}
