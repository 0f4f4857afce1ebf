// Where the string page puts its output file: beside a program whose folder
// can be written, in the user's data folder for an installed one.
#include "core/gbk.h"
#include "platform/dialog_driver.h"
#include "res/resource.h"
#include "support/recording_boxes.h"
#include "support/scoped_core.h"
#include "ui/string_page.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace {
namespace id = idc::string;

// Runs count rows of 4 digits on page; the size of the output file after it.
std::uintmax_t runIntoFile(CStringPage& page, int count)
{
    page.CheckDlgButton(id::digits, 1);
    page.SetDlgItemInt(id::lenMin, 4);
    page.SetDlgItemInt(id::lenMax, 4);
    page.SetDlgItemInt(id::count, count);
    drive::click(page, id::generate);
    drive::fireTimer(page, 1);
    std::error_code ec;
    return std::filesystem::file_size(std::filesystem::u8path(gbk::toUtf8(page.outPath())), ec);
}
} // namespace

TEST(StringPageOutputFile, BesideAWritableProgramInTheDataFolderOtherwise)
{
#ifdef _WIN32
    GTEST_SKIP() << "an installed copy's data folder is %LOCALAPPDATA% there";
#endif
    RecordingBoxes boxes;
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    ASSERT_TRUE(dataHome && *dataHome) << "the test main gives every test its own data folder";
    for (const bool installed : {false, true}) {
        ScopedCore core(nullptr, installed ? "/usr/bin" : "");
        CStringPage page;
        page.Create();
        const std::string expected = (installed ? std::string(dataHome) + "/Kelvane" : core.folder()) + "/_out.txt";
        EXPECT_EQ(gbk::toUtf8(page.outPath()), expected) << "installed: " << installed;
        EXPECT_EQ(runIntoFile(page, 1001), 1001u * 6) << "installed: " << installed;
        page.DestroyWindow();
    }
    EXPECT_EQ(boxes.texts(), (std::vector<std::string>{"生成成功！", "生成成功！"}));
}
