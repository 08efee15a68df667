#!/usr/bin/env bash
# Static checks: clang-tidy (.clang-tidy) over the project's own sources, as the
# normal build compiles them (build/compile_commands.json). Generated files and anything under
# build/ are left out. Fails on any finding.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUP_BUILD_DIR:-$root/build}
jobs=${QUP_JOBS:-$(nproc)}
"$root/scripts/deps.sh" --tests

# The build lists every source with its flags, and makes the generated headers (site
# configuration, moc output) that the sources include; quick when the build is up to date.
"$root/scripts/build.sh" >/dev/null

ours="^$root/(app|bench|calc|fuzz|server|settings|suggest|tests|text|ui)/"
mapfile -t sources < <(sed -n 's/^ *"file": "\(.*\)",\{0,1\}$/\1/p' "$build/compile_commands.json" |
  grep -E "$ours" | grep -v '_autogen/' | sort -u)
echo "static checks: ${#sources[@]} source files"

status=0
# clang-tidy, one process per file in parallel; headers of ours are checked where included.
printf '%s\n' "${sources[@]}" |
  xargs -P "$jobs" -n 1 clang-tidy -p "$build" --quiet --header-filter="$ours" \
    >"$build/clang-tidy.log" 2>&1 || status=1
if ((status != 0)); then
  grep -E '(warning|error):' "$build/clang-tidy.log" | sort -u
  echo "static checks: clang-tidy found the above" >&2
  exit 1
fi
echo "static checks: clang-tidy found nothing"
