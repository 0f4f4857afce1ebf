#include "gen/number_gen.h"

#include "core/random.h"
#include "core/texts.h"
#include "gen/number_text.h"
#include "sys/number_text.h"


#include <algorithm>
#include <cmath>
#include <cstring>
#include <cstdint>
#include <limits>
#include <memory>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace {


constexpr int32_t kScaledLimit = 2147483647;
// Room for one row without its line end: any int, or a fixed value below
// 2^31 + 1 in magnitude with up to 9 decimals (at most 21 characters).
constexpr std::size_t kRowChars = 32;

// A double truncated toward zero to an int, saturating instead of undefined
// behaviour outside the int range (checked settings never get there).
int truncToInt(double x)
{
    if (std::isnan(x))
        return 0;
    if (x <= -2147483649.0)
        return std::numeric_limits<int>::min();
    if (x >= 2147483648.0)
        return std::numeric_limits<int>::max();
    return static_cast<int>(x);
}

bool scaledFits(double scaled)
{
    return scaled >= -kScaledLimit && scaled <= kScaledLimit;
}

// Decimals as used for the scale and the format. Outside 0..5 only unchecked
// settings get here; the cap keeps p a 32-bit value.
int usableDecimals(int decimals)
{
    return std::clamp(decimals, 0, 9);
}

int powerOfTen(int decimals)
{
    int p = 1;
    for (int i = 0; i < usableDecimals(decimals); ++i)
        p *= 10;
    return p;
}

// Pairs are drawn until one is kept as long as at least one pair in
// kDirectBelow is kept; below that the plan draws once among the kept pairs
// instead. The narrowest ranges, such as 0.5 to 0.5 with 5 decimals, keep 1
// pair in 10001, and at the 2 000 000-row bound the redraw loop would take
// minutes. The slowest range that still loops (about 64 pairs a row) makes
// 2 000 000 rows in about 1.3 s on the build machine (bench/edge_bench.cpp).
constexpr int64_t kDirectBelow = 64;

// Everything a floating-point draw needs that stays the same between draws.
struct FloatPlan {
    int decimals;
    int p;      // 10^decimals
    int lo, hi; // the scaled bounds, truncated toward zero
    int q;      // bound of the second draw: p / 10
    double min, max;
    // Direct drawing (empty when the pairs are drawn until one is kept): the
    // sums a + g that are kept, ascending, and for each the count of kept
    // pairs up to and including it. A pair is kept by its sum alone, so
    // drawing a kept pair uniformly is drawing a sum weighted by its pairs.
    std::vector<int64_t> keptSums;
    std::vector<int64_t> keptUpTo;
};

// The value of the sum a + g of a pair, folded back once when it overshoots
// the maximum. The sum is taken in 64 bits: near the top of the 32-bit range
// it can exceed it.
double sumValue(const FloatPlan& f, int64_t sum)
{
    double v = double(sum) / f.p;
    if (v > f.max)
        v -= double(kFoldBack);
    return v;
}

// A value is kept when it lies within the bounds. For a range with rangeMax
// >= 0 the folded value never exceeds rangeMax, so only the minimum rejects;
// below zero the scaled maximum is truncated upwards and a value can still
// lie above rangeMax after its fold-back: it is drawn again as well. With no
// decimals a folded value (a whole number less 0.1) is written rounded back
// to that whole number, which lies above rangeMax: only whole values are
// kept then.
bool kept(const FloatPlan& f, double v)
{
    return !(v < f.min) && !(v > f.max) && (f.decimals != 0 || v == std::nearbyint(v));
}

// Pairs (a, g) with lo <= a <= hi and 0 <= g <= q whose sum is s.
int64_t pairsWithSum(const FloatPlan& f, int64_t s)
{
    return std::min<int64_t>(f.hi, s) - std::max<int64_t>(f.lo, s - f.q) + 1;
}

// Sets up direct drawing when few pairs are kept. With hi - lo >= 2q + 2,
// every pair whose a lies at least one step inside the scaled bounds and q
// below hi is kept, more than a third of all pairs, so only narrower ranges
// (at most 3q + 2 sums) are counted.
void planDirect(FloatPlan& f)
{
    if (f.lo > f.hi || f.q > 10000 || int64_t(f.hi) - f.lo >= 2 * int64_t(f.q) + 2)
        return;
    const int64_t all = (int64_t(f.hi) - f.lo + 1) * (int64_t(f.q) + 1);
    std::vector<int64_t> sums, upTo;
    int64_t total = 0;
    for (int64_t s = f.lo; s <= int64_t(f.hi) + f.q; ++s)
        if (kept(f, sumValue(f, s))) {
            total += pairsWithSum(f, s);
            sums.push_back(s);
            upTo.push_back(total);
        }
    if (total > 0 && total * kDirectBelow < all) {
        f.keptSums = std::move(sums);
        f.keptUpTo = std::move(upTo);
    }
}

