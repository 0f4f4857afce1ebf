#!/bin/sh
# Makes the Debian package from the build into a scratch folder and checks it
# with lintian: no errors and no warnings. Accepted, shown as information only:
#   binary-has-unneeded-section     cpack strips without removing .comment
#   hardening-no-bindnow, hardening-no-fortify-functions
#                                   built with the project's own flags, not
#                                   dpkg-buildflags
# Usage: lintian.sh BUILD_DIR
set -eu
build=$1
for tool in cpack lintian dpkg-shlibdeps; do
    command -v "$tool" >/dev/null || { echo "SKIPPED: $tool is not installed"; exit 77; }
done
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$out" >"$out/cpack.log" 2>&1 || { cat "$out/cpack.log"; exit 1; }
deb=$(ls "$out"/kelvane_*.deb)
echo "package: $(basename "$deb")"
lintian --fail-on error,warning --display-level '>=info' "$deb" 2>&1 | grep -v 'running with root privileges'
