#!/usr/bin/env bash
# Times a number run of 10^5 and 10^6 rows shown in the Windows program's
# output box, under Wine and Xvfb (the test session of build-win/).
#   bench/win32/output_box.sh [runs]     (default 5; prints medians)
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${KELVANE_WIN_BUILD:-build-win}
cmake --build "$build" --target output_box_probe >/dev/null
cmake/wine-session.sh start "$build"
trap 'cmake/wine-session.sh stop "$build"' EXIT
cmake/wine-run.sh "$build/bench/win32/output_box_probe.exe" "${1:-5}"
