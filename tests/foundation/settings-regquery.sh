#!/usr/bin/env bash
# Runs the settings test, then lists the options key it left with the system's
# registry tool and checks that it holds exactly the fixed value names and the two
# stored folders.
set -euo pipefail
tools=$1
settings_test=$2
: "${VELMORA_WINEPREFIX:?}"
source "$tools/wine-env.sh"
velmora_wine "$settings_test" > /dev/null
key='HKEY_USERS\.default\Software\Quorin Ashvale\Velmora\1.0\Optionen'
listing=$(velmora_wine reg query "$key" | tr -d '\r')
echo "$listing"
actual=$(echo "$listing" | awk '$2 ~ /^REG_/ {print $1}' | sort)
expected=$(printf '%s\n' Dateiliste ADateiliste Sucherg ArcView Ansicht Best Arc ArcDragDrop \
  Sonst DragDrop ExtEdit StoredExt ZipPath UnZipPath Zip2ExePath ArjPath RarPath LhaPath \
  ZooPath PkPakPath PkUnPakPath OftBenVerz OBV0 OBV1 | sort)
if [ "$actual" != "$expected" ]; then
  echo "value names differ from the expected ones:"
  diff <(echo "$expected") <(echo "$actual") || true
  exit 1
fi
echo "all $(echo "$expected" | wc -l) value names present, nothing else"
