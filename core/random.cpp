#include "core/random.h"

#include "sys/keystream.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>

struct RandomGen::Script {
    std::vector<int> results;
    std::size_t next = 0;
    std::vector<Draw> draws;
};

RandomGen::RandomGen() = default;

RandomGen::RandomGen(RandomGen&& other) noexcept
{
    *this = std::move(other);
}

RandomGen& RandomGen::operator=(RandomGen&& other) noexcept
{
    if (this == &other)
        return *this;
    pos_ = other.pos_;
    pool_ = other.pool_;
    field_ = other.field_;
    wantedTable_ = other.wantedTable_;
    wantedFields_ = other.wantedFields_;
    block_ = other.block_;
    streamed_ = other.streamed_;
    stream_ = other.stream_;
    script_ = std::move(other.script_);
    keyed_ = other.keyed_;
    std::memcpy(key_, other.key_, sizeof key_);
    std::memcpy(buf_, other.buf_, sizeof buf_);
    // The source left behind holds no key material and cannot draw.
    other.wipe();
    other.pos_ = kBytes;
    other.field_ = kFields;
    other.wantedFields_ = 0;
    other.keyed_ = false;
    return *this;
}

RandomGen::~RandomGen()
{
    wipe();
}

void RandomGen::wipe()
{
    keystream::wipe(key_, sizeof key_);
    keystream::wipe(buf_, sizeof buf_);
    keystream::wipe(&pool_, sizeof pool_);
    keystream::wipe(&wantedFields_, sizeof wantedFields_);
}

RandomGen RandomGen::secure()
{
    keystream::init();
    RandomGen g;
    keystream::newKey(g.key_);
    g.keyed_ = true;
    return g;
}

RandomGen RandomGen::seeded(std::string_view seed)
{
    keystream::init();
    RandomGen g;
    if (!keystream::keyFromSeed(g.key_, "kelvane seeded stream v1", seed))
        throw std::logic_error("seeded random streams are not available on this system");
    g.keyed_ = true;
    return g;
}

RandomGen RandomGen::scripted(std::vector<int> results)
{
    RandomGen g;
    g.script_ = std::make_unique<Script>();
    g.script_->results = std::move(results);
    return g;
}

namespace {
constexpr uint64_t kStreamBit = uint64_t(1) << 63;

void requireKey(bool keyed)
{
    if (!keyed)
        throw std::logic_error("random source without a key (scripted, or moved from)");
}
} // namespace

RandomGen RandomGen::sameKey() const
{
    requireKey(keyed_);
    RandomGen g;
    std::memcpy(g.key_, key_, sizeof key_);
    g.keyed_ = true;
    return g;
}

void RandomGen::startStream(uint64_t index)
{
    requireKey(keyed_);
    if (index >= kStreamBit)
        throw std::logic_error("random stream index " + std::to_string(index) + " out of range");
    streamed_ = true;
    stream_ = index;
    block_ = 0;
    pos_ = kBytes;
    pool_ = 0;
    field_ = kFields;
    wantedFields_ = 0;
}

void RandomGen::refill()
{
    requireKey(keyed_);
    if (streamed_) {
        // A numbered stream: nonce 2^63 + index, read on from the block after
        // the last refill. The running stream's nonces count up from 0 and
        // never reach 2^63, so the two never share keystream.
        keystream::fill(buf_, kBytes, kStreamBit | stream_, block_ * (kBytes / 64), key_);
        ++block_;
        pos_ = 0;
        return;
    }
    // Each refill uses the next nonce, so no keystream block is ever reused.
    keystream::fill(buf_, kBytes, block_++, 0, key_);
    pos_ = 0;
}

void RandomGen::refillPool()
{
    if (pos_ > kBytes - 8)
        refill();
    pool_ = lane64(pos_);
    pos_ += 8;
    field_ = 0;
    wantedFields_ = 0;
}

