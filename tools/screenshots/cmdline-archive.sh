#!/usr/bin/env bash
# Screenshot of Velmora started with a ZIP archive as its argument, for review:
#   cmdline-archive.png  the folder tree on the left standing on the archive,
#                        the archive's folders and files on the right, its
#                        totals in the status line
# Usage: tools/screenshots/cmdline-archive.sh [output folder]   (after ./test.sh built everything)
# The archive is made afresh with Debian's zip. The window is closed as a user
# closes it; the pane kinds it stores are put back as they were.
set -euo pipefail
source "$(dirname "$0")/common.sh"
mainform='HKEY_USERS\.default\Software\Quorin Ashvale\Velmora\1.0\Mainform'

# Two folders (one with a sub-folder) and two files at the root, so that the
# pane shows the root itself rather than opening inside a single folder.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/src/dokumente/bilder" "$work/src/quellen"
printf 'Velmora Handbuch\r\n%.0s' $(seq 1 200) > "$work/src/dokumente/handbuch.txt"
head -c 3000 /dev/zero | tr '\0' 'B' > "$work/src/dokumente/bilder/titel.bmp"
printf 'int main(void) { return 0; }\r\n' > "$work/src/quellen/haupt.c"
printf 'Bitte zuerst lesen.\r\n%.0s' $(seq 1 40) > "$work/src/liesmich.txt"
printf 'Artikel;Preis\r\nSchraube;0,10\r\n' > "$work/src/preise.csv"
find "$work/src" -exec touch -d '2024-03-01 10:30' {} +
(cd "$work/src" && zip -q -r -X "$work/projekt.zip" dokumente quellen liesmich.txt preise.csv)

stored() {
  velmora_wine reg query "$mainform" /v "$1" 2>/dev/null | tr -d '\r' | awk -v n="$1" '$1 == n {print $3}' || true
}
old_kinds=$(stored Fenster)

velmora_wine "$build/src/mainwindow/Velmora.exe" "Z:${work//\//\\}\\projekt.zip" &
velmora=$!
window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Velmora -$' | head -1)
sleep 1  # the splash has gone; let the rows, icons and status line finish painting
import -window root "$out/cmdline-archive.png"

# Xvfb has no window manager: Wine's task tool sends WM_CLOSE as a user's close does.
velmora_wine taskkill /im Velmora.exe > /dev/null 2>&1 || true
timeout 30 tail --pid=$velmora -f /dev/null || kill $velmora 2>/dev/null || true
wait $velmora || true
if [ -n "$old_kinds" ]; then
  velmora_wine reg add "$mainform" /v Fenster /d "$old_kinds" /f > /dev/null
else
  velmora_wine reg delete "$mainform" /v Fenster /f > /dev/null 2>&1 || true
fi
echo "Screenshots in $out"
