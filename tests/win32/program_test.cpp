// kelvane.exe as a user runs it: a copy in a folder of its own, its window
// found and driven from outside through window messages. A string run of
// 5000 rows writes _out.txt beside the copy (GBK, CR LF); the options typed
// in are in the registry after the window closes and are shown again by the
// next start of the program, also when the session ends with the window open,
// Esc closes it or a console event ends it. Run from a folder it cannot write,
// the program writes _out.txt under %LOCALAPPDATA%\Kelvane instead.
#include "res/resource.h"
#include "support/test_store.h"
#include "win32/test_paths.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include <windows.h>

#include <filesystem>
#include <functional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr DWORD kWaitMs = 30000;

struct Found {
    DWORD pid;
    HWND main = nullptr;
    HWND box = nullptr;
};

BOOL CALLBACK findWindows(HWND hwnd, LPARAM lp)
{
    auto* f = reinterpret_cast<Found*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != f->pid || !IsWindowVisible(hwnd))
        return TRUE;
    wchar_t title[64] = {};
    GetWindowTextW(hwnd, title, 64);
    if (std::wstring(title) == L"Kelvane ")
        f->main = hwnd;
    else if (GetWindow(hwnd, GW_OWNER))
        f->box = hwnd; // a message box over the main window
    return TRUE;
}

Found windowsOf(DWORD pid)
{
    Found f{pid};
    EnumWindows(findWindows, reinterpret_cast<LPARAM>(&f));
    return f;
}

std::wstring textOf(HWND h)
{
    wchar_t buf[512] = {};
    SendMessageW(h, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(buf));
    return buf;
}

class Program {
public:
    explicit Program(const std::wstring& exe)
    {
        STARTUPINFOW si{};
        si.cb = sizeof si;
        std::wstring cmd = L"\"" + exe + L"\"";
        // Now and then Wine fails a start outright: tried once more, and said so.
        for (int attempt = 0; attempt < 2 && !ok_; ++attempt) {
            ok_ = CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi_);
            if (!ok_) {
                startError_ = GetLastError();
                std::fprintf(stderr, "CreateProcessW failed (%lu)%s\n", startError_, attempt ? "" : ", trying once more");
                Sleep(200);
            }
        }
        if (ok_)
            waitUntil([&] { return (main_ = windowsOf(pi_.dwProcessId).main) != nullptr; });
    }
    ~Program()
    {
        if (!ok_)
            return;
        if (WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT)
            TerminateProcess(pi_.hProcess, 1);
        CloseHandle(pi_.hThread);
        CloseHandle(pi_.hProcess);
    }
    HWND main() const { return main_; }
    DWORD startError() const { return startError_; }
    // The string page: the page over the tab control with its generate button.
    HWND stringPage() const
    {
        for (HWND p = GetWindow(GetDlgItem(main_, idc::main::tab), GW_CHILD); p; p = GetWindow(p, GW_HWNDNEXT))
            if (GetDlgItem(p, idc::string::generate))
                return p;
        return nullptr;
    }
    DWORD pid() const { return pi_.dwProcessId; }
    // The user's session ends: the system asks, tells the window, and ends
    // the process as soon as the window has answered.
    void endSession()
    {
        SendMessageW(main_, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
        SendMessageW(main_, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
        TerminateProcess(pi_.hProcess, 1);
        WaitForSingleObject(pi_.hProcess, kWaitMs);
    }
    // Closes the window as its close box does, or by Esc pressed in the
    // control that has the focus; the exit code, or -1 when the program did
    // not end.
    int close() { return closeBy(main_, WM_CLOSE, 0); }
    // A console event reaches a program as a thread of its own running
    // kernelbase's CtrlRoutine, which calls the program's handlers. Ctrl+C is
    // sent through the console the program shares with this test. Wine sends
    // no other event (closing its console window ends the processes without
    // one), so CTRL_CLOSE_EVENT starts that thread from here (the system DLLs
    // lie at the same address in every process), and the process is then
    // ended as Windows ends it once the handlers have returned. The exit code,
    // -1 when the program did not end, -2 when the event was not sent.
    int consoleEvent(DWORD event)
    {
        if (event == CTRL_C_EVENT)
            return GenerateConsoleCtrlEvent(event, 0) ? waitForExit() : -2;
        const auto routine = reinterpret_cast<LPTHREAD_START_ROUTINE>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernelbase.dll"), "CtrlRoutine")));
        HANDLE thread = routine ? CreateRemoteThread(pi_.hProcess, nullptr, 0, routine,
                                                     reinterpret_cast<void*>(DWORD_PTR(event)), 0, nullptr)
                                : nullptr;
        if (!thread)
            return -2;
        const DWORD waited = WaitForSingleObject(thread, kWaitMs);
        CloseHandle(thread);
        if (waited != WAIT_OBJECT_0)
            return -1;
        TerminateProcess(pi_.hProcess, 1);
        return waitForExit();
    }
    int pressEsc(HWND focused) { return closeBy(focused, WM_KEYDOWN, VK_ESCAPE); }
    int closeBy(HWND to, UINT msg, WPARAM wp)
    {
        PostMessageW(to, msg, wp, 0);
        return waitForExit();
    }
    int waitForExit()
    {
        if (WaitForSingleObject(pi_.hProcess, kWaitMs) != WAIT_OBJECT_0)
            return -1;
        DWORD code = 0;
        GetExitCodeProcess(pi_.hProcess, &code);
        return int(code);
    }

private:
    PROCESS_INFORMATION pi_{};
    bool ok_ = false;
    HWND main_ = nullptr;
    DWORD startError_ = 0;
};

// A folder of the test's own with a copy of kelvane.exe in it.
class ProgramCopy : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(CopyFileW(kelvaneExePath().c_str(), exe.c_str(), FALSE)) << GetLastError();
        removeStore("Software\\Kelvane\\Kelvane");
    }
    void TearDown() override { removeStore("Software\\Kelvane\\Kelvane"); }
    TempDir tmp;
    const std::wstring exe = wide(inside(tmp, "kelvane.exe"));
};

