#!/usr/bin/env bash
# Builds Velmora and starts it under Wine, in the build's own Wine prefix.
# Without a display of your own, it runs inside Xvfb.
set -euo pipefail
cd "$(dirname "$0")"
tools/setup.sh

build=${VELMORA_BUILD:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw32.cmake
cmake --build "$build" --target Velmora

export VELMORA_WINEPREFIX="$PWD/$build/wineprefix"
exe="$build/src/mainwindow/Velmora.exe"
if [ -n "${DISPLAY:-}" ]; then
  exec tools/wine-run.sh "$exe" "$@"
else
  exec xvfb-run -a -s "-screen 0 1280x1024x24" tools/wine-run.sh "$exe" "$@"
fi
