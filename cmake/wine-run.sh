#!/usr/bin/env bash
# Runs a Windows program under Wine in the test session of its build folder
# (wine-session.sh): ctest's emulator for the Windows build.
#
# Now and then Wine fails to start a program at all: wine exits at once with
# nothing written, or with only its own loader or server messages. Such a
# start is retried once, and said so on stderr; a program that ran and
# failed is never run again.
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

# Whether the last run looks like a start Wine failed: a failure within two
# seconds whose output is empty or only Wine's own messages.
start_failed() {
  [ "$rc" -ne 0 ] && [ "$ms" -lt 2000 ] || return 1
  ! grep -qv -e '^wine: ' -e '^wine client error' -e '^wineserver: ' "$out"
}

attempt=1
while :; do
  start=$(date +%s%N)
  "${run[@]}" </dev/null >"$out" 2>&1
  rc=$?
  ms=$((($(date +%s%N) - start) / 1000000))
  if [ "$attempt" -eq 1 ] && start_failed; then
    echo "wine-run: $(basename "$exe") failed to start (exit $rc after $ms ms$([ -s "$out" ] || echo ', no output')), retrying once" >&2
    cat "$out" >&2
    attempt=2
    continue
  fi
  break
done
cat "$out"
exit $rc
