#include "core/gbk.h"
#include "gen/string_gen.h"
#include "support/scoped_core.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <utility>
#include <vector>

namespace {

using Bounds = std::vector<std::pair<int, int>>;

const CString kZhong = "\xd6\xd0";   // 中
const CString kHzFirst = "\xb0\xa1"; // 啊, first level-1 character
const CString kHzLast = "\xd7\xf9";  // 座, last level-1 character

StringSettings kinds(int upper, int lower, int digits, int hz, int lenMin = 4, int lenMax = 4)
{
    StringSettings s;
    s.isUCase = upper;
    s.isLCase = lower;
    s.isNum = digits;
    s.isHz = hz;
    s.lenMin = lenMin;
    s.lenMax = lenMax;
    s.count = 1;
    return s;
}

Bounds bounds(ScopedCore& c)
{
    Bounds b;
    for (const auto& d : c.random().draws())
        b.emplace_back(d.lo, d.hi);
    return b;
}

// Splits a row into GBK characters.
std::vector<CString> chars(const CString& row)
{
    std::vector<CString> out;
    for (std::size_t i = 0; i < row.size();) {
        const auto b = static_cast<unsigned char>(row[i]);
        const std::size_t n = (b >= 0x81 && b <= 0xFE && i + 1 < row.size()) ? 2 : 1;
        out.push_back(row.substr(i, n));
        i += n;
    }
    return out;
}

bool decodes(const CString& row)
{
    bool ok = false;
    gbk::decode(row, &ok);
    return ok;
}

} // namespace

// ---- validation ----

TEST(StringValidate, RulesInOrderWithTheirMessages)
{
    StringSettings s = kinds(0, 0, 0, 0, 5, 1);
    s.count = 0;
    CString msg;
    EXPECT_FALSE(s.validate(&msg));
    EXPECT_EQ(msg, gbk::lit("至少指定一种字符类型！"));
    s.isHz = 1;
    EXPECT_FALSE(s.validate(&msg));
    EXPECT_EQ(msg, gbk::lit("生成长度设定无效！"));
    s.lenMin = -3; // negative lengths pass
    EXPECT_FALSE(s.validate(&msg));
    EXPECT_EQ(msg, gbk::lit("生成个数设定无效！"));
    s.count = 1;
    s.lenMax = kStringLenLimit + 1;
    EXPECT_FALSE(s.validate(&msg));
    EXPECT_EQ(msg, gbk::lit("生成长度不能超过100000！"));
    s.lenMax = kStringLenLimit;
    EXPECT_TRUE(s.validate(&msg));
}

TEST(StringValidate, FailureChangesAndSeedsNothingSuccessStripsSpacesAndSeeds)
{
    StringSettings s = kinds(1, 0, 0, 0);
    s.count = 0;
    s.head = " h ";
    s.charSpec = " # $ ";
    s.charExclude = "A B";
    std::srand(777);
    const int expected = std::rand();
    std::srand(777);
    EXPECT_FALSE(s.validate());
    EXPECT_EQ(std::rand(), expected);
    EXPECT_EQ(s.charSpec, " # $ ");
    EXPECT_EQ(s.charExclude, "A B");

    s.count = 3;
    std::srand(777);
    EXPECT_TRUE(s.validate());
    EXPECT_NE(std::rand(), expected);
    EXPECT_EQ(s.charSpec, "#$");
    EXPECT_EQ(s.charExclude, "AB");
    EXPECT_EQ(s.head, " h ");
}

TEST(StringValidate, RefusesExactlyWhenEveryCharacterOfEveryKindOnIsExcluded)
{
    const CString allMsg = gbk::lit("排除字符设定无效，所选类型的字符已全部排除！");
    CString msg;
    StringSettings digits = kinds(0, 0, 1, 0);
    digits.isCharEx = 1;
    digits.charExclude = "0 1 2 3 4 5 6 7 8";
    EXPECT_TRUE(digits.validate(&msg)) << "9 is left";
    digits.charExclude = "0123456789";
    EXPECT_FALSE(digits.validate(&msg));
    EXPECT_EQ(msg, allMsg);
    digits.count = 0; // the original rules come first
    EXPECT_FALSE(digits.validate(&msg));
    EXPECT_EQ(msg, gbk::lit("生成个数设定无效！"));
    digits.count = 1;
    digits.isCharEx = 0;
    EXPECT_TRUE(digits.validate()) << "an unused exclusion list excludes nothing";

    // All 3755 level-1 characters, with and without the last one.
    CString allHz;
    for (int a = 0xB0; a <= 0xD7; ++a)
        for (int b = 0xA1; b <= (a == 0xD7 ? 0xF9 : 0xFE); ++b)
            allHz += {char(a), char(b)};
    StringSettings hz = kinds(0, 0, 0, 1);
    hz.isCharEx = 1;
    hz.charExclude = allHz.substr(0, allHz.size() - 2) + "0123456789";
    EXPECT_TRUE(hz.validate());
    hz.charExclude = allHz;
    EXPECT_FALSE(hz.validate(&msg));
    EXPECT_EQ(msg, allMsg);
}

