#!/usr/bin/env bash
# Screenshot of Velmora's main window under Xvfb, for review:
#   mainwindow.png  the window as it first shows
# Usage: tools/screenshots/mainwindow.sh [output folder]   (after ./test.sh built everything)
# The window is closed afterwards as a user closes it, so it saves its values.
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
# Xvfb has no window manager to move the focus, so the close is asked for through
# Wine's own task tool, which sends the window WM_CLOSE like a user's close.
velmora_wine taskkill /im Velmora.exe > /dev/null 2>&1 || true
timeout 30 tail --pid=$velmora -f /dev/null || kill $velmora 2>/dev/null || true
wait $velmora || true
echo "Screenshot in $out"
