#include "core/ccore.h"
#include "core/config_store.h"
#include "core/core_options.h"
#include "core/gbk.h"
#include "support/scoped_core.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {
struct RecordingPresenter : CorePresenter {
    std::vector<std::pair<HWND, CString>> warnings;
    const tagSoft* aboutSoft = nullptr;
    int abouts = 0;
    void warning(HWND owner, const CString& text) override { warnings.emplace_back(owner, text); }
    void about(HWND, const tagSoft* soft) override
    {
        ++abouts;
        aboutSoft = soft;
    }
};
} // namespace

TEST(CCore, AppPathEndsWithSeparatorSoTheOutputFileSitsInTheFolder)
{
    ScopedCore c(nullptr, "/opt/kelvane/bin");
    EXPECT_EQ(c->getAppPath(), "/opt/kelvane/bin/");
    CCore real;
    const CString p = real.getAppPath();
    ASSERT_FALSE(p.empty());
    EXPECT_EQ(p.back(), '/');
    EXPECT_TRUE(std::filesystem::is_directory(p));
}

TEST(CCore, CreateFileKeepsExistingContentAndReportsFailure)
{
    ScopedCore c;
    const CString path = *gbk::fromUtf8(c.folder()) + "/" + gbk::lit("输出.txt");
    EXPECT_EQ(c->isFileExist(path), 0);
    EXPECT_TRUE(c->createFile(path, 1));
    EXPECT_EQ(c->isFileExist(path), 1);
    ASSERT_TRUE(writeFile(gbk::toUtf8(path), "abc"));
    EXPECT_TRUE(c->createFile(path, 1));
    EXPECT_EQ(readFile(gbk::toUtf8(path)), "abc");
    EXPECT_FALSE(c->createFile(c.folder() + "/no/such/folder/x.txt", 1));
}

TEST(CCore, BoxesGoThroughThePresenter)
{
    ScopedCore c;
    RecordingPresenter p;
    c->setPresenter(&p);
    auto* owner = reinterpret_cast<HWND>(0x1234);
    c->msgboxWarning(owner, gbk::lit("至少指定一种数字类型！"));
    ASSERT_EQ(p.warnings.size(), 1u);
    EXPECT_EQ(p.warnings[0].first, owner);
    tagSoft soft;
    fillSoft(&soft);
    EXPECT_EQ(c->uu(OPR_ABOUT, &soft, ""), "");
    EXPECT_EQ(p.abouts, 1);
    EXPECT_EQ(p.aboutSoft, &soft);
    c->setPresenter(nullptr);
    c->msgboxWarning(nullptr, "no presenter: written to stderr"); // must not crash
}
