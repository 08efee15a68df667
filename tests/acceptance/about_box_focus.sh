#!/usr/bin/env bash
# Under an X server without a window manager (run through on_xvfb.sh): closing the About box with
# Esc or Enter gives the X input focus back to the main window, and the keys typed next reach
# the box that had the focus before the About box opened.
# Usage: about_box_focus.sh PATH/TO/qup
set -euo pipefail
qup=$1
work=$(mktemp -d)
program=""
cleanup() {
  [[ -n "$program" ]] && kill "$program" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
export XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work

fail() { echo "about_box_focus: $*" >&2; exit 1; }

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
# Waits (at most about 20 seconds) until the command prints nothing.
await_gone() {
  for _ in $(seq 200); do
    [[ -z $("$@" 2>/dev/null || true) ]] && return 0
    sleep 0.1
  done
  return 1
}
# Waits until the X input focus is on the window given.
await_focus() {
  for _ in $(seq 200); do
    [[ $(xdotool getwindowfocus 2>/dev/null || true) == "$1" ]] && return 0
    sleep 0.1
  done
  return 1
}

"$qup" &
program=$!
window=$(await xdotool search --onlyvisible --name '^Quorvane Utility Program \(QUP\)$') ||
  fail "the program opened no window"
await_focus "$window" || fail "the window has no focus at start"

# The 1099 page, whose rate box takes the focus; then the About box, closed by Esc and by Enter.
xdotool key ctrl+Tab ctrl+Tab
xdotool type 12
for closing_key in Escape Return; do
  xdotool key shift+F10
  sleep 0.5
  xdotool key Down Down Return
  about=$(await xdotool search --onlyvisible --name '^About Quorvane Utility Program$') ||
    fail "the About box did not open"
  await_focus "$about" || fail "the About box has no focus"
  xdotool key "$closing_key"
  await_gone xdotool search --onlyvisible --name '^About Quorvane Utility Program$' ||
    fail "$closing_key did not close the About box"
  await_focus "$window" ||
    fail "after $closing_key the focus is on $(xdotool getwindowfocus), not on the window"
done

# The keys go on into the rate box: Calculate reads it (and refuses, for want of hours), and
# Alt+F4 saves what it read.
xdotool type 34
xdotool key Return
box=$(await xdotool search --onlyvisible --name '^qup$') || fail "Calculate showed no message"
await_focus "$box" || fail "the message box has no focus"
xdotool key Return
await_focus "$window" || fail "the focus did not come back after the message box"
xdotool key alt+F4
wait "$program" || fail "the program did not end cleanly"
program=""
grep -q '^"HourlyRate"=hex(1):31,32,33,34,00,' "$XDG_CONFIG_HOME/Kestrane/QU.reg" ||
  fail "the rate box did not get every key: $(grep HourlyRate "$XDG_CONFIG_HOME/Kestrane/QU.reg")"
echo "about_box_focus: passed"
