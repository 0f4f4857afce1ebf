#!/usr/bin/env bash
# Times a number run of 10^5 and 10^6 rows shown in the Windows program's
# output box, under Wine and Xvfb (the test session of build-win/): the box
# alone, and the number tab from Generate to the rows shown.
#   bench/win32/output_box.sh [runs]     (default 5; prints medians)
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${KELVANE_WIN_BUILD:-build-win}
cmake --build "$build" --target output_box_probe number_page_probe >/dev/null
cmake/wine-session.sh start "$build"
trap 'cmake/wine-session.sh stop "$build"' EXIT
# The box alone: the whole text set in one step, or handed over as the
# edit's own buffer.
cmake/wine-run.sh "$build/bench/win32/output_box_probe.exe" "${1:-5}"
# The program's path: Generate clicked on the number tab to the rows shown.
cmake/wine-run.sh "$build/bench/win32/number_page_probe.exe" "${1:-5}"
