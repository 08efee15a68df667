#!/usr/bin/env bash
# Builds the fuzz targets with clang and libFuzzer (build-fuzz/) and runs each for a bounded
# time on top of its seed corpus in fuzz/corpus/. A crash, a hang or a violated property fails.
# QUP_FUZZ_SECONDS: seconds per target (60 unless set); QUP_FUZZ_TARGETS: which ones.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-fuzz
seconds=${QUP_FUZZ_SECONDS:-60}
targets=${QUP_FUZZ_TARGETS:-amount_text suggestion store_file}
jobs=${QUP_JOBS:-$(nproc)}
"$root/scripts/deps.sh" --tests

cd "$root"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$jobs"

# The store target writes a file for every input: memory-backed storage keeps that quick.
if [[ -d /dev/shm && -w /dev/shm ]]; then export TMPDIR=/dev/shm; fi
# Reports go to the fuzzer's log; leaks count as faults as everywhere else.
export ASAN_OPTIONS=detect_leaks=1
export UBSAN_OPTIONS=print_stacktrace=1

failed=()
printf '%-12s %8s %12s %10s\n' target seconds executions per-second
for name in $targets; do
  work=$build/run/$name
  rm -rf "$work"
  mkdir -p "$work/new" "$work/artifacts"
  # New inputs go to a scratch folder; the seed corpus in the repository is only read.
  status=0
  "$build/fuzz/qup_fuzz_$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$work/artifacts/" \
    "$work/new" "$root/fuzz/corpus/$name" >"$work/log" 2>&1 || status=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/log")
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$work/log")
  printf '%-12s %8s %12s %10s\n' "$name" "$seconds" "${runs:-?}" "${rate:-?}"
  if ((status != 0)); then
    tail -n 60 "$work/log"
    echo "fuzz: $name failed; the input is in $work/artifacts/. Add it to fuzz/corpus/$name" \
      "and a unit test that reproduces the fault." >&2
    failed+=("$name")
  fi
done
if ((${#failed[@]} > 0)); then
  echo "fuzz: failed: ${failed[*]}" >&2
  exit 1
fi
echo "fuzz: every target ran ${seconds}s with no crash, hang or violated property"
