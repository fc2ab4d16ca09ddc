# The start every screenshot script shares; each sources it first, with its own
# arguments. Sets `here` (the source tree), `out` (the first argument, else
# build/screenshots), `build` (VELMORA_BUILD, else build; made absolute, since
# Wine needs an absolute prefix) and the Wine prefix; runs the script again
# inside Xvfb; prepares Wine and the output folder.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
out=$(realpath -m "${1:-$here/build/screenshots}")
build=$(realpath -m "${VELMORA_BUILD:-$here/build}")
export VELMORA_WINEPREFIX=${VELMORA_WINEPREFIX:-$build/wineprefix}

if [ -z "${VELMORA_SCREENSHOT_DISPLAY:-}" ]; then
  exec env VELMORA_SCREENSHOT_DISPLAY=1 xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

source "$here/tools/wine-env.sh"
"$here/tools/wine-prefix.sh"
mkdir -p "$out"
