#!/usr/bin/env bash
# Makes a Wine prefix ready for the Windows program: creates it when it does not exist yet
# (about 700 MB, some 15 s), then copies in the fonts the program's windows are drawn in. Quick
# when the prefix is ready already; every script that gives Wine a prefix of its own calls it.
# Usage: wine-prefix.sh [PREFIX]    (the prefix is $WINEPREFIX unless given)
#
# The fonts, from Debian's fonts-wine, which Wine finds only in the prefix's own Fonts folder:
# - sserife.fon, the bitmap 8-point "MS Sans Serif" of the dialogs. Its base units at 96 DPI are
#   6 x 13 pixels, the units the dialogs' layout and the logo's hit area are measured in, and
#   the texts fit their controls in it. Without it Wine sets the dialogs in another sans serif
#   with units of 6 x 12 and some texts lose their last letters.
# - sseriff.fon, the same face drawn for 120 DPI (Windows' 125 %), where sserife.fon has no
#   size: without it a display at 120 DPI or more sets the dialogs in another face, and texts
#   such as "Contract Salary $:" are cut.
# - tahoma.ttf and tahomabd.ttf: Wine's own face for captions, menus and message boxes.
# - marlett.ttf: the glyphs of the window frames' buttons.
# Its windows are drawn by Wine itself, not left to a window manager ("Managed"="N"): the
# tests' X servers have none, and a managed window waits some two seconds for one when it
# closes.
set -euo pipefail
prefix=${1:-${WINEPREFIX:?give a prefix or set WINEPREFIX}}
prefix=$(realpath -m "$prefix")  # Wine takes only an absolute path
fonts=/usr/share/wine/fonts
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

if [[ ! -f $prefix/system.reg ]]; then
  echo "== A Wine prefix: $prefix"
  mkdir -p "$prefix"
  # Made without a display, and its server waited for, so that the caller's first program
  # starts a Wine session of its own on the caller's display.
  (
    unset DISPLAY
    timeout 300 /usr/lib/wine/wine64 wineboot --init </dev/null >/dev/null 2>&1
    timeout 120 wineserver -w
  )
fi
for font in sserife.fon sseriff.fon tahoma.ttf tahomabd.ttf marlett.ttf; do
  cp -u "$fonts/$font" "$prefix/drive_c/windows/Fonts/"
done

if ! grep -q '^"Managed"="N"' "$prefix/user.reg"; then
  (
    unset DISPLAY
    timeout 120 /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\X11 Driver' /v Managed \
      /d N /f </dev/null >/dev/null 2>&1
    timeout 120 wineserver -w
  )
fi
