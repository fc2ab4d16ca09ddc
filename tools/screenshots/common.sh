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

# Waits (bounded) for a visible window whose title matches; prints its id.
# xdotool's patterns do not match umlauts here, so titles spell them ".+".
window() { timeout 60 xdotool search --sync --onlyvisible --name "^$1\$" | head -1; }

# shot SAMPLE "TITLE PATTERN" FILE [SECONDS]: starts $program with the sample,
# waits for its window and then a second (or as told) to let it paint, takes
# the window and closes it with Escape; a program still running after a
# bounded wait (a window without Cancel) is ended.
shot() {
  velmora_wine "$program" "$1" &
  local pid=$! w
  w=$(window "$2")
  sleep "${4:-1}"
  import -window "$w" "$out/$3"
  timeout 10 xdotool windowfocus --sync "$w" key Escape || true
  timeout 10 tail --pid="$pid" -f /dev/null || kill "$pid" || true
  wait "$pid" || true
}
