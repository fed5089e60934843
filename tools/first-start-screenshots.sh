#!/usr/bin/env bash
# Takes the README's pictures of the first start: orvo under a virtual X
# server of 1366×768 and of 1920×1080, each with settings of its own (so
# the window takes its first-start size), the live preview's output of the
# welcome text shown; saves doc/first-start-WIDTHxHEIGHT.png.
#
# Needs the Debian packages xvfb, xauth and imagemagick (not part of the
# build):
#   apt-get install -y --no-install-recommends xvfb xauth imagemagick
# Usage:   tools/first-start-screenshots.sh [path/to/orvo]
set -euo pipefail
cd "$(dirname "$0")/.."
orvo=${1:-build/bin/orvo}
for tool in xvfb-run import convert; do
  command -v "$tool" >/dev/null || { echo "$0: $tool is missing (see the comment at the top)" >&2; exit 2; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for screen in 1366x768 1920x1080; do
  export XDG_CONFIG_HOME="$work/config-$screen"
  mkdir -p "$XDG_CONFIG_HOME"
  xvfb-run --auto-servernum --server-args="-screen 0 ${screen}x24" bash -c '
    "$0" &
    app=$!
    sleep 4
    import -window root "$1"
    kill "$app"
  ' "$orvo" "$work/shot-$screen.png"
  # The window sits on a black screen without a window manager: cut it out.
  convert "$work/shot-$screen.png" -trim +repage "doc/first-start-$screen.png"
  echo "wrote doc/first-start-$screen.png"
done
