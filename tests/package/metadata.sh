#!/bin/sh
# The desktop entry, the AppStream metadata and the manual pages, checked by
# the tools made for them. Usage: metadata.sh SOURCE_DIR BUILD_DIR
set -eu
src=$1 build=$2
for tool in desktop-file-validate appstreamcli man; do
    command -v "$tool" >/dev/null || { echo "SKIPPED: $tool is not installed"; exit 77; }
done
desktop-file-validate "$src/res/kelvane.desktop"
appstreamcli validate --no-net "$src/res/io.github.kelvane.Kelvane.metainfo.xml"
for page in "$build"/docs/man/*.1.gz; do
    [ -f "$page" ] || { echo "no manual pages in $build/docs/man"; exit 1; }
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || { echo "$page: $warnings"; exit 1; }
    echo "$page: renders without warnings"
done
