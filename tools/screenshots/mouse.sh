#!/usr/bin/env bash
# Screenshots of the main window under the real mouse (xdotool), for review:
#   splitter-drag.png   after the splitter was dragged right and released
#                       outside the window: both panes drawn, at the new width
#   popup-row.png       the pane menu open after a right click on a list row
# Usage: tools/screenshots/mouse.sh [output folder]   (after ./test.sh built everything)
# The window's place, the left width and the panes are put back as they were.
set -euo pipefail
source "$(dirname "$0")/common.sh"
mainform='HKEY_USERS\.default\Software\Quorin Ashvale\Velmora\1.0\Mainform'

stored() {
  velmora_wine reg query "$mainform" /v "$1" 2>/dev/null | tr -d '\r' | awk -v n="$1" '$1 == n {print $3}' || true
}
restore() {  # name, value ('' deletes it)
  if [ -n "$2" ]; then
    velmora_wine reg add "$mainform" /v "$1" /d "$2" /f > /dev/null
  else
    velmora_wine reg delete "$mainform" /v "$1" /f > /dev/null 2>&1 || true
  fi
}

old_pos=$(stored Pos)
old_width=$(stored BreiteLinkesFenster)
old_panes=$(stored Fenster)
restore Pos 0,0,800,560
restore BreiteLinkesFenster 250
restore Fenster 12

velmora_wine "$build/src/mainwindow/Velmora.exe" &
velmora=$!
window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Velmora -' | head -1)
sleep 1  # the splash has gone; let the bars finish painting
eval "$(xdotool getwindowgeometry --shell "$window")"

# The splitter stands at the left width in the client area, below the top bar.
client_left=$((X + 4))
panes_top=$((Y + 160))
split_x=$((client_left + 250 + 2))
xdotool mousemove "$split_x" $((panes_top + 80)) mousedown 1
xdotool mousemove $((split_x + 60)) $((panes_top + 80))
xdotool mousemove $((X + WIDTH + 40)) $((panes_top + 80)) mousemove $((split_x + 150)) $((Y + HEIGHT + 40))
xdotool mouseup 1
sleep 0.5
import -window root "$out/splitter-drag.png"

# A right click on the second row of the right pane opens the pane menu.
xdotool mousemove $((split_x + 200)) $((panes_top + 40)) click 3
sleep 0.5
import -window root "$out/popup-row.png"
xdotool key Escape

velmora_wine taskkill /im Velmora.exe > /dev/null 2>&1 || true
timeout 30 tail --pid=$velmora -f /dev/null || kill $velmora 2>/dev/null || true
wait $velmora || true
echo "Stored left width after the drag: $(stored BreiteLinkesFenster)"
restore Pos "$old_pos"
restore BreiteLinkesFenster "$old_width"
restore Fenster "$old_panes"
echo "Screenshots in $out"
