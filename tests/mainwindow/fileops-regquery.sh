#!/usr/bin/env bash
# Runs the file commands end to end, then lists with the system's registry tool
# what the run left: the places of the dialogs it moved, under "Dialoge", and the
# folders and files its dialogs added to the history lists (oldest first). The
# copy onto the small drive adds to the lists only where the fixture has one.
set -euo pipefail
tools=$1
program=$2
: "${VELMORA_WINEPREFIX:?}"
source "$tools/wine-env.sh"
velmora_wine "$program"
base='HKEY_USERS\.default\Software\Quorin Ashvale\Velmora\1.0'
status=0
# The values of Key as "name=data" lines, sorted.
values() {
  velmora_wine reg query "$base\\$1" | tr -d '\r' |
    awk '$2 == "REG_SZ" {name=$1; $1=""; $2=""; sub(/^  /, ""); print name "=" $0}' | sort
}
# Every expected line must be among the values; with "exact", nothing else either.
check() {
  local key=$1 mode=$2 expected=$3 actual missing
  actual=$(values "$key")
  echo "$key:"
  echo "$actual" | sed 's/^/  /'
  missing=$(comm -23 <(echo -e "$expected" | sort) <(echo "$actual"))
  if [ -n "$missing" ]; then
    echo "$key lacks:"; echo "$missing"; status=1
  fi
  if [ "$mode" = exact ] && [ "$actual" != "$(echo -e "$expected" | sort)" ]; then
    echo "$key holds more than expected"; status=1
  fi
}

# The lists oldest first, as the run adds to them; "s:" and the big file only
# where the fixture has its small drive.
small=yes
if [ -z "${VELMORA_FILETOOLS_FIXTURE:-}" ] || [ -e "$VELMORA_FILETOOLS_FIXTURE/no-small-drive.txt" ]; then
  small=no
fi
r='c:\vel-e2e'
dirs=("$r\kopie\ziel" "$r\neuername\ziel\kopie.txt" "$r\neuername\ziel\verschoben.txt")
files=("$r\kopie\quelle\a.txt" "$r\kopie\ziel" "$r\neuername\ziel\kopie.txt" "$r\neuername\quelle\brief.txt"
       "$r\neuername\ziel\verschoben.txt" "$r\neuername\quelle\notiz.txt")
if [ $small = yes ]; then
  dirs+=("s:")
  files+=("s:" "$r\voll\gross.bin")
fi
dirs+=("$r\links\ziel")
files+=("$r\loeschen\papierkorb-e2e.txt" "$r\loeschen\geheim.bin" "$r\loeschen\geheimordner" "$r\links\ziel")
# "0=first\n1=second ..." with every "\" doubled for echo -e.
numbered() {
  local i=0 out="" entry
  for entry in "$@"; do
    out+="$i=${entry//\\/\\\\}\n"
    i=$((i + 1))
  done
  printf '%s' "${out%\\n}"
}
# Other dialogs keep their places here too; a dialog that was never shown keeps none.
check Dialoge some 'DKopierenDlgPos=101,102\nDLoeschenDlgPos=111,112\nVerzErstDlgPos=121,122\nDUmbDlgPos=131,132\nAttrDlgPos=141,142'
if values Dialoge | grep -q '^DBearbDlgPos='; then
  echo "the list editor, never shown, kept a place"; status=1
fi
check RecentDirs exact "$(numbered "${dirs[@]}")"
check RecentFiles exact "$(numbered "${files[@]}")"
exit $status