// ---- inserts ----

TEST(StringInserts, PositionsCountBytesOfTheRowAtEntry)
{
    auto c = ScopedCore::scripted({}); // inserts draw nothing
    const std::pair<const char*, const char*> cases[] = {
        {"5|X|3|Y", "abcYdeXfgh"},
        {"3|Y|5|X", "abcYdefgh"}, // 5 is not below 3
        {"5|X|5|Y", "abcdeXfgh"},
        {"8|Z", "abcdefghZ"},     // the length appends
        {"9|Z", "abcdefgh"},      // past the length: skipped
        {"0|A|3|B", "AabBcdefgh"}, // after 0 only the length limits
        {"0|A|0|B", "BAabcdefgh"},
        {"0|A|9|B", "Aabcdefgh"}, // 9 is past the length on entry
        {"5|X||Y|2|Z", "abcdeXfgh"}, // an empty position ends the list
        {"5|X|3", "abcdeXfgh"},   // no text: accepted, nothing inserted
        {"x|A", "Aabcdefgh"},     // no digits: 0
        {"-2|A|1|B", "Aabcdefgh"}, // negative: front, blocks later ones
        {"-2|A|-5|B", "BAabcdefgh"},
        {"8|Z|4|Y|2|X", "abXcdYefghZ"},
        {"", "abcdefgh"},
    };
    for (const auto& [list, expected] : cases) {
        StringSettings s;
        s.insertStr = list;
        EXPECT_EQ(applyInserts(s, "abcdefgh"), expected) << list;
    }
    EXPECT_TRUE(c.random().draws().empty());

    // A position inside a Chinese character inserts in front of it.
    StringSettings s;
    s.insertStr = "5|X|1|Y";
    EXPECT_EQ(applyInserts(s, kZhong + "ab" + kZhong), "Y" + kZhong + "abX" + kZhong);
}

// ---- rows from scripted draws ----

TEST(StringRow, DrawsInOrderLengthKindsCharactersThenIndexBeforePosition)
{
    StringSettings s = kinds(1, 0, 1, 0, 3, 3);
    s.isCharSpec = 1;
    s.charSpec = "#";
    s.head = "<";
    s.tail = ">";
    // length 3; kind 2 (off), kind 1, 'A'; kind 3, '0'; kind 4 (off), kind 1,
    // 'B'; one special: index 0, position 1.
    auto c = ScopedCore::scripted({3, 2, 1, 65, 3, 48, 4, 1, 66, 1, 0, 1});
    EXPECT_EQ(makeRow(s), "<A#B>");
    EXPECT_EQ(bounds(c), (Bounds{{3, 3}, {1, 4}, {1, 4}, {65, 90}, {1, 4}, {48, 57}, {1, 4}, {1, 4}, {65, 90},
                                 {0, 1}, {0, 0}, {0, 2}}));
    EXPECT_EQ(c.random().remaining(), 0u);

    // An excluded character starts again from the kind draw.
    s = kinds(0, 0, 1, 0, 1, 1);
    s.isCharEx = 1;
    s.charExclude = "5";
    c.script({1, 3, 53, 3, 55});
    EXPECT_EQ(makeRow(s), "7");
    EXPECT_EQ(bounds(c), (Bounds{{1, 1}, {1, 4}, {48, 57}, {1, 4}, {48, 57}}));
}

