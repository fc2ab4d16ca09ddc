#!/usr/bin/env bash
# Screenshots of Velmora's start on a large folder under Xvfb, for review:
#   start-frame.png   the window as soon as it shows: bars, menus and both panes
#                     placed and painted while the folder is still being read
#   start-filled.png  a few seconds later, both panes filled
# Both panes are detailed lists on one folder of 60,000 empty files, made in the
# prefix's drive C: and removed afterwards.
# Usage: tools/screenshots/startframe.sh [output folder]   (after ./test.sh built everything)
set -euo pipefail
source "$(dirname "$0")/common.sh"
mainform='HKEY_USERS\.default\Software\Quorin Ashvale\Velmora\1.0\Mainform'
stored() {
  velmora_wine reg query "$mainform" /v "$1" 2>/dev/null | tr -d '\r' | awk -v n="$1" '$1 == n {print $3}' || true
}
old_kinds=$(stored Fenster)
old_pos=$(stored Pos)
folder="$VELMORA_WINEPREFIX/drive_c/velmora-startframe"
mkdir -p "$folder"
(cd "$folder" && seq -f 'datei%06g.txt' 1 60000 | xargs touch)
finish() {
  velmora_wine taskkill /im Velmora.exe > /dev/null 2>&1 || true
  timeout 30 tail --pid=$velmora -f /dev/null || kill $velmora 2>/dev/null || true
  wait $velmora 2>/dev/null || true
  for value in "Fenster:$old_kinds" "Pos:$old_pos"; do
    if [ -n "${value#*:}" ]; then
      velmora_wine reg add "$mainform" /v "${value%%:*}" /d "${value#*:}" /f > /dev/null
    else
      velmora_wine reg delete "$mainform" /v "${value%%:*}" /f > /dev/null 2>&1 || true
    fi
  done
  rm -rf "$folder"
}
velmora_wine reg add "$mainform" /v Fenster /d 33 /f > /dev/null
velmora_wine reg add "$mainform" /v Pos /d 0,0,1000,700 /f > /dev/null
velmora_wine "$build/src/mainwindow/Velmora.exe" 'C:\velmora-startframe' &
velmora=$!
trap finish EXIT
w=$(timeout 60 xdotool search --sync --onlyvisible --name '^Velmora -' | head -1)
import -window "$w" "$out/start-frame.png"
sleep 5
import -window "$w" "$out/start-filled.png"
echo "Screenshots in $out"
