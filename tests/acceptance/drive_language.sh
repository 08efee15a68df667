#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# qup-drive as a newcomer meets it: --help lists its language, docs/driver.md describes every
# command and key name the help lists, each mistake in a script is named on standard error
# with its line, and a clean run prints nothing there (no notices from Qt's offscreen plugin,
# no complaint about a missing runtime folder).
# Usage: drive_language.sh QUP_DRIVE DOCS_DRIVER_MD
set -uo pipefail
drive=$1
page=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# --help needs no display and names every command and key.
env -u DISPLAY QT_QPA_PLATFORM=xcb "$drive" --help >"$work/help" 2>"$work/help.err" ||
  fail "--help ended with status $?"
[[ -s "$work/help.err" ]] && fail "--help wrote to standard error: $(cat "$work/help.err")"
lines=$(wc -l <"$work/help")
((lines >= 20 && lines <= 40)) || fail "--help is $lines lines, not one screen"
commands=$(sed -n 's/^  \([a-z]\+\)\( .*\)\?$/\1/p' "$work/help" | sort -u)
keys=$(sed -n '/^Key names:/,/^In TEXT/p' "$work/help" | sed 's/^Key names://; /^In TEXT/d' | tr ' ' '\n' | sed '/^$/d')
for expected in resolve start tab click type keys key pick close menu show screenshot; do
  grep -qx "$expected" <<<"$commands" || fail "--help lists no command $expected"
done
for expected in Enter Escape Shift+F10 Menu Alt+Space Ctrl+Tab; do
  grep -qx -- "$expected" <<<"$keys" || fail "--help lists no key $expected"
done
for word in $commands $keys; do
  grep -qF -- "\`$word" "$page" || fail "docs/driver.md does not describe \`$word\`"
done

# case name | script (\n between lines) | the message on standard error
cases=(
  "entry past the list|start\ntab 1\npick 1016 9\nkey Escape|line 3: combo box 1016 has no entry 9; its entries are 0 to"
  "hidden list|start\ntab 2\npick 1016 1\nkey Escape|line 3: control 1016 is hidden or disabled"
  "key name of another system|start\nkey Return\nkey Escape|line 2: unknown key \"Return\"; the key names are Enter"
  "missing argument|start\npick 1016\nkey Escape|line 2: wrong arguments: pick ID N"
  "unknown command|frobnicate|line 1: unknown command \"frobnicate\" (qup-drive --help lists them)"
  "bad escape|start\ntype 1001 5\\\\x\nkey Escape|line 2: unknown escape in"
)
export XDG_CONFIG_HOME=$work/config QT_QPA_PLATFORM=offscreen
unset XDG_RUNTIME_DIR
for row in "${cases[@]}"; do
  IFS='|' read -r name script expected <<<"$row"
  printf '%b\n' "$script" | timeout 60 "$drive" >"$work/out" 2>"$work/err"
  status=$?
  ((status == 1)) || fail "$name: exit status $status, not 1"
  grep -qF -- "qup-drive: $expected" "$work/err" ||
    fail "$name: no \"$expected\" on standard error, but: $(cat "$work/err")"
done

# A clean run without a session's runtime folder: nothing on standard error.
printf 'start\ntab 1\ntype 1001 50\nkey Enter\nshow 1002\nkey Escape\n' |
  timeout 60 "$drive" >"$work/out" 2>"$work/err" || fail "a clean script ended with status $?"
[[ -s "$work/err" ]] && fail "a clean run wrote to standard error: $(cat "$work/err")"
grep -q '^1002 "' "$work/out" || fail "a clean run printed no line for show 1002"

((failures == 0)) && echo "qup-drive names its language and its users' mistakes"
exit $((failures != 0))
