#!/usr/bin/env bash
# Static checks: clang-format (.clang-format) over all of the project's C++, and clang-tidy
# (.clang-tidy) over the project's own sources as each platform's build compiles them: the Linux
# build's (build/compile_commands.json) for everything it compiles, and the Windows build's
# (build-windows-x86_64/, configured here with the mingw-w64 tool chain) for what only Windows
# compiles: the win32/ wings and the sources that read _WIN32, and the web build's (build-web/,
# configured with Emscripten) for the web/ wings and the sources that read what only its
# libraries define. Generated files and anything under a build folder are left out. Fails on
# any finding.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUP_BUILD_DIR:-$root/build}
jobs=${QUP_JOBS:-$(nproc)}
windows_build=${QUP_WINDOWS_BUILD_ROOT:-$root}/build-windows-x86_64
web_build=${QUP_WEB_BUILD:-$root/build-web}
"$root/scripts/deps.sh" --tests --windows --web

mkdir -p "$build"
# Formatting: every C++ file git knows, as clang-format would write it.
mapfile -t cxx < <(git -C "$root" ls-files '*.cpp' '*.h' | sed "s|^|$root/|")
if ! clang-format --dry-run --Werror "${cxx[@]}" 2>"$build/clang-format.log"; then
  grep -E '(warning|error):' "$build/clang-format.log" | sort -u | head -n 50
  echo "static checks: clang-format would change the files above (run clang-format -i on them)" >&2
  exit 1
fi
echo "static checks: clang-format finds all ${#cxx[@]} files formatted"

# The build lists every source with its flags, and makes the generated headers (site
# configuration, moc output) that the sources include; quick when the build is up to date.
"$root/scripts/build.sh" >/dev/null

ours="^$root/(app|bench|calc|fuzz|server|settings|suggest|tests|text|ui)/"
# The Windows build lists its sources with their flags; configuring is enough, as the Windows
# sources include no generated header but the site configuration, which configuring writes.
cmake -S "$root" -B "$windows_build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUP_WARNINGS_AS_ERRORS=ON \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchains/x86_64-w64-mingw32.cmake" >/dev/null
mapfile -t sources < <(sed -n 's/^ *"file": "\(.*\)",\{0,1\}$/\1/p' "$build/compile_commands.json" |
  grep -E "$ours" | grep -v '_autogen/' | sort -u)
mapfile -t windows_sources < <(
  sed -n 's/^ *"file": "\(.*\)",\{0,1\}$/\1/p' "$windows_build/compile_commands.json" |
    grep -E "$ours" | sort -u | while read -r file; do
      [[ "$file" == */win32/* ]] || grep -q '_WIN32' "$file" && echo "$file"
    done)
NODE_PATH=/usr/share/nodejs emcmake cmake -S "$root" -B "$web_build" -DCMAKE_BUILD_TYPE=Release \
  -DQUP_WARNINGS_AS_ERRORS=ON >/dev/null
mapfile -t web_sources < <(
  sed -n 's/^ *"file": "\(.*\)",\{0,1\}$/\1/p' "$web_build/compile_commands.json" |
    grep -E "$ours" | sort -u | while read -r file; do
      [[ "$file" == */web/* ]] || grep -qE '__EMSCRIPTEN__|__cpp_lib_to_chars' "$file" && echo "$file"
    done)
echo "static checks: ${#sources[@]} source files, ${#windows_sources[@]} more as Windows builds" \
  "them, ${#web_sources[@]} as the web build does"

status=0
# clang-tidy, one process per file in parallel; headers of ours are checked where included.
printf '%s\n' "${sources[@]}" |
  xargs -P "$jobs" -n 1 clang-tidy -p "$build" --quiet --header-filter="$ours" \
    >"$build/clang-tidy.log" 2>&1 || status=1
# clang reads the Windows sources as mingw-w64's compiler does: its target, and its C++ library
# (which clang's own search for the GCC installation does not find under Debian's 12-posix).
# One check is left out there: performance-no-int-to-ptr, as the Windows API hands pointers over
# in integers by design (a message's LPARAM and LRESULT, a window's DWLP_USER, the predefined
# registry keys), and every such cast is the API's own protocol.
gcc_cxx=$(echo /usr/lib/gcc/x86_64-w64-mingw32/*-posix/include/c++)
printf '%s\n' "${windows_sources[@]}" |
  xargs -P "$jobs" -n 1 clang-tidy -p "$windows_build" --quiet --header-filter="$ours" \
    --checks=-performance-no-int-to-ptr \
    --extra-arg=--target=x86_64-w64-mingw32 --extra-arg=-nostdinc++ \
    --extra-arg=-isystem"$gcc_cxx" --extra-arg=-isystem"$gcc_cxx/x86_64-w64-mingw32" \
    --extra-arg=-isystem"$gcc_cxx/backward" >>"$build/clang-tidy.log" 2>&1 || status=1
# clang reads the web sources with the flags em++ adds to every compile: its target, its
# system root and its definitions.
web_flags=()
for flag in $(NODE_PATH=/usr/share/nodejs em++ --cflags); do web_flags+=(--extra-arg="$flag"); done
printf '%s\n' "${web_sources[@]}" |
  xargs -P "$jobs" -n 1 clang-tidy -p "$web_build" --quiet --header-filter="$ours" \
    "${web_flags[@]}" >>"$build/clang-tidy.log" 2>&1 || status=1
if ((status != 0)); then
  grep -E '(warning|error):' "$build/clang-tidy.log" | sort -u
  echo "static checks: clang-tidy found the above" >&2
  exit 1
fi
echo "static checks: clang-tidy found nothing"
