#!/usr/bin/env bash
# Builds the Windows program for both targets (scripts/build-windows.sh), then makes in each
# build folder the installer and the portable zip:
#   build-windows-x86_64/qup-<version>-win64-setup.exe and qup-<version>-win64.zip
#   build-windows-i686/qup-<version>-win32-setup.exe and qup-<version>-win32.zip
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
builds=${QUP_WINDOWS_BUILD_ROOT:-$root}
"$root/scripts/build-windows.sh"
for arch in x86_64 i686; do
  build=$builds/build-windows-$arch
  (cd "$build" && cpack -G "NSIS;ZIP" --config CPackConfig.cmake)
done
