#!/usr/bin/env bash
# The splitter dragged with the real mouse (xdotool, inside the test run's Xvfb)
# and released below the window, outside the splitter: the drag still ends, so
# the window stores the new left width when it closes.
set -euo pipefail
tools=$1
program=$2
: "${VELMORA_WINEPREFIX:?}" "${DISPLAY:?}"
source "$tools/wine-env.sh"
mainform='HKEY_USERS\.default\Software\Quorin Ashvale\Velmora\1.0\Mainform'
stored() {
  velmora_wine reg query "$mainform" /v "$1" 2>/dev/null | tr -d '\r' | awk -v n="$1" '$1 == n {print $3}' || true
}
velmora_wine reg add "$mainform" /v Pos /d 0,0,800,560 /f > /dev/null
velmora_wine reg add "$mainform" /v BreiteLinkesFenster /d 250 /f > /dev/null
velmora_wine reg add "$mainform" /v Fenster /d 12 /f > /dev/null

velmora_wine "$program" &
velmora=$!
finish() {
  velmora_wine taskkill /im Velmora.exe > /dev/null 2>&1 || true
  timeout 30 tail --pid=$velmora -f /dev/null || kill $velmora 2>/dev/null || true
  wait $velmora 2>/dev/null || true
}
trap finish EXIT
window=$(timeout 60 xdotool search --sync --onlyvisible --name '^Velmora -' | head -1)
eval "$(xdotool getwindowgeometry --shell "$window")"

# The splitter stands at the left width in the client area, below the top bar.
split_x=$((X + 4 + 250 + 2))
row_y=$((Y + 240))
xdotool mousemove --sync "$split_x" "$row_y" mousedown 1
xdotool mousemove --sync $((split_x + 60)) "$row_y"
xdotool mousemove --sync $((split_x + 150)) $((Y + HEIGHT + 40))
xdotool mouseup 1
finish
trap - EXIT
width=$(stored BreiteLinkesFenster)
echo "stored left width: $width"
velmora_wine reg delete "$mainform" /f > /dev/null 2>&1 || true
[ "$width" = 400 ]
