#!/usr/bin/env bash
# Screenshots of the main window's file commands under Xvfb, for review:
#   command-copy.png   F5 in the right pane: the copy question over the window
#   command-move.png   F6 in the right pane: the move question
# Usage: tools/screenshots/filecommands.sh [output folder]   (after ./test.sh built everything)
set -euo pipefail
source "$(dirname "$0")/common.sh"

velmora_wine "$build/src/mainwindow/Velmora.exe" &
velmora=$!
window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Velmora -$' | head -1)
sleep 1
eval "$(xdotool getwindowgeometry --shell "$window")"
# A click on a file of the right pane gives it the focus and selects the file.
xdotool mousemove $((X + WIDTH * 78 / 100)) $((Y + HEIGHT * 55 / 100)) click 1
sleep 0.5
xdotool click 1
sleep 0.5
for shot in "F5 Kopiervorgang command-copy" "F6 Verschiebevorgang command-move"; do
  set -- $shot
  xdotool key "$1"
  if timeout 15 xdotool search --sync --onlyvisible --name "^$2" > /dev/null; then
    sleep 1
    import -window root "$out/$3.png"
    echo "$out/$3.png"
    xdotool key Escape
    sleep 0.5
  else
    echo "no dialog for $1" >&2
  fi
done
velmora_wine taskkill /im Velmora.exe > /dev/null 2>&1 || true
timeout 30 tail --pid=$velmora -f /dev/null || kill $velmora 2>/dev/null || true
wait $velmora || true
