#!/usr/bin/env bash
# Makes the basket bench's files once, outside Wine (far faster): FOLDER/drop
# and FOLDER/held with 20,000 small files each. Kept for later runs.
#   tests/tools/basketbench/make-files.sh FOLDER
set -euo pipefail
dir=$1
for part in drop held; do
  mkdir -p "$dir/$part"
  [ -f "$dir/$part/f19999.txt" ] && continue
  (cd "$dir/$part" && for i in $(seq 0 19999); do printf '%s' "$i" > "f$i.txt"; done)
done
