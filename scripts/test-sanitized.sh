#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer (KESTRELON_SANITIZE) in
# build-asan/ and runs the whole test suite under them. Any report fails the test that made it.
# Usage: scripts/test-sanitized.sh [ctest arguments...]   (e.g. -R test_core)
# Qt's range checks (Q_ASSERT) are kept on in this build too. A full build: run it at low
# priority on a shared machine (nice -n 19).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${KESTRELON_ASAN_BUILD:-$root/build-asan}"
"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTRELON_SANITIZE=ON \
  -DKESTRELON_BENCH=OFF -DCMAKE_CXX_FLAGS="-DQT_FORCE_ASSERTS" >/dev/null
cmake --build "$build" -j"$(nproc)"

# Leaks are checked at exit; the suppressions cover only allocations made inside the system's
# graphics, font and browser libraries that live until the process ends.
export ASAN_OPTIONS="halt_on_error=1:abort_on_error=1:detect_leaks=1:detect_stack_use_after_return=0:strict_string_checks=0"
export LSAN_OPTIONS="suppressions=$root/scripts/sanitizer/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:suppressions=$root/scripts/sanitizer/ubsan.supp"
cd "$build"
ctest --output-on-failure -j"$(nproc)" "$@"
