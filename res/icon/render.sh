#!/usr/bin/env bash
# Renders the icon's PNG sizes from kelvane.svg (needs rsvg-convert, Debian
# package librsvg2-bin). The PNGs are committed, so the build does not need it.
set -euo pipefail
cd "$(dirname "$0")"
for s in 16 32 48; do
  rsvg-convert -w "$s" -h "$s" kelvane.svg -o "kelvane-$s.png"
done
