// Rows written a block at a time (putRows, what kelvane-cli and the window's
// runs use) are the rows appendRow makes one by one from the same draws:
// whether a number row comes from its table of texts or is formatted, and
// whichever path a string row takes.
#include "gen/number_gen.h"
#include "gen/string_gen.h"

#include "core/random.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>

namespace {

// rows rows by appendRow and by putRows (in two calls, so tables made for
// the first are used again), each from its own source with the same seed.
template <class Maker, class Settings>
void expectSameRows(const Settings& s, int rows, std::string_view eol, const std::string& what)
{
    RandomGen one = RandomGen::seeded("blocks"), block = RandomGen::seeded("blocks");
    Maker byRow(s, one), byBlock(s, block);
    std::string expected;
    for (int i = 0; i < rows; ++i) {
        byRow.appendRow(expected);
        expected += eol;
    }
    const std::size_t room = std::size_t(rows) * (byBlock.maxRowBytes() + eol.size()) + Maker::kPutSlack;
    const auto buf = std::make_unique<char[]>(room);
    char* end = byBlock.putRows(buf.get(), rows / 3, eol);
    end = byBlock.putRows(end, rows - rows / 3, eol);
    ASSERT_LE(std::size_t(end - buf.get()), room) << what;
    EXPECT_TRUE(std::string_view(buf.get(), std::size_t(end - buf.get())) == expected) << what;
}

} // namespace

TEST(RowBlocks, NumberRowsFromTablesOrFormattedAreTheRowsOneByOne)
{
    const struct {
        NumberSettings s;
        const char* what;
    } cases[] = {
        {{1, 0, 80, 100, 0, 0}, "narrow integers (table)"},
        {{1, 0, -2147483647.0f, 2147483520.0f, 0, 0}, "the widest integers (formatted)"},
        {{1, 0, -3, -3, 0, 0}, "one negative integer"},
        {{0, 1, 80, 100, 0, 2}, "floats, 2 decimals (table)"},
        {{0, 1, -1.55f, -0.25f, 0, 1}, "negative floats, folded back or drawn again"},
        {{0, 1, 0.55f, 0.9f, 0, 1}, "floats below the minimum drawn again"},
        {{0, 1, 0.5f, 0.5f, 0, 5}, "one kept value in 10001 pairs (direct)"},
        {{0, 1, 7, 9, 0, 0}, "floats without decimals: only whole values kept"},
        {{0, 1, -21474.83f, 21474.83f, 0, 5}, "the widest floats with 5 decimals (formatted)"},
        {{1, 1, -50, 50, 0, 3}, "both kinds"},
        {{1, 1, 1000000, 1000300, 0, 1}, "both kinds, long rows"},
    };
    for (const auto& c : cases)
        for (std::string_view eol : {"\n", "\r\n"})
            expectSameRows<NumberRowMaker>(c.s, 30000, eol, c.what);
}

TEST(StringBlocks, StringRowsOnEveryPathAreTheRowsOneByOne)
{
    const auto make = [](int u, int l, int d, int hz, int lo, int hi, CString special, CString exclude, CString head,
                         CString tail, CString inserts) {
        return StringSettings{u, l, d, hz, !special.empty(), !exclude.empty(), head, tail, inserts, special, exclude,
                              lo, hi, 1};
    };
    const struct {
        StringSettings s;
        const char* what;
    } cases[] = {
        {make(1, 1, 1, 0, 16, 16, "", "", "", "", ""), "passwords: one-byte path"},
        {make(0, 1, 1, 0, 6, 10, "!@#", "0O1lI", "www.", ".com", ""), "one-byte, specials, exclusions, head, tail"},
        {make(1, 0, 0, 1, 0, 12, "#", "", "", "", ""), "Chinese characters"},
        {make(0, 0, 1, 0, 8, 8, "\xd6\xd0", "", "138", "", ""), "a two-byte special character"},
        {make(1, 1, 0, 1, 2, 9, "", "", "<", ">", "6|-|2|_"), "inserts"},
    };
    for (const auto& c : cases)
        for (std::string_view eol : {"\n", "\r\n"})
            expectSameRows<StringRowMaker>(c.s, 3000, eol, c.what);
}
