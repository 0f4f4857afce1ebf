#include "sys/chacha20.h"

#include <cstring>

namespace cipher {
namespace {

std::uint32_t rotl32(std::uint32_t x, int n) { return (x << n) | (x >> (32 - n)); }
std::uint64_t rotr64(std::uint64_t x, int n) { return (x >> n) | (x << (64 - n)); }

std::uint32_t load32(const unsigned char* p)
{
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}

std::uint64_t load64(const unsigned char* p) { return std::uint64_t(load32(p)) | std::uint64_t(load32(p + 4)) << 32; }

void quarter(std::uint32_t* x, int a, int b, int c, int d)
{
    x[a] += x[b], x[d] = rotl32(x[d] ^ x[a], 16);
    x[c] += x[d], x[b] = rotl32(x[b] ^ x[c], 12);
    x[a] += x[b], x[d] = rotl32(x[d] ^ x[a], 8);
    x[c] += x[d], x[b] = rotl32(x[b] ^ x[c], 7);
}

constexpr std::uint64_t kIv[8] = {
    0x6a09e667f3bcc908ULL, 0xbb67ae8584caa73bULL, 0x3c6ef372fe94f82bULL, 0xa54ff53a5f1d36f1ULL,
    0x510e527fade682d1ULL, 0x9b05688c2b3e6c1fULL, 0x1f83d9abfb41bd6bULL, 0x5be0cd19137e2179ULL,
};

constexpr unsigned char kSigma[12][16] = {
    {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}, {14, 10, 4, 8, 9, 15, 13, 6, 1, 12, 0, 2, 11, 7, 5, 3},
    {11, 8, 12, 0, 5, 2, 15, 13, 10, 14, 3, 6, 7, 1, 9, 4}, {7, 9, 3, 1, 13, 12, 11, 14, 2, 6, 5, 10, 4, 0, 15, 8},
    {9, 0, 5, 7, 2, 4, 10, 15, 14, 1, 11, 12, 6, 8, 3, 13}, {2, 12, 6, 10, 0, 11, 8, 3, 4, 13, 7, 5, 15, 14, 1, 9},
    {12, 5, 1, 15, 14, 13, 4, 10, 0, 7, 6, 3, 9, 2, 8, 11}, {13, 11, 7, 14, 12, 1, 3, 9, 5, 0, 15, 4, 8, 6, 2, 10},
    {6, 15, 14, 9, 11, 3, 0, 8, 12, 2, 13, 7, 1, 4, 10, 5}, {10, 2, 8, 4, 7, 6, 1, 5, 15, 11, 9, 14, 3, 12, 13, 0},
    {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}, {14, 10, 4, 8, 9, 15, 13, 6, 1, 12, 0, 2, 11, 7, 5, 3},
};

} // namespace

void chacha20(unsigned char* out, std::size_t n, const unsigned char (&nonce)[8], const unsigned char (&key)[32],
              std::uint64_t firstBlock)
{
    std::uint32_t in[16] = {0x61707865, 0x3320646e, 0x79622d32, 0x6b206574};
    for (int i = 0; i < 8; ++i)
        in[4 + i] = load32(key + 4 * i);
    in[12] = std::uint32_t(firstBlock);
    in[13] = std::uint32_t(firstBlock >> 32);
    in[14] = load32(nonce);
    in[15] = load32(nonce + 4);
    while (n > 0) {
        std::uint32_t x[16];
        std::memcpy(x, in, sizeof x);
        for (int r = 0; r < 10; ++r) {
            quarter(x, 0, 4, 8, 12), quarter(x, 1, 5, 9, 13), quarter(x, 2, 6, 10, 14), quarter(x, 3, 7, 11, 15);
            quarter(x, 0, 5, 10, 15), quarter(x, 1, 6, 11, 12), quarter(x, 2, 7, 8, 13), quarter(x, 3, 4, 9, 14);
        }
        unsigned char block[64];
        for (int i = 0; i < 16; ++i) {
            const std::uint32_t v = x[i] + in[i];
            block[4 * i] = static_cast<unsigned char>(v);
            block[4 * i + 1] = static_cast<unsigned char>(v >> 8);
            block[4 * i + 2] = static_cast<unsigned char>(v >> 16);
            block[4 * i + 3] = static_cast<unsigned char>(v >> 24);
        }
        const std::size_t take = n < 64 ? n : 64;
        std::memcpy(out, block, take);
        out += take;
        n -= take;
        if (++in[12] == 0)
            ++in[13];
    }
}

Blake2b::Blake2b(std::size_t outLen) : outLen_(outLen)
{
    std::memcpy(h_, kIv, sizeof h_);
    h_[0] ^= 0x01010000ULL ^ outLen;
}

void Blake2b::compress(bool last)
{
    std::uint64_t m[16], v[16];
    for (int i = 0; i < 16; ++i)
        m[i] = load64(buf_ + 8 * i);
    for (int i = 0; i < 8; ++i)
        v[i] = h_[i], v[8 + i] = kIv[i];
    v[12] ^= t_[0];
    v[13] ^= t_[1];
    if (last)
        v[14] = ~v[14];
    auto g = [&](int a, int b, int c, int d, std::uint64_t x, std::uint64_t y) {
        v[a] += v[b] + x, v[d] = rotr64(v[d] ^ v[a], 32);
        v[c] += v[d], v[b] = rotr64(v[b] ^ v[c], 24);
        v[a] += v[b] + y, v[d] = rotr64(v[d] ^ v[a], 16);
        v[c] += v[d], v[b] = rotr64(v[b] ^ v[c], 63);
    };
    for (const auto& s : kSigma) {
        g(0, 4, 8, 12, m[s[0]], m[s[1]]), g(1, 5, 9, 13, m[s[2]], m[s[3]]);
        g(2, 6, 10, 14, m[s[4]], m[s[5]]), g(3, 7, 11, 15, m[s[6]], m[s[7]]);
        g(0, 5, 10, 15, m[s[8]], m[s[9]]), g(1, 6, 11, 12, m[s[10]], m[s[11]]);
        g(2, 7, 8, 13, m[s[12]], m[s[13]]), g(3, 4, 9, 14, m[s[14]], m[s[15]]);
    }
    for (int i = 0; i < 8; ++i)
        h_[i] ^= v[i] ^ v[8 + i];
}

void Blake2b::update(const unsigned char* data, std::size_t n)
{
    while (n > 0) {
        if (fill_ == sizeof buf_) { // a full block is compressed only once more input follows
            t_[0] += sizeof buf_;
            if (t_[0] < sizeof buf_)
                ++t_[1];
            compress(false);
            fill_ = 0;
        }
        const std::size_t take = n < sizeof buf_ - fill_ ? n : sizeof buf_ - fill_;
        std::memcpy(buf_ + fill_, data, take);
        fill_ += take, data += take, n -= take;
    }
}

void Blake2b::final(unsigned char* out)
{
    t_[0] += fill_;
    if (t_[0] < fill_)
        ++t_[1];
    std::memset(buf_ + fill_, 0, sizeof buf_ - fill_);
    compress(true);
    for (std::size_t i = 0; i < outLen_; ++i)
        out[i] = static_cast<unsigned char>(h_[i / 8] >> (8 * (i % 8)));
}

} // namespace cipher
