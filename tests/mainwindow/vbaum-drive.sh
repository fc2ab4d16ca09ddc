#!/usr/bin/env bash
# Makes (setup) or removes (cleanup) the folder tree tests' scratch drive: the
# prefix's letter y: pointing at an empty folder of the build tree. The monitors
# of the tree watch whole drives, and Wine reports changes at a drive's root.
set -euo pipefail
action=$1
dir=$2
: "${VELMORA_WINEPREFIX:?}"
devices="$VELMORA_WINEPREFIX/dosdevices"
rm -f "$devices/y:"
rm -rf "$dir"
if [ "$action" = setup ]; then
  mkdir -p "$dir" "$devices"
  ln -sfn "$dir" "$devices/y:"
  echo "scratch drive y: in $dir"
fi