FloatPlan makeFloatPlan(float rangeMin, float rangeMax, int decimals)
{
    FloatPlan f;
    f.decimals = usableDecimals(decimals);
    f.p = powerOfTen(decimals);
    f.lo = truncToInt(double(f.p) * double(rangeMin));
    f.hi = truncToInt(double(f.p) * double(rangeMax));
    f.q = f.p / 10;
    f.min = rangeMin;
    f.max = rangeMax;
    return f;
}

double drawFloat(RandomGen& core, const FloatPlan& f)
{
    if (!f.keptUpTo.empty()) {
        // One draw among the kept pairs (fewer than 2^31: at most 3q + 2
        // sums of at most q + 1 pairs each).
        const int64_t r = core.getRandInt(0, int(f.keptUpTo.back() - 1));
        const auto at = std::upper_bound(f.keptUpTo.begin(), f.keptUpTo.end(), r) - f.keptUpTo.begin();
        return sumValue(f, f.keptSums[std::size_t(at)]);
    }
    for (;;) {
        const int a = core.getRandInt(f.lo, f.hi);
        const int g = core.getRandInt(0, f.q);
        const double v = sumValue(f, int64_t(a) + g);
        if (kept(f, v))
            return v;
    }
}

struct RowPlan {
    bool isInt, isFloat;
    int intLo, intHi;
    FloatPlan fl;
};

RowPlan makeRowPlan(const NumberSettings& s)
{
    RowPlan r{s.isInt != 0, s.isFloat != 0, truncToInt(s.rangeMin), truncToInt(s.rangeMax),
              makeFloatPlan(s.rangeMin, s.rangeMax, s.decimals)};
    if (r.isFloat)
        planDirect(r.fl);
    return r;
}

// The kind of a row, drawn for every row even when only one kind is asked
// for: then it is drawn until it gives that kind.
[[gnu::always_inline]] inline int drawKind(RandomGen& core, const RowPlan& r)
{
    if (r.isInt && r.isFloat)
        return core.getRandInt(kKindInt, kKindFloat);
    const int kind = r.isInt ? kKindInt : kKindFloat;
    core.drawUntil(kKindInt, kKindFloat, kind);
    return kind;
}

// Writes one row at out, which has kRowChars bytes of room.
char* putRow(RandomGen& core, const RowPlan& r, char* out)
{
    if (!r.isInt && !r.isFloat)
        return out; // unchecked settings: no kind could ever be drawn
    for (;;) {
        const int kind = drawKind(core, r);
        if (kind == kKindInt && r.isInt)
            return numtext::putInt(out, core.getRandInt(r.intLo, r.intHi));
        if (kind == kKindFloat && r.isFloat) {
            const float holder = static_cast<float>(drawFloat(core, r.fl));
            if (holder != kNoRowMarker) {
                // Values stay below 2^31 + 1 in magnitude, so the room always suffices.
                char* end = numtext::putFixed(out, out + kRowChars, holder, r.fl.decimals);
                return end ? end : out;
            }
        }
    }
}

// An upper estimate of one row's length with its line end, for reserving.
std::size_t rowLengthEstimate(const RowPlan& r)
{
    char tmp[kRowChars];
    auto len = [&](int v) { return std::size_t(numtext::putInt(tmp, v) - tmp); };
    std::size_t n = 0;
    if (r.isInt)
        n = std::max(len(r.intLo), len(r.intHi));
    if (r.isFloat) {
        const std::size_t whole = std::max(len(r.fl.lo / r.fl.p), len(r.fl.hi / r.fl.p)) + 1;
        n = std::max(n, whole + (r.fl.decimals > 0 ? std::size_t(r.fl.decimals) + 1 : 0));
    }
    return n + 2;
}

