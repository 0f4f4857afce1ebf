// The system's services as the pages use them on Windows: launching a
// program text with the "open" action (an executable and a document, both
// with Chinese names, the text whole), and window timers' lateness.
#include "core/gbk.h"
#include "platform/cdialog.h"
#include "platform/dialog_driver.h"
#include "platform/shell.h"
#include "res/templates.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

bool exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool waitForFile(const std::wstring& path)
{
    for (int i = 0; i < 300 && !exists(path); ++i)
        Sleep(50);
    return exists(path);
}

CString gbkOf(const std::wstring& path)
{
    std::string utf8(std::size_t(WideCharToMultiByte(CP_UTF8, 0, path.c_str(), -1, nullptr, 0, nullptr, nullptr)), 0);
    WideCharToMultiByte(CP_UTF8, 0, path.c_str(), -1, utf8.data(), int(utf8.size()), nullptr, nullptr);
    utf8.pop_back();
    return gbk::fromUtf8(utf8).value_or("");
}

class Launching : public testing::Test {
protected:
    void SetUp() override
    {
        wchar_t base[MAX_PATH + 1];
        const DWORD n = GetTempPathW(MAX_PATH + 1, base);
        // "测试 文件夹": a space and Chinese in every path.
        folder = std::wstring(base, n) + L"\u6d4b\u8bd5 \u6587\u4ef6\u5939-" + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(folder.c_str(), nullptr);
        probe = folder + L"\\\u63a2\u9488 probe.exe"; // "探针 probe.exe"
        ASSERT_TRUE(CopyFileW(probePath().c_str(), probe.c_str(), FALSE)) << GetLastError();
    }
    void TearDown() override
    {
        for (const std::wstring& f : made)
            DeleteFileW(f.c_str());
        DeleteFileW(probe.c_str());
        DeleteFileW((probe + L".ran").c_str());
        RemoveDirectoryW(folder.c_str());
        RegDeleteTreeW(HKEY_CLASSES_ROOT, L"Kelvane.Probe");
        RegDeleteKeyW(HKEY_CLASSES_ROOT, L"Kelvane.Probe");
        RegDeleteKeyW(HKEY_CLASSES_ROOT, L".kvprobe");
    }
    // The probe is built beside this test.
    static std::wstring probePath()
    {
        wchar_t self[MAX_PATH];
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        std::wstring s = self;
        return s.substr(0, s.find_last_of(L'\\')) + L"\\shell_probe.exe";
    }
    // Documents named *.kvprobe open with the probe.
    void registerDocumentType()
    {
        const std::wstring command = L"\"" + probe + L"\" \"%1\"";
        HKEY k;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, L".kvprobe", 0, nullptr, 0, KEY_SET_VALUE, nullptr, &k, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExW(k, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(L"Kelvane.Probe"), 14 * sizeof(wchar_t));
        RegCloseKey(k);
        ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, L"Kelvane.Probe\\shell\\open\\command", 0, nullptr, 0,
                                  KEY_SET_VALUE, nullptr, &k, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExW(k, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                       DWORD((command.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(k);
    }
    std::wstring folder, probe;
    std::vector<std::wstring> made;
};

TEST_F(Launching, AnExecutableAndADocumentOpenAndAMissingFileIsReported)
{
    EXPECT_TRUE(shellOpen(gbkOf(probe)));
    EXPECT_TRUE(waitForFile(probe + L".ran")) << "the program did not run";

    registerDocumentType();
    const std::wstring doc = folder + L"\\\u8bf4\u660e.kvprobe"; // "说明.kvprobe"
    HANDLE h = CreateFileW(doc.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    CloseHandle(h);
    made = {doc, doc + L".ran"};
    EXPECT_TRUE(shellOpen(gbkOf(doc)));
    EXPECT_TRUE(waitForFile(doc + L".ran")) << "the document was not opened with its program";

    // The text is one file name, never a command line: a name followed by
    // an argument names no file.
    EXPECT_FALSE(shellOpen(gbkOf(probe + L" " + doc)));
    EXPECT_FALSE(shellOpen(gbkOf(folder + L"\\missing.exe")));
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
