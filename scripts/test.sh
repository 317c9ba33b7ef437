#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
build="${KESTRELON_BUILD:-$root/build}"
"$root/scripts/build.sh" "$build" RelWithDebInfo
cd "$build"
ctest --output-on-failure -j"$(nproc)"
# A short fuzzing pass (seconds per target) so that a parser crash fails the run too.
"$root/scripts/fuzz.sh" "${KESTRELON_CI_FUZZ_SECONDS:-5}"
# The Debian package is built and checked too (scripts/package.sh).
"$root/scripts/package.sh"
