#!/usr/bin/env bash
# Installs what the web build needs, then builds the web page and its driver with Emscripten
# into build-web/ (or $QUP_WEB_BUILD): the page's files end up in build-web/app/web/site/.
# Extra arguments go to the cmake configure.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUP_WEB_BUILD:-$root/build-web}
"$root/scripts/deps.sh" --web
# Debian's emcc runs its JavaScript tools with Debian's Node modules, whichever Node comes first.
export NODE_PATH=/usr/share/nodejs
emcmake cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DQUP_WARNINGS_AS_ERRORS=ON \
        "$@" >/dev/null
cmake --build "$build" -j "$(nproc)"
