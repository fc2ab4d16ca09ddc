#!/usr/bin/env bash
# Draws the autostarter's digit strip: ten 16x21 seven-segment cells for 0 to 9,
# lit segments red, unlit ones a dim red on black. Run it again after a change and
# commit the bitmap; the build only embeds it.
set -euo pipefail
cd "$(dirname "$0")"

# Segment rectangles inside one cell (a top, b upper right, c lower right, d bottom,
# e lower left, f upper left, g middle), two pixels thick; a free column between
# the upright and the level ones keeps them apart, and the outer columns keep the
# digits apart.
declare -A seg=(
  [a]="4,1 11,2"
  [b]="13,2 14,9"
  [c]="13,11 14,18"
  [d]="4,18 11,19"
  [e]="1,11 2,18"
  [f]="1,2 2,9"
  [g]="4,10 11,11"
)
lit=(abcdef bc abdeg abcdg bcfg acdfg acdefg abc abcdefg abcdfg)

args=()
for d in $(seq 0 9); do
  for s in a b c d e f g; do
    corners=""
    for p in ${seg[$s]}; do
      x=${p%,*}; y=${p#*,}
      corners+="$((x + d * 16)),$y "
    done
    if [[ ${lit[$d]} == *$s* ]]; then colour="#ff2a1a"; else colour="#3a0806"; fi
    args+=(-fill "$colour" -draw "rectangle $corners")
  done
done
convert -size 160x21 xc:black "${args[@]}" -type TrueColor BMP3:digits.bmp
