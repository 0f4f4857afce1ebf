#pragma once
// The core's warning box and About information, shown through BoxService.
#include "core/ccore.h"

#include <string>

class DialogPresenter : public CorePresenter {
public:
    void warning(HWND owner, const CString& text) override;
    void about(HWND owner, const tagSoft* soft) override;

    // The About text (UTF-8): product, version and the four identification texts.
    static std::string aboutText(const tagSoft& soft);
    // The one presenter of the program.
    static DialogPresenter& instance();
};
