#!/usr/bin/env bash
# Takes a picture of Velmora's main window under Xvfb: starts the window in the
# build's Wine prefix, waits until it is shown, photographs the screen and closes
# the window with Alt+F4 (so that it runs its close as a user's would).
#   tools/mainwindow-screenshot.sh [picture.png] [program.exe]
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh

build=${VELMORA_BUILD:-build}
out=$(realpath -m "${1:-$build/mainwindow.png}")
exe=${2:-$build/tests/tools/mainwindow_show.exe}
cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw32.cmake >/dev/null
[ -n "${2:-}" ] || cmake --build "$build" --target mainwindow_show

export VELMORA_WINEPREFIX="$PWD/$build/wineprefix"
tools/wine-prefix.sh

export exe out
xvfb-run -a -s "-screen 0 800x600x24" bash -c '
  set -euo pipefail
  tools/wine-run.sh "$exe" &
  pid=$!
  window=$(timeout 60 xdotool search --sync --onlyvisible --name "^Velmora$" | head -1)
  # The window is mapped; give it the moment it needs to paint its bars.
  sleep 2
  import -window root "$out"
  xdotool key --window "$window" alt+F4
  if ! timeout 30 tail --pid="$pid" -f /dev/null; then
    kill "$pid"
  fi
'
echo "$out"
