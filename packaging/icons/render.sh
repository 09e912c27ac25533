#!/usr/bin/env bash
# Renders tamrel.svg into the PNG sizes of the hicolor icon theme, which the repository keeps
# (the package build does not need librsvg). Run again after changing the SVG.
set -euo pipefail
cd "$(dirname "$0")"
command -v rsvg-convert > /dev/null || { echo "rsvg-convert is missing: apt install librsvg2-bin" >&2; exit 1; }
for size in 16 22 24 32 48 64 128 256; do
  rsvg-convert -w "$size" -h "$size" tamrel.svg -o "tamrel-$size.png"
done
