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
// Draws read the buffered keystream as little-endian lanes: a range of fewer
// than 2^16 values takes a 16-bit lane, a larger one a 32-bit lane. A lane x
// maps to lo + (x * n >> bits), and the few products whose low half is below
// 2^bits mod n are rejected, so every result is exactly uniform. A small draw
// costs about a nanosecond and no system call.
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
        if (span < 0xFFFF) [[likely]] {
            // A scripted source keeps pos_ at the end, so it always lands here.
            if (pos_ > kBytes - 2) [[unlikely]]
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

    // Draws getRandInt(lo, hi) until a draw gives a value r whose bit r - lo
    // is set in `wanted`, and returns that value, taking exactly the draws
    // such a loop would take (a scripted source records each one). A range
    // of 1, 2 or 4 values never rejects a lane and its value lies in the
    // lane's top bits, so several lanes are tested at once and the first
    // wanted one is found without a branch per draw. Throws
    // std::logic_error, drawing nothing, for a range of more than 32 values
    // or when no value of the range is wanted (the loop would never end).
    int drawUntilIn(int lo, int hi, uint32_t wanted)
    {
        if (lo > hi)
            std::swap(lo, hi);
        const uint32_t span = uint32_t(hi) - uint32_t(lo);
        if (span >= 32 || (wanted & (UINT32_MAX >> (31 - span))) == 0) [[unlikely]]
            noWantedValue(lo, hi);
        if (span == 2 || span > 3) [[unlikely]]
            return drawUntilInLoop(lo, hi, wanted);
        // For n = 1, 2 or 4 the value of a lane x is x >> (16 - bits): its top
        // two bits select it. table has bit t set when top bits t give a
        // wanted value.
        const unsigned shift = span == 0 ? 2 : span == 1 ? 1 : 0;
        uint64_t table = 0;
        for (unsigned t = 0; t < 4; ++t)
            table |= uint64_t((wanted >> (t >> shift)) & 1u) << t;
        table *= kLaneOnes; // the same four bits in every 16-bit lane
        for (;;) {
            // Near the end of the buffer, and always for a scripted source.
            if (pos_ > kBytes - 8) [[unlikely]] {
                const int r = getRandInt(lo, hi);
                if ((wanted >> (uint32_t(r) - uint32_t(lo))) & 1u)
                    return r;
                continue;
            }
            // Four lanes: t in 0..3 per lane, turned into the one-hot 1 << t
            // (lanes never carry into each other), then masked by the table.
            const uint64_t v = lane64(pos_);
            const uint64_t t = (v >> 14) & (3 * kLaneOnes);
            const uint64_t one = kLaneOnes + (t & kLaneOnes);         // 1 or 2
            const uint64_t high = ((t >> 1) & kLaneOnes) * 0xFFFF;    // all ones when t >= 2
            const uint64_t hit = (one + ((3 * one) & high)) & table; // (1 << t) & table
            if (hit) {
                const unsigned lane = unsigned(std::countr_zero(hit)) / 16;
                pos_ += 2 * (lane + 1);
                return int(uint32_t(lo) + (((t >> (16 * lane)) & 3) >> shift));
            }
            pos_ += 8;
        }
    }

    // Draws getRandInt(lo, hi) until a draw gives `want`, taking exactly the
    // draws such a loop would take. A `want` outside the range returns at
    // once without drawing.
    void drawUntil(int lo, int hi, int want)
    {
        if (lo > hi)
            std::swap(lo, hi);
        if (want < lo || want > hi)
            return;
        const uint32_t offset = uint32_t(want) - uint32_t(lo);
        if (offset < 32 && uint32_t(hi) - uint32_t(lo) < 32) {
            drawUntilIn(lo, hi, 1u << offset);
            return;
        }
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

    bool isScripted() const { return script_ != nullptr; }
    // Scripted sources only: the draws made so far, and the results not yet used.
    const std::vector<Draw>& draws() const;
    std::size_t remaining() const;

private:
    static constexpr std::size_t kBytes = 16384; // keystream per refill
    static constexpr uint64_t kLaneOnes = 0x0001000100010001u;

    struct Script;
    RandomGen();
    void refill();
    int drawAfterRefill(int lo, int hi);
    uint32_t retry16(uint32_t m, uint32_t n);
    uint64_t retry32(uint64_t m, uint32_t n);
    int drawUntilInLoop(int lo, int hi, uint32_t wanted);
    [[noreturn]] static void noWantedValue(int lo, int hi);
    int scriptedDraw(int lo, int hi);

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
    uint64_t block_ = 0;
    std::unique_ptr<Script> script_;
    bool keyed_ = false;
    unsigned char key_[32] = {};
    alignas(64) unsigned char buf_[kBytes] = {};
};
