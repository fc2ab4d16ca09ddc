#!/usr/bin/env bash
# Screenshots of drags held by the real mouse (xdotool), taken while the button
# is still down, once the target shows the drop:
#   drag-row.png      a file held over a folder row of the other list: the row
#                     drawn highlighted
#   drag-basket.png   another program's file (droprec's) held over the basket
#                     icon: the icon raised
# Usage: tools/screenshots/dragdrop.sh [output folder]   (after ./test.sh built everything)
# The drag test takes them on its first run when given a folder; it puts the
# window's place, the panes and the drag options back as they were.
set -euo pipefail
source "$(dirname "$0")/common.sh"
"$here/tests/mainwindow/drop-drag.sh" "$here/tools" "$build/src/mainwindow/Velmora.exe" \
  "$build/tests/tools/droprec.exe" "$out"
echo "Screenshots in $out"
