#pragma once
// The three tabs' rules in the browser: what each page reads from its
// controls, which box a message goes to, what it loads and stores. They
// follow the window's pages (ui/) control by control; the rules themselves
// (checks, messages, rows) are the generators' (gen/) and the core's.
//
// Controls travel as plain maps (web/page_options.h).
#include "core/types.h"
#include "gen/number_gen.h"
#include "gen/string_gen.h"
#include "gen/timed_run.h"
#include "web/page_options.h"

#include <optional>
#include <string>

// A message for the user and the box it goes in.
struct PageMessage {
    bool warning = false; // the core's warning box, else the page's plain box
    std::string text;     // UTF-8
};

namespace web {

// The string tab's controls as the page shows them at start, from the store;
// loaded gets the values shown.
Controls loadStringPage(StringSettings& loaded);
// Reads the controls into settings (over `last`, which keeps a text GBK
// cannot hold at its previous value). With validate, checks them: the
// message of the first failing rule, else nothing (and `last` is ready for
// a run).
std::optional<PageMessage> readStringPage(const Controls& c, StringSettings& last, bool validate);
void storeStringPage(const Controls& c, StringSettings& last);

Controls loadNumberPage();
std::optional<PageMessage> readNumberPage(const Controls& c, NumberSettings& out, bool validate);
void storeNumberPage(const Controls& c);

// The time tab. The program text never runs in the browser: readTimePage
// hands the run settings without it, and storing keeps what was loaded.
Controls loadTimePage(TimeSettings& loaded);
TimeSettings readTimePage(const Controls& c, const TimeSettings& loaded);
void storeTimePage(const Controls& c, const TimeSettings& loaded);

} // namespace web
