#!/usr/bin/env bash
# Redraws this folder's pictures with korvane-render: every button style in every
# state on a 90 x 25 button with a caption and a 16 x 16 picture, and the main
# window's three array buttons cut from the window as it opens.
# Usage: make_pictures.sh [path of korvane-render]
set -euo pipefail
render="${1:-korvane-render}"
cd "$(dirname "${BASH_SOURCE[0]}")"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# The window's repair reads the user's data sources: keep them out of reach.
export ODBCINI="$scratch/odbc.ini" ODBCSYSINI="$scratch"
names=(standard framed rounded flatframe thin hover light inverse)
for style in 0 1 2 3 4 5 6 7; do
  for state in normal default hover pressed disabled latched; do
    "$render" control gxButtons_H --size 90x25 --set BackStyle=$style --set 'Caption="&Repair"' \
      --set 'Image=Picture("../../app/resources/repair.ico")' --set ImgAlign=0 --state $state \
      --out "$style-${names[$style]}-$state.png"
  done
done
# The array buttons stand side by side at y 152 of the client area, from x 8 to 433.
"$render" window --out "$scratch/window.png"
convert "$scratch/window.png" -crop 426x25+8+152 +repage -strip main-window-buttons.png
