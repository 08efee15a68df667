#!/usr/bin/env bash
# Installs missing packages, the tests' too, then configures build/ (or $QUP_BUILD_DIR) with
# every part on (tests, server, benchmarks) and warnings as errors, and builds everything.
# Arguments go to the configure step.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUP_BUILD_DIR:-$root/build}
"$root/scripts/deps.sh" --tests
# The summary goes to standard output; its warnings (a site that is not the default) still show.
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUP_WARNINGS_AS_ERRORS=ON \
  -DBUILD_TESTING=ON -DQUP_BUILD_SERVER=ON -DQUP_BUILD_BENCH=ON "$@" >/dev/null
cmake --build "$build" -j "$(nproc)"
