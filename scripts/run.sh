#!/usr/bin/env bash
# Installs what the program needs, builds the program alone and starts it. A new build folder
# is configured without the tests, the server and the benchmarks (and so without their
# packages); one that scripts/test.sh has configured keeps them, and only the program is built.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUP_BUILD_DIR:-$root/build}
"$root/scripts/deps.sh"
parts=()
if [[ ! -f "$build/CMakeCache.txt" ]]; then
  parts=(-DBUILD_TESTING=OFF -DQUP_BUILD_SERVER=OFF -DQUP_BUILD_BENCH=OFF)
fi
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUP_WARNINGS_AS_ERRORS=ON \
  "${parts[@]}" >/dev/null
cmake --build "$build" --target qup -j "$(nproc)"
exec "$build/app/qup"
