#!/usr/bin/env bash
# Draws the saver's icon: a night sky with a moon over a hill, at 16, 32 and 48 pixels.
set -euo pipefail
out=${1:?output .ico}
tmp=$(mktemp -d); trap 'rm -rf "$tmp"' EXIT
convert -size 48x48 gradient:'#0b1a4a-#3a6fb0' -depth 8 \
  -fill '#f4efc8' -draw 'circle 32,14 38,14' \
  -fill '#1d3b1f' -draw 'ellipse 16,52 34,18 180,360' \
  -fill '#2e5a2a' -draw 'ellipse 40,54 26,14 180,360' \
  PNG32:"$tmp/48.png"
convert "$tmp/48.png" -resize 32x32 PNG32:"$tmp/32.png"
convert "$tmp/48.png" -resize 16x16 PNG32:"$tmp/16.png"
convert "$tmp/16.png" "$tmp/32.png" "$tmp/48.png" "$out"
