#!/usr/bin/env bash
# Runs a command on a virtual X server of its own and ends the server with it.
#   on_xvfb.sh [-s "SERVER ARGUMENTS"] COMMAND [ARGUMENTS...]
# Xvfb picks a free display itself and writes its number once it listens, so servers started
# side by side never meet on one display. (xvfb-run -a guesses a free number from the lock files
# in /tmp, and another server can take that number between the guess and the start; the
# command then talks to a server that refuses it.)
set -euo pipefail
server_args="-screen 0 1024x768x24"
if [[ ${1:-} == -s ]]; then
  server_args=$2
  shift 2
fi
display_file=$(mktemp "${TMPDIR:-/tmp}/qup-display.XXXXXX")
# shellcheck disable=SC2086  # the server's arguments are words
Xvfb -displayfd 3 $server_args -nolisten tcp 3>"$display_file" </dev/null >/dev/null 2>&1 &
server=$!
cleanup() {
  kill "$server" 2>/dev/null || true
  wait "$server" 2>/dev/null || true
  rm -f "$display_file"
}
trap cleanup EXIT
for _ in $(seq 300); do
  [[ -s $display_file ]] && break
  kill -0 "$server" 2>/dev/null || break
  sleep 0.1
done
number=$(head -n 1 "$display_file")
[[ -n $number ]] || { echo "on_xvfb: Xvfb did not start" >&2; exit 1; }
status=0
DISPLAY=:$number "$@" || status=$?
exit "$status"
