#pragma once
// The save-file dialog, replaceable (tests install a scripted one). Paths
// are UTF-8; the files themselves are written by the system layer
// (sys/files.h).
#include "core/types.h"
#include "sys/files.h"

#include <optional>
#include <string>

using sys::TextEncoding;

struct SaveTarget {
    std::string path;
    TextEncoding encoding;
};

class SaveFileService {
public:
    virtual ~SaveFileService() = default;
    // Asks for a file to save to; nothing when the user cancels. The real
    // dialog offers "GBK 文本 (*.txt)" (the default) and "UTF-8 文本 (*.txt)",
    // adds ".txt" to a name without a suffix and confirms overwriting.
    virtual std::optional<SaveTarget> ask(HWND owner, const std::string& caption, const std::string& suggestedName) = 0;

    static SaveFileService& current();
    // Installs a service (null: the real dialog); returns the previous one.
    static SaveFileService* install(SaveFileService* service);
};

// The back end's real save-file dialog.
SaveFileService& systemSaveDialog();
