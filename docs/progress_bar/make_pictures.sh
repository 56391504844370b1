#!/usr/bin/env bash
# Redraws this folder's pictures with korvane-render: every style of the main
# window's bar (329 x 22, green, caption shown) at 0, 45 and 100 %.
# Usage: make_pictures.sh [path of korvane-render]
set -euo pipefail
render="${1:-korvane-render}"
cd "$(dirname "${BASH_SOURCE[0]}")"
names=(blocks smooth searching flat etched shaded dark hatched picture)
for style in 0 1 2 3 4 5 6 7 8; do
  for value in 0 45 100; do
    extra=()
    [ "$style" -eq 7 ] && extra=(--set BrushStyle=3)
    [ "$style" -eq 8 ] && extra=(--set 'Image=Picture("tile.bmp")')
    "$render" control XP_ProgressBar --size 329x22 --set Scrolling=$style --set Color=0x00C000 \
      --set ShowText=True --set Value=$value "${extra[@]}" --out "$style-${names[$style]}-$value.png"
  done
done
