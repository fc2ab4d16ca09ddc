#!/usr/bin/env bash
# Builds everything and runs every test: the Windows build under Wine (window
# tests inside Xvfb) and the portable libraries natively with sanitizers.
set -euo pipefail
cd "$(dirname "$0")"
tools/setup.sh
source tools/windows-target.sh

build=${VELMORA_BUILD:-$velmora_default_build}
cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$velmora_toolchain"
cmake --build "$build"

export VELMORA_WINEPREFIX="$PWD/$build/wineprefix"
tools/wine-prefix.sh

# One CTest run for all labels; xvfb-run gives the window tests their display.
xvfb-run -a -s "-screen 0 1280x1024x24" \
  ctest --test-dir "$build" --output-on-failure -j "$(nproc)" "$@"
