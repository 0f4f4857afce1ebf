// The Win32 dialog window, driven through the dialog layer's interface by
// control id: windows made by the dialog manager from the control tables,
// keyboard handling across the tab pages, what reaches the dialog (clicks,
// close requests, the end of the session), timers that really stop, the
// modal run, the output box's appends and text GBK cannot hold. Controls by
// id, GBK texts in and out, the large output box and the window's caption
// are pinned by the shared dialog layer, main window and program tests, which
// run on this back end.
#include "platform/dialog_window.h"

#include "platform/app.h"
#include "platform/boxes.h"
#include "platform/presenter.h"
#include "platform/save_file.h"

#include "sys/win32/cp936.h"
#include "platform/win32/dialog_template_win32.h"
#include "platform/win32/message_loop.h"
#include "res/resource.h"
#include "res/templates.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <commdlg.h>
#include <dlgs.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

struct Recorder : DialogEvents {
    std::vector<int> clicks;
    int closeRequests = 0;
    int sessionEnds = 0;
    std::vector<UINT> timers;
    std::function<void(UINT)> onTimer;

    void onNotify(int id, Notify code) override
    {
        if (code == Notify::Clicked)
            clicks.push_back(id);
    }
    void onTimerFired(UINT id) override
    {
        timers.push_back(id);
        if (onTimer)
            onTimer(id);
    }
    void onCloseRequest() override { ++closeRequests; }
    void onSessionEnd() override { ++sessionEnds; }
};

// The main window with its three pages over the tab control, laid out as
// the main window lays them.
struct Window {
    Recorder events[4];
    const DialogTemplate* templates[4] = {&kGeneratorDialogTemplate, &kStringPageTemplate, &kNumberPageTemplate,
                                          &kTimePageTemplate};
    std::unique_ptr<DialogWindow> dialogs[4];
    DialogWindow& main() { return *dialogs[0]; }
    DialogWindow& page(int i) { return *dialogs[1 + i]; }

    Window()
    {
        for (int i = 0; i < 4; ++i)
            dialogs[i] = createDialogWindow(*templates[i], events[i]);
        main().create(nullptr, kNoId);
        const CRect area = main().clientRect(idc::main::tab).Deflated(1, 21, 3, 3);
        for (int i = 0; i < 3; ++i) {
            page(i).create(&main(), idc::main::tab);
            page(i).move(area);
        }
        page(0).show(true);
        main().show(true);
        win32::pumpMessages();
    }
    ~Window()
    {
        // Pages first, as the main window's members go before it.
        for (int i = 3; i >= 0; --i)
            dialogs[i].reset();
    }
};

HWND item(const DialogWindow& d, int id) { return GetDlgItem(d.handle(), id); }

// Pixels of a template rectangle: the dialog manager converts x, y, w and h
// each on its own.
RECT dialogRect(HWND dlg, int x, int y, int w, int h)
{
    RECT r{x, y, w, h};
    MapDialogRect(dlg, &r);
    return {r.left, r.top, r.left + r.right, r.top + r.bottom};
}

RECT rectInParent(HWND child)
{
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::wstring className(HWND h)
{
    wchar_t cls[64] = {};
    GetClassNameW(h, cls, 64);
    return cls;
}

void pressKey(HWND target, WPARAM key)
{
    PostMessageW(target, WM_KEYDOWN, key, 1);
    PostMessageW(target, WM_KEYUP, key, 0xC0000001);
    win32::pumpMessages();
}

// Runs messages for ms milliseconds.
void runFor(DWORD ms)
{
    const ULONGLONG end = GetTickCount64() + ms;
    while (GetTickCount64() < end) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        win32::pumpMessages();
    }
}

TEST(Win32DialogWindow, EveryTableIsLaidOutInDialogUnitsWithItsClassesTextsAndRaisedOutputLimit)
{
    Window w;
    for (int i = 0; i < 4; ++i) {
        const DialogTemplate& t = *w.templates[i];
        HWND dlg = w.dialogs[i]->handle();
        SCOPED_TRACE(t.id);
        HWND child = GetWindow(dlg, GW_CHILD);
        for (const ControlDef& def : t.controls) {
            ASSERT_NE(child, nullptr);
            const RECT want = dialogRect(dlg, def.x, def.y, def.w, def.h);
            const RECT got = rectInParent(child);
            EXPECT_EQ(got.left, want.left) << def.id;
            EXPECT_EQ(got.top, want.top) << def.id;
            EXPECT_EQ(got.right, want.right) << def.id;
            EXPECT_EQ(got.bottom, want.bottom) << def.id;
            EXPECT_EQ(lstrcmpiW(className(child).c_str(), win32::controlStyle(def).className), 0) << def.id;
            if (def.kind != ControlKind::TabControl) {
                wchar_t text[128] = {};
                GetWindowTextW(child, text, 128);
                EXPECT_EQ(text, cp936::utf8ToWide(def.text)) << def.id;
            }
            if (def.kind == ControlKind::OutputEdit) {
                EXPECT_EQ(SendMessageW(child, EM_GETLIMITTEXT, 0, 0), 0x7FFFFFFE) << def.id;
            }
            EXPECT_EQ(GetDlgCtrlID(child), def.id);
            EXPECT_EQ(IsWindowEnabled(child) != 0, !(def.style & cs::Disabled)) << def.id;
            child = GetWindow(child, GW_HWNDNEXT);
        }
        EXPECT_EQ(child, nullptr);
    }
    RECT client;
    GetClientRect(w.main().handle(), &client);
    const RECT want = dialogRect(w.main().handle(), 0, 0, 353, 322);
    EXPECT_EQ(client.right, want.right);
    EXPECT_EQ(client.bottom, want.bottom);
}

