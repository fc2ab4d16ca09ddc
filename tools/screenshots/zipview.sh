#!/usr/bin/env bash
# Screenshot of the archive pane inside a folder of an archive, for review:
#   zipview-subfolder.png  proj.zip opened inside "proj", walked into "sub",
#                          one file marked, the status line showing "proj\sub\"
# Usage: tools/screenshots/zipview.sh [output folder]   (after ./test.sh built everything)
set -euo pipefail
source "$(dirname "$0")/common.sh"

winepath() { echo "Z:${1//\//\\}"; }
archive=$(winepath "$here/tests/data/archive/proj.zip")
dlls=$(winepath "$(dirname "$(find "$build/src" -iname zlzip32.dll | head -1)")")
# The program closes itself after 20 s, should the close below not reach it.
velmora_wine "$build/tests/tools/ZipViewShow.exe" "$archive" 20000 "$dlls" &
show=$!
w=$(timeout 30 xdotool search --sync --onlyvisible --name "^Velmora - Archivinhalt\$" | head -1)
sleep 1  # rows, icons and the status line finish painting
import -window "$w" "$out/zipview-subfolder.png"
velmora_wine taskkill /im ZipViewShow.exe > /dev/null 2>&1 || true
timeout 30 tail --pid=$show -f /dev/null || kill $show 2>/dev/null || true
wait $show || true
echo "Screenshots in $out"
