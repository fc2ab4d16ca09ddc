#!/usr/bin/env bash
# Screenshots of the file-type windows and the association editor, for review:
#   associations.png (the editor with the prefix's registered types),
#   newassociation.png, deleteassociation.png, typeeditor.png, newtype.png,
#   markgroup.png and markgroup2.png (both pages of the group marking)
# Usage: tools/screenshots/filetypes.sh [output folder]   (after ./test.sh built everything)
set -euo pipefail
source "$(dirname "$0")/common.sh"
program="$build/tests/filetools/dialogschau.exe"

shot dokverkn "Dokumentverkn.+pfungen" associations.png
shot neuedokverkn "Neue Dokumentverkn.+pfung" newassociation.png
shot verknloeschen "Verkn.+pfung l.+schen" deleteassociation.png
shot typenbearbeiten "Dateitypen bearbeiten" typeeditor.png
shot neuertyp "Neuer Dateityp" newtype.png
shot gruppe "Gruppe markieren" markgroup.png
shot gruppe2 "Gruppe markieren" markgroup2.png
echo "Screenshots in $out"
