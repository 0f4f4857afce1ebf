#!/usr/bin/env bash
# The Wine session the Windows tests run in: one X server (Xvfb) and one fresh
# Wine prefix per test run, kept under the build folder (<dir>/wine).
#   wine-session.sh start <dir>   start Xvfb, make the prefix, start wineserver
#   wine-session.sh stop <dir>    stop both
# ctest runs these as the setup and cleanup of the "wine" fixture; each test
# then runs through wine-run.sh, which reads the display from <dir>/wine/display.
set -euo pipefail
action=$1
dir=$(cd "$2" && pwd)/wine
export WINEPREFIX=$dir/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

stop() {
  if [ -d "$WINEPREFIX" ]; then wineserver -k 2>/dev/null || true; fi
  if [ -f "$dir/xvfb.pid" ]; then
    kill "$(cat "$dir/xvfb.pid")" 2>/dev/null || true
    rm -f "$dir/xvfb.pid" "$dir/display" "$dir/display.tmp"
  fi
}

make_prefix() {
  # Wine's helper processes outlive wineboot: keep them off ctest's pipes.
  wineboot -i >"$dir/wineboot.log" 2>&1 </dev/null
  # Test settings, not the program's: the dialog font 宋体/SimSun drawn with
  # a CJK font Debian has, and windows that hide at once without a window
  # manager (unmanaged windows).
  local reg=(wine reg add)
  "${reg[@]}" 'HKCU\Software\Wine\Fonts\Replacements' /v SimSun /d 'Noto Sans CJK SC' /f
  "${reg[@]}" 'HKCU\Software\Wine\Fonts\Replacements' /v '宋体' /d 'Noto Sans CJK SC' /f
  "${reg[@]}" 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f
}

start() {
  stop
  mkdir -p "$dir"
  # Xvfb writes its display number to fd 3 once it accepts clients.
  setsid Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp \
    3>"$dir/display.tmp" </dev/null >"$dir/xvfb.log" 2>&1 &
  echo $! >"$dir/xvfb.pid"
  for _ in $(seq 100); do
    [ -s "$dir/display.tmp" ] && break
    sleep 0.1
  done
  [ -s "$dir/display.tmp" ] || { echo "Xvfb did not start (see $dir/xvfb.log)" >&2; exit 1; }
  echo ":$(tr -d '\n' <"$dir/display.tmp")" >"$dir/display"
  export DISPLAY
  DISPLAY=$(cat "$dir/display")

  # Each run gets a fresh copy of a prefix made once per build folder and Wine
  # version (making one takes 15 to 60 s, copying it a few seconds).
  local base=$dir/prefix-base stamp
  stamp=$(wine --version)
  if [ "$(cat "$base/.kelvane-stamp" 2>/dev/null)" != "$stamp" ]; then
    rm -rf "$base"
    WINEPREFIX=$base make_prefix
    WINEPREFIX=$base wineserver -w
    echo "$stamp" >"$base/.kelvane-stamp"
  fi
  rm -rf "$WINEPREFIX"
  cp -a --reflink=auto "$base" "$WINEPREFIX"
  # One server for the whole run, with Wine's services already up; it ends by
  # itself a minute after the last test if the cleanup never runs.
  wineserver -p60
  wine cmd /c exit </dev/null
} >>"$dir/session.log" 2>&1

case $action in
  start) mkdir -p "$dir"; : >"$dir/session.log"; start || { cat "$dir/session.log" >&2; exit 1; } ;;
  stop) stop ;;
  *) echo "usage: $0 start|stop <build dir>" >&2; exit 2 ;;
esac
