// How many different rows a set of settings can give at most: the bound
// behind kelvane-cli's --unique.
#include "gen/number_gen.h"
#include "gen/string_gen.h"

#include "core/gbk_chars.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <set>

namespace {

uint64_t satAdd(uint64_t a, uint64_t b) { return a > UINT64_MAX - b ? UINT64_MAX : a + b; }
uint64_t satMul(uint64_t a, uint64_t b) { return b != 0 && a > UINT64_MAX / b ? UINT64_MAX : a * b; }

// Characters of a GBK text as codes: one byte, or (lead << 8) | trail.
std::set<unsigned> charCodes(const CString& s)
{
    std::set<unsigned> codes;
    gbk::forEachChar(s, [&codes](gbk::Code c, std::size_t, std::size_t) { codes.insert(c); });
    return codes;
}

// How many rows of lengths lo..hi an alphabet of a characters gives: the
// sum of a^len, saturating. Closed in form for a <= 1; otherwise the terms
// at least double, so the loops end within 64 steps of saturating.
uint64_t rowsOfLengths(uint64_t a, int lo, int hi)
{
    lo = std::max(0, lo);
    hi = std::max(0, hi);
    if (lo > hi)
        return 0;
    if (a == 0)
        return lo == 0 ? 1 : 0; // only the empty row
    if (a == 1)
        return uint64_t(int64_t(hi) - lo) + 1; // one row per length
    uint64_t term = 1;
    for (int i = 0; i < lo && term != UINT64_MAX; ++i)
        term = satMul(term, a);
    uint64_t total = 0;
    for (int64_t len = lo; len <= hi && total != UINT64_MAX; ++len) {
        total = satAdd(total, term);
        term = satMul(term, a);
    }
    return total;
}

} // namespace

uint64_t distinctRows(const StringSettings& s)
{
    uint64_t alphabet = 0;
    const std::set<unsigned> ex = s.isCharEx ? charCodes(s.charExclude) : std::set<unsigned>{};
    auto countRange = [&](unsigned lo, unsigned hi) {
        const auto first = ex.lower_bound(lo), last = ex.upper_bound(hi);
        return uint64_t(hi - lo + 1) - uint64_t(std::distance(first, last));
    };
    if (s.isUCase)
        alphabet += countRange('A', 'Z');
    if (s.isLCase)
        alphabet += countRange('a', 'z');
    if (s.isNum)
        alphabet += countRange('0', '9');
    if (s.isHz) {
        // Only the excluded codes inside the level-1 block can lower the count.
        uint64_t hz = gbk::kLevel1Count;
        for (auto it = ex.lower_bound(0xB0A1); it != ex.end() && *it <= 0xD7FE; ++it)
            hz -= gbk::isLevel1(gbk::Code(*it)) ? 1 : 0;
        alphabet += hz;
    }
    if (s.isCharSpec)
        alphabet += charCodes(s.charSpec).size();
    return rowsOfLengths(alphabet, s.lenMin, s.lenMax);
}

uint64_t distinctRows(const NumberSettings& s)
{
    uint64_t n = 0;
    if (s.isInt)
        n += uint64_t(int64_t(s.rangeMax) - int64_t(s.rangeMin)) + 1;
    if (s.isFloat) {
        const double p = std::pow(10.0, s.decimals);
        // f from lo to hi plus g up to p / 10, folded back within the range.
        n += uint64_t(std::trunc(p * double(s.rangeMax)) - std::trunc(p * double(s.rangeMin))) + 1 + uint64_t(p / 10) + 1;
    }
    return n;
}
