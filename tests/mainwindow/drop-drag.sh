#!/usr/bin/env bash
# Drags with the real mouse (xdotool, inside the test run's Xvfb): between the
# panes, out of an archive pane, and to and from another program, droprec, which
# takes what is dropped on it into a folder and logs it. Two runs of the program:
#  1. a file Ctrl-dragged onto a folder row of the other list is moved there;
#     droprec's own file dragged onto the basket icon is in the basket once;
#  2. two archive entries (a file, a folder) Ctrl-dragged onto droprec, which
#     answers the move with a copy, arrive as real files and stay in the archive;
#     dragged onto the other file list they are extracted; with Ctrl they leave
#     the archive too, and the archive pane is read again.
# Before each release the script waits (bounded) until the target shows the drop
# on the screen: the row highlighted, the basket icon raised, droprec entered.
# Usage: drop-drag.sh TOOLS VELMORA.EXE DROPREC.EXE [SHOT-FOLDER]
# With a shot folder it stops after the first run's drags were held, leaving
# drag-row.png and drag-basket.png (the screenshot script uses it so).
set -Eeuo pipefail
tools=$1
program=$2
droprec=$3
shots=${4:-}
: "${VELMORA_WINEPREFIX:?}" "${DISPLAY:?}"
source "$tools/wine-env.sh"
settings='HKEY_USERS\.default\Software\Quorin Ashvale\Velmora\1.0'
stored() {  # key, value name
  velmora_wine reg query "$settings\\$1" /v "$2" 2>/dev/null | tr -d '\r' | awk -v n="$2" '$1 == n {print $3}' || true
}
restore() {  # key, value name, value ('' deletes it)
  if [ -n "$3" ]; then
    velmora_wine reg add "$settings\\$1" /v "$2" /d "$3" /f > /dev/null
  else
    velmora_wine reg delete "$settings\\$1" /v "$2" /f > /dev/null 2>&1 || true
  fi
}
saved=()
for kv in Mainform:Pos Mainform:BreiteLinkesFenster Mainform:Fenster Optionen:DragDrop Optionen:ArcDragDrop; do
  saved+=("$kv=$(stored "${kv%%:*}" "${kv#*:}")")
done
restore Mainform Pos 0,0,800,560
restore Mainform BreiteLinkesFenster 390
restore Mainform Fenster 22
# No copy or move dialog; entries leave the archive with their paths, unasked.
restore Optionen DragDrop 0000
restore Optionen ArcDragDrop 00000021

work=$(mktemp -d)
win() { printf 'Z:%s' "${1//\//\\}"; }
mkdir -p "$work/liste/ordner" "$work/src/texte" "$work/src/weitere" "$work/rec" "$work/recdir" "$work/eigen"
printf 'verschoben\r\n' > "$work/liste/datei.txt"
printf 'erste Datei\r\n' > "$work/src/a.txt"
printf 'zweite Datei\r\n' > "$work/src/texte/b.txt"
printf 'bleibt\r\n' > "$work/src/zzz.txt"
printf 'dritte Datei\r\n' > "$work/src/weitere/c.txt"
(cd "$work/src" && zip -q -r -X "$work/liste/projekt.zip" a.txt texte weitere zzz.txt)
printf 'von droprec\r\n' > "$work/eigen/korb.txt"
cleanup() {
  finish
  for kv in "${saved[@]}"; do
    local name=${kv%%=*}
    restore "${name%%:*}" "${name#*:}" "${kv#*=}"
  done
  rm -rf "$work"
}
trap cleanup EXIT
trap 'echo "failed at line $LINENO: $BASH_COMMAND" >&2' ERR
source "$(dirname "$0")/drag-common.sh"


# ---- Run 1: two file lists of one folder.
start_velmora "$work/liste"
highlight='#3096FA'
# The lists' tops on the screen (the bars above them vary); rows are 17 pixels
# high, the first centred 10 below the top; an archive pane has a header row.
both_tops() {
  ltop='' rtop=''
  eval "$(pane_rows | awk -v mid=$((X + 390)) '$1 == "rows" {print ($4 > mid ? "rtop" : "ltop") "=" $6}')"
  [ -n "$ltop" ] && [ -n "$rtop" ]
}
list_tops() { wait_for "both lists" both_tops; }
row_y() { echo $((ltop + 10 + 17 * $1)); }  # left list: 0 is "..", 1 "ordner"
rrow_y() { echo $((rtop + 10 + 17 * $1)); }
left_x=$((X + 47))
right_x=$((X + 440))
list_tops
basket_raised() { [ "$(pixel $((X + 760)) $((Y + 46)))" = '#FFFFFF' ]; }

# The file (row 2 of the left list) Ctrl-dragged onto the folder row of the right one.
CTRL=1 SHOT=${shots:+$shots/drag-row.png} drag_to "$left_x" "$(row_y 2)" "$right_x" "$(rrow_y 1)" \
  highlighted $((right_x - 10)) "$(rrow_y 1)"
wait_for "the moved file" test -f "$work/liste/ordner/datei.txt"
wait_for "the file gone from its folder" test ! -e "$work/liste/datei.txt"
echo "moved onto the folder row"

# droprec's own file dragged onto the basket icon.
start_droprec /drag "$(win "$work/eigen/korb.txt")"
eval "$(xdotool getwindowgeometry --shell --prefix R "$rec")"
SHOT=${shots:+$shots/drag-basket.png} drag_to $((RX + RWIDTH / 2)) $((RY + RHEIGHT / 2)) $((X + 774)) $((Y + 69)) \
  basket_raised
wait_for "droprec's drag ended" logged '^dragged copy'
[ -n "$shots" ] && exit 0
# The right pane shows the basket (Ansicht, Rechts, Inhalt des Sammelkorbes): one row.
xdotool mousemove --sync $((right_x + 100)) $((Y + 400)) click 1
xdotool key alt+a r k
right_rows() { [ "$(pane_rows | awk -v mid=$((X + 390)) '$1 == "rows" && $4 > mid {print $2}')" = "$1" ]; }
wait_for "the basket in the right pane, one row" right_rows 1
echo "basket holds the file once"
# The right pane a file list again, as the next run wants it.
xdotool key alt+a r d
wait_for "the list in the right pane" right_rows 3
finish

# ---- Run 2: the archive opened in the right list by a double click.
start_velmora "$work/liste"
list_tops
xdotool mousemove --sync "$right_x" "$(rrow_y 2)" click --repeat 2 1
# The archive's rows, below a header row: the folders "texte" and "weitere",
# a.txt, zzz.txt.
wait_for "the archive in the right pane" right_rows 4
list_tops
mark_rows() {  # two rows marked, the second (where the drag starts) first: a press
  # where the last click was would make a double click
  xdotool mousemove --sync "$right_x" "$(rrow_y "$2")" click 1
  xdotool keydown ctrl mousemove --sync "$right_x" "$(rrow_y "$1")" click 1 keyup ctrl
}
onto_folder_row() { drag_to "$right_x" "$(rrow_y "$1")" "$left_x" "$(row_y 1)" highlighted $((left_x - 10)) "$(row_y 1)"; }
listed() { unzip -l "$work/liste/projekt.zip" | grep -q " $1\$"; }

# a.txt and the folder "texte" dragged onto the folder row of the left list: extracted there.
mark_rows 1 3
onto_folder_row 3
wait_for "the extracted file" test -f "$work/liste/ordner/a.txt"
wait_for "the file of the folder" test -f "$work/liste/ordner/texte/b.txt"
cmp "$work/src/texte/b.txt" "$work/liste/ordner/texte/b.txt"
listed a.txt
listed texte/b.txt
rm -r "$work/liste/ordner/a.txt" "$work/liste/ordner/texte"
echo "extracted onto the folder row, the archive unchanged"

# With Ctrl: extracted and taken out of the archive; the pane shows what is left.
mark_rows 1 3
CTRL=1 onto_folder_row 3
wait_for "the moved file" test -f "$work/liste/ordner/a.txt"
wait_for "the file of the moved folder" test -f "$work/liste/ordner/texte/b.txt"
wait_for "the entries gone from the archive" sh -c "! unzip -l '$work/liste/projekt.zip' | grep -q ' a.txt\$'"
! listed texte/b.txt
listed zzz.txt
wait_for "the archive pane read again: weitere, zzz.txt" right_rows 2
echo "moved out of the archive onto the folder row"

# "weitere" and zzz.txt Ctrl-dragged onto droprec, which copies only: real files,
# and the entries stay in the archive.
start_droprec /dir "$(win "$work/rec")" /copyonly
mark_rows 1 2
eval "$(xdotool getwindowgeometry --shell --prefix R "$rec")"
CTRL=1 drag_to "$right_x" "$(rrow_y 2)" $((RX + RWIDTH / 2)) $((RY + RHEIGHT / 2)) logged '^enter$'
wait_for "droprec took the drop" logged '^drop '
cat "$log"
grep -qx 'drop copy' "$log"
cmp "$work/src/zzz.txt" "$work/rec/zzz.txt"
cmp "$work/src/weitere/c.txt" "$work/rec/weitere/c.txt"
listed zzz.txt
listed weitere/c.txt
finish
echo "droprec got the entries as files, copied only, and the archive kept them"
