#!/usr/bin/env bash
# Renders the PNG files next to their SVG sources (needs rsvg-convert, Debian's librsvg2-bin).
# The PNG files are committed, so a build never needs this; run it after editing an SVG.
set -euo pipefail
cd "$(dirname "$0")"
for size in 32 48 64; do rsvg-convert -w $size -h $size icon_large.svg -o icon_large_$size.png; done
rsvg-convert -w 16 -h 16 icon_small.svg -o icon_small_16.png
rsvg-convert -w 299 -h 191 logo.svg -o logo.png
