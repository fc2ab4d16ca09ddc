#!/usr/bin/env bash
# Runs the column-width test, which leaves the widths a report pane saved when it
# became a list pane, then reads them with the system's registry tool.
set -euo pipefail
tools=$1
columns_test=$2
: "${VELMORA_WINEPREFIX:?}"
source "$tools/wine-env.sh"
velmora_wine "$columns_test"
key='HKEY_USERS\.default\Software\Quorin Ashvale\Velmora\1.0\Dialoge'
listing=$(velmora_wine reg query "$key" /v DListeColumns | tr -d '\r')
echo "$listing"
actual=$(echo "$listing" | awk '$1 == "DListeColumns" && $2 == "REG_SZ" {print $3}')
expected='125,140,50,115,35,85'
if [ "$actual" != "$expected" ]; then
  echo "DListeColumns is '$actual', expected '$expected'"
  exit 1
fi
