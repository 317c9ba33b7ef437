#!/usr/bin/env bash
# Builds the libFuzzer targets (clang-14 with AddressSanitizer and UndefinedBehaviorSanitizer) in
# build-fuzz/ and runs each for a bounded time, seeded from fuzz/corpus/<target>/.
#
# Usage: scripts/fuzz.sh [seconds-per-target] [target ...]
#   seconds   time each target runs (default 10)
#   target    names such as fuzz_convert_dat (default: every fuzz/fuzz_*.cpp)
# Environment:
#   KESTRELON_FUZZ_BUILD  build folder (default build-fuzz)
#   KESTRELON_FUZZ_JOBS   targets run at the same time (default 1)
#   KESTRELON_FUZZ_MAX_LEN  longest input tried, bytes (default 16384; longer seeds are cut)
#
# New inputs the fuzzer finds go to <build>/corpus/<target>/ (the seeds in the tree are only
# read); a crashing input is written to <build>/findings/<target>/ and fails the run. Prints the
# executions per target; the last line is "fuzz: N passed, M failed".
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-10}"
[ $# -gt 0 ] && shift
build="${KESTRELON_FUZZ_BUILD:-$root/build-fuzz}"
jobs="${KESTRELON_FUZZ_JOBS:-1}"
max_len="${KESTRELON_FUZZ_MAX_LEN:-16384}"

# Debug keeps Qt's own range checks (Q_ASSERT in its containers) in the inlined code.
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" \
  -DCMAKE_CXX_COMPILER=clang++-14 -DKESTRELON_FUZZ=ON -DKESTRELON_TESTS=OFF -DKESTRELON_BENCH=OFF \
  >/dev/null
cmake --build "$build" --target fuzzers -j"$(nproc)"

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for src in "$root"/fuzz/fuzz_*.cpp; do targets+=("$(basename "$src" .cpp)"); done
fi

mkdir -p "$build/logs"
run_one() {
  local t="$1" name="${1#fuzz_}" rc=0
  mkdir -p "$build/corpus/$name" "$build/findings/$name" "$root/fuzz/corpus/$name"
  ASAN_OPTIONS="allocator_may_return_null=1" \
  UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
  "$build/fuzz/$t" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=4096 -max_len="$max_len" \
    -print_final_stats=1 -artifact_prefix="$build/findings/$name/" \
    "$build/corpus/$name" "$root/fuzz/corpus/$name" >"$build/logs/$t.log" 2>&1 || rc=$?
  echo "$rc" >"$build/logs/$t.rc"
}

names=()
for t in "${targets[@]}"; do
  if [ ! -x "$build/fuzz/$t" ]; then
    echo "no such fuzz target: $t" >&2
    exit 2
  fi
  rm -f "$build/logs/$t.rc"
  run_one "$t" &
  names+=("$t")
  while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do wait -n || true; done
done
wait

passed=0
failed=0
printf '%-24s %14s  %s\n' target executions result
for t in "${names[@]}"; do
  if [ "$(cat "$build/logs/$t.rc" 2>/dev/null)" = 0 ]; then result=ok; passed=$((passed + 1)); else result=FAILED; failed=$((failed + 1)); fi
  runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$build/logs/$t.log" | tail -1)"
  printf '%-24s %14s  %s\n' "$t" "${runs:-?}" "$result"
  if [ "$result" = FAILED ]; then
    echo "---- $build/logs/$t.log (end) ----"
    tail -n 60 "$build/logs/$t.log"
    echo "----"
  fi
done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
