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
// Draws take 32-bit words from a buffered keystream and map them to the range
// without modulo bias (multiply-and-reject), so a draw costs a few
// nanoseconds and no system call.
#include <bit>
#include <cstddef>
#include <cstdint>
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
    int getRandInt(int lo, int hi)
    {
        if (lo > hi)
            std::swap(lo, hi);
        if (script_) [[unlikely]]
            return scriptedDraw(lo, hi);
        const uint32_t span = uint32_t(hi) - uint32_t(lo); // n - 1, for n = 1 .. 2^32
        if (span == UINT32_MAX) [[unlikely]]
            return int(uint32_t(lo) + next32()); // the full range: every word is a result
        const uint32_t n = span + 1;
        uint64_t m = uint64_t(next32()) * n;
        if (uint32_t(m) < n) [[unlikely]] {
            // Reject the low products that would favour some results:
            // 2^32 mod n of them, computed in 32 bits as (2^32 - n) mod n.
            const uint32_t threshold = uint32_t(-n) % n;
            while (uint32_t(m) < threshold)
                m = uint64_t(next32()) * n;
        }
        return int(int64_t(lo) + int64_t(m >> 32));
    }

    // Draws getRandInt(lo, hi) until a draw gives `want`, taking exactly the
    // draws such a loop would take (a scripted source records each one).
    // For a range of two values no word is ever rejected and the result is
    // lo plus the word's top bit, so the first wanted draw is found eight
    // words at a time instead of with one unpredictable branch per draw.
    // A `want` outside the range returns at once without drawing.
    void drawUntil(int lo, int hi, int want)
    {
        if (lo > hi)
            std::swap(lo, hi);
        if (want < lo || want > hi)
            return;
        if (!script_ && int64_t(hi) - int64_t(lo) == 1) {
            // Flipped this way, an unwanted word has its top bit set.
            const uint32_t flip = want == lo ? 0 : 0x80000000u;
            for (;;) {
                if (kWords - pos_ < 8) [[unlikely]] {
                    if (((next32() ^ flip) >> 31) == 0)
                        return;
                    continue;
                }
                const uint32_t* w = words_.get() + pos_;
                unsigned miss = 0; // bit i: word i is unwanted
#pragma GCC unroll 8
                for (unsigned i = 0; i < 8; ++i)
                    miss |= ((w[i] ^ flip) >> 31) << i;
                const unsigned taken = unsigned(std::countr_one(miss));
                if (taken < 8) {
                    pos_ += taken + 1;
                    return;
                }
                pos_ += 8;
            }
        }
        while (getRandInt(lo, hi) != want) {
        }
    }

    // One raw 32-bit word of the keystream (not for scripted sources).
    uint32_t next32()
    {
        if (pos_ == kWords) [[unlikely]]
            refill();
        return words_[pos_++];
    }

    bool isScripted() const { return script_ != nullptr; }
    // Scripted sources only: the draws made so far, and the results not yet used.
    const std::vector<Draw>& draws() const;
    std::size_t remaining() const;

private:
    static constexpr std::size_t kWords = 4096; // 16 KiB of keystream per refill

    struct Script;
    RandomGen();
    void refill();
    int scriptedDraw(int lo, int hi);

    std::unique_ptr<uint32_t[]> words_;
    std::size_t pos_ = kWords;
    unsigned char key_[32] = {};
    uint64_t block_ = 0;
    std::unique_ptr<Script> script_;
};
