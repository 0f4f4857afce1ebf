// The Win32 dialog engine: windows made by the dialog manager from the
// control tables, keyboard handling across the tab pages and text GBK cannot
// hold. Timers, controls by id, GBK texts in and out, the large output box and
// the window's caption are pinned by the shared dialog layer, main window and
// program tests, which run on this back end.
#include "platform/win32/dialog_window.h"

#include "sys/win32/cp936.h"
#include "platform/win32/dialog_template_win32.h"
#include "res/templates.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <vector>

namespace {

using win32::DialogWindow;

struct Recorder : DialogWindow {
    using DialogWindow::DialogWindow;
    std::vector<int> clicks;
    int destroyed = 0;
    void onCommand(int id, int code) override
    {
        if (code == BN_CLICKED && id != IDOK && id != IDCANCEL)
            clicks.push_back(id);
        DialogWindow::onCommand(id, code);
    }
    void onDestroy() override { ++destroyed; }
};

// The main window with its three pages over the tab control.
struct Window {
    Recorder main{kGeneratorDialogTemplate};
    Recorder pages[3]{Recorder{kStringPageTemplate}, Recorder{kNumberPageTemplate}, Recorder{kTimePageTemplate}};

    Window()
    {
        EXPECT_TRUE(main.create(nullptr));
        HWND tab = main.item(1001);
        for (Recorder& p : pages) {
            EXPECT_TRUE(p.create(tab));
            RECT r;
            GetClientRect(tab, &r);
            MoveWindow(p.hwnd(), r.left + 1, r.top + 21, r.right - r.left - 4, r.bottom - r.top - 24, TRUE);
        }
        ShowWindow(pages[0].hwnd(), SW_SHOW);
        ShowWindow(main.hwnd(), SW_SHOW);
        win32::pumpMessages();
    }
    ~Window() { main.destroy(); }
};

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

TEST(DialogWindow, EveryTableIsLaidOutInDialogUnitsWithItsClassesAndTexts)
{
    Window w;
    const DialogWindow* dialogs[] = {&w.main, &w.pages[0], &w.pages[1], &w.pages[2]};
    for (const DialogWindow* d : dialogs) {
        const DialogTemplate& t = d->dialogTemplate();
        SCOPED_TRACE(t.id);
        HWND child = GetWindow(d->hwnd(), GW_CHILD);
        for (const ControlDef& def : t.controls) {
            ASSERT_NE(child, nullptr);
            const RECT want = dialogRect(d->hwnd(), def.x, def.y, def.w, def.h);
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
            EXPECT_EQ(GetDlgCtrlID(child), def.id);
            EXPECT_EQ(IsWindowEnabled(child) != 0, !(def.style & cs::Disabled)) << def.id;
            child = GetWindow(child, GW_HWNDNEXT);
        }
        EXPECT_EQ(child, nullptr);
    }
    RECT client;
    GetClientRect(w.main.hwnd(), &client);
    const RECT want = dialogRect(w.main.hwnd(), 0, 0, 353, 322);
    EXPECT_EQ(client.right, want.right);
    EXPECT_EQ(client.bottom, want.bottom);
}

TEST(DialogWindow, TabAndShiftTabWalkThePageInTemplateOrderAndReachTheMainWindow)
{
    Window w;
    // The string page's tab stops in template order, then About, then back.
    std::vector<HWND> want;
    for (const ControlDef& def : kStringPageTemplate.controls)
        if ((def.style & cs::TabStop) && !(def.style & cs::Disabled))
            want.push_back(w.pages[0].item(def.id));
    SetFocus(want.front());
    std::vector<HWND> got{GetFocus()};
    for (std::size_t i = 1; i < want.size() + 2; ++i) {
        pressKey(GetFocus(), VK_TAB);
        got.push_back(GetFocus());
    }
    want.push_back(w.main.item(1031));
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
    EXPECT_EQ(GetFocus(), w.main.item(1031));
}

TEST(DialogWindow, EnterPressesTheFocusedButtonAndEscClosesTheWindow)
{
    Window w;
    HWND generate = w.pages[1].item(1024);
    SetFocus(generate);
    pressKey(generate, VK_RETURN);
    EXPECT_EQ(w.pages[1].clicks, std::vector<int>{1024});

    // Enter in a one-line edit presses nothing.
    SetFocus(w.pages[1].item(1022));
    pressKey(GetFocus(), VK_RETURN);
    EXPECT_EQ(w.pages[1].clicks.size(), 1u);

    pressKey(GetFocus(), VK_ESCAPE);
    EXPECT_EQ(w.main.hwnd(), nullptr);
    EXPECT_EQ(w.main.destroyed, 1);
    for (const Recorder& p : w.pages)
        EXPECT_EQ(p.destroyed, 1);
}

// A character of the basic plane that GBK lacks: no best-fit letter in its place.
TEST(DialogWindow, TextGbkCannotHoldIsReportedNotApproximated)
{
    Window w;
    SetWindowTextW(w.pages[0].item(1005), L"x\u00C0y");
    EXPECT_EQ(w.pages[0].itemText(1005), std::nullopt);
}

} // namespace
