// kelvane.exe: one application object, run. A Windows program, so there is
// no console for --help; the window is the whole interface.
#include "ui/generator_app.h"

namespace {
CGeneratorApp theApp;
} // namespace

int main(int argc, char** argv)
{
    return theApp.Run(argc, argv);
}
