#!/usr/bin/env bash
# Draws the main window's pictures with imagemagick: the two basket icons
# (32x32 and 16x16 each) and the top bar's wallpaper tile. The results are
# committed; run this only to change them.
set -euo pipefail
cd "$(dirname "$0")"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

basket='fill #C08A3E stroke #5A3A10 path "M 4,13 L 28,13 L 25,29 L 7,29 Z" fill none stroke #5A3A10 path "M 9,13 C 9,3 23,3 23,13" stroke #8A5A20 line 8,18 24,18 line 9,23 23,23 line 12,13 12,29 line 16,13 16,29 line 20,13 20,29'
icon() {  # name, extra drawing
  convert -size 32x32 xc:none -strokewidth 1.5 -draw "$basket $2" "$tmp/$1-32.png"
  convert "$tmp/$1-32.png" -resize 16x16 "$tmp/$1-16.png"
  convert "$tmp/$1-32.png" "$tmp/$1-16.png" "$1.ico"
}
icon sammelkorbleer ""
icon sammelkorbvoll "fill #FFFFFF stroke #404040 stroke-width 1 path 'M 8,6 L 18,6 L 18,14 L 8,14 Z' fill #FFE27A path 'M 14,4 L 24,7 L 22,14 L 12,13 Z' fill #A0C8FF path 'M 10,9 L 20,9 L 20,14 L 10,14 Z'"

# A soft blue-grey marbled tile that repeats without seams.
convert -size 64x64 plasma:'#B8C8D8-#D8E0EA' -seed 7 -blur 0x2 -virtual-pixel tile \
  \( +clone -flop \) -compose blend -define compose:args=50 -composite \
  \( +clone -flip \) -compose blend -define compose:args=50 -composite \
  -type TrueColor BMP3:wallpaper.bmp
