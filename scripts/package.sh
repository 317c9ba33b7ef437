#!/usr/bin/env bash
# Builds the Debian package kestrelon_<version>_<arch>.deb from the build the tests use
# (RelWithDebInfo, stripped in the package) and checks it: the desktop entry, the AppStream
# metainfo, lintian, that apt can resolve its dependencies, and that the packed program runs.
# Prints the package's path last. KESTRELON_BUILD chooses the build folder (default build/);
# KESTRELON_PACKAGE_OUT where the package goes (default the build folder).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${KESTRELON_BUILD:-$root/build}"
out="${KESTRELON_PACKAGE_OUT:-$build}"

"$root/scripts/install-deps.sh"
if ! command -v lintian >/dev/null; then
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends lintian >/dev/null
fi
"$root/scripts/build.sh" "$build" RelWithDebInfo

mkdir -p "$out"
(cd "$build" && cpack -G DEB -B "$out/cpack" >/dev/null)
deb="$(ls -t "$out"/cpack/kestrelon_*.deb | head -n 1)"
mv -f "$deb" "$out/"
deb="$out/$(basename "$deb")"
rm -rf "$out/cpack"

check="$(mktemp -d)"
trap 'rm -rf "$check"' EXIT
dpkg-deb -x "$deb" "$check/root"
desktop-file-validate "$check"/root/usr/share/applications/*.desktop
appstreamcli validate --no-net "$check"/root/usr/share/metainfo/*.metainfo.xml >/dev/null
# lintian: errors fail the package; warnings are printed (there were none when this was written).
status=0
report="$(lintian --fail-on error "$deb" 2>&1)" || status=$?
printf '%s\n' "$report" | grep -v "running with root privileges" || true
[ "$status" -eq 0 ]
# apt resolves the dependencies against this machine's package lists without installing.
apt-get install --simulate -q "$deb" >/dev/null
"$check/root/usr/bin/kestrelon" --version >/dev/null
echo "$deb"
