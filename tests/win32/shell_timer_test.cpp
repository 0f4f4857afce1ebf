// The system's services as the pages use them on Windows: launching a
// program text with the "open" action (an executable and a document, both
// with Chinese names, the text whole), and window timers' lateness.
#include "core/gbk.h"
#include "platform/cdialog.h"
#include "platform/dialog_driver.h"
#include "sys/shell.h"
#include "res/templates.h"
#include "win32/test_paths.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace {

bool waitForFile(const std::string& path)
{
    return waitUntil([&] { return std::filesystem::exists(std::filesystem::u8path(path)); }, 15000);
}

CString gbkOf(const std::string& utf8)
{
    return gbk::fromUtf8(utf8).value_or("");
}

class Launching : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(folder.empty());
        ASSERT_TRUE(CopyFileW(besideThisTest(L"shell_probe.exe").c_str(), wide(probe).c_str(), FALSE))
            << GetLastError();
    }
    void TearDown() override
    {
        RegDeleteTreeW(HKEY_CLASSES_ROOT, L"Kelvane.Probe");
        RegDeleteKeyW(HKEY_CLASSES_ROOT, L"Kelvane.Probe");
        RegDeleteKeyW(HKEY_CLASSES_ROOT, L".kvprobe");
    }
    // Documents named *.kvprobe open with the probe.
    void registerDocumentType()
    {
        const auto set = [](const wchar_t* key, const std::wstring& value) {
            return RegSetKeyValueW(HKEY_CLASSES_ROOT, key, nullptr, REG_SZ, value.c_str(),
                                   DWORD((value.size() + 1) * sizeof(wchar_t)));
        };
        ASSERT_EQ(set(L".kvprobe", L"Kelvane.Probe"), ERROR_SUCCESS);
        ASSERT_EQ(set(L"Kelvane.Probe\\shell\\open\\command", L"\"" + wide(probe) + L"\" \"%1\""), ERROR_SUCCESS);
    }
    TempDir tmp;
    // A space and Chinese in every path.
    const std::string folder = folderInside(tmp, "测试 文件夹");
    const std::string probe = folder + "\\探针 probe.exe";
};

TEST_F(Launching, AnExecutableAndADocumentOpenAndAMissingFileIsReported)
{
    EXPECT_TRUE(shellOpen(gbkOf(probe)));
    EXPECT_TRUE(waitForFile(probe + ".ran")) << "the program did not run";

    registerDocumentType();
    const std::string doc = folder + "\\说明.kvprobe";
    ASSERT_TRUE(writeFile(doc, ""));
    EXPECT_TRUE(shellOpen(gbkOf(doc)));
    EXPECT_TRUE(waitForFile(doc + ".ran")) << "the document was not opened with its program";

    // The text is one file name, never a command line: a name followed by
    // an argument names no file.
    EXPECT_FALSE(shellOpen(gbkOf(probe + " " + doc)));
    EXPECT_FALSE(shellOpen(gbkOf(folder + "\\missing.exe")));
    EXPECT_FALSE(shellOpen(""));
}

class TimerPage : public CDialog {
public:
    TimerPage() : CDialog(kTimePageTemplate) {}
    std::vector<ULONGLONG> ticks;

protected:
    void OnTimer(UINT id) override
    {
        if (id == 1)
            ticks.push_back(GetTickCount64());
    }
};

TEST(WindowTimers, TicksComeNoEarlierThanTheirIntervalAndNotFarLater)
{
    TimerPage page;
    page.Create();
    constexpr int kInterval = 100;
    const ULONGLONG start = GetTickCount64();
    ASSERT_EQ(page.SetTimer(1, kInterval), 1u);
    ASSERT_TRUE(drive::waitFor([&] { return page.ticks.size() >= 6; }, 10000));
    page.KillTimer(1);
    // Tick k is due k intervals after the start. The tick counter moves in
    // steps of up to 16 ms; a tick held back by a busy machine is allowed
    // (the next one may then follow sooner), a timer running at another rate
    // is not.
    std::vector<long long> gaps;
    ULONGLONG previous = start;
    for (std::size_t k = 0; k < page.ticks.size(); ++k) {
        const auto sinceStart = static_cast<long long>(page.ticks[k] - start);
        EXPECT_GE(sinceStart, static_cast<long long>(k + 1) * kInterval - 16) << "tick " << k + 1;
        gaps.push_back(static_cast<long long>(page.ticks[k] - previous));
        previous = page.ticks[k];
    }
    std::sort(gaps.begin(), gaps.end());
    EXPECT_LE(gaps[gaps.size() / 2], 3 * kInterval) << "median gap";
    const std::size_t seen = page.ticks.size();
    drive::waitFor([] { return false; }, 3 * kInterval);
    EXPECT_EQ(page.ticks.size(), seen) << "a killed timer fired";
    page.DestroyWindow();
}

} // namespace
