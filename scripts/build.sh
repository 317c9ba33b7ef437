#!/usr/bin/env bash
# Configures and builds. Usage: scripts/build.sh [build-dir] [build-type] [extra cmake args...]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
type="${2:-RelWithDebInfo}"
shift $(( $# > 2 ? 2 : $# ))
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE="$type" "$@" >/dev/null
cmake --build "$build" -j"$(nproc)"
