#!/usr/bin/env bash
# Builds Velmora and starts it under Wine, in the build's own Wine prefix.
# Without a display of your own, it runs inside Xvfb.
set -euo pipefail
cd "$(dirname "$0")"
tools/setup.sh
source tools/windows-target.sh

build=${VELMORA_BUILD:-$velmora_default_build}
cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$velmora_toolchain"
cmake --build "$build"

export VELMORA_WINEPREFIX="$PWD/$build/wineprefix"
exe="$build/src/mainwindow/Velmora.exe"
if [ ! -f "$exe" ]; then
  echo "Velmora.exe is not part of this build yet: only its libraries and tests were built." >&2
  exit 1
fi
if [ -n "${DISPLAY:-}" ]; then
  exec tools/wine-run.sh "$exe" "$@"
else
  exec xvfb-run -a -s "-screen 0 1280x1024x24" tools/wine-run.sh "$exe" "$@"
fi
