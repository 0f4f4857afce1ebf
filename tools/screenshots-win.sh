#!/usr/bin/env bash
# Pictures of kelvane.exe's window under Wine and Xvfb, one per tab, for the
# README (docs/windows-tab-0..2.png by default). Builds kelvane.exe into
# build-win/ and runs it in that folder's Wine session (cmake/wine-session.sh),
# whose prefix draws 宋体 with Noto Sans CJK SC; tabs are picked with a click
# on them (xdotool), pictures taken with ImageMagick's import.
#   tools/screenshots-win.sh [folder]
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(realpath -m "${1:-docs}")
build=${KELVANE_WIN_BUILD:-build-win}
for tool in xdotool import; do
  command -v "$tool" >/dev/null || { echo "$tool is missing (Debian: xdotool, imagemagick)" >&2; exit 1; }
done
cmake --build "$build" --target kelvane >/dev/null
cmake/wine-session.sh start "$build"
pid=
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null
  cmake/wine-session.sh stop "$build"
}
trap cleanup EXIT
dir=$(realpath "$build")/wine
export WINEPREFIX=$dir/prefix WINEDEBUG=-all DISPLAY
DISPLAY=$(cat "$dir/display")
wine "$build/app/kelvane.exe" >/dev/null 2>&1 &
pid=$!
win=
for _ in $(seq 100); do
  win=$(xdotool search --name '^Kelvane $' 2>/dev/null | head -1) && [ -n "$win" ] && break
  sleep 0.2
done
[ -n "$win" ] || { echo "no window titled \"Kelvane \"" >&2; exit 1; }
sleep 1
mkdir -p "$out"
# The tabs' centres in the window, in pixels of the dialog font drawn by
# the test prefix (x of each tab, then the row's y).
xs=(44 97 152)
y=113
for i in 0 1 2; do
  xdotool mousemove --window "$win" "${xs[$i]}" "$y" click 1
  sleep 0.7
  import -window "$win" "$out/windows-tab-$i.png"
  echo "$out/windows-tab-$i.png"
done
xdotool key --window "$win" Escape
wait "$pid" 2>/dev/null || true
pid=
