#!/usr/bin/env bash
# Draws the program's pictures with imagemagick: the icon, the splash logo and
# title, and the splash's wallpaper tile. The results are committed; run this
# again only to change them.
set -euo pipefail
cd "$(dirname "$0")"
font=DejaVu-Sans-Bold

# Logo, 80 x 80: a window with two panes, a folder in the left one.
convert -size 80x80 xc:'#c0c0c0' \
  -fill '#000080' -draw 'rectangle 4,6 75,17' \
  -fill white -draw 'rectangle 4,18 75,73' \
  -fill none -stroke black -draw 'rectangle 4,6 75,73' -draw 'line 40,18 40,73' \
  -stroke none -fill '#f0c020' -draw 'polygon 9,30 17,30 20,34 35,34 35,52 9,52' \
  -fill '#c89010' -draw 'rectangle 9,36 35,52' \
  -fill '#808080' -draw 'rectangle 45,26 70,28' -draw 'rectangle 45,34 66,36' \
  -draw 'rectangle 45,42 70,44' -draw 'rectangle 45,50 62,52' -draw 'rectangle 45,58 68,60' \
  -fill white -font $font -pointsize 9 -draw "text 8,15 'Velmora'" \
  -type TrueColor BMP3:Logo.bmp

# Title, 286 x 24: the name over a blue gradient.
convert -size 24x286 gradient:'#1084d0-#000080' -rotate -90 \
  -fill white -font $font -pointsize 16 -gravity west -annotate +8+0 'Velmora' \
  -fill '#c0c0ff' -pointsize 10 -gravity east -annotate +8+0 'Dateiverwaltung' \
  -type TrueColor BMP3:Titel.bmp

# Wallpaper tile, 16 x 16: silver with a faint weave.
convert -size 16x16 xc:'#c0c0c0' -fill '#b4b4b4' \
  -draw 'point 0,0' -draw 'point 8,8' -draw 'point 4,12' -draw 'point 12,4' \
  -fill '#cccccc' -draw 'point 4,4' -draw 'point 12,12' \
  -type TrueColor BMP3:Tapete.bmp

# Program icon: the logo at 32 and 16 pixels.
convert Logo.bmp -crop 72x72+4+4 +repage -resize 32x32 icon32.png
convert Logo.bmp -crop 72x72+4+4 +repage -resize 16x16 icon16.png
convert icon32.png icon16.png Velmora.ico
rm -f icon32.png icon16.png
