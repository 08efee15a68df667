#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The start-up benchmark fails loudly for a program that shows no window: a non-zero exit, a
# FAILED line, and no target reported as met for it; a path that names no program stops it
# before any run.
# Usage: startup_bench_failures.sh QUP_STARTUP_BENCH   (on an X server, e.g. under tests/support/on_xvfb.sh)
set -uo pipefail
bench=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# case name | arguments | a line the output must hold
cases=(
  "exits at once|--runs 1 --program none=/bin/true|none       FAILED: no window in any of its 1 runs"
  "no such file|--runs 1 --program old=/path/to/qup|old: /path/to/qup is not a program that can be run"
)
for row in "${cases[@]}"; do
  IFS='|' read -r name arguments expected <<<"$row"
  # shellcheck disable=SC2086 # the arguments are words
  "$bench" $arguments >"$work/out" 2>&1
  status=$?
  ((status != 0)) || fail "$name: exit status 0"
  grep -qF -- "$expected" "$work/out" || fail "$name: no line \"$expected\""
  if grep -E '^targets for (none|old) .*: .*met' "$work/out"; then fail "$name: a target is met"; fi
  if ((failures)); then cat "$work/out" >&2; fi
done

# The judged program is named on its targets line, and a failed run says so at the end.
"$bench" --runs 1 --program none=/bin/true >"$work/out" 2>&1
grep -qx 'targets for none (/bin/true): not judged: none showed no window in 1 of 1 runs' \
  "$work/out" || fail "no targets line naming none and its path"
grep -q 'FAILED: a program showed no window' "$work/out" || fail "no final FAILED line"
((failures == 0)) && echo "a program without a window fails the benchmark"
exit $((failures != 0))
