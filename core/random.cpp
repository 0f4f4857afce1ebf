#include "core/random.h"

#include <sodium.h>

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

namespace {
void initSodium()
{
    if (sodium_init() < 0) {
        std::fputs("kelvane: libsodium could not be initialised\n", stderr);
        std::abort();
    }
}
} // namespace

RandomGen::RandomGen() : words_(new uint32_t[kWords]) {}
RandomGen::RandomGen(RandomGen&&) noexcept = default;
RandomGen& RandomGen::operator=(RandomGen&&) noexcept = default;
RandomGen::~RandomGen()
{
    sodium_memzero(key_, sizeof key_);
    if (words_)
        sodium_memzero(words_.get(), kWords * sizeof(uint32_t));
}

RandomGen RandomGen::secure()
{
    initSodium();
    RandomGen g;
    randombytes_buf(g.key_, sizeof g.key_);
    return g;
}

RandomGen RandomGen::seeded(std::string_view seed)
{
    initSodium();
    RandomGen g;
    static const char kContext[] = "kelvane seeded stream v1";
    crypto_generichash_state st;
    crypto_generichash_init(&st, nullptr, 0, sizeof g.key_);
    crypto_generichash_update(&st, reinterpret_cast<const unsigned char*>(kContext), sizeof kContext - 1);
    crypto_generichash_update(&st, reinterpret_cast<const unsigned char*>(seed.data()), seed.size());
    crypto_generichash_final(&st, g.key_, sizeof g.key_);
    return g;
}

RandomGen RandomGen::scripted(std::vector<int> results)
{
    RandomGen g;
    g.script_ = std::make_unique<Script>();
    g.script_->results = std::move(results);
    return g;
}

void RandomGen::refill()
{
    // Each refill uses the next nonce, so no keystream block is ever reused.
    unsigned char nonce[crypto_stream_chacha20_NONCEBYTES];
    for (std::size_t i = 0; i < sizeof nonce; ++i)
        nonce[i] = static_cast<unsigned char>(block_ >> (8 * i));
    ++block_;
    auto* bytes = reinterpret_cast<unsigned char*>(words_.get());
    crypto_stream_chacha20(bytes, kWords * sizeof(uint32_t), nonce, key_);
    if constexpr (std::endian::native == std::endian::big) {
        // Words are read little-endian so a seed gives the same draws everywhere.
        for (std::size_t i = 0; i < kWords; ++i)
            words_[i] = __builtin_bswap32(words_[i]);
    }
    pos_ = 0;
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
