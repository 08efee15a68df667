#!/usr/bin/env bash
# Builds the Windows program and its tests (scripts/build-windows.sh), then runs the 64-bit
# tests under Wine with ctest. Wine gets a prefix of its own, build-windows-x86_64/wine, made
# once by scripts/wine-prefix.sh with the fonts the dialogs are drawn in; one wineserver serves
# the whole run and ends with it. The 32-bit build is built only: this machine runs 64-bit
# programs alone.
# Arguments go to ctest, e.g. -R registry.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
builds=${QUP_WINDOWS_BUILD_ROOT:-$root}
build=$builds/build-windows-x86_64
"$root/scripts/build-windows.sh"

export WINEPREFIX=$build/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# The ctest of the Windows build runs the tests through wine64; the console tests need no
# display, and the window's test starts an X server of its own.
unset DISPLAY
# Made on the first run, with the fonts the dialogs are drawn in (scripts/wine-prefix.sh).
"$root/scripts/wine-prefix.sh" "$WINEPREFIX"

# The console tests first, with one server for all of them: each test program starts in well
# under a second instead of starting a server of its own. The first program of a server starts
# Wine's own services, which live on beyond it: start them here, away from ctest's pipes, so
# that no test's output stays open after its program ends. Only this prefix's server is ended.
cd "$build"
wineserver -p </dev/null >/dev/null 2>&1
trap 'wineserver -k || true' EXIT
timeout 120 /usr/lib/wine/wine64 wineboot </dev/null >/dev/null 2>&1
status=0
ctest --output-on-failure -j "$(nproc)" -E '^windows\.' "$@" || status=$?
wineserver -k || true
timeout 60 wineserver -w || true

# Then the program's window, on an X server of its own: its Wine session must start there,
# not in the display-less one above. The transcripts each have an X server and a wineserver of
# their own and run side by side; the other window tests take turns among themselves.
ctest --output-on-failure -j "$(nproc)" -R '^windows\.' "$@" || status=$?
exit "$status"
