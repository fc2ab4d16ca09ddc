#!/usr/bin/env bash
# Screenshots of Velmora's main window under Xvfb, for review:
#   mainwindow.png          the window as it first shows
#   toolbar.png             its title, menu bar and toolbar
#   menu-1-datei.png ... menu-6-hilfe.png
#                           each of the six menus of the menu bar opened
#   toolbar-narrow.png      the toolbar of a narrow window, scrolled to the fourth button
#   fkeys-plain.png, fkeys-ctrl.png, fkeys-alt.png
#                           the bottom of the window with the function-key bar:
#                           plain, with Ctrl held and with Alt held
# Usage: tools/screenshots/mainwindow.sh [output folder]   (after ./test.sh built everything)
# The window is closed afterwards as a user closes it, so it saves its values;
# the narrow window's place and first button are put back as they were.
set -euo pipefail
source "$(dirname "$0")/common.sh"
mainform='HKEY_USERS\.default\Software\Quorin Ashvale\Velmora\1.0\Mainform'

# Starts the window and sets X, Y and WIDTH to its place.
start() {
  velmora_wine "$build/src/mainwindow/Velmora.exe" &
  velmora=$!
  window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Velmora -$' | head -1)
  sleep 1  # the splash has gone; let the bars finish painting
  eval "$(xdotool getwindowgeometry --shell "$window")"
}
# Xvfb has no window manager to move the focus, so the close is asked for through
# Wine's own task tool, which sends the window WM_CLOSE like a user's close.
stop() {
  velmora_wine taskkill /im Velmora.exe > /dev/null 2>&1 || true
  timeout 30 tail --pid=$velmora -f /dev/null || kill $velmora 2>/dev/null || true
  wait $velmora || true
}
stored() {
  velmora_wine reg query "$mainform" /v "$1" 2>/dev/null | tr -d '\r' | awk -v n="$1" '$1 == n {print $3}'
}
restore() {  # name, value ('' deletes it)
  if [ -n "$2" ]; then
    velmora_wine reg add "$mainform" /v "$1" /d "$2" /f > /dev/null
  else
    velmora_wine reg delete "$mainform" /v "$1" /f > /dev/null 2>&1 || true
  fi
}

start
import -window root "$out/mainwindow.png"
# Title (drawn by Wine, no window manager), menu bar and the 97 pixels of the top bar.
convert "$out/mainwindow.png" -crop "${WIDTH}x150+${X}+${Y}" +repage "$out/toolbar.png"

# The function-key bar follows Ctrl and Alt while they are held; the keys reach
# the window under the pointer. Alt's release alone goes to the menu bar: Esc.
xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2))
fkeys() { import -window root -crop "${WIDTH}x70+${X}+$((Y + HEIGHT - 70))" +repage "$out/fkeys-$1.png"; }
fkeys plain
xdotool keydown ctrl
sleep 0.5
fkeys ctrl
xdotool keyup ctrl
xdotool keydown alt
sleep 0.5
fkeys alt
xdotool keyup alt
xdotool key Escape
sleep 0.3

# A click on "Datei" opens the first menu; the keys reach the window under the
# pointer: Esc back to the menu bar, Right to the next title, Down opens it.
xdotool mousemove $((X + 20)) $((Y + 33)) click 1
sleep 0.5
import -window root "$out/menu-1-datei.png"
n=2
for name in markierung suchen ansicht extras hilfe; do
  xdotool key Escape Right Down
  sleep 0.5
  import -window root "$out/menu-$n-$name.png"
  n=$((n + 1))
done
xdotool key Escape Escape
stop

# A window too narrow for the thirteen buttons shows the scroll arrows.
old_pos=$(stored Pos)
old_first=$(stored LeftBtn)
restore Pos 0,0,330,406
restore LeftBtn 4
start
import -window root -crop "${WIDTH}x150+${X}+${Y}" +repage "$out/toolbar-narrow.png"
stop
restore Pos "$old_pos"
restore LeftBtn "$old_first"
echo "Screenshots in $out"
