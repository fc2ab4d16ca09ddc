#!/usr/bin/env bash
# Takes a screenshot of a program's window under Xvfb, in the build's Wine prefix:
#   tools/screenshot.sh PROGRAM.exe "WINDOW TITLE" out.png [program arguments...]
# Starts the program, waits for a visible window with that title, captures the
# whole screen and ends the program again.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
[ $# -ge 3 ] || { echo "usage: $0 PROGRAM TITLE OUT.png [ARGS...]" >&2; exit 2; }
program=$1; title=$2; out=$(realpath -m "$3"); shift 3
: "${VELMORA_WINEPREFIX:=$here/../build/wineprefix}"
export VELMORA_WINEPREFIX

if [ -z "${VELMORA_SCREENSHOT_INNER:-}" ]; then
  export VELMORA_SCREENSHOT_INNER=1
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$program" "$title" "$out" "$@"
fi

source "$here/wine-env.sh"
"$here/wine-prefix.sh"
velmora_wine "$program" "$@" &
pid=$!
window=""
for _ in $(seq 1 100); do
  window=$(xdotool search --onlyvisible --name "$title" 2>/dev/null | head -n1 || true)
  [ -n "$window" ] && break
  sleep 0.2
done
status=0
if [ -n "$window" ]; then
  sleep 1  # let the window finish painting
  import -window root "$out"
  echo "$out"
else
  echo "no visible window named \"$title\"" >&2
  status=1
fi
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
exit $status