TEST(Win32DialogWindow, TabAndShiftTabWalkThePageInTemplateOrderAndReachTheMainWindow)
{
    Window w;
    // The string page's tab stops in template order, then About, then back.
    std::vector<HWND> want;
    for (const ControlDef& def : kStringPageTemplate.controls)
        if ((def.style & cs::TabStop) && !(def.style & cs::Disabled))
            want.push_back(item(w.page(0), def.id));
    SetFocus(want.front());
    std::vector<HWND> got{GetFocus()};
    for (std::size_t i = 1; i < want.size() + 2; ++i) {
        pressKey(GetFocus(), VK_TAB);
        got.push_back(GetFocus());
    }
    want.push_back(item(w.main(), idc::main::about));
    want.push_back(want.front());
    EXPECT_EQ(got, want);

    // Shift+Tab walks back: from the first stop to About.
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_SHIFT] = 0x80;
    SetKeyboardState(keys);
    pressKey(GetFocus(), VK_TAB);
    keys[VK_SHIFT] = 0;
    SetKeyboardState(keys);
    EXPECT_EQ(GetFocus(), item(w.main(), idc::main::about));
}

TEST(Win32DialogWindow, EnterPressesTheFocusedButtonEscAndTheCloseBoxAskTheMainWindowToClose)
{
    Window w;
    HWND generate = item(w.page(1), idc::number::generate);
    SetFocus(generate);
    pressKey(generate, VK_RETURN);
    EXPECT_EQ(w.events[2].clicks, std::vector<int>{idc::number::generate});

    // Enter in a one-line edit presses nothing.
    SetFocus(item(w.page(1), idc::number::count));
    pressKey(GetFocus(), VK_RETURN);
    EXPECT_EQ(w.events[2].clicks.size(), 1u);

    // Esc in a page asks the main window; it stays until its dialog ends.
    pressKey(GetFocus(), VK_ESCAPE);
    SendMessageW(w.main().handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(w.events[0].closeRequests, 2);
    EXPECT_EQ(w.events[2].closeRequests, 0);
    EXPECT_TRUE(w.main().isVisible());
}

TEST(Win32DialogWindow, TheEndOfTheSessionReachesTheMainWindowOnlyWhenItReallyEnds)
{
    Window w;
    SendMessageW(w.main().handle(), WM_ENDSESSION, FALSE, 0); // another program refused
    SendMessageW(w.page(0).handle(), WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ(w.events[0].sessionEnds, 0);
    SendMessageW(w.main().handle(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    EXPECT_EQ(w.events[0].sessionEnds, 1);
    EXPECT_EQ(w.events[1].sessionEnds, 0);
}

TEST(Win32DialogWindow, AStoppedTimerIsGoneFromTheSystemAndFiresNoMore)
{
    Window w;
    DialogWindow& page = w.page(2);
    Recorder& events = w.events[3];
    ASSERT_TRUE(page.startTimer(7, 5));
    ASSERT_TRUE(page.startTimer(8, 5));
    events.onTimer = [&](UINT id) {
        if (id == 7)
            page.stopTimer(7); // from its own handler, as the time page's last event does
    };
    runFor(200);
    EXPECT_EQ(std::count(events.timers.begin(), events.timers.end(), 7u), 1);
    EXPECT_GT(std::count(events.timers.begin(), events.timers.end(), 8u), 1);
    // KillTimer fails for a timer the window no longer has.
    EXPECT_FALSE(KillTimer(page.handle(), 7));
    page.stopTimer(8);
    EXPECT_FALSE(KillTimer(page.handle(), 8));
    events.timers.clear();
    runFor(50);
    EXPECT_TRUE(events.timers.empty());
}

TEST(Win32DialogWindow, TheModalRunEndsWithTheResultGivenAndLeavesWmQuitForTheLoopOutside)
{
    Window w;
    Recorder& events = w.events[0];
    events.onTimer = [&](UINT) { w.main().endModal(IDOK); };
    ASSERT_TRUE(w.main().startTimer(1, 0));
    EXPECT_EQ(w.main().runModal(true), IDOK);
    w.main().stopTimer(1);
    // The focus went to the first tab stop: About, the main window's only one
    // outside the pages.
    EXPECT_EQ(GetFocus(), GetNextDlgTabItem(w.main().handle(), nullptr, FALSE));

    events.onTimer = [&](UINT) { PostQuitMessage(3); };
    ASSERT_TRUE(w.main().startTimer(1, 0));
    EXPECT_EQ(w.main().runModal(false), IDCANCEL);
    w.main().stopTimer(1);
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 3u);
}

// Appending keeps the selection of a user who scrolled back (following the
// view is a test of the dialog layer, on every back end).
TEST(Win32DialogWindow, AppendsKeepTheSelectionOfAViewScrolledBack)
{
    Window w;
    DialogWindow& page = w.page(1);
    HWND box = item(page, idc::number::output);
    std::string rows;
    for (int i = 0; i < 200; ++i)
        rows += "85\r\n";
    page.setText(idc::number::output, rows);
    SendMessageW(box, EM_SETSEL, 0, 2);
    SendMessageW(box, WM_VSCROLL, SB_TOP, 0);
    page.appendText(idc::number::output, "86\r\n");
    DWORD from = 0, to = 0;
    SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    EXPECT_EQ(std::pair(from, to), std::pair(DWORD(0), DWORD(2)));
}


// Steps run one after another from a timer of whatever modal loop is running
// (the save dialog's, then its question's); each returns true once it has
// done its part, false to be tried again at the next tick.
class Steps {
public:
    explicit Steps(std::vector<std::function<bool()>> steps)
    {
        list() = std::move(steps);
        at() = 0;
        timer_ = SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) {
            if (at() < list().size() && list()[at()]())
                ++at();
        });
    }
    ~Steps() { KillTimer(nullptr, timer_); }
    bool done() const { return at() == list().size(); }

private:
    static std::vector<std::function<bool()>>& list()
    {
        static std::vector<std::function<bool()>> steps;
        return steps;
    }
    static std::size_t& at()
    {
        static std::size_t i;
        return i;
    }
    UINT_PTR timer_;
};

// The visible top-level dialog of this thread whose caption is caption.
HWND dialogCaptioned(const std::wstring& caption)
{
    static std::pair<std::wstring, HWND> find;
    find = {caption, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), [](HWND h, LPARAM) -> BOOL {
        wchar_t text[128] = {};
        GetWindowTextW(h, text, 128);
        if (IsWindowVisible(h) && className(h) == L"#32770" && find.first == text)
            find.second = h;
        return !find.second;
    }, 0);
    return find.second;
}

