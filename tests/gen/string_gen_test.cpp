#include "core/gbk.h"
#include "gen/string_gen.h"
#include "core/random.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <tuple>
#include <string_view>
#include <utility>
#include <vector>

namespace {

using Bounds = std::vector<std::pair<int, int>>;
const CString kZhong = "\xd6\xd0"; // 中

// Settings for one row: the kinds that are on ('U'pper, 'L'ower, 'D'igits,
// 'C'hinese), the lengths and the lists; a list that is given is switched on.
StringSettings make(std::string_view on, int lenMin, int lenMax, CString specials = "", CString excl = "",
                    CString head = "", CString tail = "", CString inserts = "")
{
    const auto has = [on](char k) { return int(on.find(k) != on.npos); };
    return {has('U'), has('L'), has('D'), has('C'), !specials.empty(), !excl.empty(),
            head, tail, inserts, specials, excl, lenMin, lenMax, 1};
}

Bounds bounds(RandomGen& c)
{
    Bounds b;
    for (const auto& d : c.draws())
        b.emplace_back(d.lo, d.hi);
    return b;
}

// The level-1 GB2312 characters of rows lead - 0xA0 (16 to 55 of the table).
CString levelOneRows(int firstLead, int lastLead)
{
    CString out;
    for (int a = firstLead; a <= lastLead; ++a)
        for (int b = 0xA1; b <= (a == 0xD7 ? 0xF9 : 0xFE); ++b)
            out += {char(a), char(b)};
    return out;
}

// Splits a row into GBK characters; nothing when the row does not decode.
std::vector<CString> chars(const CString& row)
{
    bool ok = false;
    gbk::toUtf8(row, &ok);
    std::vector<CString> out;
    for (std::size_t i = 0; ok && i < row.size(); i += out.back().size())
        out.push_back(row.substr(i, static_cast<unsigned char>(row[i]) >= 0x81 ? 2 : 1));
    return out;
}

} // namespace

TEST(StringValidate, RulesInOrderWithoutChangingTheSettingsThenARunDropsTheSpaces)
{
    const auto check = [](const StringSettings& s) {
        const auto invalid = s.validate();
        return invalid ? invalid->message : CString("ok");
    };
    StringSettings s = make("", 5, 1, " # ", "0 1 2 3 4 5 6 7 8 9");
    s.count = 0;
    EXPECT_EQ(check(s), gbk::lit("至少指定一种字符类型！"));
    s.isNum = 1;
    EXPECT_EQ(check(s), gbk::lit("生成长度设定无效！"));
    s.lenMin = -3; // negative lengths pass
    EXPECT_EQ(check(s), gbk::lit("生成个数设定无效！"));
    s.count = 1;
    s.lenMax = kStringLenLimit + 1;
    EXPECT_EQ(check(s), gbk::lit("生成长度不能超过100000！"));
    s.lenMax = kStringLenLimit;
    const CString allOut = gbk::lit("排除字符设定无效，所选类型的字符已全部排除！");
    EXPECT_EQ(check(s), allOut);
    s.isCharEx = 0;
    EXPECT_EQ(check(s), "ok") << "an unused exclusion list excludes nothing";
    EXPECT_TRUE(s.charSpec == " # " && s.charExclude == "0 1 2 3 4 5 6 7 8 9") << "the check changes nothing";
    const StringSettings run = s.forRun();
    EXPECT_TRUE(run.charSpec == "#" && run.charExclude == "0123456789");
    s = run;
    s.isCharEx = 1;
    s.charExclude.pop_back();
    EXPECT_EQ(check(s), "ok") << "9 is left";

    // The check is exact: all 3755 level-1 characters out, or all but the last.
    StringSettings hz = make("C", 4, 4, "", levelOneRows(0xB0, 0xD7));
    EXPECT_EQ(check(hz), allOut);
    hz.charExclude.resize(hz.charExclude.size() - 2);
    EXPECT_EQ(check(hz), "ok");
}

