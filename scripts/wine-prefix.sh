#!/usr/bin/env bash
# Makes a Wine prefix ready for the Windows program: creates it when it does not exist yet
# (about 700 MB, some 15 s), then copies in the fonts the program's windows are drawn in. Quick
# when the prefix is ready already; every script that gives Wine a prefix of its own calls it.
# Usage: wine-prefix.sh [PREFIX [DPI [BASE]]]    (the prefix is $WINEPREFIX unless given)
#
# DPI is the display's resolution Wine tells the programs, 96 (Windows' 100 %) unless given: 120
# for 125 %, 144 for 150 %. It is set where Wine 8 reads it, the value LogPixels under
# HKCU\Control Panel\Desktop, and the machine's under HKLM\System\CurrentControlSet\Hardware
# Profiles\Current\Software\Fonts that Wine falls back on.
# BASE, a prefix, makes PREFIX a light one: a registry of its own copied from BASE's (made ready
# first), and BASE's drive C:, a few MB instead of 700, e.g. one per DPI beside a shared prefix.
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
dpi=${2:-96}
base=${3:+$(realpath -m "$3")}
fonts=/usr/share/wine/fonts
[[ $dpi =~ ^[1-9][0-9]*$ ]] || { echo "wine-prefix.sh: not a DPI: $dpi" >&2; exit 2; }

# Runs Wine's reg.exe in the prefix, away from any display. The prefix's server saves the
# registry when it ends, waited for at the end of this script.
reg() {
  (
    unset DISPLAY
    timeout 120 /usr/lib/wine/wine64 reg "$@" </dev/null >/dev/null 2>&1
  )
}
# Whether the registry file $1 holds the line $3 under the key $2 (as the file spells it).
holds() {
  key="[$2]" line=$3 awk '/^\[/ { inside = index($0, ENVIRON["key"]) == 1 }
                          inside && $0 == ENVIRON["line"] { found = 1 } END { exit !found }' "$1"
}

if [[ -n $base && ! -f $prefix/system.reg ]]; then
  # Runs side by side take turns at making the base, as scripts/drive-windows.sh's do.
  (
    flock -w 600 9 || exit 1
    "$0" "$base"
  ) 9>"$base.lock"
  echo "== A Wine prefix on $base's drive C: $prefix"
  mkdir -p "$prefix/dosdevices"
  cp "$base/user.reg" "$base/userdef.reg" "$base/.update-timestamp" "$prefix/"
  ln -sfn "$base/drive_c" "$prefix/dosdevices/c:"
  ln -sfn / "$prefix/dosdevices/z:"
  cp "$base/system.reg" "$prefix/system.reg.new"
  mv "$prefix/system.reg.new" "$prefix/system.reg"  # last: its presence says the prefix is whole
fi
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
  cp -u "$fonts/$font" "$prefix/dosdevices/c:/windows/Fonts/"
done

if ! grep -q '^"Managed"="N"' "$prefix/user.reg"; then
  reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f
fi

value=$(printf '"LogPixels"=dword:%08x' "$dpi")
if ! holds "$prefix/user.reg" 'Control Panel\\Desktop' "$value" ||
  ! holds "$prefix/system.reg" \
    'System\\CurrentControlSet\\Hardware Profiles\\Current\\Software\\Fonts' "$value"; then
  reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f
  reg add 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts' \
    /v LogPixels /t REG_DWORD /d "$dpi" /f
fi
timeout 120 wineserver -w
