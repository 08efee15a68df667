#!/usr/bin/env bash
# The sanitizer pass: every test, the transcripts through qup-drive included, built with
# AddressSanitizer, UndefinedBehaviorSanitizer and leak checking (build-sanitize/), and run.
# Fails on a failing test and on any sanitizer report, also from a process whose exit status
# a test does not look at: every report is written to a file, and any such file fails the pass.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-sanitize
jobs=${QUP_JOBS:-$(nproc)}
"$root/scripts/deps.sh" --tests

reports=$build/sanitizer-reports
rm -rf "$reports"
mkdir -p "$reports"
# The options hold for the build too: test discovery runs the test programs.
export ASAN_OPTIONS="log_path=$reports/asan:detect_leaks=1:abort_on_error=0:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1"
export UBSAN_OPTIONS="log_path=$reports/ubsan:print_stacktrace=1:halt_on_error=1"
# Leaks inside system libraries only (see the file); a leak of ours is never suppressed.
export LSAN_OPTIONS="suppressions=$root/scripts/lsan_third_party.supp:print_suppressions=0"

cd "$root"
cmake --preset sanitize >/dev/null
cmake --build --preset sanitize -j "$jobs"
status=0
ctest --preset sanitize -j "$jobs" || status=$?

shopt -s nullglob
found=("$reports"/*)
if ((${#found[@]} > 0)); then
  for report in "${found[@]}"; do
    echo "==== $report"
    cat "$report"
  done
  echo "sanitize: ${#found[@]} sanitizer report(s), see above" >&2
  exit 1
fi
if ((status != 0)); then
  echo "sanitize: tests failed under the sanitizers" >&2
  exit "$status"
fi
echo "sanitize: every test passed with no sanitizer report"
