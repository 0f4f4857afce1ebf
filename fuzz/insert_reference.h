#pragma once
// The insert rule written out plainly, to hold the generator's own (parsed
// once, positions found in one pass) against: the list is split at every '|'
// that begins a character (the second byte of a Chinese character may be
// '|'); pairs are read until the first empty position; positions read as atoi
// does and count the bytes of the row as it was; a pair is skipped when its
// position is past the row's end, or when an earlier pair was taken at a
// nonzero position that is not above it; a position inside a two-byte
// character inserts in front of that character.
#include "core/textutil.h"
#include "fuzz/fuzz_support.h"

#include <string>
#include <vector>

namespace fuzz {

// s split at each sep that is a character of its own.
inline std::vector<std::string> splitFields(const std::string& s, char sep)
{
    std::vector<std::string> parts(1);
    for (const std::string& c : gbkChars(s)) {
        if (c.size() == 1 && c[0] == sep)
            parts.emplace_back();
        else
            parts.back() += c;
    }
    return parts;
}

inline std::string referenceInserts(const std::string& list, const std::string& row)
{
    const std::vector<std::string> parts = splitFields(list, '|');
    const auto part = [&parts](std::size_t i) { return i < parts.size() ? parts[i] : std::string(); };

    std::string out = row;
    const long long n = (long long)row.size();
    long long last = 0;
    for (std::size_t k = 0; !part(k).empty(); k += 2) {
        const long long pos = textutil::toInt(part(k));
        if (pos > n || (last != 0 && pos >= last))
            continue;
        last = pos;
        std::size_t off = 0;
        while (pos > 0 && off < std::size_t(pos)) {
            const std::size_t len = gbk::charLen(out, off);
            if (off + len > std::size_t(pos))
                break;
            off += len;
        }
        out.insert(off, part(k + 1));
    }
    return out;
}

} // namespace fuzz
