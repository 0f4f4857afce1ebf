// The window program: one application object, run. --help and --version
// answer on stdout without opening a window (the manual page is made from
// them).
#include "platform/qt/qt_translations.h"
#include "ui/generator_app.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstring>

namespace {
CGeneratorApp theApp;

// Qt's own dialogs and buttons speak the window's language.
void loadQtTranslations()
{
    installQtTranslations();
}
Q_COREAPP_STARTUP_FUNCTION(loadQtTranslations)

const char kHelp[] =
    "Usage: kelvane [OPTION]...\n"
    "Make random test data in a window: random strings (passwords, user names,\n"
    "domain names, phone numbers), numbers within a range, and runs of events at\n"
    "random intervals that can open a program at each event.\n"
    "\n"
    "Options:\n"
    "  -h, --help     show this help and exit\n"
    "  -v, --version  show the version and exit\n"
    "\n"
    "The standard options of the window toolkit (-platform NAME, -display\n"
    "DISPLAY, -style NAME) are accepted too.\n"
    "\n"
    "Exit status:\n"
    "  0  the window was closed\n"
    "  1  no display is available\n"
    "\n"
    "Files:\n"
    "  Kelvane.ini    the options of every tab, kept between runs (UTF-8 INI), in\n"
    "                 ~/.config/Kelvane/ ($XDG_CONFIG_HOME/Kelvane/)\n"
    "  _out.txt       the rows of a string run of more than 1000 rows (GBK text,\n"
    "                 CR LF), saved elsewhere with Export; beside the program\n"
    "                 where that folder can be written, otherwise in\n"
    "                 ~/.local/share/Kelvane/ ($XDG_DATA_HOME/Kelvane/)\n"
    "\n"
    "Examples:\n"
    "  kelvane        open the window\n"
    "  QT_QPA_PLATFORM=xcb kelvane  open it through X11 in a Wayland session\n"
    "\n"
    "See kelvane-cli(1) for the same generators in scripts and pipelines.\n";

bool is(const char* arg, const char* shortName, const char* longName)
{
    return std::strcmp(arg, shortName) == 0 || std::strcmp(arg, longName) == 0;
}
} // namespace

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (is(argv[i], "-h", "--help"))
            return std::fputs(kHelp, stdout) >= 0 && std::fflush(stdout) == 0 ? 0 : 1;
        if (is(argv[i], "-v", "--version"))
            return std::printf("kelvane %s\n", KELVANE_VERSION) > 0 && std::fflush(stdout) == 0 ? 0 : 1;
    }
    return theApp.Run(argc, argv);
}