float roundToFloat(double d)
{
    if (std::isnan(d))
        return std::numeric_limits<float>::quiet_NaN();
    // From halfway between FLT_MAX and the next power of two on, the nearest
    // single-precision value is infinite.
    constexpr double kOverflow = 0x1.ffffffp127;
    if (d >= kOverflow)
        return std::numeric_limits<float>::infinity();
    if (d <= -kOverflow)
        return -std::numeric_limits<float>::infinity();
    return static_cast<float>(d);
}

CString decimalsRangeMessage(int decimals)
{
    // 2147483647 / 10^decimals written out exactly.
    const int p = powerOfTen(decimals);
    std::string limit = std::to_string(kScaledLimit / p);
    if (decimals > 0) {
        std::string frac = std::to_string(kScaledLimit % p);
        limit += '.' + std::string(std::size_t(decimals) - frac.size(), '0') + frac;
    }
    return fill(text(Text::FloatRangeTooWide), {std::to_string(decimals), limit});
}

} // namespace

float numberFieldBound(const CString& text)
{
    if (text.empty())
        return 0.0f;
    // atof under the "C" locale: the decimal point is '.' whatever the
    // user's locale says.
    return roundToFloat(sys::parseDoubleC(text.c_str()));
}

std::optional<Invalid> NumberSettings::validate() const
{
    if (isInt == 0 && isFloat == 0)
        return Invalid::of(Text::NoNumberKind);
    if (isFloat != 0 && (decimals < 0 || decimals > kMaxDecimals))
        return Invalid::of(Text::DecimalsInvalid);
    if (rangeMin > rangeMax)
        return Invalid::of(Text::RangeInvalid);
    if (count < 1)
        return Invalid::of(Text::CountInvalid);
    // The rules above come first so every case they describe keeps its
    // message; the ones below keep the draws defined and finite.
    if (!std::isfinite(rangeMin) || !std::isfinite(rangeMax))
        return Invalid::of(Text::RangeNotFinite);
    if (isFloat != 0) {
        // Floating-point rows scale the bounds by 10^decimals; this is the
        // stricter limit, so it speaks for both kinds.
        const double p = powerOfTen(decimals);
        if (!scaledFits(p * rangeMin) || !scaledFits(p * rangeMax))
            return Invalid{Text::FloatRangeTooWide, decimalsRangeMessage(decimals)};
    }
    if (isInt != 0 && (!scaledFits(rangeMin) || !scaledFits(rangeMax)))
        return Invalid::of(Text::IntRangeTooWide);
    if (isFloat != 0 && !floatRangeHasValue(rangeMin, rangeMax, decimals))
        return Invalid::of(Text::NoFloatValue);
    if (count > maxCount)
        return Invalid{Text::TooManyRows, fill(text(Text::TooManyRows), {std::to_string(maxCount)})};
    return std::nullopt;
}

bool floatRangeHasValue(float rangeMin, float rangeMax, int decimals)
{
    const FloatPlan f = makeFloatPlan(rangeMin, rangeMax, decimals);
    // lo and hi are p * rangeMin and p * rangeMax (exact in double) truncated
    // toward zero. When hi > lo, one pair with g = 0 lies within the bounds in
    // exact arithmetic: a = hi when rangeMin >= 0 (p * rangeMin < hi <=
    // p * rangeMax), a = lo otherwise (p * rangeMin <= lo, and lo < p *
    // rangeMax or lo <= 0 <= p * rangeMax). Rounding the quotient keeps it
    // within the bounds, so it is neither folded back nor rejected.
    if (f.hi > f.lo)
        return true;
    // Otherwise a = lo is the only first draw: try each second draw as the
    // draw itself would (at most 10001).
    for (int g = 0; g <= f.q; ++g)
        if (kept(f, sumValue(f, int64_t(f.lo) + g)))
            return true;
    return false;
}

double drawFloatValue(RandomGen& random, float rangeMin, float rangeMax, int decimals)
{
    FloatPlan f = makeFloatPlan(rangeMin, rangeMax, decimals);
    planDirect(f);
    return drawFloat(random, f);
}

void appendNumberRow(const NumberSettings& s, RandomGen& random, std::string& out)
{
    char buf[kRowChars];
    const char* end = putRow(random, makeRowPlan(s), buf);
    out.append(buf, std::size_t(end - buf));
}

