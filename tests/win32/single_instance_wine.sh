#!/usr/bin/env bash
# Under Wine on an X server of its own (run through on_xvfb.sh): the program shows its window;
# with another window in front, a second copy finds the first by its title, brings it to the
# front and ends without a window of its own; Close on the window menu ends the first.
# Usage: single_instance_wine.sh WINE64 QUP_EXE WINDOW_PROBE_EXE. Every wait has a time-out.
set -euo pipefail
wine=$1
exe=$2
probe=$3
title="Quorvane Utility Program (QUP)"
export WINEDEBUG=-all

fail() { echo "FAIL: $*" >&2; exit 1; }

"$wine" "$exe" &
first=$!
trap 'kill $first 2>/dev/null || true' EXIT
"$wine" "$probe" wait "$title" 60 || fail "no window titled \"$title\" appeared"

"$wine" "$probe" hold 60 &
holder=$!
"$wine" "$probe" front "window probe" 30 || fail "the probe's window did not come to the front"

timeout 60 "$wine" "$exe" || fail "the second copy did not end by itself"
"$wine" "$probe" front "$title" 30 || fail "the second copy did not bring the first to the front"
kill "$holder" 2>/dev/null || true
kill -0 "$first" 2>/dev/null || fail "the first copy ended"

"$wine" "$probe" menu "$title" || fail "no window menu to pick Close from"
"$wine" "$probe" gone "$title" 30 || fail "Close on the window menu left the window open"
timeout 30 tail --pid="$first" -f /dev/null || fail "the first copy did not end after its window"
trap - EXIT
echo "PASS"
