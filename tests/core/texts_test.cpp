// The interface texts and the option table: every text survives GBK and
// back, and the store hands out each option's first-run value.
#include "core/gbk.h"
#include "core/options.h"
#include "core/texts.h"
#include "support/scoped_core.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

TEST(Texts, EveryTextConvertsToGbkAndBackUnchangedAndIsDistinct)
{
    std::set<std::string> seen;
    for (int i = 0; i < int(Text::Count_); ++i) {
        const Text t = Text(i);
        SCOPED_TRACE(i);
        const std::string written = utf8(t);
        ASSERT_FALSE(written.empty());
        EXPECT_EQ(gbk::toUtf8(text(t)), written);
        EXPECT_TRUE(seen.insert(written).second) << written << " appears twice";
    }
}

TEST(Texts, FillReplacesNumberedPlaceholdersOnly)
{
    // A placeholder may come twice; one without its argument stays as written.
    EXPECT_EQ(fill("%1-%3-%2%2%", {"a", "b"}), "a-%3-bb%");
}

TEST(Options, TheStoreHandsOutEachFirstRunValueAndOnlyFlagsOfZeroOrOne)
{
    ScopedCore core;
    for (const OptionDef& d : opt::kAll) {
        SCOPED_TRACE(d.key);
        switch (d.kind) {
        case OptionKind::Flag:
            EXPECT_EQ(core->getConfigB(d), d.firstInt);
            core->saveConfigInt(d, 2); // not a flag: the first-run value again
            EXPECT_EQ(core->getConfigB(d), d.firstInt);
            break;
        case OptionKind::Int:
            EXPECT_EQ(core->getConfigInt(d), d.firstInt);
            EXPECT_EQ(core->getConfigStr(d), std::to_string(d.firstInt)); // numbers load as text
            break;
        case OptionKind::Text:
            EXPECT_EQ(core->getConfigStr(d), d.firstText);
            break;
        }
    }
}
