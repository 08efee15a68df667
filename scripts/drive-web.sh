#!/usr/bin/env bash
# Plays a driver script on the web page: runs the web build's qup-drive (a Node program) with
# the script on standard input, its lines on standard output and its exit status as its own,
# so that it can stand in for qup-drive wherever a transcript is played.
#
#   scripts/drive-web.sh < script.qup
#   QUP_WEB_VIEWPORT=360x800 scripts/drive-web.sh < script.qup     a phone-sized window
#
# The page is the one in $QUP_WEB_BUILD (default build-web/, made by scripts/build-web.sh),
# served by the driver on 127.0.0.1 (or the one at $QUP_WEB_ORIGIN, e.g. a qup-suggestd's) and shown in Debian's Chromium ($QUP_CHROMIUM, default
# /usr/bin/chromium), headless. The page's local storage starts with the settings file of
# $XDG_CONFIG_HOME (default ~/.config), Kestrane/QU.reg, and what the page saves is written back
# to it, as the Linux program keeps it.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUP_WEB_BUILD:-$root/build-web}
driver=$build/app/drive/qup-drive.js
if [[ ! -f $driver ]]; then
  echo "drive-web.sh: $driver is missing: build it with scripts/build-web.sh" >&2
  exit 1
fi
# The driver's own npm packages (tests/web/package.json, installed by scripts/deps.sh --web)
# and the web server it serves the page with.
export NODE_PATH=$root/tests/web/node_modules:$root/app/drive/web
exec node "$driver" "$build/app/web/site" "$@"
