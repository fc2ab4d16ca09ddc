# Sourced by the drag scripts (the test and the screenshots): waits, windows,
# the screen's pixels and a drag by the real mouse (xdotool under Xvfb, no window
# manager: keys go to the window under the pointer). Needs wine-env.sh sourced,
# `work` (a scratch folder) and `program`/`droprec` (the two programs) set.

log=$work/rec.log

pids=()
finish() {
  velmora_wine taskkill /im Velmora.exe > /dev/null 2>&1 || true
  velmora_wine taskkill /im droprec.exe > /dev/null 2>&1 || true
  for pid in "${pids[@]}"; do
    timeout 30 tail --pid="$pid" -f /dev/null || kill "$pid" 2> /dev/null || true
    wait "$pid" 2> /dev/null || true
  done
  pids=()
}
source "$(dirname "${BASH_SOURCE[0]}")/xdo-wait.sh"
pixel() { import -window root -crop "1x1+$1+$2" -depth 8 txt:- 2> /dev/null | awk 'NR == 2 {print $3}'; }
# The 40 pixels right of the point show the highlight colour (a row drawn as the drop target).
highlighted() { import -window root -crop "40x1+$1+$2" -depth 8 txt:- 2> /dev/null | grep -qi "$highlight"; }
logged() { grep -q "$1" "$log" 2> /dev/null; }

# drag_to X0 Y0 X1 Y1 CHECK... : presses at the first point, moves in steps past
# the drag threshold to the second, holds Ctrl when CTRL=1, waits until CHECK
# succeeds (the target shows the drop), then releases.
drag_to() {
  local x0=$1 y0=$2 x1=$3 y1=$4 i
  shift 4
  xdotool mousemove --sync "$x0" "$y0" mousedown 1
  # First past the drag threshold inside the source: the list starts its drag
  # only on moves it sees itself.
  xdotool mousemove --sync $((x0 + 3)) $((y0 + 2))
  sleep 0.05
  xdotool mousemove --sync $((x0 + 8)) $((y0 + 4))
  sleep 0.05
  for i in 1 2 3 4 5 6 7 8 9 10; do
    xdotool mousemove --sync $((x0 + (x1 - x0) * i / 10)) $((y0 + (y1 - y0) * i / 10))
    sleep 0.05  # pacing between the steps of the hand
  done
  [ "${CTRL:-0}" = 1 ] && xdotool keydown ctrl
  # Small moves over the target until it shows the drop (bounded).
  for i in $(seq 1 100); do
    "$@" && break
    xdotool mousemove --sync $((x1 + i % 2)) "$y1"
    sleep 0.1
  done
  if ! "$@"; then
    echo "the target never showed the drop" >&2
    [ -n "${VELMORA_FAILURE_SHOT:-}" ] && import -window root "$VELMORA_FAILURE_SHOT"
    xdotool mouseup 1
    return 1
  fi
  [ -n "${SHOT:-}" ] && import -window root "$SHOT"
  xdotool mouseup 1
  [ "${CTRL:-0}" = 1 ] && xdotool keyup ctrl
  return 0
}

start_velmora() {
  velmora_wine "$program" "$(win "$1")" &
  pids+=($!)
  main=$(find_window '^Velmora -')
  eval "$(xdotool getwindowgeometry --shell "$main")"
}
start_droprec() {  # arguments for droprec; waits for its window
  rm -f "$log"
  velmora_wine "$droprec" /log "$(win "$log")" /at 820,100 "$@" &
  pids+=($!)
  wait_for "droprec ready" logged '^ready'
  rec=$(find_window '^droprec$')
}
# The rows of the list views of the main window, "count left" each, from droprec.
pane_rows() {
  local rows=$work/rows.log
  rm -f "$rows"
  velmora_wine "$droprec" /log "$(win "$rows")" /rows 'Velmora -' || true
  cat "$rows" 2> /dev/null || true
}
