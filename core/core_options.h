#pragma once
// How a CCore is set up: where its store lives, the program folder it
// reports, and its random source. Defaults suit the window program.
#include "core/random.h"
#include "core/types.h"

#include <QString>

#include <memory>

struct CoreOptions {
    QString configPath;   // empty: ConfigStore::defaultPath()
    QString appPath;      // empty: the folder of the running program
    std::unique_ptr<RandomGen> random; // null: the secure source
};

// A GBK path as a file name for Qt.
QString pathFromGbk(const CString& path);
