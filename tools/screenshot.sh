#!/usr/bin/env bash
# Takes the README's picture of the window: starts orvo under a virtual X
# server with one of the macro examples opened and the Explain panel open,
# lets the live preview fill the output, puts the cursor on a line with
# nested calls, steps through six of its expansion steps (F10), and saves
# the window as doc/screenshot.png.
#
# Needs the Debian packages xvfb, xauth, imagemagick and xdotool (not part
# of the build):
#   apt-get install -y --no-install-recommends xvfb xauth imagemagick xdotool
# Usage:   tools/screenshot.sh [path/to/orvo] [output.png]
set -euo pipefail
cd "$(dirname "$0")/.."
orvo=${1:-build/bin/orvo}
picture=${2:-doc/screenshot.png}
for tool in xvfb-run import xdotool; do
  command -v "$tool" >/dev/null || { echo "$0: $tool is missing (see the comment at the top)" >&2; exit 2; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# A settings directory of its own, so that the picture shows a first start.
export XDG_CONFIG_HOME="$work/config"
mkdir -p "$XDG_CONFIG_HOME/orvo"
printf '[panels]\nExplainDock=true\n' > "$XDG_CONFIG_HOME/orvo/orvo.ini"
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

xvfb-run --auto-servernum --server-args="-screen 0 1920x1200x24" bash -c '
  "$0" "$1" &
  app=$!
  sleep 4
  # Into the input area, to the line with XSTR(CAT(v, 2)), six steps on
  # to the rescan pass that replaces CAT(v, 2).
  window=$(xdotool search --sync --onlyvisible --class orvo | head -n 1)
  eval "$(xdotool getwindowgeometry --shell "$window")"
  xdotool mousemove $((X + 200)) $((Y + 120)) click 1
  xdotool key ctrl+Home Down Down Down Down Down Down Down Down Down
  sleep 1
  xdotool key F10 F10 F10 F10 F10 F10
  xdotool mousemove 0 0
  sleep 1
  import -window root "$2.full.png"
  kill "$app"
' "$orvo" "$work/example.c" "$work/shot"
# The window sits on a black screen without a window manager: cut it out.
convert "$work/shot.full.png" -trim +repage "$picture"
echo "wrote $picture"
