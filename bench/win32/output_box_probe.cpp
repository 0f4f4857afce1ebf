// Time to show a number run in the output box of the Windows program: the
// number page in the main window, a run of N rows "85\r\n" set into the
// output box and painted; the box holds the previous run's rows when the next
// run starts, as it does when a user presses Generate again. Prints the
// median of the runs for each way of setting the text.
// Run under Wine with bench/win32/output_box.sh.
#include "platform/win32/dialog_window.h"
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

// The way the program sets its text: one WM_SETTEXT with redrawing held off.
void setWhole(win32::DialogWindow& page, HWND, const std::string& rows)
{
    page.setOutputText(idc::number::output, rows);
}

// The text handed over in the edit's own buffer (EM_SETHANDLE), no copy.
void setHandle(win32::DialogWindow&, HWND box, const std::string& rows)
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
    win32::DialogWindow main(kGeneratorDialogTemplate);
    win32::DialogWindow page(kNumberPageTemplate);
    if (!main.create(nullptr) || !page.create(main.item(idc::main::tab)))
        return 1;
    HWND tab = main.item(idc::main::tab);
    RECT r;
    GetClientRect(tab, &r);
    MoveWindow(page.hwnd(), r.left + 1, r.top + 21, r.right - r.left - 4, r.bottom - r.top - 24, TRUE);
    ShowWindow(page.hwnd(), SW_SHOW);
    ShowWindow(main.hwnd(), SW_SHOW);
    win32::pumpMessages();
    HWND box = page.item(idc::number::output);

    const struct {
        const char* name;
        std::function<void(win32::DialogWindow&, HWND, const std::string&)> set;
    } ways[] = {{"WM_SETTEXT", setWhole}, {"EM_SETHANDLE", setHandle}};
    for (int rows : {100000, 1000000}) {
        std::string text;
        text.reserve(std::size_t(rows) * 4);
        for (int i = 0; i < rows; ++i)
            text += "85\r\n";
        for (const auto& way : ways) {
            std::vector<double> times, cpu;
            way.set(page, box, "80\r\n"); // a previous run's rows
            for (int i = 0; i < runs; ++i) {
                const double t0 = seconds(), c0 = cpuSeconds();
                way.set(page, box, text);
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
    main.destroy();
    return 0;
}
