#!/usr/bin/env bash
# Screenshots of the help file in Wine's help viewer, for review:
#   help-f1.png             the topic "Ordner erstellen", opened by F1 in that
#                           dialog (F7 in Velmora's main window)
#   help-mainwindow-f1.png  what F1 in the main window itself shows
# Usage: tools/screenshots/help.sh [output folder]   (after ./test.sh built everything)
set -euo pipefail
source "$(dirname "$0")/common.sh"

# Waits (bounded) for a visible window whose title matches; prints its id.
window() { timeout 30 xdotool search --sync --onlyvisible --name "$1" | head -1; }
viewer='^Velmora-Hilfe'

velmora_wine "$build/src/mainwindow/Velmora.exe" &
velmora=$!
main=$(window '^Velmora -$')
sleep 1  # the splash has gone; let the bars finish painting

# The keys reach the window under the pointer (Xvfb has no window manager).
eval "$(xdotool getwindowgeometry --shell "$main")"
xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2))
xdotool key F7
dialog=$(window '^Ordner erstellen$')
sleep 0.5  # the dialog takes the focus
eval "$(xdotool getwindowgeometry --shell "$dialog")"
xdotool mousemove $((X + 20)) $((Y + 40)) key F1
help=$(window "$viewer")
sleep 1  # let the viewer lay out the topic
import -window root "$out/help-f1.png"
velmora_wine taskkill /im winhlp32.exe > /dev/null 2>&1 || true
timeout 30 sh -c "while xdotool search --onlyvisible --name '$viewer' > /dev/null; do sleep 0.2; done" || true
xdotool mousemove $((X + 20)) $((Y + 40)) key Escape

eval "$(xdotool getwindowgeometry --shell "$main")"
xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2)) key F1
help=$(window "$viewer")
sleep 1
import -window root "$out/help-mainwindow-f1.png"
velmora_wine taskkill /im winhlp32.exe > /dev/null 2>&1 || true

velmora_wine taskkill /im Velmora.exe > /dev/null 2>&1 || true
timeout 30 tail --pid=$velmora -f /dev/null || kill $velmora 2>/dev/null || true
wait $velmora || true
echo "Screenshots in $out"
