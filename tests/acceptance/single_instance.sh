#!/usr/bin/env bash
# Under an X server without a window manager (run through on_xvfb.sh): a second start of the
# program brings the first copy's window to the front and ends without opening a window.
# Usage: single_instance.sh PATH/TO/qup
set -euo pipefail
qup=$1
title_pattern='^Quorvane Utility Program \(QUP\)$'
work=$(mktemp -d)
first="" cover=""
cleanup() {
  [[ -n "$cover" ]] && kill "$cover" 2>/dev/null || true
  [[ -n "$first" ]] && kill "$first" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
export XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work

fail() { echo "single_instance: $*" >&2; exit 1; }

# Waits (at most about 20 seconds) until the command prints something; prints that.
await() {
  local out
  for _ in $(seq 200); do
    out=$("$@" 2>/dev/null || true)
    [[ -n "$out" ]] && { echo "$out"; return 0; }
    sleep 0.1
  done
  return 1
}

"$qup" &
first=$!
window=$(await xdotool search --name "$title_pattern") || fail "the first copy opened no window"
[[ $(wc -l <<<"$window") -eq 1 ]] || fail "more than one window with the title: $window"

# Another program's window covers it and takes the focus.
xmessage -geometry +0+0 "in front" &
cover=$!
cover_window=$(await xdotool search --pid "$cover" --name '^xmessage$') || fail "no covering window"
xdotool windowraise "$cover_window" windowfocus --sync "$cover_window"
[[ $(xdotool getwindowfocus) == "$cover_window" ]] || fail "the covering window has no focus"

# The second copy must end by itself, leaving the first copy's window the only one.
timeout 30 "$qup" || fail "the second copy did not end cleanly"
kill -0 "$first" 2>/dev/null || fail "the first copy has gone"
[[ $(xdotool search --name "$title_pattern") == "$window" ]] || fail "the second copy left a window"

# The first copy's window is now in front: it has the focus and is topmost.
[[ $(xdotool getwindowfocus) == "$window" ]] || fail "the first copy's window has no focus"
topmost=$(xwininfo -root -children | awk '/^ +0x/ {print $1; exit}')
[[ $((topmost)) -eq $window ]] || fail "the first copy's window is not on top ($topmost)"

# Esc, typed into the window in front, ends the first copy.
xdotool key Escape
wait "$first" || fail "the first copy did not end cleanly"
first=""
echo "single_instance: passed"
