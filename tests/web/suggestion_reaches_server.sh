#!/usr/bin/env bash
# A suggestion typed on the page that qup-suggestd serves at its home page reaches the server:
# Send posts it, the page shows the server's confirmation, and the server's view page lists it.
#   suggestion_reaches_server.sh QUP_SUGGESTD SITE_FOLDER
set -euo pipefail
server=$1
site=$2
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
pid=
trap '[[ -n $pid ]] && kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT
port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
origin=http://127.0.0.1:$port
"$server" --listen "127.0.0.1:$port" --db "$work/suggestions.db" --site "$site" \
  >"$work/server.log" 2>&1 &
pid=$!
for _ in $(seq 50); do curl -sf -o /dev/null "$origin/" && break; sleep 0.2; done

printf '%s\n' start 'tab 4' 'click 1024' 'keys Posted from the web page' 'click 1026' \
  'key Escape' >"$work/script.qup"
QUP_WEB_ORIGIN=$origin XDG_CONFIG_HOME=$work/config "$root/scripts/drive-web.sh" \
  <"$work/script.qup" >"$work/drive.out"
cat "$work/drive.out"
status=0
grep -q '^msgbox 64 "127.0.0.1" "Your message has been sent and received\.' "$work/drive.out" ||
  { echo "the page showed no confirmation"; status=1; }
curl -sf "$origin/ViewInfo.asp" | grep -q 'Posted from the web page' ||
  { echo "the view page does not list the suggestion"; status=1; }
exit "$status"
