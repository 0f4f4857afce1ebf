#pragma once
// Clocks and the median for the Windows probes.
#include <windows.h>

#include <algorithm>
#include <vector>

namespace probe {

// Wall-clock seconds from the performance counter.
inline double seconds()
{
    LARGE_INTEGER f, t;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t);
    return double(t.QuadPart) / double(f.QuadPart);
}

// CPU time of this process (user and kernel); the X server's share of the
// painting is not in it.
inline double cpuSeconds()
{
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto s = [](FILETIME f) { return double((ULONGLONG(f.dwHighDateTime) << 32) | f.dwLowDateTime) / 1e7; };
    return s(kernel) + s(user);
}

inline double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace probe
