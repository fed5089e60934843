#!/usr/bin/env bash
# Takes the README's picture of the Standard C pane: starts orvo under a
# virtual X server with a learner's program whose #if and macro calls differ
# from standard C and where standard C reports an error, the pane open,
# activates the difference of a macro call in the Differences list (the
# list is reached by a click at CLICK_X, CLICK_Y from the window's bottom
# right corner), and saves the window as doc/standard-pane.png.
#
# Needs the Debian packages xvfb, xauth, imagemagick and xdotool (not part
# of the build), as tools/screenshot.sh does.
# Usage:   tools/standard-pane-screenshot.sh [path/to/orvo] [output.png]
set -euo pipefail
cd "$(dirname "$0")/.."
orvo=${1:-build/bin/orvo}
picture=${2:-doc/standard-pane.png}
for tool in xvfb-run import xdotool; do
  command -v "$tool" >/dev/null || { echo "$0: $tool is missing (see the comment at the top)" >&2; exit 2; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config"
mkdir -p "$XDG_CONFIG_HOME/orvo"
printf '[panels]\nStandardDock=true\n' > "$XDG_CONFIG_HOME/orvo/orvo.ini"
cat > "$work/learner.c" <<'C'
/* A learner's program: a macro that declares, and a minimum. */
#define DECL(t, n)  t n;
#define min(X, Y)   ((X) < (Y) ? (X) : (Y))
#define LIMIT 10

/* Declarations through the macro */
DECL(int, count)
DECL(double, ratio)

int clamp(int v) {
  return min(v);
}

#if LIMIT > 5
int big = LIMIT;
#else
int small;
#endif
int done;
C

export CLICK_X=${CLICK_X:-200} CLICK_Y=${CLICK_Y:-330}
xvfb-run --auto-servernum --server-args="-screen 0 1920x1200x24" bash -c '
  "$0" "$1" &
  app=$!
  sleep 5
  window=$(xdotool search --sync --onlyvisible --class orvo | head -n 1)
  eval "$(xdotool getwindowgeometry --shell "$window")"
  # Into the Differences list, to its second row (DECL(double, ratio)), and
  # activate it.
  xdotool mousemove $((X + WIDTH - CLICK_X)) $((Y + HEIGHT - CLICK_Y)) click 1
  xdotool key Home Down Return
  xdotool mousemove 0 0
  sleep 1
  import -window root "$2.full.png"
  kill "$app"
' "$orvo" "$work/learner.c" "$work/shot"
convert "$work/shot.full.png" -trim +repage "$picture"
echo "wrote $picture"
