#pragma once
// Opening a program text the way the system's "open" action does: the text
// is one file name (a program, a document, a folder or an address), never a
// command line. A failure is reported on stderr; callers need not look at
// the result.
#include <string>

// Opens the GBK text; false when nothing could be started.
bool shellOpen(const std::string& program);
