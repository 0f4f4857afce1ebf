#pragma once
// The random source behind CCore::getRandInt.
//
// Three kinds of source share one interface:
//  - secure: a ChaCha20 keystream keyed from the operating system, fit for
//    passwords (the default);
//  - seeded: the same keystream keyed from a text, so a seed gives the same
//    draws on every machine (statistical tests, reproducible output);
//  - scripted: a fixed list of results handed out in order, so tests can
//    assert exact rows. It records the bounds of every draw.
//
// Draws read the buffered keystream as little-endian lanes, each used once:
//  - a range of 2 or 4 values takes a 2-bit field of a 64-bit pool word
//    (filled from the keystream when spent); a single value takes nothing;
//  - any other range below 2^16 values takes a 16-bit lane, a larger one a
//    32-bit lane. A lane x maps to lo + (x * n >> bits), and the few products
//    whose low half is below 2^bits mod n are rejected, so every result is
//    exactly uniform.
// A small draw costs about a nanosecond and no system call.
#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

class RandomGen {
public:
    struct Draw { int lo; int hi; int result; };

    static RandomGen secure();
    static RandomGen seeded(std::string_view seed);
    static RandomGen scripted(std::vector<int> results);

    RandomGen(RandomGen&&) noexcept;
    RandomGen& operator=(RandomGen&&) noexcept;
    ~RandomGen();

    // Uniform integer r with lo <= r <= hi over the whole 32-bit range.
    // Reversed bounds are swapped, so getRandInt(5, 1) draws from 1..5.
    [[gnu::always_inline]] int getRandInt(int lo, int hi)
    {
        if (lo > hi)
            std::swap(lo, hi);
        const uint32_t span = uint32_t(hi) - uint32_t(lo); // n - 1, for n = 1 .. 2^32
        if (span <= 3 && span != 2) {
            // A scripted source keeps field_ at the end, so it always lands here.
            if (field_ >= kFields) [[unlikely]]
                return drawAfterRefill(lo, hi);
            if (span == 0)
                return lo;
            const uint32_t t = uint32_t(pool_ >> (2 * field_)) & 3;
            ++field_;
            wantedFields_ = 0; // drawUntilIn rebuilds it from the next field
            return int(uint32_t(lo) + ((t * (span + 1)) >> 2));
        }
        if (span < 0xFFFF) [[likely]] {
            if (pos_ > kBytes - 2) [[unlikely]] // always, for a scripted source
                return drawAfterRefill(lo, hi);
            const uint32_t n = span + 1;
            uint32_t m = lane16(pos_) * n; // < 2^32
            pos_ += 2;
            if ((m & 0xFFFF) < n) [[unlikely]]
                m = retry16(m, n);
            return int(uint32_t(lo) + (m >> 16));
        }
        if (pos_ > kBytes - 4) [[unlikely]]
            return drawAfterRefill(lo, hi);
        const uint32_t x = lane32(pos_);
        pos_ += 4;
        if (span == UINT32_MAX) [[unlikely]]
            return int(uint32_t(lo) + x); // the full range: every word is a result
        const uint32_t n = span + 1;
        uint64_t m = uint64_t(x) * n;
        if (uint32_t(m) < n) [[unlikely]]
            m = retry32(m, n);
        return int(uint32_t(lo) + uint32_t(m >> 32));
    }

    // getRandInt(lo, lo + n - 1) for a count known to take a 16-bit lane
    // (n == 3, or 5 <= n <= 65535): the same draw, without the checks that
    // pick the lane.
    [[gnu::always_inline]] int drawLane16(int lo, uint32_t n)
    {
        if (pos_ > kBytes - 2) [[unlikely]] // always, for a scripted source
            return drawAfterRefill(lo, int(uint32_t(lo) + n - 1));
        uint32_t m = lane16(pos_) * n;
        pos_ += 2;
        if ((m & 0xFFFF) < n) [[unlikely]]
            m = retry16(m, n);
        return int(uint32_t(lo) + (m >> 16));
    }

    // Fills out[0 .. len) with table[r], each r uniform in 0 .. n - 1 for
    // 2 <= n <= 65535: one 16-bit lane each, as drawLane16 takes it, in a loop
    // that keeps its place in the keystream in a register. For long runs of
    // one small range (a password's characters). Not for scripted sources.
    [[gnu::always_inline]] void fillFromTable(char* __restrict out, std::size_t len, const char* __restrict table,
                                              uint32_t n)
    {
        std::size_t pos = pos_, i = 0;
        while (i < len) {
            if (pos > kBytes - 2) [[unlikely]] {
                refill();
                pos = 0;
            }
            const std::size_t stop = std::min(len, i + (kBytes - pos) / 2);
            for (; i < stop; ++i) {
                uint32_t m = lane16(pos) * n;
                pos += 2;
                if ((m & 0xFFFF) < n) [[unlikely]] {
                    // The rare second look; it may refill, so the bound is taken again.
                    pos_ = pos;
                    m = retry16(m, n);
                    pos = pos_;
                    out[i++] = table[m >> 16];
                    break;
                }
                out[i] = table[m >> 16];
            }
        }
        pos_ = pos;
    }

