#!/usr/bin/env bash
# Runs the history state test, then lists the five history keys it left with the
# system's registry tool: the path lists oldest first, parameters and command lines
# newest first.
set -euo pipefail
tools=$1
state_test=$2
: "${VELMORA_WINEPREFIX:?}"
source "$tools/wine-env.sh"
velmora_wine "$state_test"
base='HKEY_USERS\.default\Software\Quorin Ashvale\Velmora\1.0'
status=0
check() {
  local key=$1 expected=$2
  local listing actual
  listing=$(velmora_wine reg query "$base\\$key" | tr -d '\r')
  echo "$listing"
  actual=$(echo "$listing" | awk '$2 == "REG_SZ" {name=$1; $1=""; $2=""; sub(/^  /, ""); print name "=" $0}' | sort)
  if [ "$actual" != "$(echo -e "$expected" | sort)" ]; then
    echo "$key differs from the expected entries:"
    diff <(echo -e "$expected" | sort) <(echo "$actual") || true
    status=1
  fi
}
check 'RecentDirs' '0=c:\\eins\n1=c:\\zwei'
check 'RecentFiles' '0=c:\\eins\n1=c:\\zwei\n2=c:\\a.zip\n3=c:\\datei.txt'
check 'RecentArcs' '0=c:\\a.zip'
check 'RecentParameters' '0=-B\n1=-a'
check 'Mainform\DOSBefehlszeile' '0=CLS\n1=dir'
exit $status