std::wstring windowText(HWND h)
{
    wchar_t text[512] = {};
    GetWindowTextW(h, text, 512);
    return text;
}

// Export's real save dialog, filled in through its own controls: the filters
// (GBK first and chosen), the suggested name, the filter giving the encoding,
// ".txt" added to a bare name, and a question before an existing file is
// replaced.
TEST(Win32SaveDialog, FilterSetsTheEncodingBareNamesGetTxtAndReplacingAsks)
{
    Window w;
    wchar_t cwd[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, cwd);
    const std::wstring caption = L"Export test";
    HWND dlg = nullptr;
    std::vector<std::wstring> filters;
    int chosen = -1;
    std::wstring suggested, question;
    const auto fileName = [&] { return GetDlgItem(dlg, edt1) ? GetDlgItem(dlg, edt1) : GetDlgItem(dlg, cmb13); };
    const auto fill = [&](int filter, const std::wstring& name) {
        return std::vector<std::function<bool()>>{
            [&] { return (dlg = dialogCaptioned(caption)) != nullptr; },
            [&, filter, name] {
                HWND combo = GetDlgItem(dlg, cmb1);
                filters.clear();
                for (int i = 0; i < SendMessageW(combo, CB_GETCOUNT, 0, 0); ++i) {
                    wchar_t item[128] = {};
                    SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item));
                    filters.push_back(item);
                }
                chosen = int(SendMessageW(combo, CB_GETCURSEL, 0, 0));
                suggested = windowText(fileName());
                SendMessageW(combo, CB_SETCURSEL, filter, 0);
                for (WORD code : {CBN_SELCHANGE, CBN_SELENDOK}) // what a pick with the mouse sends
                    SendMessageW(dlg, WM_COMMAND, MAKEWPARAM(cmb1, code), reinterpret_cast<LPARAM>(combo));
                SetWindowTextW(fileName(), name.c_str());
                PostMessageW(dlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dlg, IDOK)));
                return true;
            }};
    };
    const std::string bare = cp936::wideToUtf8(std::wstring(cwd) + L"\\bare.txt");
    DeleteFileW(cp936::utf8ToWide(bare).c_str());
    std::optional<SaveTarget> target;
    {
        Steps steps(fill(1, L"bare"));
        target = systemSaveDialog().ask(w.page(1).handle(), cp936::wideToUtf8(caption), "\xE9\x9A\x8F.txt");
        EXPECT_TRUE(steps.done());
    }
    EXPECT_EQ(filters, (std::vector<std::wstring>{L"GBK \u6587\u672C (*.txt)", L"UTF-8 \u6587\u672C (*.txt)"}));
    EXPECT_EQ(chosen, 0);
    EXPECT_EQ(suggested, L"\u968F.txt");
    ASSERT_TRUE(target);
    EXPECT_EQ(target->path, bare);
    EXPECT_EQ(target->encoding, TextEncoding::Utf8);

    // The GBK filter over an existing file: asked first; "No" goes back to
    // the dialog, which is then cancelled.
    HANDLE f = CreateFileW(cp936::utf8ToWide(bare).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    CloseHandle(f);
    {
        auto steps = fill(0, L"bare.txt");
        steps.push_back([&] {
            // The question: a box owned by the dialog.
            HWND box = nullptr;
            for (HWND h = GetWindow(GetDesktopWindow(), GW_CHILD); h && !box; h = GetWindow(h, GW_HWNDNEXT))
                if (h != dlg && IsWindowVisible(h) && GetWindow(h, GW_OWNER) == dlg && className(h) == L"#32770")
                    box = h;
            if (!box)
                return false;
            for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
                question += windowText(c) + L"|";
            PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, IDNO)));
            return true;
        });
        steps.push_back([&] { return dialogCaptioned(caption) && PostMessageW(dlg, WM_COMMAND, IDCANCEL, 0); });
        Steps run(std::move(steps));
        target = systemSaveDialog().ask(w.page(1).handle(), cp936::wideToUtf8(caption), "x.txt");
        EXPECT_TRUE(run.done());
    }
    EXPECT_FALSE(question.empty()) << "replaced without a question";
    EXPECT_FALSE(target);
    DeleteFileW(cp936::utf8ToWide(bare).c_str());
}

