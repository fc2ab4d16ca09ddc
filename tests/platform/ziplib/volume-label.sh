#!/usr/bin/env bash
# The volume label option of the zip library ("-$"), through zltool under Wine:
# scratch drives q: and r: of the prefix whose labels Wine reads from the file
# .windows-label in each drive's root (and keeps for a few seconds: a second
# label needs a second drive). The label becomes one entry with
# attribute bit 3, listed and tested but never extracted; a later label takes
# the old one's place; a file named like the label is a file of its own.
# Debian's unzip (natively) lists and tests the archive and, seeing a volume
# label, writes no file for it either.
set -euo pipefail
tools=$1
zltool=$2
scratchdrive=$3
work=$4
: "${VELMORA_WINEPREFIX:?}"
source "$tools/wine-env.sh"
export LC_ALL=C.UTF-8

win() { local p=$1; printf 'Z:%s' "${p//\//\\}"; }
# The "result N" line tells the outcome; zltool's exit code only repeats it.
zl() { { velmora_wine "$zltool" "$@" || true; } | tr -d '\r'; }
fail() { echo "FAIL: $*"; exit 1; }
drives_away() {
  velmora_wine "$scratchdrive" q >/dev/null 2>&1 || true
  velmora_wine "$scratchdrive" r >/dev/null 2>&1 || true
}

rm -rf "$work"
mkdir -p "$work/drive/daten/unter" "$work/drive2/daten"
cd "$work"
trap drives_away EXIT
printf 'ZLDATEN' > drive/.windows-label
printf 'NEUESLABEL' > drive2/.windows-label
printf 'Brief 2\r\n' > drive2/daten/brief.txt
printf 'Brief\r\n' > drive/daten/brief.txt
printf 'unten' > drive/daten/unter/notiz.txt
printf 'kein Label' > drive/zldaten
archive=$(win "$work/label.zip")

echo "== the scratch drives q: and r: report their labels"
velmora_wine "$scratchdrive" q "$work/drive" | tr -d '\r' | tee drive.log
velmora_wine "$scratchdrive" r "$work/drive2" | tr -d '\r' | tee -a drive.log
printf 'label %s\n' ZLDATEN NEUESLABEL | diff - drive.log || fail "Wine reports other labels"

echo "== add with -\$: the label first, as an entry of its own"
zl add "$archive" -r -\$ 'q:\*.*' | tee add.log
grep -qx "result 0" add.log || fail "add"
head -1 add.log | grep -qE '^add ZLDATEN 0 0 [0-9-]+ [0-9:]+ attr=8$' || fail "label not added first"
grep -qE '^add zldaten [0-9]+ [0-9]+ .* attr=32$' add.log || fail "the file named like the label"
! grep -q 'windows-label' add.log || fail "a hidden file"
zl list "$archive" | tee list.log
[ "$(grep -c ' attr=8$' list.log)" = 1 ] || fail "one label entry with attribute bit 3"
grep -qE '^list ZLDATEN 0 0 .* attr=8$' list.log || fail "label not listed"
zl test "$archive" | tee test.log
grep -qx "result 0" test.log || fail "test"

echo "== extraction writes no file for the label"
zl extract "$archive" -d "$(win "$work/x")" | tee extract.log
grep -qx "result 0" extract.log || fail "extract"
(cd x && find . -type f | sort) > extracted.log
printf '%s\n' ./daten/brief.txt ./daten/unter/notiz.txt ./zldaten | diff - extracted.log || fail "extracted files"
cmp drive/zldaten x/zldaten || fail "the file named like the label"

echo "== Debian unzip lists, tests and extracts it"
unzip -l label.zip | tee unzip-list.log
grep -qE '^ +0 +[0-9-]+ [0-9:]+ +ZLDATEN$' unzip-list.log || fail "unzip does not list the label"
unzip -t label.zip || fail "unzip -t"
unzip -Z label.zip > unzip-z.log
grep -qE '^V.* ZLDATEN$' unzip-z.log || fail "unzip sees no volume label"
unzip -q label.zip -d x-unzip || fail "unzip extract"
(cd x-unzip && find . -type f | sort) | diff extracted.log - || fail "unzip extracted other files"

echo "== a new label takes the old one's place, without -\$ it stays"
zl add "$archive" -r -\$ 'r:\daten\brief.txt' | tee add2.log
grep -qx "result 0" add2.log || fail "second add"
grep -qE '^update NEUESLABEL 0 0 .* attr=8$' add2.log || fail "the new label replaces the old one"
zl list "$archive" | tee list2.log
[ "$(grep -c ' attr=8$' list2.log)" = 1 ] || fail "more than one label"
grep -qE '^list NEUESLABEL 0 0 .* attr=8$' list2.log || fail "new label not listed"
[ "$(grep -c '^list ' list2.log)" = 4 ] || fail "the files stay"
zl add "$archive" -r 'q:\daten\unter\notiz.txt' | tee add3.log
grep -qx "result 0" add3.log || fail "add without -\$"
! grep -q 'attr=8' add3.log || fail "a label without -\$"
zl list "$archive" > list3.log
grep -qE '^list NEUESLABEL .* attr=8$' list3.log || fail "the label went"

echo "== nothing found: no archive made for the label alone"
zl add "$(win "$work/leer.zip")" -\$ 'q:\daten\fehlt.txt' | tee add4.log
grep -qx "result 40" add4.log || fail "a missing name"
[ ! -e leer.zip ] || fail "an archive of the label alone"
[ -z "$(find "$work" -maxdepth 1 -name '~zl*')" ] || fail "a temporary file stayed"

cd /
rm -rf "$work"
echo "volume label passed"