TEST(StringInserts, PositionsCountBytesOfTheRowAtEntry)
{
    const std::pair<CString, CString> cases[] = {
        {"5|X|3|Y", "abcYdeXfgh"},  {"3|Y|5|X", "abcYdefgh"},  {"5|X|5|Y", "abcdeXfgh"},
        {"8|Z", "abcdefghZ"},       {"9|Z", "abcdefgh"},       {"0|A|3|B", "AabBcdefgh"},
        {"0|A|0|B", "BAabcdefgh"},  {"0|A|9|B", "Aabcdefgh"},  {"5|X||Y|2|Z", "abcdeXfgh"},
        {"5|X|3", "abcdeXfgh"},     {"x|A", "Aabcdefgh"},      {"-2|A|1|B", "Aabcdefgh"},
        {"-2|A|-5|B", "BAabcdefgh"},
        // The second byte of 億 (83 7C) is '|': it stays part of the character.
        {"3|\x83||1|Y|0|\x83|\x83|", "\x83|\x83|aYbc\x83|defgh"},
    };
    StringSettings s;
    auto c = RandomGen::scripted({});
    for (const auto& [list, expected] : cases) {
        s.insertStr = list;
        StringRowMaker maker(s, c); // one maker for several rows, as a run uses it
        for (int row = 0; row < 2; ++row) {
            CString out = "kept abcdefgh";
            maker.insertInto(out, 5);
            EXPECT_EQ(out, "kept " + expected) << list;
        }
    }
    // A position inside a Chinese character inserts in front of it.
    s.insertStr = "5|X|1|Y";
    EXPECT_EQ(applyInserts(s, kZhong + "ab" + kZhong), "Y" + kZhong + "abX" + kZhong);
    // A long list: 15 000 texts "0" at the front.
    CString zeros;
    for (int i = 0; i < 15000; ++i)
        zeros += "0|0|";
    s.insertStr = zeros;
    EXPECT_EQ(applyInserts(s, "abcdefgh"), CString(15000, '0') + "abcdefgh");
}

TEST(StringRow, ShortAndNegativeLengthsPlaceNoSpecialsAndNeverDrawAnEmptyRange)
{
    StringSettings s = make("U", 0, 0, "#", "HT-", "H", "T", "1|-"); // an insert ignores exclusions too
    auto c = RandomGen::scripted({0, 0});
    EXPECT_EQ(makeRow(s, c), "H-T");
    EXPECT_EQ(bounds(c), (Bounds{{0, 0}, {0, 0}}));
    s.lenMin = s.lenMax = 2;
    c = RandomGen::scripted({2, 1, 65, 1, 66, 0});
    EXPECT_EQ(makeRow(s, c), "H-ABT");
    EXPECT_EQ(bounds(c).back(), std::make_pair(0, 0)) << "no special in a row of 2";
    s.lenMin = -7;
    s.lenMax = -3;
    c = RandomGen::scripted({-5, 0});
    EXPECT_EQ(makeRow(s, c), "H-T");
    EXPECT_EQ(bounds(c), (Bounds{{-7, -3}, {0, 0}}));
}

TEST(StringRow, SpecialCharactersAndExclusionsWorkOnWholeCharacters)
{
    // Three Chinese characters (rows 16 and 55 of the table); the list holds
    // '#' and 中, two characters in three bytes.
    auto c = RandomGen::scripted({3, 4, 16, 1, 4, 55, 89, 4, 16, 1, 1, 1, 2});
    EXPECT_EQ(makeRow(make("C", 3, 3, "#" + kZhong), c), "\xb0\xa1\xd7\xf9" + kZhong); // 啊, 座 (the last one)
    EXPECT_EQ(bounds(c), (Bounds{{3, 3}, {1, 4}, {16, 55}, {1, 94}, {1, 4}, {16, 55}, {1, 89}, {1, 4}, {16, 55},
                                 {1, 94}, {0, 1}, {0, 1}, {0, 2}})); // n, index of 2, position of 3
    // A one-byte drawn part takes a two-byte special whole.
    c = RandomGen::scripted({3, 2, 97, 2, 98, 2, 99, 1, 0, 0});
    EXPECT_EQ(makeRow(make("L", 3, 3, kZhong), c), kZhong + "bc");

    const StringSettings s = make("U", 4, 4, "", "\x81\x41" + kZhong + "7"); // 丄: its second byte is 'A'
    EXPECT_TRUE(!isExcluded(s, "A") && isExcluded(s, kZhong) && isExcluded(s, "7") && !isExcluded(s, "\xd6"));
    // Nothing drawable (settings that failed validation): no character, no endless redraw.
    c = RandomGen::scripted({});
    EXPECT_EQ(getRandChar(make("", 4, 4), c) + getRandChar(make("D", 4, 4, "", "0123456789"), c), "");
}

