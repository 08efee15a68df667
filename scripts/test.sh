#!/usr/bin/env bash
# Installs what the tests need, builds the program and everything beside it, and runs every test.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUP_BUILD_DIR:-$root/build}
"$root/scripts/build.sh"
cd "$build"
# A test's name says which row failed: a parameter shown as its value (a byte dump for a
# struct) means a parameterised test lacks a row name or NO_PRETTY_VALUES (tests/CMakeLists.txt).
if unreadable=$(ctest -N | grep -E 'GetParam\(\)|byte object'); then
  echo "$unreadable"
  echo "test names above show their parameter's value instead of the row's name" >&2
  exit 1
fi
ctest --output-on-failure -j "$(nproc)"
