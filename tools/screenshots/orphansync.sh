#!/usr/bin/env bash
# Screenshots of the orphaned-file search and the folder synchronisation, for review:
#   orphans.png, orphansrunning.png, orphanschoice.png   the three orphan dialogs
#   sync.png, syncrunning.png                            parameters, and a finished run with its log
# Usage: tools/screenshots/orphansync.sh [output folder]   (after ./test.sh built everything)
set -euo pipefail
source "$(dirname "$0")/common.sh"
program="$build/tests/filetools/dialogschau.exe"

shot leichen "Dateileichen suchen" orphans.png
shot leichenlaeuft "Dateileichen suchen" orphansrunning.png
shot leichenauswahl "Dateileichen suchen" orphanschoice.png
shot synch "Verzeichnisse synchronisieren" sync.png
shot synchlaeuft "Synchronisations-Fortschritt" syncrunning.png 2
echo "Screenshots in $out"