// A real box as the user sees it: its caption, its owner and the icon beside
// its text, read while it is up, then OK pressed.
struct ShownBox {
    std::wstring caption;
    HWND owner = nullptr;
    HICON icon = nullptr;
};

std::optional<ShownBox> showAndRead(const std::function<void()>& show)
{
    std::optional<ShownBox> seen;
    Steps steps({[&] {
        // The box: the thread's one visible dialog with an owner.
        static HWND h;
        h = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), [](HWND w, LPARAM) -> BOOL {
            if (IsWindowVisible(w) && GetWindow(w, GW_OWNER) && className(w) == L"#32770")
                h = w;
            return !h;
        }, 0);
        if (!h)
            return false;
        seen = ShownBox{windowText(h), GetWindow(h, GW_OWNER), nullptr};
        for (HWND c = GetWindow(h, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
            if ((GetWindowLongW(c, GWL_STYLE) & SS_TYPEMASK) == SS_ICON && className(c) == L"Static")
                seen->icon = reinterpret_cast<HICON>(SendMessageW(c, STM_GETICON, 0, 0));
        return PostMessageW(h, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0) != 0;
    }});
    show();
    return seen;
}

TEST(Win32Boxes, PlainWarningAndAboutShowTheirCaptionIconAndOwner)
{
    Window w;
    Application::configure({"Kelvane", "", "", "", 9, 128}); // the program's icon group
    const HWND owner = w.page(0).handle(), top = w.main().handle();
    const HICON programIcon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(128));
    ASSERT_TRUE(programIcon);
    const struct {
        std::function<void()> show;
        std::wstring caption;
        HICON icon;
    } cases[] = {
        {[&] { showBox(owner, BoxKind::Plain, std::string(), "plain"); }, L"", nullptr},
        {[&] { DialogPresenter::instance().warning(owner, "warning"); }, L"\u8B66\u544A", LoadIconW(nullptr, IDI_WARNING)},
        {[&] { DialogPresenter::instance().about(owner, nullptr); }, L"\u5173\u4E8E Kelvane", programIcon},
    };
    for (const auto& c : cases) {
        const auto box = showAndRead(c.show);
        ASSERT_TRUE(box) << "no box shown";
        EXPECT_EQ(box->caption, c.caption);
        EXPECT_EQ(box->owner, top); // the page's window, as Windows owns a box: by its top-level window
        EXPECT_EQ(box->icon, c.icon) << cp936::wideToUtf8(c.caption);
    }
    Application::configure({"", "", "", "", 0, 0});
}

} // namespace
