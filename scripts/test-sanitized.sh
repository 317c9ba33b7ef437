#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer (KESTRELON_SANITIZE) in
# build-asan/ and runs the whole test suite under them. Any report fails the test that made it.
# Usage: scripts/test-sanitized.sh [ctest arguments...]   (e.g. -R test_core)
# Qt's range checks (Q_ASSERT) are kept on in this build too. A full build: build it at low
# priority on a shared machine (nice -n 19); the integration tests wait on real timers and can
# miss their marks when the tests themselves are starved of CPU.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${KESTRELON_ASAN_BUILD:-$root/build-asan}"
"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTRELON_SANITIZE=ON \
  -DKESTRELON_BENCH=OFF -DCMAKE_CXX_FLAGS="-DQT_FORCE_ASSERTS" >/dev/null
cmake --build "$build" -j"$(nproc)"

# Leaks are checked at exit; the suppressions cover only allocations made inside system
# libraries that live until the process ends. new_delete_type_mismatch is off because the
# browser engine's own sized deletes (its pages torn down) trip it inside a library we do not
# build; ASan has no per-library suppression for that check. The quarantine of freed memory is
# kept small (default 256 MB) so the soak test's resident-memory bound measures the program, not
# ASan's hold on freed blocks.
export ASAN_OPTIONS="halt_on_error=1:abort_on_error=1:detect_leaks=1:new_delete_type_mismatch=0:quarantine_size_mb=16"
export LSAN_OPTIONS="suppressions=$root/scripts/sanitizer/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:suppressions=$root/scripts/sanitizer/ubsan.supp"
cd "$build"
ctest --output-on-failure -j"$(nproc)" "$@"
