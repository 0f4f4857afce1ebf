#pragma once
// The local time of the system (its time zone and summer time).
#include <ctime>

namespace sys {

// The calendar time now, in local time.
std::tm localNow();

} // namespace sys
