#!/usr/bin/env bash
# The README's picture of the main window:
#   velmora.png  the main window of Velmora started with a ZIP archive as its
#                argument: the archive's folders and files in the right pane,
#                the left pane switched to a file list of the archive's folder
#                by the menu "Ansicht" > "Links" > "Dateiliste", as a user does it
# Usage: tools/screenshots/readme.sh [output folder]   (default docs/; after ./test.sh built everything)
# The archive is made afresh with Debian's zip. The window is closed as a user
# closes it; the program's registry key is put back as it was before.
set -euo pipefail
source "$(dirname "$0")/common.sh" "${1:-$(cd "$(dirname "$0")/../.." && pwd)/docs}"
key='HKEY_USERS\.default\Software\Quorin Ashvale\Velmora'

# Two folders (one with a sub-folder) and three files at the root, so that the
# pane shows the root itself rather than opening inside a single folder. The
# file list shows the folder "projekte" with the archive and two files; the
# sources and the registry copy stay beside it.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/src/dokumente/bilder" "$work/src/quellen"
printf 'Velmora Handbuch\r\n%.0s' $(seq 1 200) > "$work/src/dokumente/handbuch.txt"
head -c 3000 /dev/zero | tr '\0' 'B' > "$work/src/dokumente/bilder/titel.bmp"
printf 'int main(void) { return 0; }\r\n' > "$work/src/quellen/haupt.c"
printf 'Bitte zuerst lesen.\r\n%.0s' $(seq 1 40) > "$work/src/liesmich.txt"
printf 'Artikel;Preis\r\nSchraube;0,10\r\n' > "$work/src/preise.csv"
head -c 20000 /dev/urandom > "$work/src/daten.bin"
find "$work/src" -exec touch -d '2024-03-01 10:30' {} +
mkdir "$work/projekte"
(cd "$work/src" && zip -q -r -X "$work/projekte/projekt.zip" dokumente quellen liesmich.txt preise.csv daten.bin)
cp -p "$work/src/liesmich.txt" "$work/src/preise.csv" "$work/projekte/"

# Everything the run changes below the program's key (pane kinds, window
# position, history lists) is put back from this copy afterwards.
saved="$work/saved.reg"
had_key=0
if velmora_wine reg export "$key" "Z:${saved//\//\\}" /y > /dev/null 2>&1; then
  had_key=1
fi

velmora_wine "$build/src/mainwindow/Velmora.exe" "Z:${work//\//\\}\\projekte\\projekt.zip" &
velmora=$!
window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Velmora -$' | head -1)
sleep 1  # the splash has gone; let the rows, icons and status line finish painting

# The keys reach the window under the pointer (Xvfb has no window manager).
eval "$(xdotool getwindowgeometry --shell "$window")"
xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2))
xdotool key alt+a
sleep 0.3
xdotool key l
sleep 0.3
xdotool key d
sleep 2  # the new file list reads its folder, the status line counts, both paint
import -window "$window" "$out/velmora.png"
echo "$out/velmora.png"

# Xvfb has no window manager: Wine's task tool sends WM_CLOSE as a user's close does.
velmora_wine taskkill /im Velmora.exe > /dev/null 2>&1 || true
timeout 30 tail --pid=$velmora -f /dev/null || kill $velmora 2>/dev/null || true
wait $velmora || true
velmora_wine reg delete "$key" /f > /dev/null 2>&1 || true
if [ "$had_key" = 1 ]; then
  velmora_wine reg import "Z:${saved//\//\\}" > /dev/null
fi
