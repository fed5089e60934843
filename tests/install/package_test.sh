#!/bin/sh
# Builds the Debian package from a build and checks what it holds: the
# programs, manual pages and desktop files below /usr, the project's
# version, and library dependencies worked out from the programs.
# Usage: package_test.sh BUILD_DIR WITH_WINDOW(0|1) VERSION
set -eu
build=$1
window=$2
version=$3
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1 ||
  { cat "$out/cpack.log" >&2; fail "cpack"; }
deb=$(ls "$out"/*.deb)

contents=$(dpkg-deb --contents "$deb")
expect="./usr/bin/orvo-pp ./usr/lib/orvo/orvo-standard-worker ./usr/share/man/man1/orvo-pp.1
  ./usr/share/doc/orvo/README.md"
[ "$window" = 1 ] && expect="$expect ./usr/bin/orvo ./usr/share/man/man1/orvo.1
  ./usr/share/applications/orvo.desktop ./usr/share/icons/hicolor/scalable/apps/orvo.svg
  ./usr/share/icons/hicolor/48x48/apps/orvo.png"
for path in $expect; do
  printf '%s\n' "$contents" | grep -q " $path\$" || fail "$path not in the package"
done
printf '%s\n' "$contents" | awk '{ print $2 }' | grep -qv '^root/root$' && fail "files not owned by root"

[ "$(dpkg-deb -f "$deb" Package)" = orvo ] || fail "package name"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "version is not $version"
depends=$(dpkg-deb -f "$deb" Depends)
printf '%s\n' "$depends" | grep -q 'libc6' || fail "no computed dependencies: '$depends'"
if [ "$window" = 1 ]; then
  printf '%s\n' "$depends" | grep -q 'libqt6widgets6' || fail "no Qt dependency: '$depends'"
fi
echo "$(basename "$deb"): ok; Depends: $depends"
