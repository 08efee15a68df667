#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The server's systemd unit passes `systemd-analyze verify` and keeps its sandbox: a user of
# its own, the state directory, port 80 without root, a read-only system and the rest.
# The unit is checked as installed, with the program's path pointing into the build.
# Skipped (exit 77) only when systemd-analyze is missing or cannot run here.
# Usage: unit_file.sh SOURCE_DIR QUP_SUGGESTD
set -euo pipefail
source_dir=$1
program=$2
skip=77
fail() { echo "FAIL: $*" >&2; exit 1; }

if ! command -v systemd-analyze >/dev/null; then
  echo "SKIP: systemd-analyze is not installed (scripts/deps.sh installs systemd)"
  exit $skip
fi
if ! systemd-analyze --version >/dev/null 2>&1; then
  echo "SKIP: systemd-analyze cannot run here"
  exit $skip
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
template=$source_dir/server/packaging/qup-suggestd.service.in
unit=$work/qup-suggestd.service
sed "s|@QUP_SUGGESTD_INSTALLED@|$program|" "$template" >"$unit"
grep -q '@QUP' "$unit" && fail "a placeholder is left in the unit: $(grep '@QUP' "$unit")"
# Documentation=man:qup-suggestd(8) is looked up with man: show it ours.
mkdir -p "$work/man/man8"
gzip -9nc "$source_dir/server/packaging/qup-suggestd.8" >"$work/man/man8/qup-suggestd.8.gz"

output=$(MANPATH=$work/man timeout 120 systemd-analyze verify "$unit" 2>&1) ||
  fail "systemd-analyze verify refuses the unit:"$'\n'"$output"
[[ -z "$output" ]] || fail "systemd-analyze verify warns:"$'\n'"$output"

for setting in 'DynamicUser=yes' 'StateDirectory=qup-suggestd' 'StateDirectoryMode=0700' \
  'UMask=0077' 'AmbientCapabilities=CAP_NET_BIND_SERVICE' \
  'CapabilityBoundingSet=CAP_NET_BIND_SERVICE' 'NoNewPrivileges=yes' 'ProtectSystem=strict' \
  'ProtectHome=yes' 'PrivateTmp=yes' 'PrivateDevices=yes'; do
  grep -qx "$setting" "$unit" || fail "the unit lacks $setting"
done
grep -q '^ExecStart=.* --db /var/lib/qup-suggestd/suggestions.db .*\$QUP_SUGGESTD_OPTIONS$' "$unit" ||
  fail "the database is not in the state directory, or the operator's options do not come last"

# The sandbox as systemd rates it: 10 is fully exposed, below 2 is well confined.
if systemd-analyze security --help 2>/dev/null | grep -q -- '--offline'; then
  exposure=$(timeout 120 systemd-analyze security --offline=yes "$unit" 2>&1 |
    sed -n 's/.*Overall exposure level for [^:]*: \([0-9.]*\).*/\1/p')
  [[ -n "$exposure" ]] || fail "systemd-analyze security gave no exposure level"
  awk -v e="$exposure" 'BEGIN { exit !(e <= 2.5) }' ||
    fail "the unit's exposure level is $exposure, above 2.5"
  echo "exposure level $exposure"
fi
echo "the unit passes systemd-analyze verify and keeps its sandbox"
