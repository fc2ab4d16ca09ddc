#!/usr/bin/env bash
# Runs a Windows program under Wine in the build's own prefix, creating the prefix
# on first use. Used by CTest as the cross-compiling emulator and by run.sh.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
: "${VELMORA_WINEPREFIX:?must name the Wine prefix of the build}"
# A window test that CTest gave a display slot (tools/display-slots.sh) runs on
# that slot's own X display, Wine prefix and recycle bin.
if [ -n "${CTEST_RESOURCE_GROUP_0_SLOTS:-}" ] && [ -n "${VELMORA_DISPLAY_SLOTS:-}" ]; then
  slot=${CTEST_RESOURCE_GROUP_0_SLOTS#id:}
  slot=${slot%%,*}
  read -r -a displays <<<"$VELMORA_DISPLAY_SLOTS"
  export DISPLAY=${displays[slot - 1]}
  export VELMORA_WINEPREFIX="$VELMORA_WINEPREFIX-slot$slot"
  if [ -n "${XDG_DATA_HOME:-}" ]; then
    export XDG_DATA_HOME="$XDG_DATA_HOME-slot$slot"
    mkdir -p "$XDG_DATA_HOME"
  fi
fi
source "$here/wine-env.sh"
"$here/wine-prefix.sh"
velmora_wine "$@"
