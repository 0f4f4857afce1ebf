#pragma once
// The user's message for a failed file service: the step in the interface's
// words, naming the file and the system's reason.
#include "sys/files.h"

#include <string>

// UTF-8; empty on success.
std::string fileMessage(const sys::FileResult& result);
