#!/usr/bin/env bash
# Installs what is missing, builds, and opens Kestrelon on its built-in demo.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
build="${KESTRELON_BUILD:-$root/build}"
"$root/scripts/build.sh" "$build" RelWithDebInfo
exec "$build/kestrelon" "$@"