TEST(StringRow, ShortAndNegativeLengthsPlaceNoSpecialsAndNeverDrawAnEmptyRange)
{
    StringSettings s = kinds(1, 0, 0, 0, 0, 0);
    s.isCharSpec = 1;
    s.charSpec = "#";
    s.head = "H";
    s.tail = "T";
    s.insertStr = "1|-";
    auto c = ScopedCore::scripted({0, 0});
    EXPECT_EQ(makeRow(s), "H-T");
    EXPECT_EQ(bounds(c), (Bounds{{0, 0}, {0, 0}}));
    for (int len : {1, 2}) {
        s.lenMin = s.lenMax = len;
        std::vector<int> script = {len};
        for (int i = 0; i < len; ++i)
            script.insert(script.end(), {1, 65});
        script.push_back(0);
        c.script(script);
        EXPECT_EQ(makeRow(s), "H-" + CString(std::size_t(len), 'A') + "T");
        EXPECT_EQ(bounds(c).back(), std::make_pair(0, 0)) << "n for length " << len;
    }
    s.lenMin = -7;
    s.lenMax = -3;
    c.script({-5, 0});
    EXPECT_EQ(makeRow(s), "H-T");
    EXPECT_EQ(bounds(c), (Bounds{{-7, -3}, {0, 0}}));
}

TEST(StringRow, SpecialCharactersCountAndReplaceWholeCharacters)
{
    // Three Chinese characters (rows 16 and 55 of the table); the list holds
    // '#' and 中, two characters in three bytes.
    StringSettings s = kinds(0, 0, 0, 1, 3, 3);
    s.isCharSpec = 1;
    s.charSpec = "#" + kZhong;
    auto c = ScopedCore::scripted({3, 4, 16, 1, 4, 55, 89, 4, 16, 1, 1, 1, 2});
    EXPECT_EQ(makeRow(s), kHzFirst + kHzLast + kZhong);
    EXPECT_EQ(bounds(c), (Bounds{{3, 3}, {1, 4}, {16, 55}, {1, 94}, {1, 4}, {16, 55}, {1, 89}, {1, 4}, {16, 55},
                                 {1, 94}, {0, 1}, {0, 1}, {0, 2}})); // n, index of 2, position of 3

    // A one-byte drawn part takes a two-byte special whole.
    s = kinds(0, 1, 0, 0, 3, 3);
    s.isCharSpec = 1;
    s.charSpec = kZhong;
    c.script({3, 2, 97, 2, 98, 2, 99, 1, 0, 0});
    EXPECT_EQ(makeRow(s), kZhong + "bc");
}

TEST(StringRow, HeadTailInsertsAndSpecialsIgnoreTheExclusionList)
{
    StringSettings s = kinds(1, 0, 0, 0, 3, 3);
    s.isCharSpec = s.isCharEx = 1;
    s.charSpec = "#";
    s.charExclude = "#XYZ";
    s.head = "X";
    s.tail = "Y";
    s.insertStr = "0|Z";
    auto c = ScopedCore::scripted({3, 1, 65, 1, 66, 1, 67, 1, 0, 0});
    EXPECT_EQ(makeRow(s), "ZX#BCY");
}

TEST(StringRow, WholeCharacterExclusionAndNothingDrawableGivesNoCharacter)
{
    StringSettings s = kinds(1, 0, 0, 0);
    s.isCharEx = 1;
    s.charExclude = "\x81\x41" + kZhong + "7"; // 丄: its second byte is 'A'
    EXPECT_FALSE(isExcluded(s, "A"));
    EXPECT_TRUE(isExcluded(s, kZhong) && isExcluded(s, "7"));
    EXPECT_FALSE(isExcluded(s, "\xd6"));
    s.isCharEx = 0;
    EXPECT_FALSE(isExcluded(s, "7"));

    auto c = ScopedCore::scripted({});
    EXPECT_EQ(getRandChar(kinds(0, 0, 0, 0)), "");
    StringSettings allOut = kinds(0, 0, 1, 0);
    allOut.isCharEx = 1;
    allOut.charExclude = "0123456789";
    EXPECT_EQ(getRandChar(allOut), "");
}

// ---- many rows from a seeded stream ----

