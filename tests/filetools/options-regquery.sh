#!/usr/bin/env bash
# Runs the options test that writes the settings after one click on the
# enclosing box and a typed list of uncompressed types, then reads both values
# with the system's registry tool.
set -euo pipefail
tools=$1
options_test=$2
: "${VELMORA_WINEPREFIX:?}"
source "$tools/wine-env.sh"
velmora_wine "$options_test" --gtest_filter='*RegistryWrittenOptionsReadBackEqual' > /dev/null
key='HKEY_USERS\.default\Software\Quorin Ashvale\Velmora\1.0\Optionen'
listing=$(velmora_wine reg query "$key" | tr -d '\r')
value() { echo "$listing" | awk -v name="$1" '$1 == name && $2 ~ /^REG_/ {print $3}'; }
status=0
[ "$(value Dateiliste)" = '111111110[]' ] || { echo "Dateiliste is '$(value Dateiliste)'"; status=1; }
[ "$(value StoredExt)" = '.zip;.ARJ' ] || { echo "StoredExt is '$(value StoredExt)'"; status=1; }
[ $status = 0 ] && echo "Dateiliste and StoredExt as written by the dialog"
exit $status
