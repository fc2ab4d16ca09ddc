#!/usr/bin/env bash
# Draws the program's six own icons (32x32 and 16x16 in each .ico) with
# imagemagick. The .ico files are committed; run this only to change them.
set -euo pipefail
cd "$(dirname "$0")"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

folder_back='fill #C8A000 stroke #6E5200 path "M 2,8 L 12,8 L 15,5 L 2,5 Z" rectangle 2,8 29,27'
folder_front='fill #FFD94A stroke #6E5200 rectangle 2,10 29,27'
open_front='fill #FFE27A stroke #6E5200 path "M 2,27 L 7,13 L 31,13 L 26,27 Z"'
band='fill #8B4513 stroke #4A2208 rectangle 13,9 18,27 fill #E0E0E0 stroke #606060 rectangle 14,15 17,19'

draw() {  # name, draw commands
  convert -size 32x32 xc:none -strokewidth 1 -draw "$2" "$tmp/$1-32.png"
  convert "$tmp/$1-32.png" -filter Box -resize 16x16 "$tmp/$1-16.png"
  convert "$tmp/$1-32.png" "$tmp/$1-16.png" "$1.ico"
}

draw updir "$folder_back $folder_front fill #1E9E2E stroke #0A4A10 path 'M 15,12 L 23,20 L 19,20 L 19,26 L 11,26 L 11,20 L 7,20 Z'"
draw sverzordner "$folder_back $folder_front"
draw sausfdat "fill #FFFFFF stroke #404040 rectangle 2,5 29,27 fill #1040A0 stroke #1040A0 rectangle 3,6 28,10 fill #C0C0C0 stroke #808080 rectangle 6,14 25,16 rectangle 6,19 20,21"
draw sunknown "fill #FFFFFF stroke #404040 path 'M 7,2 L 20,2 L 26,8 L 26,29 L 7,29 Z' fill #D0D0D0 path 'M 20,2 L 20,8 L 26,8 Z' stroke #A0A0A0 line 10,13 22,13 line 10,17 22,17 line 10,21 22,21"
draw sarcordner "$folder_back $folder_front $band"
draw soarcordner "$folder_back $open_front fill #8B4513 stroke #4A2208 path 'M 14,13 L 19,13 L 15,27 L 10,27 Z'"