    // Draws getRandInt(lo, hi) until a draw gives a value r whose bit r - lo
    // is set in `wanted`, and returns that value, taking exactly the draws
    // such a loop would take (a scripted source records each one). For 2 or
    // 4 values the pool's fields that give a wanted value are marked once
    // per pool word, so each call just takes the next marked field: no
    // branch on the drawn values. Throws std::logic_error, drawing nothing,
    // for a range of more than 32 values or when no value of the range is
    // wanted (the loop would never end).
    [[gnu::always_inline]] int drawUntilIn(int lo, int hi, uint32_t wanted)
    {
        if (lo > hi)
            std::swap(lo, hi);
        const uint32_t span = uint32_t(hi) - uint32_t(lo);
        if (span >= 32 || (wanted & (UINT32_MAX >> (31 - span))) == 0) [[unlikely]]
            noWantedValue(lo, hi);
        if (span != 1 && span != 3)
            return drawUntilInLoop(lo, hi, wanted);
        // Bit t: a field holding t gives a wanted value.
        const uint32_t table = span == 3 ? wanted & 15u : (wanted & 1u) * 3 + (wanted & 2u) * 6;
        if (wantedFields_ == 0 || table != wantedTable_) [[unlikely]]
            return drawUntilInRefresh(lo, hi, wanted, table);
        return takeWantedField(lo, span);
    }

    // Draws getRandInt(lo, hi) until a draw gives `want`, taking exactly the
    // draws such a loop would take. A `want` outside the range returns at
    // once without drawing.
    [[gnu::always_inline]] void drawUntil(int lo, int hi, int want)
    {
        if (lo > hi)
            std::swap(lo, hi);
        if (want < lo || want > hi)
            return;
        if (uint32_t(hi) - uint32_t(lo) < 32)
            drawUntilIn(lo, hi, 1u << (uint32_t(want) - uint32_t(lo)));
        else
            while (getRandInt(lo, hi) != want) {
            }
    }

    // One raw 32-bit word of the keystream (not for scripted sources).
    uint32_t next32()
    {
        if (pos_ > kBytes - 4) [[unlikely]]
            refill();
        const uint32_t x = lane32(pos_);
        pos_ += 4;
        return x;
    }

    // A source with this one's key, for drawing numbered streams (below) on
    // another thread. Throws std::logic_error for a source without a key.
    RandomGen sameKey() const;
    // Starts stream `index` (below 2^63): a stretch of keystream of its own,
    // read from ChaCha20 block 0 on under a nonce the running stream never
    // uses. What is drawn after startStream(i) depends only on the key and i,
    // so blocks of rows drawn from their own streams come out the same in any
    // order, on any thread. Throws std::logic_error for a source without a key.
    void startStream(uint64_t index);

    bool isScripted() const { return script_ != nullptr; }
    // Scripted sources only: the draws made so far, and the results not yet used.
    const std::vector<Draw>& draws() const;
    std::size_t remaining() const;

private:
    static constexpr std::size_t kBytes = 16384; // keystream per refill
    static constexpr unsigned kFields = 32;      // 2-bit fields per pool word

    struct Script;
    RandomGen();
    void wipe();
    void refill();
    void refillPool();
    int drawAfterRefill(int lo, int hi);
    uint32_t retry16(uint32_t m, uint32_t n);
    uint64_t retry32(uint64_t m, uint32_t n);
    int drawUntilInLoop(int lo, int hi, uint32_t wanted);
    int drawUntilInRefresh(int lo, int hi, uint32_t wanted, uint32_t table);
    [[noreturn]] static void noWantedValue(int lo, int hi);
    int scriptedDraw(int lo, int hi);

    // The next field marked in wantedFields_; the fields before it are the
    // unwanted draws the loop would have taken.
    [[gnu::always_inline]] int takeWantedField(int lo, uint32_t span)
    {
        const unsigned bit = unsigned(std::countr_zero(wantedFields_)); // 2 * field
        wantedFields_ &= wantedFields_ - 1;
        field_ = bit / 2 + 1;
        const uint32_t t = uint32_t(pool_ >> bit) & 3;
        return int(uint32_t(lo) + ((t * (span + 1)) >> 2));
    }

    template <class T>
    T lane(std::size_t at) const
    {
        T x;
        std::memcpy(&x, buf_ + at, sizeof x);
        if constexpr (std::endian::native == std::endian::big) { // lanes are little-endian everywhere
            if constexpr (sizeof x == 2)
                x = __builtin_bswap16(x);
            else if constexpr (sizeof x == 4)
                x = __builtin_bswap32(x);
            else
                x = __builtin_bswap64(x);
        }
        return x;
    }
    uint32_t lane16(std::size_t at) const { return lane<uint16_t>(at); }
    uint32_t lane32(std::size_t at) const { return lane<uint32_t>(at); }
    uint64_t lane64(std::size_t at) const { return lane<uint64_t>(at); }

    // pos_: the next unread byte of buf_; kBytes when spent (always, for a
    // scripted source). The buffer lives in the object, so a draw reads it at
    // a fixed offset from `this` without loading a pointer.
    std::size_t pos_ = kBytes;
    // The pool: field_ is the next unread 2-bit field of pool_ (kFields when
    // spent, always for a scripted source). wantedFields_ marks, by the low
    // bit of each field, the unread fields that give a wanted value under
    // wantedTable_; 0 when none is known.
    uint64_t pool_ = 0;
    unsigned field_ = kFields;
    uint32_t wantedTable_ = 0;
    uint64_t wantedFields_ = 0;
    uint64_t block_ = 0;   // refills so far of the running stream
    bool streamed_ = false; // drawing stream stream_ (startStream)
    uint64_t stream_ = 0;
    std::unique_ptr<Script> script_;
    bool keyed_ = false;
    unsigned char key_[32] = {};
    alignas(64) unsigned char buf_[kBytes] = {};
};
