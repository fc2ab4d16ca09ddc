#!/usr/bin/env bash
# Screenshots of the file list pane in a test MDI frame under Xvfb, for review:
#   filelist-kind1.png  kind 1, the list view
#   filelist-kind2.png  kind 2, the report view with its columns
# on a sample folder the show program makes, with one file marked.
# Usage: tools/screenshots/filelist.sh [output folder]   (after ./test.sh built everything)
set -euo pipefail
source "$(dirname "$0")/common.sh"

for kind in 1 2; do
  # The program closes itself after 20 s, should the close below not reach it.
  velmora_wine "$build/tests/tools/FileListShow.exe" "$kind" - 20000 &
  show=$!
  w=$(timeout 30 xdotool search --sync --onlyvisible --name "^Velmora - Dateiliste \\(Art $kind\\)\$" | head -1)
  sleep 1  # rows, icons and the status line finish painting
  import -window "$w" "$out/filelist-kind$kind.png"
  velmora_wine taskkill /im FileListShow.exe > /dev/null 2>&1 || true
  timeout 30 tail --pid=$show -f /dev/null || kill $show 2>/dev/null || true
  wait $show || true
done
echo "Screenshots in $out"
