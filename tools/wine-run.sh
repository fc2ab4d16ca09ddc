#!/usr/bin/env bash
# Runs a Windows program under Wine in the build's own prefix, creating the prefix
# on first use. Used by CTest as the cross-compiling emulator and by run.sh.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
: "${VELMORA_WINEPREFIX:?must name the Wine prefix of the build}"
source "$here/wine-env.sh"
"$here/wine-prefix.sh"
velmora_wine "$@"
