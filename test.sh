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

# The program we ship is the i686 build. Where this kernel cannot run it, the tests
# run the 64-bit stand-in, and the i686 build is still compiled and linked, so that
# what we ship never rots unseen.
if [ "$velmora_toolchain" != cmake/toolchain-mingw32.cmake ]; then
  echo "NOTE: compiling and linking the shipped i686 build in build/ (this kernel cannot run it)." >&2
  cmake -S . -B build -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw32.cmake -DVELMORA_WITH_NATIVE=OFF
  cmake --build build
  echo "NOTE: the tests below run the 64-bit stand-in in $build/." >&2
fi

export VELMORA_WINEPREFIX="$PWD/$build/wineprefix"
tools/wine-prefix.sh

# Window tests run side by side in display slots of their own, beside the
# display xvfb-run gives the rest.
source tools/display-slots.sh
trap velmora_slots_stop EXIT
velmora_slots_start "$build" "${VELMORA_DISPLAY_SLOT_COUNT:-3}"

# One CTest run for all labels; xvfb-run gives the window tests their display.
xvfb-run -a -s "-screen 0 1280x1024x24" \
  ctest --test-dir "$build" --output-on-failure -j "$(nproc)" \
    --resource-spec-file "$PWD/$build/display-slots.json" "$@"
