#!/usr/bin/env bash
# Runs the search-result pane's column-width test, which leaves the widths of
# both kinds, then reads them with the system's registry tool.
set -euo pipefail
tools=$1
window_test=$2
: "${VELMORA_WINEPREFIX:?}"
source "$tools/wine-env.sh"
velmora_wine "$window_test" --gtest_filter=Suchergebnis.ColumnWidthsAreStoredPerKind
key='HKEY_USERS\.default\Software\Quorin Ashvale\Velmora\1.0\Dialoge'
status=0
for pair in SuchergColumns=190,50,120 SammelkColumns=150,80,120; do
  name=${pair%%=*}
  expected=${pair#*=}
  listing=$(velmora_wine reg query "$key" /v "$name" | tr -d '\r')
  echo "$listing"
  actual=$(echo "$listing" | awk -v n="$name" '$1 == n && $2 == "REG_SZ" {print $3}')
  if [ "$actual" != "$expected" ]; then
    echo "$name is '$actual', expected '$expected'"
    status=1
  fi
done
exit $status
