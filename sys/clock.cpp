// localtime_r on every system: the Windows build has it from the C runtime
// (cmake/Windows.cmake asks for the thread-safe functions).
#include "sys/clock.h"

namespace sys {

std::tm localNow()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}

} // namespace sys
