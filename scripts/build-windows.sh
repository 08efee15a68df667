#!/usr/bin/env bash
# Installs what the Windows build needs, then cross-builds the program's Windows parts and their
# tests for both targets: 64-bit into build-windows-x86_64/, 32-bit into build-windows-i686/
# (or under $QUP_WINDOWS_BUILD_ROOT). Extra arguments go to every cmake configure.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
builds=${QUP_WINDOWS_BUILD_ROOT:-$root}
"$root/scripts/deps.sh" --windows
for arch in x86_64 i686; do
  build=$builds/build-windows-$arch
  echo "== Windows $arch: $build"
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUP_WARNINGS_AS_ERRORS=ON \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchains/$arch-w64-mingw32.cmake" "$@" >/dev/null
  cmake --build "$build" -j "$(nproc)"
done
