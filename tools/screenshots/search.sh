#!/usr/bin/env bash
# Screenshots of the file search, for review:
#   search-parameter.png, search-options.png   "Datei suchen", both pages
#   search-running.png, search-done.png        "Suchfortschritt" during and after
#   search-panes.png                           a search result and a basket side by side
# Usage: tools/screenshots/search.sh [output folder]   (after ./test.sh built everything)
set -euo pipefail
source "$(dirname "$0")/common.sh"
program="$build/tests/tools/SuchenSchau.exe"

# A small tree to search.
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
mkdir -p "$tree/briefe" "$tree/rechnungen"
for n in brief.txt notizen.txt; do head -c 3000 /dev/zero | tr '\0' 'b' > "$tree/$n"; done
for n in anna.doc bernd.doc clara.txt; do head -c 1536 /dev/zero | tr '\0' 'c' > "$tree/briefe/$n"; done
for n in 2024-01.txt 2024-02.txt 2024-03.txt leer.txt; do : > "$tree/rechnungen/$n"; done
head -c 2560 /dev/zero | tr '\0' 'r' > "$tree/rechnungen/2024-01.txt"
folder="Z:${tree//\//\\}"

# Waits (bounded) for a visible window whose title matches; prints its id.
window() { timeout 30 xdotool search --sync --onlyvisible --name "^$1\$" | head -1; }

# shot WHAT "TITLE PATTERN" FILE [PAUSE]: shows it, takes its window, lets it close itself.
shot() {
  velmora_wine "$program" "$1" "$folder" "${5:-6000}" &
  local pid=$! w
  w=$(window "$2")
  sleep "${4:-1}"
  import -window "$w" "$out/$3"
  wait $pid || true
}

shot parameter "Datei suchen" search-parameter.png
shot optionen "Datei suchen" search-options.png
shot laeuft "Suchfortschritt" search-running.png 1.2
shot fertig "Suchfortschritt" search-done.png 2
shot panes "Velmora - Suchergebnis" search-panes.png
echo "Screenshots in $out"
