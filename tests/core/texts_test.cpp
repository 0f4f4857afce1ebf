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