// Chinese characters are level-1 GB2312 pairs; with the whole first row
// excluded, each of the other 39 rows is drawn equally often.
TEST(StringRowsSeeded, DrawnChineseCharactersAreLevelOneAndNeverExcluded)
{
    auto c = RandomGen::seeded("kinds");
    const StringSettings s = make("C", 1, 20, "", levelOneRows(0xB0, 0xB0));
    long n = 0, lastRow = 0;
    while (n < 100000) {
        const auto cs = chars(makeRow(s, c));
        ASSERT_FALSE(cs.empty()) << "every row holds characters and decodes";
        for (const CString& ch : cs) {
            const auto lead = static_cast<unsigned char>(ch[0]), trail = static_cast<unsigned char>(ch.back());
            ASSERT_TRUE(ch.size() == 2 && lead > 0xB0 && lead <= 0xD7 && trail >= 0xA1 && trail <= (lead == 0xD7 ? 0xF9 : 0xFE));
            ++n;
            lastRow += lead == 0xD7;
        }
    }
    EXPECT_NEAR(double(lastRow) / double(n), 1 / 39.0, 0.003);
}

// When the exclusions leave next to nothing, a character is one draw among the
// kept ones, weighted as the redraw loop would weigh it; otherwise the loop's
// draws stay as they are.
TEST(StringRow, HeavyExclusionsDrawOnceAmongKeptCharactersWithTheLoopsChances)
{
    const CString ah = "\xb0\xa1", zuo = "\xd7\xf9"; // 啊 (row 16), 座 (row 55, the last one)
    CString allButAh = levelOneRows(0xB0, 0xD7);
    allButAh.erase(0, 2);
    // 1157: the weight of one character of a full row (94 columns, 1 in 40 rows).
    auto c = RandomGen::scripted({2, 0, 1156});
    EXPECT_EQ(makeRow(make("C", 2, 2, "", allButAh), c), ah + ah);
    EXPECT_EQ(bounds(c), (Bounds{{2, 2}, {0, 1156}, {0, 1156}}));

    // One letter in 26 is kept: the loop goes on, draw for draw.
    CString allButQ = "ABCDEFGHIJKLMNOPRSTUVWXYZ";
    c = RandomGen::scripted({1, 1, 65, 1, 81});
    EXPECT_EQ(makeRow(make("U", 1, 1, "", allButQ), c), "Q");
    EXPECT_EQ(bounds(c), (Bounds{{1, 1}, {1, 4}, {65, 90}, {1, 4}, {65, 90}}));

    // Q, 啊 and 座 kept of all four kinds: a letter is 1 in 26 of its kind, a
    // Chinese character 1 in 40 * 94 or 40 * 89, so Q comes far more often.
    CString excl = allButQ + "abcdefghijklmnopqrstuvwxyz0123456789" + allButAh;
    excl.resize(excl.size() - 2); // 座 back in
    c = RandomGen::seeded("heavy-exclusions");
    const double all = 167320 + 1157 + 1222; // the weights: 4350320 / 26, / 3760, / 3560
    StringRowMaker maker(make("ULDC", 100, 100, "", excl), c);
    constexpr int kRows = 4000; // 400 000 characters
    std::map<CString, int> seen;
    for (int i = 0; i < kRows; ++i)
        for (const CString& ch : chars(maker.makeRow()))
            ++seen[ch];
    ASSERT_EQ(seen.size(), 3u);
    for (const auto& [ch, weight] : {std::pair{CString("Q"), 167320}, {ah, 1157}, {zuo, 1222}}) {
        const double share = weight / all, sigma = std::sqrt(share * (1 - share) / (kRows * 100));
        EXPECT_NEAR(seen[ch] / (kRows * 100.0), share, 5 * sigma) << ch;
    }
}

