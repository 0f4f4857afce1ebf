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

#include "sys/win32/cp936.h"
#include "platform/win32/dialog_template_win32.h"
#include "platform/win32/message_loop.h"
#include "res/resource.h"
#include "res/templates.h"

#include <gtest/gtest.h>

#include <windows.h>

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

TEST(Win32DialogWindow, AppendsFollowAViewAtTheEndAndLeaveAViewScrolledBackWithItsSelection)
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
    EXPECT_EQ(SendMessageW(box, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
    DWORD from = 0, to = 0;
    SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    EXPECT_EQ(from, 0u);
    EXPECT_EQ(to, 2u);

    SendMessageW(box, WM_VSCROLL, SB_BOTTOM, 0);
    const LRESULT before = SendMessageW(box, EM_GETFIRSTVISIBLELINE, 0, 0);
    page.appendText(idc::number::output, "87\r\n88\r\n");
    EXPECT_GT(SendMessageW(box, EM_GETFIRSTVISIBLELINE, 0, 0), before);
    EXPECT_EQ(page.text(idc::number::output), rows + "86\r\n87\r\n88\r\n");
    EXPECT_FALSE(page.isModified(idc::number::output));
}

// A real box as the user sees it: its caption, its owner and the icon beside
// its text, read from a timer of the box's own modal loop, then OK pressed.
struct ShownBox {
    std::wstring caption;
    HWND owner = nullptr;
    HICON icon = nullptr;
};

std::optional<ShownBox> showAndRead(HWND mainWindow, const std::function<void()>& show)
{
    static HWND skip;
    static std::optional<ShownBox> seen;
    skip = mainWindow;
    seen.reset();
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) {
        EnumThreadWindows(GetCurrentThreadId(), [](HWND h, LPARAM) -> BOOL {
            if (h == skip || !IsWindowVisible(h) || className(h) != L"#32770" || seen)
                return TRUE;
            ShownBox box;
            wchar_t caption[64] = {};
            GetWindowTextW(h, caption, 64);
            box.caption = caption;
            box.owner = GetWindow(h, GW_OWNER);
            for (HWND c = GetWindow(h, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
                if ((GetWindowLongW(c, GWL_STYLE) & SS_TYPEMASK) == SS_ICON && className(c) == L"Static")
                    box.icon = reinterpret_cast<HICON>(SendMessageW(c, STM_GETICON, 0, 0));
            seen = box;
            PostMessageW(h, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            return FALSE;
        });
    });
    show();
    KillTimer(nullptr, timer);
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
        const auto box = showAndRead(top, c.show);
        ASSERT_TRUE(box) << "no box shown";
        EXPECT_EQ(box->caption, c.caption);
        EXPECT_EQ(box->owner, top); // the page's window, as Windows owns a box: by its top-level window
        EXPECT_EQ(box->icon, c.icon) << cp936::wideToUtf8(c.caption);
    }
    Application::configure({"", "", "", "", 0, 0});
}

} // namespace