// A string run of 5000 rows in the running program, to the box that says it
// is done; upper case and digits only, with the head "前缀".
void runStrings(const Program& p)
{
    ASSERT_NE(p.main(), nullptr) << "no window titled \"Kelvane \"; start error " << p.startError();
    HWND page = p.stringPage();
    ASSERT_NE(page, nullptr);
    SendMessageW(GetDlgItem(page, idc::string::lower), BM_SETCHECK, BST_UNCHECKED, 0);
    SendMessageW(GetDlgItem(page, idc::string::count), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"5000"));
    SendMessageW(GetDlgItem(page, idc::string::head), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"\u524d\u7f00"));
    PostMessageW(page, WM_COMMAND, MAKEWPARAM(idc::string::generate, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(page, idc::string::generate)));

    HWND box = nullptr;
    ASSERT_TRUE(waitUntil([&] { return (box = windowsOf(p.pid()).box) != nullptr; })) << "no box after the run";
    EXPECT_EQ(textOf(GetDlgItem(box, 0xFFFF)), L"\u751f\u6210\u6210\u529f\uff01"); // 生成成功！
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(waitUntil([&] { return windowsOf(p.pid()).box == nullptr; }));
}

// The output file of runStrings: 5000 rows of "前缀" in GBK, then 8 to 16
// upper case letters and digits, CR LF after each.
void expectStringRows(const std::string& out)
{
    const std::regex row("\xc7\xb0\xd7\xba[A-Z0-9]{8,16}\r");
    std::istringstream lines(out);
    std::size_t rows = 0;
    bool wellFormed = out.ends_with("\r\n");
    for (std::string line; std::getline(lines, line); ++rows)
        wellFormed = wellFormed && std::regex_match(line, row);
    EXPECT_EQ(rows, 5000u);
    EXPECT_TRUE(wellFormed) << out.substr(0, 200);
}

