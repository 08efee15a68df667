#!/usr/bin/env bash
# Runs a command on a virtual X server of its own and ends the server with it.
#   on_xvfb.sh [-s "SERVER ARGUMENTS"] COMMAND [ARGUMENTS...]
# Xvfb picks a free display itself and writes its number once it listens, so servers started
# side by side never meet on one display. (xvfb-run -a guesses a free number from the lock files
# in /tmp, and another server can take that number between the guess and the start; the
# command then talks to a server that refuses it.) The command runs only once a client has been
# answered on that display: a server whose display a client cannot open (seen once on a display
# whose name something else still answered to) is kept, holding its number, while the next one
# takes another.
set -euo pipefail
server_args="-screen 0 1024x768x24"
if [[ ${1:-} == -s ]]; then
  server_args=$2
  shift 2
fi
servers=()
display_file=$(mktemp "${TMPDIR:-/tmp}/qup-display.XXXXXX")
cleanup() {
  local server
  for server in "${servers[@]}"; do kill "$server" 2>/dev/null || true; done
  for server in "${servers[@]}"; do wait "$server" 2>/dev/null || true; done
  rm -f "$display_file"
}
trap cleanup EXIT

# Starts a server; sets number to its display once a client has been answered there, or to
# nothing.
number=""
start_server() {
  number=""
  : >"$display_file"
  # shellcheck disable=SC2086  # the server's arguments are words
  Xvfb -displayfd 3 $server_args -nolisten tcp 3>"$display_file" </dev/null >/dev/null 2>&1 &
  servers+=($!)
  local written=""
  for _ in $(seq 300); do
    written=$(head -n 1 "$display_file")
    [[ -n $written ]] && break
    kill -0 "${servers[-1]}" 2>/dev/null || return 0
    sleep 0.1
  done
  [[ -n $written ]] || return 0
  for _ in $(seq 50); do
    if xdpyinfo -display ":$written" >/dev/null 2>&1; then
      number=$written
      return 0
    fi
    sleep 0.1
  done
}

for _ in 1 2 3; do
  start_server
  [[ -n $number ]] && break
done
[[ -n $number ]] || { echo "on_xvfb: no X server answered" >&2; exit 1; }
status=0
DISPLAY=:$number "$@" || status=$?
exit "$status"
