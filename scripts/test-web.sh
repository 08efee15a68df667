#!/usr/bin/env bash
# Builds the web page and its driver (scripts/build-web.sh), then plays the transcripts on the
# page in headless Chromium and audits its accessibility, with ctest. Arguments go to ctest.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUP_WEB_BUILD:-$root/build-web}
"$root/scripts/build-web.sh"
cd "$build"
ctest --output-on-failure -j "$(nproc)" "$@"
