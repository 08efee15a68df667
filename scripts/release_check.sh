#!/usr/bin/env bash
# The build as a user makes it with a plain `cmake -DCMAKE_BUILD_TYPE=Release`: GCC at -O3
# warns about things it does not see at -O2. Builds the program and its unit tests that way
# (build-release/, the "release" presets, warnings as errors) and runs the unit tests. First it
# configures the program alone (build-program/) with every optional package hidden from CMake,
# which fails if the program's configure asks for a package that only the tests, the server or
# the benchmarks need, or reports one it does not find.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=${QUP_JOBS:-$(nproc)}
"$root/scripts/deps.sh" --tests

cd "$root"
program_only=$root/build-program
rm -rf "$program_only"
mkdir -p "$program_only"
hidden=()
for package in GTest Boost SQLite3 benchmark; do hidden+=("-DCMAKE_DISABLE_FIND_PACKAGE_$package=ON"); done
if ! cmake -S "$root" -B "$program_only" -DCMAKE_BUILD_TYPE=Release -DQUP_WARNINGS_AS_ERRORS=ON \
  -DBUILD_TESTING=OFF -DQUP_BUILD_SERVER=OFF -DQUP_BUILD_BENCH=OFF "${hidden[@]}" \
  >"$program_only/configure.log" 2>&1; then
  cat "$program_only/configure.log"
  echo "release check: the program alone does not configure without the optional packages" >&2
  exit 1
fi
echo "release check: the program alone configures without GoogleTest, Boost, SQLite, Benchmark"
# A newcomer's configure step reports nothing missing: what is looked for is found or needed.
if grep -n 'Could NOT find' "$program_only/configure.log"; then
  echo "release check: the configure step reports a package it does not find" >&2
  exit 1
fi

cmake --preset release >/dev/null
cmake --build --preset release -j "$jobs"
ctest --preset release -j "$jobs"
