# Sourced by the scripts that drive Velmora with the real mouse and keys
# (xdotool under Xvfb): bounded waits for a condition and for a window.

# Waits (bounded) until the command succeeds.
wait_for() {
  local what=$1
  shift
  for _ in $(seq 1 300); do
    "$@" && return 0
    sleep 0.1
  done
  echo "not reached: $what" >&2
  [ -n "${VELMORA_FAILURE_SHOT:-}" ] && import -window root "$VELMORA_FAILURE_SHOT"
  return 1
}
# The first visible window of that name, waited for (bounded). A search can
# fail outright while windows come and go (the splash): it is simply repeated.
find_window() {
  local id
  for _ in $(seq 1 600); do
    id=$(xdotool search --onlyvisible --name "$1" 2> /dev/null | head -1 || true)
    if [ -n "$id" ] && xdotool getwindowgeometry "$id" > /dev/null 2>&1; then
      echo "$id"
      return 0
    fi
    sleep 0.1
  done
  echo "no window: $1" >&2
  return 1
}
