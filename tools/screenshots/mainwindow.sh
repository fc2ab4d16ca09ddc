#!/usr/bin/env bash
# Screenshot of Velmora's main window under Xvfb, for review:
#   mainwindow.png  the window as it first shows
# Usage: tools/screenshots/mainwindow.sh [output folder]   (after ./test.sh built everything)
# The window closes with Alt+F4 afterwards, so it saves its values as on a user's close.
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
out=$(realpath -m "${1:-$here/build/screenshots}")
build=${VELMORA_BUILD:-$here/build}
export VELMORA_WINEPREFIX=${VELMORA_WINEPREFIX:-$build/wineprefix}

if [ -z "${VELMORA_SCREENSHOT_DISPLAY:-}" ]; then
  exec env VELMORA_SCREENSHOT_DISPLAY=1 xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

source "$here/tools/wine-env.sh"
"$here/tools/wine-prefix.sh"
mkdir -p "$out"

velmora_wine "$build/src/mainwindow/Velmora.exe" &
velmora=$!
w=$(timeout 30 xdotool search --sync --onlyvisible --name '^Velmora -$' | head -1)
sleep 1  # the splash has gone; let the bars finish painting
import -window root "$out/mainwindow.png"
xdotool windowfocus --sync "$w" key alt+F4
wait $velmora || true
echo "Screenshot in $out"
