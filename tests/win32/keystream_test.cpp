// The keystream primitives against published test vectors, and the secure
// source giving different keys.
#include "sys/keystream.h"
#include "sys/win32/chacha20.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

std::string hex(const unsigned char* p, std::size_t n)
{
    std::string s;
    char b[3];
    for (std::size_t i = 0; i < n; ++i)
        std::snprintf(b, sizeof b, "%02x", p[i]), s += b;
    return s;
}

TEST(Keystream, ChaCha20MatchesItsTestVectors)
{
    const unsigned char zeroKey[32] = {};
    const unsigned char zeroNonce[8] = {};
    unsigned char out[64 + 8];
    cipher::chacha20(out, sizeof out, zeroNonce, zeroKey);
    EXPECT_EQ(hex(out, 64), "76b8e0ada0f13d90405d6ae55386bd28bdd219b8a08ded1aa836efcc8b770dc7"
                            "da41597c5157488d7724e03fb8d84a376a43b8f41518a11cc387b669b2ee6586");
    // The second block continues the counter.
    EXPECT_EQ(hex(out + 64, 8), "9f07e7be5551387a");
    // ... and starting there gives the same bytes.
    cipher::chacha20(out, 8, zeroNonce, zeroKey, 1);
    EXPECT_EQ(hex(out, 8), "9f07e7be5551387a");

    unsigned char key[32] = {};
    key[31] = 1;
    cipher::chacha20(out, 16, zeroNonce, key);
    EXPECT_EQ(hex(out, 16), "4540f05a9f1fb296d7736e7b208e3c96");
    const unsigned char nonce[8] = {0, 0, 0, 0, 0, 0, 0, 1};
    cipher::chacha20(out, 16, nonce, zeroKey);
    EXPECT_EQ(hex(out, 16), "de9cba7bf3d69ef5e786dc63973f653a");
}

TEST(Keystream, Blake2bMatchesItsTestVectorsAcrossBlockEdges)
{
    unsigned char d[64];
    cipher::Blake2b empty(32);
    empty.final(d);
    EXPECT_EQ(hex(d, 32), "0e5751c026e543b2e8ab2eb06099daa1d1e5df47778f7787faab45cdf12fe3a8");

    cipher::Blake2b abc(64);
    abc.update(reinterpret_cast<const unsigned char*>("abc"), 3);
    abc.final(d);
    EXPECT_EQ(hex(d, 64), "ba80a53f981c4d0d6a2797b69f12f6e94c212f14685ac4b74b12bb6fdbffa2d1"
                          "7d87c5392aab792dc252d5de4533cc9518d38aa8dbf1925ab92386edd4009923");

    // Exactly one block, then fed in two parts: the last block is compressed
    // only at the end.
    const std::string block(128, 'a');
    cipher::Blake2b whole(32), parts(32);
    whole.update(reinterpret_cast<const unsigned char*>(block.data()), 128);
    parts.update(reinterpret_cast<const unsigned char*>(block.data()), 100);
    parts.update(reinterpret_cast<const unsigned char*>(block.data()) + 100, 28);
    unsigned char a[32], b[32];
    whole.final(a);
    parts.final(b);
    EXPECT_EQ(hex(a, 32), hex(b, 32));
}

} // namespace
