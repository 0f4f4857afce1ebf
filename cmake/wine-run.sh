#!/usr/bin/env bash
# Runs a Windows program under Wine in the test session of its build folder
# (wine-session.sh): ctest's emulator for the Windows build.
set -uo pipefail
exe=$1; shift
dir=${KELVANE_WINE_DIR:-}
if [ -z "$dir" ]; then
  # The build folder is the nearest parent of the program with a CMakeCache.txt.
  d=$(cd "$(dirname "$exe")" && pwd)
  while [ "$d" != / ] && [ ! -f "$d/CMakeCache.txt" ]; do d=$(dirname "$d"); done
  dir=$d/wine
fi
dir=$(realpath -m "$dir")
export WINEPREFIX=$dir/prefix WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
run=(wine "$exe" "$@")
if [ -f "$dir/display" ]; then
  DISPLAY=$(cat "$dir/display")
  export DISPLAY
else
  # No session running (a test run by hand): a private X server for this run.
  run=(xvfb-run -a "${run[@]}")
fi
# Wine's helper processes may outlive the program; they must not hold the
# caller's output open (ctest would wait for them), so the output goes
# through a file.
out=$(mktemp)
trap 'rm -f "$out"' EXIT
"${run[@]}" </dev/null >"$out" 2>&1
rc=$?
cat "$out"
exit $rc
