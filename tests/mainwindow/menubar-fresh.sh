#!/usr/bin/env bash
# The program's first run on a fresh Wine prefix: each of the six menus of the
# menu bar opens under a real click on its title (xdotool, inside the test run's
# Xvfb). An opened menu is one more visible window of the program.
set -euo pipefail
tools=$1
program=$2
fresh=$3
: "${DISPLAY:?}"
rm -rf "$fresh"
export VELMORA_WINEPREFIX=$fresh
"$tools/wine-prefix.sh"
source "$tools/wine-env.sh"

velmora_wine "$program" &
velmora=$!
finish() {
  velmora_wine taskkill /im Velmora.exe > /dev/null 2>&1 || true
  timeout 30 tail --pid=$velmora -f /dev/null || kill $velmora 2>/dev/null || true
  wait $velmora 2>/dev/null || true
  wineserver -k 2>/dev/null || true
  rm -rf "$fresh"
}
trap finish EXIT
window=$(timeout 60 xdotool search --sync --onlyvisible --name '^Velmora -' | head -1)
eval "$(xdotool getwindowgeometry --shell "$window")"
visible() { xdotool search --onlyvisible --name '' 2>/dev/null | wc -l; }
# Waits at most ten seconds for the count of visible windows to reach $1.
wait_visible() {
  local end=$((SECONDS + 10))
  while [ "$(visible)" -lt "$1" ]; do
    [ $SECONDS -lt $end ] || return 1
  done
}
# The splash ("Velmora") goes right after the main window stands.
end=$((SECONDS + 10))
while xdotool search --onlyvisible --name '^Velmora$' > /dev/null 2>&1 && [ $SECONDS -lt $end ]; do :; done
closed=$(visible)
status=0
# The titles' middles on the bar, from the left edge of the client area.
for title in Datei:20 Markierung:75 Suchen:140 Ansicht:192 Extras:240 Hilfe:279; do
  name=${title%%:*}
  x=${title##*:}
  xdotool mousemove --sync $((X + x)) $((Y + 33)) click 1
  if wait_visible $((closed + 1)); then
    echo "$name: open"
  else
    echo "$name: no menu opened"
    status=1
  fi
  xdotool key Escape Escape
done
exit $status
