#!/bin/sh
# Renders the PNG sizes of the application icon from orvo.svg; run after
# changing the drawing and commit the results (needs librsvg2-bin).
set -eu
cd "$(dirname "$0")"
for size in 16 32 48 64 128 256; do
  mkdir -p "hicolor/${size}x${size}"
  rsvg-convert -w "$size" -h "$size" orvo.svg -o "hicolor/${size}x${size}/orvo.png"
done