// From a keystream, one-byte characters are one draw each among the kept
// ones, with the chances of the draw loop: a kind that is on, then a
// character of it, and from the kind again when that one is excluded. So a
// kept character's chance goes as 1 / (its kind's size). Both row paths
// (bytes, and whole characters once a special has two bytes) are held to it.
TEST(StringRowsSeeded, OneByteCharactersKeepTheDrawLoopsChances)
{
    const struct {
        const char* on;
        CString exclude;
        CString special;
    } cases[] = {
        {"ULD", "", ""},     // a letter 1 in 78, a digit 1 in 30
        {"UD", "ABC0", ""},  // a kept letter 10 in 356, a kept digit 26 in 356
        {"L", "", kZhong},   // one kind; the special sends rows down the whole-character path
        {"LD", "abcdefghijklmnopqrstuvwxy012345678", ""}, // z 5 in 18, 9 13 in 18
    };
    constexpr int kRows = 2000, kLen = 100;
    for (const auto& t : cases) {
        SCOPED_TRACE(t.on);
        auto c = RandomGen::seeded("one-byte chances");
        StringRowMaker maker(make(t.on, kLen, kLen, t.special, t.exclude), c);
        std::map<CString, int> seen;
        double n = 0;
        for (int i = 0; i < kRows; ++i)
            for (const CString& ch : chars(maker.makeRow()))
                if (ch != t.special) {
                    ++seen[ch];
                    ++n;
                }
        std::map<CString, double> chance;
        double sum = 0;
        for (const auto& [kind, lo, hi] : {std::tuple{'U', 'A', 'Z'}, {'L', 'a', 'z'}, {'D', '0', '9'}})
            if (std::string_view(t.on).find(kind) != std::string_view::npos)
                for (char ch = lo; ch <= hi; ++ch)
                    if (t.exclude.find(ch) == CString::npos)
                        sum += chance[CString(1, ch)] = 1.0 / (hi - lo + 1);
        ASSERT_EQ(seen.size(), chance.size());
        for (const auto& [ch, weight] : chance) {
            const double p = weight / sum, sigma = std::sqrt(p * (1 - p) / n);
            EXPECT_NEAR(seen[ch] / n, p, 5 * sigma) << ch;
        }
    }
}

TEST(StringRowsSeeded, SpecialsStayWholeAndWithinAThirdOfTheLength)
{
    auto c = RandomGen::seeded("specials");
    StringSettings s = make("DC", 0, 0, " # " + kZhong + " ");
    ASSERT_FALSE(s.validate());
    s = s.forRun();
    for (int i = 0; i < 6000; ++i) { // lengths 0 to 12, with and without Chinese characters
        const int len = s.lenMin = s.lenMax = i % 13;
        s.isHz = i % 2;
        const CString row = makeRow(s, c);
        const auto cs = chars(row);
        ASSERT_EQ(cs.size(), std::size_t(len)) << "whole characters only";
        ASSERT_EQ(row.find(' '), CString::npos);
        ASSERT_LE(std::count(cs.begin(), cs.end(), "#") + std::count(cs.begin(), cs.end(), kZhong), len / 3);
    }
}

TEST(StringRun, StreamsInBoundedChunksAndStopsWhenTheSinkFails)
{
    StringSettings s = make("ULD", 5, 30);
    s.count = 2500;
    auto c = RandomGen::seeded("run");
    CString whole;
    EXPECT_TRUE(streamRows(s, c, [&](std::string_view chunk) { whole += chunk; return chunk.size() <= 1032; }, 1000));
    EXPECT_TRUE(std::count(whole.begin(), whole.end(), '\n') == 2500 && whole.ends_with("\r\n"));

    int calls = 0;
    EXPECT_FALSE(streamRows(s, c, [&](std::string_view) { return ++calls < 2; }, 1000));
    EXPECT_EQ(calls, 2);
    EXPECT_FALSE(streamRows(s, c, [](std::string_view) { return false; })) << "a failed last chunk";
}
