// The keystream primitives against published test vectors, and the secure
// source giving different keys.
#include "sys/keystream.h"
#include "sys/chacha20.h"
#include "support/hex.h"

#include <gtest/gtest.h>

#include <string>

namespace {

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

// Past 2^32 blocks the counter carries into its high word: block 2^32 - 1,
// then 2^32 within one call and from a start there. The bytes are
// libsodium's for the same key and nonce (what the Linux build draws).
TEST(Keystream, ChaCha20CounterCarriesIntoItsHighWord)
{
    unsigned char key[32], nonce[8], out[128];
    for (int i = 0; i < 32; ++i)
        key[i] = static_cast<unsigned char>(i);
    for (int i = 0; i < 8; ++i)
        nonce[i] = static_cast<unsigned char>(0xa0 + i);
    const std::string last = "aa07a6552d0b049adaacee7d2487a4bde0b35396ee1003f75310c36691ac2a8a"
                             "bd997a5e63b9e7954f21323435e6eeffc36bd58b8695944fac3eb03fad55a13b";
    const std::string carried = "8902e65d02ea2c1db273c4f6542aef8a8eeeccca7bbed8564375ed48ff314600"
                                "2c94541c193de0f59f3ede7795dbfd2c8051cb271836ca71247e41a34a0c5f51";
    cipher::chacha20(out, 128, nonce, key, 0xffffffffULL);
    EXPECT_EQ(hex(out, 128), last + carried);
    cipher::chacha20(out, 64, nonce, key, 0x100000000ULL);
    EXPECT_EQ(hex(out, 64), carried);
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
