// What the Linux and the Windows programs must agree on, checked against the
// same figures on both: the Unicode of ASCII and of every level-1 GBK
// character, and the draws of a seeded stream.
#include "core/gbk.h"
#include "core/gbk_chars.h"
#include "core/random.h"
#include "support/hex.h"
#include "sys/keystream.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

std::uint64_t fnv1a(const std::string& s)
{
    std::uint64_t h = 1469598103934665603ULL;
    for (unsigned char c : s)
        h = (h ^ c) * 1099511628211ULL;
    return h;
}

TEST(Agreement, AsciiAndLevelOneDecodeToTheSameUnicode)
{
    std::string ascii;
    for (int c = 1; c < 0x80; ++c)
        ascii += char(c);
    bool ok = false;
    EXPECT_EQ(gbk::toUtf8(ascii, &ok), ascii);
    EXPECT_TRUE(ok);

    std::string level1;
    for (int lead = 0xB0; lead <= 0xD7; ++lead)
        for (int trail = 0xA1; trail <= 0xFE; ++trail)
            if (gbk::isLevel1(gbk::Code(lead << 8 | trail)))
                level1 += {char(lead), char(trail)};
    const std::string utf8 = gbk::toUtf8(level1, &ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(utf8.size(), 3u * 3755);
    EXPECT_EQ(utf8.substr(0, 6), "啊阿");
    EXPECT_EQ(utf8.substr(utf8.size() - 3), "座");
    EXPECT_EQ(fnv1a(utf8), 9822494949297892821ULL);
    EXPECT_EQ(gbk::fromUtf8(utf8), level1);
}

TEST(Agreement, ASeedGivesTheSameDraws)
{
    RandomGen r = RandomGen::seeded("fixture-1");
    std::string draws;
    for (int i = 0; i < 12; ++i)
        draws += std::to_string(r.getRandInt(0, 1000000)) + " ";
    for (int i = 0; i < 12; ++i)
        draws += std::to_string(r.getRandInt(80, 100)) + " ";
    EXPECT_EQ(draws, "253698 344996 757585 509671 402019 587561 481769 222846 248740 294190 413436 280994 "
                     "83 96 86 95 84 87 97 84 82 88 97 91 ");
}

TEST(Agreement, NumberedStreamsGiveTheSameDraws)
{
    // Stream 3 from its start, and past its first refill (16 KiB).
    RandomGen r = RandomGen::seeded("fixture-1").sameKey();
    r.startStream(3);
    std::string draws;
    for (int i = 0; i < 4; ++i)
        draws += std::to_string(r.getRandInt(0, 1000000)) + " ";
    for (int i = 0; i < 4096; ++i)
        r.next32();
    for (int i = 0; i < 4; ++i)
        draws += std::to_string(r.getRandInt(0, 1000000)) + " ";
    EXPECT_EQ(draws, "726911 852448 894430 391765 657469 9898 618106 276105 ");
}

TEST(Agreement, KeystreamFromALateBlockUnderAHighNonce)
{
    // A block number past 2^32 and a nonce with its top bit set: the counter's
    // high word and the nonce's byte order both show in these bytes.
    unsigned char key[keystream::kKeyBytes];
    for (std::size_t i = 0; i < sizeof key; ++i)
        key[i] = static_cast<unsigned char>(i * 7 + 1);
    keystream::init();
    unsigned char out[80];
    keystream::fill(out, sizeof out, (std::uint64_t(1) << 63) | 5, (std::uint64_t(1) << 32) + 3, key);
    EXPECT_EQ(hex(out, 16), "73d8ce51b4a129a9f506119544509501");
    // The tail crosses into the next block.
    EXPECT_EQ(hex(out + 64, 16), "c0db53449a20fafbd67e87d74198a73f");
}

} // namespace
