#!/usr/bin/env bash
# Runs a Windows test (a command through cmake/wine-run.sh) with a small file
# system of its own, mounted under the Wine session's folder and unmounted
# when the run ends, passed or failed:
#   mounted.sh small-drive <command...>
#       a 64 KiB tmpfs as Wine's drive K: (KELVANE_SMALL_DRIVE=K:)
#   mounted.sh read-only <file> <command...>
#       a read-only tmpfs holding a copy of <file> (KELVANE_READ_ONLY_COPY=its
#       folder); root ignores access rights, not a read-only file system
# Mounting needs root; without it the test is skipped (exit 77). The mount is
# made where the session's wineserver sees it (it opens the files for Wine's
# programs), so not in a namespace of this run; one a killed run left behind
# is unmounted by the next.
set -uo pipefail
skip() {
  echo "skipped: $1" >&2
  exit 77
}
unmount() {
  umount "$1" 2>/dev/null || umount -l "$1" 2>/dev/null
}
kind=$1
shift
dir=$(realpath -m "${KELVANE_WINE_DIR:?the Wine session of the build folder}")
mnt=$dir/mount-$kind
link=$dir/prefix/dosdevices/k:
[ "$(id -u)" = 0 ] || skip "a file system of the test's own needs root (mount)"
mountpoint -q "$mnt" && unmount "$mnt"
mkdir -p "$mnt" || exit 1
cleanup() {
  [ "$kind" != small-drive ] || rm -f "$link"
  unmount "$mnt"
  rmdir "$mnt"
}
trap cleanup EXIT
trap 'exit 143' TERM INT HUP
case $kind in
  small-drive)
    mount -t tmpfs -o size=64k tmpfs "$mnt" || skip "cannot mount a tmpfs"
    ln -sfn "$mnt" "$link" || exit 1
    export KELVANE_SMALL_DRIVE=K: ;;
  read-only)
    mount -t tmpfs -o size=16m tmpfs "$mnt" || skip "cannot mount a tmpfs"
    cp "$1" "$mnt/" && mount -o remount,ro "$mnt" || exit 1
    shift
    export KELVANE_READ_ONLY_COPY=$mnt ;;
  *) echo "usage: $0 small-drive|read-only <file> <command...>" >&2; exit 2 ;;
esac
# In the background, so that a signal ends this script (and its trap) at once.
"$@" &
wait $!
