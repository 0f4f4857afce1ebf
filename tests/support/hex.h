// Bytes as lower-case hex, to compare with published vectors.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

namespace {

inline std::string hex(const unsigned char* p, std::size_t n)
{
    std::string s;
    char b[3];
    for (std::size_t i = 0; i < n; ++i)
        std::snprintf(b, sizeof b, "%02x", p[i]), s += b;
    return s;
}

} // namespace
