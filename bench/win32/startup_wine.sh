#!/usr/bin/env bash
# Start-up under Wine, a benchmark: for each program, the time from exec to the MapNotify of its
# first top-level X window, as the X server reports it on the root window (xev): a window Wine
# leaves to the window manager, or, in a prefix where Wine draws its windows itself
# ("Managed"="N", as scripts/wine-prefix.sh sets it), an override-redirect one. One unmeasured start of each first, then the programs in turns, N runs each;
# it prints each one's median, mean, minimum and maximum, and each median's ratio to the last
# program's (the floor). Run it on an X server of its own (tests/support/on_xvfb.sh).
# Usage: startup_wine.sh WINE64 LABEL=EXE... [--runs N]    (15 runs unless told)
# Wine's server and services are started first and kept for the whole run, as on a Windows
# that is up: what is timed is the program's own start. WINEPREFIX chooses the prefix.
set -euo pipefail
wine=$1
shift
runs=15
labels=()
paths=()
while (($#)); do
  case $1 in
    --runs) runs=$2; shift 2 ;;
    *=*) labels+=("${1%%=*}"); paths+=("${1#*=}"); shift ;;
    *) echo "usage: $0 WINE64 LABEL=EXE... [--runs N]" >&2; exit 2 ;;
  esac
done
((${#paths[@]} > 0 && runs > 0)) || { echo "usage: $0 WINE64 LABEL=EXE... [--runs N]" >&2; exit 2; }
for path in "${paths[@]}"; do
  [[ -f $path ]] || { echo "$0: $path: no such program" >&2; exit 2; }
done
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

# A server of our own for the run, on this X server, ended with it. One that an earlier program
# left ending is waited for; one kept running for the prefix is used and left alone.
timeout 30 wineserver -w || true
if wineserver -p </dev/null >/dev/null 2>&1; then
  trap 'wineserver -k 2>/dev/null || true' EXIT
fi
timeout 120 "$wine" wineboot </dev/null >/dev/null 2>&1

# What a top-level window's MapNotify says of it in this prefix.
top_level="override NO"
if grep -qs '^"Managed"="N"' "${WINEPREFIX:-$HOME/.wine}/user.reg"; then
  top_level="override YES"
fi

coproc XEV { exec stdbuf -oL xev -root -event substructure; }
sleep 0.5

drain() {
  local line
  while read -t 0.1 -r line <&"${XEV[0]}"; do :; done
}

# Prints the microseconds from exec to the program's window being mapped; nothing if it showed
# none within 20 seconds.
time_start() {
  local exe=$1 line start end='' deadline=$((SECONDS + 20))
  drain
  start=$(date +%s%N)
  "$wine" "$exe" </dev/null >/dev/null 2>&1 &
  local pid=$!
  while ((SECONDS < deadline)) && read -t 20 -r line <&"${XEV[0]}"; do
    [[ $line == MapNotify* ]] || continue
    read -t 5 -r line <&"${XEV[0]}" || break
    if [[ $line == *"$top_level"* ]]; then
      end=$(date +%s%N)
      break
    fi
  done
  kill "$pid" 2>/dev/null || true
  timeout 20 tail --pid="$pid" -f /dev/null || true
  wait "$pid" 2>/dev/null || true
  sleep 0.3
  [[ -z $end ]] || echo $(((end - start) / 1000))
}

declare -A samples
for i in "${!paths[@]}"; do
  [[ -n $(time_start "${paths[$i]}") ]] || { echo "FAILED: ${labels[$i]} showed no window" >&2; exit 1; }
done
for ((run = 0; run < runs; ++run)); do
  for i in "${!paths[@]}"; do
    us=$(time_start "${paths[$i]}")
    [[ -n $us ]] || { echo "FAILED: ${labels[$i]} showed no window in run $((run + 1))" >&2; exit 1; }
    samples[$i]+="$us "
  done
done

echo "Wine $("$wine" --version 2>/dev/null), $runs runs each (exec to MapNotify), $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)"
printf '%-12s %10s %10s %10s %10s %8s\n' program median_ms mean_ms min_ms max_ms ratio
floor=${#paths[@]}
floor=$((floor - 1))
stats() { tr ' ' '\n' <<<"${samples[$1]}" | grep . | sort -n | awk '
  { v[NR] = $1; sum += $1 }
  END { m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
        printf "%.1f %.1f %.1f %.1f\n", m / 1000, sum / NR / 1000, v[1] / 1000, v[NR] / 1000 }'; }
read -r floor_median _ < <(stats "$floor")
for i in "${!paths[@]}"; do
  read -r median mean low high < <(stats "$i")
  printf '%-12s %10s %10s %10s %10s %8s\n' "${labels[$i]}" "$median" "$mean" "$low" "$high" \
    "$(awk -v a="$median" -v b="$floor_median" 'BEGIN { printf "%.2f", a / b }')"
done
