#!/usr/bin/env bash
# Screenshot of the main window while an archive is extracted, for review:
#   arcprogress.png  the status line with the file being written, the progress
#                    bar and the Abort button beside it
# Usage: tools/screenshots/arcprogress.sh [output folder]   (after ./test.sh built everything)
# A ZIP of 20,000 small files (made afresh with Debian's zip) is given on the
# command line; F9 with Alt opens the extract dialog, the keys fill it in. The
# window is closed as a user closes it; the program's settings are put back.
set -euo pipefail
source "$(dirname "$0")/common.sh"
key='HKEY_USERS\.default\Software\Quorin Ashvale\Velmora'

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/src"
for d in $(seq 0 199); do
  mkdir "$work/src/ordner$d"
  for f in $(seq 0 99); do printf 'Datei %s\r\n' "$f" > "$work/src/ordner$d/datei$f.txt"; done
done
(cd "$work/src" && zip -q -r -X "$work/gross.zip" .)
mkdir "$work/ziel"
saved="$work/saved.reg"
had_key=0
velmora_wine reg export "$key" "Z:${saved//\//\\}" /y > /dev/null 2>&1 && had_key=1
win() { printf 'Z:%s' "${1//\//\\}"; }

velmora_wine "$build/src/mainwindow/Velmora.exe" "$(win "$work/gross.zip")" &
velmora=$!
# Without a window manager the keys go to the window under the pointer.
point_at() {
  local id
  id=$(window "$1")
  eval "$(xdotool getwindowgeometry --shell "$id")"
  xdotool mousemove --sync $((X + WIDTH / 2)) $((Y + 12))
}
point_at 'Velmora -'
# A click on the archive pane's caption makes it the active pane.
xdotool mousemove --sync $((X + WIDTH * 3 / 4)) $((Y + 152)) click 1
xdotool key alt+F9
point_at 'Dateien aus einem Archiv extrahieren'
xdotool key alt+d End shift+Home BackSpace
xdotool type --delay 20 '*.*'
xdotool key alt+n End shift+Home BackSpace
xdotool type --delay 20 "$(win "$work/ziel")"
xdotool key Return
point_at 'Velmora -'
sleep 1.5  # into the run: the status line has its text, the bar has moved
import -window "$(window 'Velmora -')" "$out/arcprogress.png"

velmora_wine taskkill /im Velmora.exe > /dev/null 2>&1 || true
timeout 120 tail --pid=$velmora -f /dev/null || kill $velmora 2>/dev/null || true
wait $velmora || true
velmora_wine reg delete "$key" /f > /dev/null 2>&1 || true
[ "$had_key" = 1 ] && velmora_wine reg import "Z:${saved//\//\\}" > /dev/null 2>&1
echo "Screenshots in $out"
