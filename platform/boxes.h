#pragma once
// Message boxes go through one replaceable service. The back end's real one
// shows a modal box and returns when the user has dismissed it; tests
// install a recording one (tests/support). Texts are UTF-8.
#include "core/types.h"

#include <string>

enum class BoxKind {
    Plain,   // the page's own box: caption as given (usually ""), one OK button
    Warning, // the core's warning box
    About,   // the core's About information
};

struct BoxRequest {
    HWND owner; // null: the active window, if any
    BoxKind kind;
    std::string caption;
    std::string text;
};

class BoxService {
public:
    virtual ~BoxService() = default;
    // Shows the box and returns when it has been dismissed.
    virtual void show(const BoxRequest& box) = 0;

    // The installed service; the real boxes when none is installed.
    static BoxService& current();
    // Installs a service (null: back to the real boxes); returns the previous one.
    static BoxService* install(BoxService* service);
};

// Shows a box through the installed service.
void showBox(HWND owner, BoxKind kind, const std::string& caption, const std::string& text);

// The back end's real boxes.
BoxService& systemBoxes();
