#!/usr/bin/env bash
# Draws the toolbar's pictures with imagemagick: 16 x 16 each, named after the
# buttons, on magenta, which the buttons treat as transparent (their bottom-left
# pixel). The results are committed; run this only to change them.
set -euo pipefail
cd "$(dirname "$0")"

picture() {  # name, drawing options
  local name=$1
  shift
  convert -size 16x16 xc:'#FF00FF' +antialias -strokewidth 1 "$@" -type TrueColor "BMP3:$name.bmp"
}
sheet=(-fill white -stroke black -draw 'polygon 3,1 9,1 12,4 12,14 3,14')
folder=(-fill '#F0C020' -stroke '#806000' -draw 'polygon 1,4 5,4 6,5 14,5 14,13 1,13')
box=(-fill '#C08A3E' -stroke '#5A3A10' -draw 'rectangle 2,8 13,14' -draw 'line 2,10 13,10')
green=(-fill '#00A000' -stroke '#006000')
blue=(-fill '#2060E0' -stroke '#103080')

picture leftbutton -fill black -stroke black -draw 'polygon 10,3 10,12 5,7'
picture rightbutton -fill black -stroke black -draw 'polygon 6,3 6,12 11,7'
picture button1 "${folder[@]}" -stroke '#C00000' -draw 'line 11,0 11,4' -draw 'line 9,2 13,2'
picture button2 "${sheet[@]}" -fill none -stroke '#0000C0' -draw 'rectangle 4,9 8,13' \
  -draw 'line 5,12 8,9' -draw 'line 6,9 8,9' -draw 'line 8,9 8,11'
picture button3 -fill white -stroke black -draw 'rectangle 1,1 8,10' -draw 'rectangle 6,5 13,14' \
  -stroke '#808080' -draw 'line 8,8 11,8' -draw 'line 8,10 11,10' -draw 'line 8,12 11,12'
picture button4 "${sheet[@]}" "${green[@]}" -draw 'polygon 6,6 10,6 10,4 14,8 10,12 10,10 6,10'
picture button5 -fill none -stroke '#D00000' -strokewidth 2 -draw 'line 3,3 12,12' -draw 'line 12,3 3,12'
picture button6 "${sheet[@]}" -stroke '#000080' -draw 'line 5,7 10,7' -draw 'line 5,9 8,9' \
  -stroke '#E0A000' -strokewidth 2 -draw 'line 8,13 14,7'
picture button7 "${box[@]}" "${green[@]}" -draw 'polygon 6,1 9,1 9,4 11,4 7,8 3,4 6,4'
picture button8 "${box[@]}" "${blue[@]}" -draw 'polygon 7,0 11,4 9,4 9,7 6,7 6,4 3,4'
picture button9 -fill '#C0E0FF' -stroke black -draw 'circle 6,6 6,2' -strokewidth 2 -draw 'line 9,9 13,13'
picture button10 "${folder[@]}" "${green[@]}" -draw 'polygon 4,8 8,8 8,6 11,9 8,12 8,10 4,10'
picture button11 "${green[@]}" -draw 'polygon 1,4 9,4 9,1 13,5 9,9 9,6 1,6' \
  "${blue[@]}" -draw 'polygon 14,10 6,10 6,7 2,11 6,15 6,12 14,12'
picture button12 -fill black -stroke '#808080' -draw 'rectangle 1,2 14,13' -fill '#000080' -stroke '#000080' \
  -draw 'rectangle 2,3 13,4' -stroke '#C0C0C0' -draw 'line 3,7 5,9' -draw 'line 5,9 3,11' -draw 'line 7,11 10,11'
picture button13 -fill white -stroke black -draw 'rectangle 2,2 13,13' -fill none -stroke '#008000' -strokewidth 2 \
  -draw 'line 4,8 7,11' -draw 'line 7,11 12,4'