TEST(StringRowsSeeded, ChineseOnlyGivesValidLevelOneCharacters)
{
    auto c = ScopedCore::seeded("hz only");
    StringSettings s = kinds(0, 0, 0, 1, 1, 20);
    bool sawLastRow = false;
    for (int i = 0; i < 3000; ++i) {
        const CString row = makeRow(s);
        ASSERT_EQ(row.size() % 2, 0u);
        for (std::size_t j = 0; j < row.size(); j += 2) {
            const auto a = static_cast<unsigned char>(row[j]), b = static_cast<unsigned char>(row[j + 1]);
            ASSERT_TRUE(a >= 0xB0 && a <= 0xD7 && b >= 0xA1 && b <= (a == 0xD7 ? 0xF9 : 0xFE))
                << std::hex << int(a) << ' ' << int(b);
            sawLastRow |= a == 0xD7;
        }
        ASSERT_TRUE(decodes(row));
    }
    EXPECT_TRUE(sawLastRow);
}

TEST(StringRowsSeeded, KindsAreEquallyLikelyAndExclusionsHold)
{
    auto c = ScopedCore::seeded("kinds");
    StringSettings s = kinds(1, 0, 1, 0, 50, 50);
    int digits = 0, total = 0;
    for (int i = 0; i < 2000; ++i)
        for (char ch : makeRow(s)) {
            digits += ch >= '0' && ch <= '9';
            ++total;
        }
    EXPECT_NEAR(double(digits) / total, 0.5, 0.01);

    s.isCharEx = 1;
    s.charExclude = "0123456789\x81\x41"; // 丄 must not keep 'A' out
    ASSERT_TRUE(s.validate());
    bool sawA = false;
    for (int i = 0; i < 2000; ++i)
        for (char ch : makeRow(s)) {
            ASSERT_TRUE(ch >= 'A' && ch <= 'Z') << ch;
            sawA |= ch == 'A';
        }
    EXPECT_TRUE(sawA);

    // Exclude the whole first row of the table: about 2.5% of the draws.
    StringSettings hz = kinds(0, 0, 0, 1, 40, 40);
    hz.isCharEx = 1;
    for (int b = 0xA1; b <= 0xFE; ++b)
        hz.charExclude += {char(0xB0), char(b)};
    for (int i = 0; i < 1000; ++i)
        for (const CString& ch : chars(makeRow(hz)))
            ASSERT_NE(static_cast<unsigned char>(ch[0]), 0xB0);
}

TEST(StringRowsSeeded, SpecialsStayWholeAndWithinAThirdOfTheLength)
{
    auto c = ScopedCore::seeded("specials");
    StringSettings s = kinds(0, 0, 1, 1, 12, 12);
    s.isCharSpec = 1;
    s.charSpec = " # " + kZhong + " ";
    ASSERT_TRUE(s.validate());
    for (int i = 0; i < 3000; ++i) {
        const CString row = makeRow(s);
        ASSERT_TRUE(decodes(row));
        const auto cs = chars(row);
        ASSERT_EQ(cs.size(), 12u);
        ASSERT_EQ(std::count(row.begin(), row.end(), ' '), 0);
        ASSERT_LE(std::count(cs.begin(), cs.end(), "#"), 4);
    }
    s.isHz = 0;
    s.lenMin = 0;
    s.lenMax = 8;
    for (int i = 0; i < 3000; ++i) {
        const auto cs = chars(makeRow(s));
        const auto specials = std::count(cs.begin(), cs.end(), "#") + std::count(cs.begin(), cs.end(), kZhong);
        ASSERT_LE(specials, long(cs.size() / 3));
    }
}

// ---- runs ----

TEST(StringRun, StreamsInBoundedChunksAndStopsWhenTheSinkFails)
{
    StringSettings s = kinds(1, 1, 1, 0, 5, 30);
    s.count = 2500;
    CString whole;
    std::size_t largest = 0;
    auto c = ScopedCore::seeded("run");
    EXPECT_TRUE(streamRows(
        s,
        [&](std::string_view chunk) {
            largest = std::max(largest, chunk.size());
            whole += chunk;
            return true;
        },
        1000));
    EXPECT_LE(largest, 1000u + 32u);
    EXPECT_EQ(std::count(whole.begin(), whole.end(), '\n'), 2500);
    EXPECT_EQ(whole.substr(whole.size() - 2), "\r\n");

    c->setRandom(std::make_unique<RandomGen>(RandomGen::seeded("run")));
    EXPECT_EQ(makeRun(s), whole);

    int calls = 0;
    EXPECT_FALSE(streamRows(s, [&](std::string_view) { return ++calls < 2; }, 1000));
    EXPECT_EQ(calls, 2);
    EXPECT_FALSE(streamRows(s, [](std::string_view) { return false; })) << "a failed last chunk";
}
