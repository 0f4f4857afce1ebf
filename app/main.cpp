// The window program: one application object, run.
#include "ui/generator_app.h"

namespace {
CGeneratorApp theApp;
}

int main(int argc, char** argv)
{
    return theApp.Run(argc, argv);
}
