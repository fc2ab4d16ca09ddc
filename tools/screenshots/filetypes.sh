#!/usr/bin/env bash
# Screenshots of the file-type windows and the association editor, for review:
#   associations.png (the editor with the prefix's registered types),
#   newassociation.png, deleteassociation.png, typeeditor.png, newtype.png,
#   markgroup.png and markgroup2.png (both pages of the group marking)
# Usage: tools/screenshots/filetypes.sh [output folder]   (after ./test.sh built everything)
set -euo pipefail
source "$(dirname "$0")/common.sh"
program="$build/tests/filetools/dialogschau.exe"

# Waits (bounded) for a visible window whose title matches; prints its id.
# xdotool's patterns do not match umlauts here, so the titles below spell them ".+".
window() { timeout 60 xdotool search --sync --onlyvisible --name "^$1\$" | head -1; }

# shot SAMPLE "TITLE PATTERN" FILE: shows the sample, takes its window, closes it.
shot() {
  velmora_wine "$program" "$1" &
  local pid=$! w
  w=$(window "$2")
  sleep 1  # let it finish painting
  import -window "$w" "$out/$3"
  # Escape closes every one of them but the delete choice, which has no Cancel
  # button: a program still running after a bounded wait is ended.
  timeout 10 xdotool windowfocus --sync "$w" key Escape || true
  timeout 10 tail --pid="$pid" -f /dev/null || kill "$pid" || true
  wait "$pid" || true
}

shot dokverkn "Dokumentverkn.+pfungen" associations.png
shot neuedokverkn "Neue Dokumentverkn.+pfung" newassociation.png
shot verknloeschen "Verkn.+pfung l.+schen" deleteassociation.png
shot typenbearbeiten "Dateitypen bearbeiten" typeeditor.png
shot neuertyp "Neuer Dateityp" newtype.png
shot gruppe "Gruppe markieren" markgroup.png
shot gruppe2 "Gruppe markieren" markgroup2.png
echo "Screenshots in $out"
