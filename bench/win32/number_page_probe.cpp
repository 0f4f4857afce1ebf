// Time from Generate on the number tab of kelvane.exe's window to the rows
// shown in its output box, through the Win32 back end: the main window on
// the number tab, each run clicks Generate and stops the clock when the
// success box opens and the output box has been painted. The box holds the
// previous run's rows when the next run starts, as it does when a user
// presses Generate again. Prints the median wall and CPU time of the runs
// for 10^5 and 10^6 integer rows. Run under Wine with bench/win32/output_box.sh.
#include "platform/app.h"
#include "platform/boxes.h"
#include "platform/dialog_driver.h"
#include "res/resource.h"
#include "ui/generator_app.h"
#include "ui/generator_dlg.h"

#include <windows.h>

#include "probe_clock.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using probe::cpuSeconds;
using probe::median;
using probe::seconds;

// Stops the clock when the success box opens, once the output box is painted.
class StopWatchBoxes : public BoxService {
public:
    HWND output = nullptr;
    double shownAt = 0, cpuAt = 0;
    std::string warning;
    void show(const BoxRequest& box) override
    {
        if (box.kind != BoxKind::Plain) {
            warning = box.text;
            return;
        }
        UpdateWindow(output);
        GdiFlush();
        shownAt = seconds();
        cpuAt = cpuSeconds();
    }
};

} // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    Application app(argc, argv);
    auto* dlg = new CGeneratorDlg;
    dlg->Create();
    dlg->ShowWindow(true);
    drive::selectTab(*dlg, idc::main::tab, 1);
    CNumberPage& page = dlg->numberPage();
    StopWatchBoxes boxes;
    boxes.output = GetDlgItem(page.GetSafeHwnd(), idc::number::output);
    BoxService* previous = BoxService::install(&boxes);
    for (int rows : {100000, 1000000}) {
        page.SetDlgItemInt(idc::number::count, rows);
        std::vector<double> wall, cpu;
        for (int i = 0; i < runs; ++i) {
            drive::processEvents();
            const double t0 = seconds(), c0 = cpuSeconds();
            drive::click(page, idc::number::generate);
            if (!boxes.warning.empty()) {
                std::fprintf(stderr, "%s\n", boxes.warning.c_str());
                return 1;
            }
            wall.push_back(boxes.shownAt - t0);
            cpu.push_back(boxes.cpuAt - c0);
        }
        std::printf("number tab %8d rows: click to shown, median %.3f s wall, %.3f s CPU, of %d runs "
                    "(wall min %.3f, max %.3f)\n",
                    rows, median(wall), median(cpu), runs, *std::min_element(wall.begin(), wall.end()),
                    *std::max_element(wall.begin(), wall.end()));
        std::fflush(stdout);
    }
    BoxService::install(previous);
    delete dlg;
    CGeneratorApp::ReleaseCoreObjects();
    return 0;
}
