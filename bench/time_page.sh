#!/usr/bin/env bash
# Timing of the time tab's runs, headless (offscreen): the lateness of events
# at a fixed 50 ms interval (median < 2 ms, p99 < 10 ms) and the pace of a run
# at 0 ms intervals.
# Usage: bench/time_page.sh [fixed-events] [zero-events] [shown-tab (0-2)].
# Builds build/ when needed; exits 1 when a target is missed.
set -euo pipefail
cd "$(dirname "$0")/.."
[ -d build ] || cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target time_page_probe >/dev/null
export QT_QPA_PLATFORM=offscreen
XDG_CONFIG_HOME=$(mktemp -d)
export XDG_CONFIG_HOME
trap 'rm -rf "$XDG_CONFIG_HOME"' EXIT
build/bench/time_page_probe "${1:-200}" "${2:-50000}" "${3:-2}"
