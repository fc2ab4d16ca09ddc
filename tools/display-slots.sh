# Sourced by test.sh: display slots, so that window tests run side by side.
# A slot is an X display (Xvfb) and a Wine prefix (a copy of the build's, so its
# own wineserver, registry and focus) of its own; CTest hands one slot to a window
# test that needs nothing else (cmake/Velmora.cmake), tools/wine-run.sh moves the
# test onto it. The build's own prefix and the display xvfb-run gives CTest stay
# with the tests that need more (a drive of their own, the start-up list).

# velmora_slots_start BUILD COUNT: starts the displays, makes the prefixes that are
# missing, writes BUILD/display-slots.json and exports VELMORA_DISPLAY_SLOTS.
velmora_slots_start() {
  local build=$1 count=$2 i fd_file display
  velmora_slot_pids=()
  velmora_slot_prefixes=()
  VELMORA_DISPLAY_SLOTS=""
  local spec='{"version":{"major":1,"minor":0},"local":[{"slots":['
  for ((i = 1; i <= count; i++)); do
    fd_file=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fd_file" >/dev/null 2>&1 &
    velmora_slot_pids+=($!)
    # Xvfb writes its display number once it accepts clients.
    for _ in $(seq 1 200); do
      [ -s "$fd_file" ] && break
      kill -0 "${velmora_slot_pids[-1]}" 2>/dev/null || break
      sleep 0.05
    done
    display=$(tr -d '\n' <"$fd_file")
    rm -f "$fd_file"
    if [ -z "$display" ]; then
      echo "Xvfb did not start a display for window-test slot $i (package xvfb, tools/setup.sh)" >&2
      return 1
    fi
    VELMORA_DISPLAY_SLOTS+="${VELMORA_DISPLAY_SLOTS:+ }:$display"
    local prefix="$VELMORA_WINEPREFIX-slot$i"
    velmora_slot_prefixes+=("$prefix")
    if [ ! -f "$prefix/.velmora-ready" ]; then
      # A copy of a prefix at rest: its server has written the registry out.
      WINEPREFIX="$VELMORA_WINEPREFIX" wineserver -w 2>/dev/null || true
      rm -rf "$prefix" "$prefix.tmp"
      cp -a "$VELMORA_WINEPREFIX" "$prefix.tmp"
      # Names the copied prefix's server folder: the copy must start its own.
      rm -f "$prefix.tmp/wineserver"
      mv "$prefix.tmp" "$prefix"
    fi
    spec+="{\"id\":\"$i\",\"slots\":1}"
    [ "$i" -lt "$count" ] && spec+=','
  done
  spec+=']}]}'
  printf '%s\n' "$spec" >"$build/display-slots.json"
  export VELMORA_DISPLAY_SLOTS
}

velmora_slots_stop() {
  local prefix pid
  for prefix in "${velmora_slot_prefixes[@]}"; do
    WINEPREFIX="$prefix" wineserver -k >/dev/null 2>&1 || true
  done
  for pid in "${velmora_slot_pids[@]}"; do
    kill "$pid" 2>/dev/null || true
  done
}
