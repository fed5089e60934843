#!/usr/bin/env bash
# Takes the README's picture of the window: starts orvo under a virtual X
# server with one of the macro examples opened, lets the live preview fill
# the output, and saves the window as doc/screenshot.png.
#
# Needs the Debian packages xvfb, xauth and imagemagick (not part of the
# build):  apt-get install -y --no-install-recommends xvfb xauth imagemagick
# Usage:   tools/screenshot.sh [path/to/orvo] [output.png]
set -euo pipefail
cd "$(dirname "$0")/.."
orvo=${1:-build/bin/orvo}
picture=${2:-doc/screenshot.png}
for tool in xvfb-run import; do
  command -v "$tool" >/dev/null || { echo "$0: $tool is missing (see the comment at the top)" >&2; exit 2; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# A settings directory of its own, so that the picture shows a first start.
export XDG_CONFIG_HOME="$work/config"
cat > "$work/example.c" <<'C'
/* Stringizing, token pasting and a function-like macro. */
#define STR(x)      #x
#define XSTR(x)     STR(x)
#define CAT(a, b)   a ## b
#define min(X, Y)   ((X) < (Y) ? (X) : (Y))
#define LOGGING

#ifdef LOGGING
int CAT(counter_, 2) = min(limit, 10);
const char *name = XSTR(CAT(v, 2));
#else
int quiet;
#endif
C

xvfb-run --auto-servernum --server-args="-screen 0 1400x900x24" bash -c '
  "$0" "$1" &
  app=$!
  sleep 4
  import -window root "$2.full.png"
  kill "$app"
' "$orvo" "$work/example.c" "$work/shot"
# The window sits on a black screen without a window manager: cut it out.
convert "$work/shot.full.png" -trim +repage "$picture"
echo "wrote $picture"