namespace {

// The text of every row a narrow range can give, each with its line end, in
// a 16-byte slot whose last byte holds its length: a row is then a draw and
// one 16-byte copy instead of a formatting. Integer rows are looked up by
// value, floating-point rows by the sum a + g of their pair.
struct RowTexts {
    struct alignas(16) Slot {
        char bytes[16];
        uint8_t size() const { return uint8_t(bytes[15]); }
    };
    static constexpr uint8_t kNotKept = 0; // the pair is drawn again
    static constexpr uint8_t kMarker = 0xFF; // the row starts again from its kind
    // Larger ranges are formatted row by row: a table this size still sits
    // in the cache next to the keystream.
    static constexpr int64_t kMaxSlots = 8192;

    int64_t base = 0; // the value or sum of slot 0
    std::vector<Slot> slots;

    // What text() says of a value that gives no text.
    static constexpr int kTextNotKept = -1, kTextMarker = -2;

    // Fills the slots for values first .. first + n - 1; text(v, out) writes
    // the row of v at out (room for kRowChars) and returns its length, or
    // kTextNotKept or kTextMarker. False when a row with its line end does
    // not fit a slot, or is longer than maxRow.
    template <class Text>
    bool fill(int64_t first, int64_t n, std::string_view eol, std::size_t maxRow, Text text)
    {
        base = first;
        slots.assign(std::size_t(n), Slot{});
        for (int64_t i = 0; i < n; ++i) {
            char row[kRowChars];
            Slot& slot = slots[std::size_t(i)];
            const int got = text(first + i, row);
            if (got < 0) {
                slot.bytes[15] = char(got == kTextNotKept ? kNotKept : kMarker);
                continue;
            }
            const auto len = std::size_t(got);
            if (len > maxRow || len + eol.size() > 15) {
                slots.clear();
                return false;
            }
            std::memcpy(slot.bytes, row, len);
            std::memcpy(slot.bytes + len, eol.data(), eol.size());
            slot.bytes[15] = char(len + eol.size());
        }
        return true;
    }
};

} // namespace

struct NumberRowMaker::Plan {
    explicit Plan(const RowPlan& r) : row(r), maxRow(rowLengthEstimate(r) - 2) {}

    RowPlan row;
    std::size_t maxRow = 0;
    // Tables for the line end they were made with; tried: a table was
    // considered for a call of at least that many rows.
    std::string eol;
    int64_t triedRows = 0;
    RowTexts ints, floats;

    // Makes the tables a block of `rows` rows is worth: a table costs about
    // what formatting a row costs per slot.
    void prepare(int64_t rows, std::string_view lineEnd)
    {
        if (lineEnd != eol) {
            eol = lineEnd;
            triedRows = 0;
            ints.slots.clear();
            floats.slots.clear();
        }
        if (rows <= triedRows)
            return;
        triedRows = rows;
        const RowPlan& r = row;
        if (r.isInt && ints.slots.empty()) {
            const int64_t lo = std::min(r.intLo, r.intHi), n = int64_t(std::max(r.intLo, r.intHi)) - lo + 1;
            if (n <= RowTexts::kMaxSlots && n <= 2 * rows)
                ints.fill(lo, n, eol, maxRow, [](int64_t v, char* out) { return int(numtext::putInt(out, int(v)) - out); });
        }
        const FloatPlan& f = r.fl;
        if (r.isFloat && floats.slots.empty() && f.lo <= f.hi) {
            const int64_t n = int64_t(f.hi) + f.q - f.lo + 1;
            if (n <= RowTexts::kMaxSlots && n <= 2 * rows)
                floats.fill(f.lo, n, eol, maxRow, [&f](int64_t sum, char* out) {
                    const double v = sumValue(f, sum);
                    if (!kept(f, v))
                        return RowTexts::kTextNotKept;
                    const float holder = static_cast<float>(v);
                    if (holder == kNoRowMarker)
                        return RowTexts::kTextMarker;
                    const char* end = numtext::putFixed(out, out + kRowChars, holder, f.decimals);
                    return end ? int(end - out) : 0;
                });
        }
    }

    bool tabled() const { return (!row.isInt || !ints.slots.empty()) && (!row.isFloat || !floats.slots.empty()); }