// Reached when the pool or the buffer a draw needs is spent, and for every
// draw of a scripted source.
int RandomGen::drawAfterRefill(int lo, int hi)
{
    if (script_)
        return scriptedDraw(lo, hi);
    const uint32_t span = uint32_t(hi) - uint32_t(lo);
    if (span == 0)
        return lo;
    if (span <= 3 && span != 2)
        refillPool();
    else
        refill();
    return getRandInt(lo, hi);
}

// The lane gave a product whose low half is below n: it is kept unless that
// half is also below 2^16 mod n, the products that would favour some results.
uint32_t RandomGen::retry16(uint32_t m, uint32_t n)
{
    const uint32_t threshold = (0x10000u - n) % n;
    while ((m & 0xFFFF) < threshold) {
        if (pos_ > kBytes - 2)
            refill();
        m = lane16(pos_) * n;
        pos_ += 2;
    }
    return m;
}

uint64_t RandomGen::retry32(uint64_t m, uint32_t n)
{
    const uint32_t threshold = uint32_t(-n) % n; // 2^32 mod n, in 32 bits
    while (uint32_t(m) < threshold)
        m = uint64_t(next32()) * n;
    return m;
}

int RandomGen::drawUntilInLoop(int lo, int hi, uint32_t wanted)
{
    for (;;) {
        const int r = getRandInt(lo, hi);
        if ((wanted >> (uint32_t(r) - uint32_t(lo))) & 1u)
            return r;
    }
}

namespace {
// Bit 2i set when field i of pool (bits 2i and 2i + 1) holds a value t whose
// bit is set in table.
uint64_t markFields(uint64_t pool, uint32_t table)
{
    constexpr uint64_t kLow = 0x5555555555555555u;
    const uint64_t l = pool & kLow, h = (pool >> 1) & kLow;
    uint64_t m = 0;
    if (table & 1u)
        m |= ~(h | l) & kLow;
    if (table & 2u)
        m |= l & ~h;
    if (table & 4u)
        m |= h & ~l;
    if (table & 8u)
        m |= h & l;
    return m;
}
} // namespace

// drawUntilIn when no wanted field is marked for this table: marks the unread
// fields of the pool, and when none of them is wanted takes them all (each an
// unwanted draw) and goes on with the next pool word.
int RandomGen::drawUntilInRefresh(int lo, int hi, uint32_t wanted, uint32_t table)
{
    if (script_)
        return drawUntilInLoop(lo, hi, wanted);
    for (;;) {
        if (field_ >= kFields)
            refillPool();
        wantedTable_ = table;
        wantedFields_ = markFields(pool_, table) & (~uint64_t(0) << (2 * field_));
        if (wantedFields_ != 0)
            return takeWantedField(lo, uint32_t(hi) - uint32_t(lo));
        field_ = kFields;
    }
}

void RandomGen::noWantedValue(int lo, int hi)
{
    throw std::logic_error("drawUntilIn: " + std::to_string(lo) + ".." + std::to_string(hi)
                           + " is wider than 32 values or has no wanted value");
}

int RandomGen::scriptedDraw(int lo, int hi)
{
    Script& s = *script_;
    if (s.next >= s.results.size())
        throw std::logic_error("scripted random source exhausted at draw " + std::to_string(s.next + 1)
                               + " (" + std::to_string(lo) + ".." + std::to_string(hi) + ")");
    const int r = s.results[s.next++];
    s.draws.push_back({lo, hi, r});
    if (r < lo || r > hi)
        throw std::logic_error("scripted result " + std::to_string(r) + " outside " + std::to_string(lo)
                               + ".." + std::to_string(hi));
    return r;
}

const std::vector<RandomGen::Draw>& RandomGen::draws() const
{
    static const std::vector<Draw> none;
    return script_ ? script_->draws : none;
}

std::size_t RandomGen::remaining() const
{
    return script_ ? script_->results.size() - script_->next : 0;
}
