#pragma once
// How a CCore is set up: where its store lives, the program folder it
// reports, and its random source. Defaults suit the window program.
#include "core/random.h"

#include <memory>
#include <string>

struct CoreOptions {
    std::string configPath; // UTF-8; empty: the user's usual place (openSettings)
    std::string appPath;    // UTF-8; empty: the folder of the running program
    std::unique_ptr<RandomGen> random; // null: the secure source
};