TEST_F(ProgramCopy, AStringRunOf5000RowsWritesOutTxtBesideTheProgramAndOptionsSurviveARestart)
{
    {
        Program p(exe);
        runStrings(p);
        EXPECT_EQ(p.close(), 0);
    }
    expectStringRows(readFile(inside(tmp, "_out.txt")));

    // The options of the run were stored when the window closed ...
    EXPECT_GE(storedValueCount("Software\\Kelvane\\Kelvane"), 14);
    // ... and the next start shows them.
    Program again(exe);
    ASSERT_NE(again.main(), nullptr);
    HWND page = again.stringPage();
    EXPECT_EQ(textOf(GetDlgItem(page, idc::string::count)), L"5000");
    EXPECT_EQ(textOf(GetDlgItem(page, idc::string::head)), L"\u524d\u7f00");
    EXPECT_EQ(SendMessageW(GetDlgItem(page, idc::string::lower), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(again.close(), 0);
}

// A copy on a read-only mount (tests/win32/mounted.sh; root ignores access
// rights, not a read-only file system) writes its output file under
// %LOCALAPPDATA%\Kelvane, here a folder of the test's own.
TEST_F(ProgramCopy, FromAFolderItCannotWriteTheOutputFileGoesToLocalAppData)
{
    const char* folder = std::getenv("KELVANE_READ_ONLY_COPY");
    if (!folder)
        GTEST_SKIP() << "needs a read-only copy of kelvane.exe: run by win32_program_read_only";
    wchar_t local[MAX_PATH] = {};
    GetEnvironmentVariableW(L"LOCALAPPDATA", local, MAX_PATH);
    SetEnvironmentVariableW(L"LOCALAPPDATA", wide(tmp.path()).c_str());
    {
        Program p(hostPath(std::string(folder) + "/kelvane.exe"));
        SetEnvironmentVariableW(L"LOCALAPPDATA", local);
        runStrings(p);
        EXPECT_EQ(p.close(), 0);
    }
    expectStringRows(readFile(inside(tmp, "Kelvane\\_out.txt")));
    std::vector<std::string> beside;
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::u8path(folder)))
        beside.push_back(entry.path().filename().string());
    EXPECT_EQ(beside, std::vector<std::string>{"kelvane.exe"});
}

// A console of the test's own, which the programs it starts share, as when
// kelvane.exe is started from a console window; Ctrl+C in it is for them.
class OwnConsole {
public:
    OwnConsole()
    {
        // Wine leaves a program started without a terminal a console it
        // cannot use: let go of it first.
        FreeConsole();
        ok_ = AllocConsole() && SetConsoleCtrlHandler(ignoreCtrlC, TRUE);
    }
    ~OwnConsole()
    {
        SetConsoleCtrlHandler(ignoreCtrlC, FALSE);
        FreeConsole();
    }
    bool ok() const { return ok_; }

private:
    static BOOL WINAPI ignoreCtrlC(DWORD event) { return event == CTRL_C_EVENT; }
    bool ok_ = false;
};

// Logging off or shutting down with the window open, Esc in it, Ctrl+C or
// closing the console it was started from: what was typed is kept.
TEST_F(ProgramCopy, OptionsAreStoredWhenTheSessionEndsEscClosesTheWindowOrItsConsoleEndsIt)
{
    const OwnConsole console;
    ASSERT_TRUE(console.ok()) << GetLastError();
    const struct {
        const char* way;
        const wchar_t* count;
        std::function<bool(Program&, HWND)> end; // whether the program ended as it should
    } ways[] = {
        {"end of session", L"321", [](Program& p, HWND) {
             p.endSession();
             return true;
         }},
        {"Esc", L"654", [](Program& p, HWND edit) { return p.pressEsc(edit) == 0; }},
        {"Ctrl+C", L"987", [](Program& p, HWND) { return p.consoleEvent(CTRL_C_EVENT) == 0; }},
        {"console closed", L"1234", [](Program& p, HWND) { return p.consoleEvent(CTRL_CLOSE_EVENT) >= 0; }},
    };
    for (const auto& w : ways) {
        SCOPED_TRACE(w.way);
        // Now and then, with other Wine programs running, a way fails inside
        // Wine itself (once, a Ctrl+C: Wine's C library aborted on a damaged
        // heap and the program never ended): such a row is tried once more,
        // and said so; the second try must end the program and store.
        for (int attempt = 0; attempt < 2; ++attempt) {
            Program p(exe);
            ASSERT_NE(p.main(), nullptr);
            HWND page = p.stringPage();
            ASSERT_NE(page, nullptr);
            HWND edit = GetDlgItem(page, idc::string::count);
            SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(w.count));
            const bool ended = w.end(p, edit);
            if (!ended && attempt == 0) {
                std::fprintf(stderr, "%s: the program did not end, trying once more\n", w.way);
                continue;
            }
            EXPECT_TRUE(ended) << "the program did not end as it should";
            break;
        }
        Program again(exe);
        ASSERT_NE(again.main(), nullptr);
        EXPECT_EQ(textOf(GetDlgItem(again.stringPage(), idc::string::count)), w.count);
        EXPECT_EQ(again.close(), 0);
    }
}

} // namespace
