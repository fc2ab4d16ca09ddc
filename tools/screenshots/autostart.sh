#!/usr/bin/env bash
# Screenshots of the autostart programs under Xvfb, for review:
#   drommel-countdown.png  the autostarter counting down its first entry
#   kelvane-list.png       the manager with its list
#   kelvane-entry.png      the manager's entry dialog for the first row
# Usage: tools/screenshots/autostart.sh [output folder]   (after ./test.sh built everything)
# The autostart list of the build's Wine prefix is replaced by three sample entries.
set -euo pipefail
source "$(dirname "$0")/common.sh"

# A UTF-16 .reg file, so that the German texts arrive whatever the host's locale.
reg=$(mktemp --suffix=.reg)
key='HKEY_USERS\.default\Software\Quorin Ashvale\Autostartman'
{
  printf 'Windows Registry Editor Version 5.00\r\n\r\n[-%s]\r\n' "$key"
  entry() {  # position description file parameters wait action
    printf '\r\n[%s\\%s]\r\n' "$key" "$1"
    printf '"Beschreibung"="%s"\r\n"Dateiname"="%s"\r\n"Parameter"="%s"\r\n"Wartezeit"="%s"\r\n"Aktion"="%s"\r\n' \
      "$2" "${3//\\/\\\\}" "$4" "$5" "$6"
  }
  entry 0 "Texteditor für Notizen" 'c:\windows\notepad.exe' '' 25 0
  entry 1 "Registrierungseditor" 'c:\windows\regedit.exe' '' 10 1
  entry 2 "Versionsanzeige" 'c:\windows\system32\winver.exe' '' 0 0
} | iconv -f UTF-8 -t UTF-16 >"$reg"
velmora_wine regedit /s "$(winepath -w "$reg")"
rm -f "$reg"

# Waits (bounded) for a visible window with exactly that title; prints its id.
window() { timeout 30 xdotool search --sync --onlyvisible --name "^$1\$" | head -1; }
shot() { sleep 0.5; import -window "$1" "$out/$2"; }  # half a second to finish painting

velmora_wine "$build/src/autostart/starter/Drommel.exe" &
drommel=$!
w=$(window Autostarter)
sleep 2  # two ticks, so that the countdown has visibly moved
shot "$w" drommel-countdown.png
xdotool windowfocus --sync "$w" key alt+k
wait $drommel || true

[ -f "$build/src/autostart/manager/Kelvane.exe" ] || { echo "Screenshots in $out"; exit 0; }
velmora_wine "$build/src/autostart/manager/Kelvane.exe" &
kelvane=$!
w=$(window Autostartmanager)
shot "$w" kelvane-list.png
xdotool windowfocus --sync "$w" key Down key alt+b
d=$(window "Eintrag bearbeiten")
shot "$d" kelvane-entry.png
xdotool windowfocus --sync "$d" key Escape
xdotool windowfocus --sync "$w" key Escape
wait $kelvane || true
echo "Screenshots in $out"
