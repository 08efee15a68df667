#!/usr/bin/env bash
# Renders the PNG files from their SVG sources (needs rsvg-convert, Debian's librsvg2-bin).
# The PNG files are committed, so a build never needs this; run it after editing an SVG.
set -euo pipefail
cd "$(dirname "$0")"
for size in 32 48 64; do rsvg-convert -w $size -h $size icon_large.svg -o icon_large_$size.png; done
rsvg-convert -w 16 -h 16 icon_small.svg -o icon_small_16.png
rsvg-convert -w 299 -h 191 logo.svg -o logo.png
# Twice as large, for Windows' dialogs drawn larger than at 96 DPI.
rsvg-convert -w 598 -h 382 logo.svg -o logo_2x.png

# The desktop's icon theme: the small drawing where it was made for, the large one elsewhere.
app_id=example.kestrane.Qup
for size in 16 24 32 48 64 128 256; do
  source=icon_large.svg
  [[ $size -lt 24 ]] && source=icon_small.svg
  mkdir -p hicolor/${size}x${size}/apps
  rsvg-convert -w $size -h $size $source -o hicolor/${size}x${size}/apps/$app_id.png
done
