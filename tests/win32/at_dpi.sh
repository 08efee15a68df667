#!/usr/bin/env bash
# Runs a Windows program under Wine as on a display of DPI dots per inch, on an X server of its
# own: in PREFIX, a light Wine prefix whose registry says that DPI and whose drive C: is the
# tests' prefix's ($WINEPREFIX), both made ready by scripts/wine-prefix.sh. The prefix's own
# wineserver serves the run and ends with it, so that runs at several DPIs go side by side.
# Usage: at_dpi.sh DPI PREFIX WINE PROGRAM [ARGUMENTS...]
set -euo pipefail
dpi=$1
prefix=$2
shift 2
"$(dirname "$0")/../../scripts/wine-prefix.sh" "$prefix" "$dpi" "${WINEPREFIX:-$HOME/.wine}"
export WINEPREFIX
WINEPREFIX=$(realpath -m "$prefix")
trap 'wineserver -k 2>/dev/null || true' EXIT
"$(dirname "$0")/../support/on_xvfb.sh" "$@"
