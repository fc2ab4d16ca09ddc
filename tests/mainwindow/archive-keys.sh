#!/usr/bin/env bash
# Extracting and adding with the real keyboard (xdotool, inside the test run's
# Xvfb): Velmora started with a ZIP, Alt+F9 extracts every entry into a typed
# folder through the extract dialog, Alt+F5 adds a file through the add dialog.
# Usage: archive-keys.sh TOOLS VELMORA.EXE [SCREENSHOT.png]
set -euo pipefail
tools=$1
program=$2
shot=${3:-}
: "${VELMORA_WINEPREFIX:?}" "${DISPLAY:?}"
source "$tools/wine-env.sh"
settings='HKEY_USERS\.default\Software\Quorin Ashvale\Velmora\1.0'
stored() {
  velmora_wine reg query "$settings\\Mainform" /v "$1" 2>/dev/null | tr -d '\r' | awk -v n="$1" '$1 == n {print $3}' || true
}
old_kinds=$(stored Fenster)

work=$(mktemp -d)
mkdir -p "$work/src/texte" "$work/ziel"
printf 'erste Datei\r\n' > "$work/src/a.txt"
printf 'zweite Datei\r\n' > "$work/src/texte/b.txt"
printf 'neue Datei\r\n' > "$work/neu.txt"
(cd "$work/src" && zip -q -r -X "$work/projekt.zip" a.txt texte)
win() { printf 'Z:%s' "${1//\//\\}"; }

velmora_wine "$program" "$(win "$work/projekt.zip")" &
velmora=$!
finish() {
  velmora_wine taskkill /im Velmora.exe > /dev/null 2>&1 || true
  timeout 30 tail --pid=$velmora -f /dev/null || kill $velmora 2>/dev/null || true
  wait $velmora 2>/dev/null || true
  if [ -n "$old_kinds" ]; then
    velmora_wine reg add "$settings\\Mainform" /v Fenster /d "$old_kinds" /f > /dev/null
  else
    velmora_wine reg delete "$settings\\Mainform" /v Fenster /f > /dev/null 2>&1 || true
  fi
  for key in AddArcDlg ExArcDlg; do
    velmora_wine reg delete "$settings\\$key" /f > /dev/null 2>&1 || true
  done
  rm -rf "$work"
}
trap finish EXIT

source "$(dirname "$0")/xdo-wait.sh"
# Without a window manager the keys go to the window under the pointer: the
# pointer goes onto the window a user would be typing into.
point_at() {
  local id
  id=$(find_window "$1")
  eval "$(xdotool getwindowgeometry --shell "$id")"
  xdotool mousemove --sync $((X + WIDTH / 2)) $((Y + 12))
}
clear_and_type() {
  xdotool key --delay 30 End shift+Home BackSpace
  xdotool type --delay 20 "$1"
}

main=$(find_window '^Velmora -')
eval "$(xdotool getwindowgeometry --shell "$main")"
# A click into the archive pane's empty area below its rows makes it the active pane.
xdotool mousemove --sync $((X + WIDTH * 3 / 4)) $((Y + HEIGHT - 80)) click 1

xdotool key alt+F9
point_at '^Dateien aus einem Archiv extrahieren$'
xdotool key alt+d
clear_and_type '*.*'
xdotool key alt+n
clear_and_type "$(win "$work/ziel")"
xdotool key Return
wait_for "the extracted files" test -f "$work/ziel/a.txt"
# Where the folder's file lands follows the dialog's path choice: either way whole.
wait_for "the file from the folder" sh -c "find '$work/ziel' -name b.txt | grep -q ."
cmp "$work/src/texte/b.txt" "$(find "$work/ziel" -name b.txt | head -1)"

point_at '^Velmora -'
xdotool key alt+F5
point_at '^Dateien zu einem Archiv hinzuf.+gen$'
xdotool key alt+a
clear_and_type "$(win "$work/projekt.zip")"
xdotool key alt+d
clear_and_type "$(win "$work/neu.txt")"
xdotool key Return
wait_for "the added file" sh -c "unzip -l '$work/projekt.zip' 2>/dev/null | grep -q 'neu.txt'"
unzip -p "$work/projekt.zip" '*neu.txt' | cmp - "$work/neu.txt"
unzip -l "$work/projekt.zip"
if [ -n "$shot" ]; then
  point_at '^Velmora -'
  sleep 1  # the pane has read the archive again; let it paint
  import -window root "$shot"
fi
echo "extracted and added through the dialogs"
