#pragma once
// The program around its main window: the toolkit's application object, its
// application-wide settings, and an orderly end on a termination request.
#include <functional>

// What the program tells the back end about itself: its name and version,
// its desktop entry (Linux), the font of its windows and boxes, and its icon
// (the resource id of an icon group). Texts are UTF-8.
struct AppInfo {
    const char* name;
    const char* version;
    const char* desktopEntry;
    const char* fontFace;
    int fontPoints;
    int iconGroup;
};

class Application {
public:
    // Whether windows can be shown (a display is available); when not, says
    // why on stderr.
    static bool canStart();
    // Creates the toolkit's application.
    Application(int& argc, char** argv);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Name, version, icon, widget style and font, for the program and for
    // tests and tools that show its windows.
    static void configure(const AppInfo& info);
    // A termination request (SIGINT, SIGTERM, SIGHUP) closes the windows the
    // ordinary way, so that the pages store their options.
    void closeWindowsOnTerminate();

private:
    struct State;
    State* state_;
};