    // putRow through the tables: the same draws, the same text.
    [[gnu::always_inline]] char* putTabled(RandomGen& core, char* __restrict out) const
    {
        const RowPlan& r = row;
        const FloatPlan& f = r.fl;
        for (;;) {
            const int kind = drawKind(core, r);
            const RowTexts::Slot* slot;
            if (kind == kKindInt && r.isInt) {
                slot = &ints.slots[std::size_t(int64_t(core.getRandInt(r.intLo, r.intHi)) - ints.base)];
            } else if (kind == kKindFloat && r.isFloat) {
                if (!f.keptUpTo.empty()) {
                    const int64_t at = core.getRandInt(0, int(f.keptUpTo.back() - 1));
                    const auto i = std::upper_bound(f.keptUpTo.begin(), f.keptUpTo.end(), at) - f.keptUpTo.begin();
                    slot = &floats.slots[std::size_t(f.keptSums[std::size_t(i)] - floats.base)];
                } else {
                    do {
                        const int a = core.getRandInt(f.lo, f.hi);
                        const int g = core.getRandInt(0, f.q);
                        slot = &floats.slots[std::size_t(int64_t(a) + g - floats.base)];
                    } while (slot->size() == RowTexts::kNotKept);
                }
                if (slot->size() == RowTexts::kMarker)
                    continue;
            } else {
                continue;
            }
            std::memcpy(out, slot->bytes, sizeof slot->bytes);
            return out + slot->size();
        }
    }
};

NumberRowMaker::NumberRowMaker(const NumberSettings& s, RandomGen& random)
    : plan_(std::make_unique<Plan>(makeRowPlan(s))), random_(&random)
{
}
NumberRowMaker::NumberRowMaker(NumberRowMaker&&) noexcept = default;
NumberRowMaker::~NumberRowMaker() = default;

void NumberRowMaker::appendRow(std::string& out)
{
    char buf[kRowChars];
    const char* end = putRow(*random_, plan_->row, buf);
    out.append(buf, std::size_t(end - buf));
}

char* NumberRowMaker::putRows(char* out, int64_t rows, std::string_view eol)
{
    Plan& p = *plan_;
    RandomGen& core = *random_;
    p.prepare(rows, eol);
    if (p.tabled()) {
        char* __restrict at = out;
        for (int64_t i = 0; i < rows; ++i)
            at = p.putTabled(core, at);
        return at;
    }
    for (int64_t i = 0; i < rows; ++i) {
        char buf[kRowChars];
        const char* end = putRow(core, p.row, buf);
        const auto len = std::size_t(end - buf);
        if (len > p.maxRow) // the room was sized from maxRow
            throw std::logic_error("number row longer than its estimate");
        std::memcpy(out, buf, len);
        out += len;
        std::memcpy(out, eol.data(), eol.size());
        out += eol.size();
    }
    return out;
}

std::size_t NumberRowMaker::maxRowBytes() const
{
    return rowLengthEstimate(plan_->row) - 2;
}

CString drawNumberRow(const NumberSettings& s, RandomGen& random)
{
    CString row;
    appendNumberRow(s, random, row);
    return row;
}

namespace {
// Makes count rows with CR LF in pieces of at most chunkBytes (at least one
// row each) and hands each to flush.
template <class Flush>
void runRows(const NumberSettings& s, RandomGen& random, std::size_t chunkBytes, Flush&& flush)
{
    if (s.count <= 0)
        return;
    NumberRowMaker maker(s, random);
    const std::size_t row = maker.maxRowBytes() + 2;
    const int64_t perChunk = std::max<int64_t>(1, int64_t(chunkBytes / row));
    const std::size_t room = std::size_t(perChunk) * row + NumberRowMaker::kPutSlack;
    const std::unique_ptr<char[]> buf(new char[room]); // left uninitialised: rows overwrite it
    for (int64_t done = 0; done < s.count;) {
        const int64_t rows = std::min<int64_t>(perChunk, s.count - done);
        const char* end = maker.putRows(buf.get(), rows, "\r\n");
        flush(std::string_view(buf.get(), std::size_t(end - buf.get())));
        done += rows;
    }
}
} // namespace

CString drawNumberRows(const NumberSettings& s, RandomGen& random)
{
    CString out;
    if (s.count <= 0)
        return out;
    out.reserve(std::size_t(s.count) * rowLengthEstimate(makeRowPlan(s)));
    runRows(s, random, kNumberChunkBytes, [&out](std::string_view chunk) { out.append(chunk); });
    return out;
}

void streamNumberRows(const NumberSettings& s, RandomGen& random, const NumberSink& sink, std::size_t chunkBytes)
{
    runRows(s, random, chunkBytes, [&sink](std::string_view chunk) { sink(chunk); });
}
