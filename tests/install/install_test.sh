#!/bin/sh
# Installs a build into a temporary prefix and uses the result as a user
# would: the programs run, `man` finds the manual pages, the desktop entry
# is valid, and every option --help lists is in the manual page.
# Usage: install_test.sh BUILD_DIR WITH_WINDOW(0|1)
set -eu
build=$1
window=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null

pp="$prefix/bin/orvo-pp"
"$pp" --version | grep -q '^orvo-pp [0-9]' || fail "orvo-pp --version"
[ "$(printf 'A B\n' | "$pp" -D A=1 -DB)" = "1 1" ] || fail "installed orvo-pp does not preprocess"
[ "$(printf '#define V 5\n#if V > 3\nyes\n#endif\n' | "$pp" --standard)" = "yes" ] ||
  fail "installed orvo-pp does not load its standard C engine"
[ -f "$prefix/share/doc/orvo/README.md" ] || fail "README not installed"

pages="orvo-pp"
[ "$window" = 1 ] && pages="orvo-pp orvo"
for page in $pages; do
  found=$(MANPATH="$prefix/share/man" man -w "$page") || fail "man -w $page"
  [ "$found" = "$prefix/share/man/man1/$page.1" ] || fail "man $page finds $found"
  warnings=$(groff -man -ww -z "$found" 2>&1)
  [ -z "$warnings" ] || fail "$page.1 has roff warnings: $warnings"
done

# Every option of --help, as the manual page spells it (roff writes '-' as '\-').
manual=$(sed 's/\\-/-/g' "$prefix/share/man/man1/orvo-pp.1")
options=$("$pp" --help | grep -oE '^  (-[A-Za-z]|--[a-z][a-z-]*)')
[ -n "$options" ] || fail "no options found in --help"
for option in $options; do
  printf '%s\n' "$manual" | grep -qe "$option" || fail "option $option of --help is not in orvo-pp.1"
done

if [ "$window" = 1 ]; then
  desktop-file-validate "$prefix/share/applications/orvo.desktop" || fail "desktop entry"
  grep -q '^Categories=.*Development;' "$prefix/share/applications/orvo.desktop" ||
    fail "desktop entry is not in Development"
  [ -f "$prefix/share/icons/hicolor/scalable/apps/orvo.svg" ] || fail "scalable icon"
  for size in 16 32 48 64 128 256; do
    [ -f "$prefix/share/icons/hicolor/${size}x${size}/apps/orvo.png" ] || fail "${size}px icon"
  done
  # The window starts and keeps running until it is stopped.
  status=0
  QT_QPA_PLATFORM=offscreen timeout 3 "$prefix/bin/orvo" >/dev/null 2>&1 || status=$?
  [ "$status" = 124 ] || fail "installed orvo ended with status $status"
fi
echo "install into $prefix: ok"
