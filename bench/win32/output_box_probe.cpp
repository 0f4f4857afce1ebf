// Time to show a number run in the output box of the Windows program: the
// number page in the main window, a run of N rows "85\r\n" set into the
// output box and painted; the box holds the previous run's rows when the next
// run starts, as it does when a user presses Generate again. Prints the
// median of the runs for each way of setting the text.
// Run under Wine with bench/win32/output_box.sh.
#include "platform/dialog_window.h"
#include "platform/win32/controls.h"
#include "platform/win32/message_loop.h"
#include "res/resource.h"
#include "res/templates.h"

#include <windows.h>

#include "probe_clock.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

using probe::cpuSeconds;
using probe::median;
using probe::seconds;

// The windows' notifications are not needed here.
struct NoEvents : DialogEvents {
    void onNotify(int, Notify) override {}
    void onTimerFired(UINT) override {}
    void onCloseRequest() override {}
    void onSessionEnd() override {}
};

// The way the program sets its text: one WM_SETTEXT with redrawing held off.
void setWhole(HWND box, const std::string& rows)
{
    win32::setText(box, rows);
}

// The text handed over in the edit's own buffer (EM_SETHANDLE), no copy.
void setHandle(HWND box, const std::string& rows)
{
    const int n = MultiByteToWideChar(936, 0, rows.data(), int(rows.size()), nullptr, 0);
    HLOCAL mem = LocalAlloc(LMEM_MOVEABLE, (std::size_t(n) + 1) * sizeof(wchar_t));
    auto* p = static_cast<wchar_t*>(LocalLock(mem));
    MultiByteToWideChar(936, 0, rows.data(), int(rows.size()), p, n);
    p[n] = 0;
    LocalUnlock(mem);
    HLOCAL old = reinterpret_cast<HLOCAL>(SendMessageW(box, EM_GETHANDLE, 0, 0));
    SendMessageW(box, WM_SETREDRAW, FALSE, 0);
    SendMessageW(box, EM_SETHANDLE, reinterpret_cast<WPARAM>(mem), 0);
    SendMessageW(box, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(box, nullptr, TRUE);
    LocalFree(old);
}

} // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    NoEvents events;
    const auto main = createDialogWindow(kGeneratorDialogTemplate, events);
    const auto page = createDialogWindow(kNumberPageTemplate, events);
    main->create(nullptr, kNoId);
    page->create(main.get(), idc::main::tab);
    if (!main->handle() || !page->handle())
        return 1;
    const CRect r = main->clientRect(idc::main::tab);
    page->move({r.left + 1, r.top + 21, r.right - 3, r.bottom - 3});
    page->show(true);
    main->show(true);
    win32::pumpMessages();
    HWND box = GetDlgItem(page->handle(), idc::number::output);

    const struct {
        const char* name;
        std::function<void(HWND, const std::string&)> set;
    } ways[] = {{"WM_SETTEXT", setWhole}, {"EM_SETHANDLE", setHandle}};
    for (int rows : {100000, 1000000}) {
        std::string text;
        text.reserve(std::size_t(rows) * 4);
        for (int i = 0; i < rows; ++i)
            text += "85\r\n";
        for (const auto& way : ways) {
            std::vector<double> times, cpu;
            way.set(box, "80\r\n"); // a previous run's rows
            for (int i = 0; i < runs; ++i) {
                const double t0 = seconds(), c0 = cpuSeconds();
                way.set(box, text);
                UpdateWindow(box);
                GdiFlush();
                times.push_back(seconds() - t0);
                cpu.push_back(cpuSeconds() - c0);
                win32::pumpMessages();
            }
            std::printf("%-13s %8d rows: median %.3f s wall, %.3f s CPU, of %d runs (wall min %.3f, max %.3f)\n",
                        way.name, rows, median(times), median(cpu), runs,
                        *std::min_element(times.begin(), times.end()), *std::max_element(times.begin(), times.end()));
            std::fflush(stdout);
        }
    }
    return 0;
}
