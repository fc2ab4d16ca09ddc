#!/usr/bin/env bash
# Screenshots of the archive dialogs with sample data, for review:
#   add.png, add2.png, add3.png            the add dialog, one per page
#   extract.png, extract2.png, extract3.png the extract dialog, one per page
#   contents.png, replace.png, password.png, delete.png, test.png,
#   properties.png, droppaths.png
# Usage: tools/screenshots/arcdialogs.sh [output folder]   (after ./test.sh built everything)
set -euo pipefail
source "$(dirname "$0")/common.sh"
program="$build/tests/tools/arcdialogshow.exe"

shot hinzufuegen "Dateien zu einem Archiv hinzuf.+gen" add.png
shot hinzufuegen2 "Dateien zu einem Archiv hinzuf.+gen" add2.png
shot hinzufuegen3 "Dateien zu einem Archiv hinzuf.+gen" add3.png
shot extrahieren "Dateien aus einem Archiv extrahieren" extract.png
shot extrahieren2 "Dateien aus einem Archiv extrahieren" extract2.png
shot extrahieren3 "Dateien aus einem Archiv extrahieren" extract3.png
shot inhalt "Inhalt von \[projekt.zip\]" contents.png
shot ersetzen "Best.+tigen" replace.png
shot passwort "Datei ist verschl.+sselt" password.png
shot loeschen "Aus Archiv l.+schen" delete.png
shot testen "Datei\(en\) in Archiv testen" test.png
shot eigenschaften "Eigenschaften von .+" properties.png
shot pfade "Pfadangaben komprimierter Dateien" droppaths.png

echo "Screenshots in $out"
