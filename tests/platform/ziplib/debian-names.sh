#!/usr/bin/env bash
# Names beyond ASCII between the zip library (through zltool under Wine) and
# Debian's zip and unzip (natively): "Größe.txt", in the OEM code page, and
# Cyrillic and Japanese names, outside it, in a folder with umlauts. What the
# library writes lists, extracts back byte for byte and reads in unzip; what
# zip writes lists, tests and extracts byte for byte with its dates.
set -euo pipefail
tools=$1
zltool=$2
work=$3
: "${VELMORA_WINEPREFIX:?}"
source "$tools/wine-env.sh"
# Wine decodes Unix file names in the locale's character set: the native zip
# and unzip run in a UTF-8 locale too. Wine itself runs in the project's German
# one (velmora_wine): a Wine process in another locale rewrites the prefix's
# formats under the tests running beside it.
export LC_ALL=C.UTF-8

win() { local p=$1; printf 'Z:%s' "${p//\//\\}"; }
zl() { velmora_wine "$zltool" "$@" | tr -d '\r'; }
fail() { echo "FAIL: $*"; exit 1; }

rm -rf "$work"
mkdir -p "$work/src/Ordner-äöü"
cd "$work"
for i in $(seq 1 400); do printf 'Größe %d\r\n' "$i"; done > "src/Größe.txt"
seq 1 30000 > "src/Кириллица.txt"
head -c 50000 /dev/zero | tr '\0' 'x' > "src/Ordner-äöü/日本語.txt"
touch -d "2024-05-06 07:08:10" src/*.txt src/Ordner-äöü/*.txt
names=("src/Größe.txt" "src/Кириллица.txt" "src/Ordner-äöü/日本語.txt")

echo "== the library adds, lists and extracts"
zl add "$(win "$work/ours.zip")" -r -6 "$(win "$work/src")\\*.*" | tee add.log
grep -qx "result 0" add.log || fail "add"
zl list "$(win "$work/ours.zip")" | tee list.log
for n in "${names[@]}"; do
  grep -qF "list ${work#/}/$n " list.log || fail "not listed: $n"
done
zl extract "$(win "$work/ours.zip")" -d "$(win "$work/x-ours")" | tee extract.log
grep -qx "result 0" extract.log || fail "extract"
diff -r src "x-ours$work/src" || fail "extracted tree differs"

echo "== Debian unzip reads the library's archive"
unzip -tq ours.zip || fail "unzip -t"
unzip -Z1 ours.zip | tee unzip-names.log
for n in "${names[@]}"; do
  grep -qxF "${work#/}/$n" unzip-names.log || fail "unzip lists no $n"
done
unzip -q ours.zip -d x-unzip || fail "unzip extract"
diff -r src "x-unzip$work/src" || fail "unzip's tree differs"

echo "== after a delete, unzip still reads the names the library rewrote"
zl delete "$(win "$work/ours.zip")" "${work#/}/src/Кириллица.txt" | tee delete.log
grep -qx "result 0" delete.log || fail "delete"
unzip -tq ours.zip || fail "unzip -t after delete"
rm -rf x-unzip
unzip -q ours.zip -d x-unzip || fail "unzip extract after delete"
cmp "src/Größe.txt" "x-unzip$work/src/Größe.txt" || fail "Größe.txt after delete"
cmp "src/Ordner-äöü/日本語.txt" "x-unzip$work/src/Ordner-äöü/日本語.txt" || fail "日本語.txt after delete"
[ ! -e "x-unzip$work/src/Кириллица.txt" ] || fail "deleted entry still there"

# Plain, zip stores the names as they are on disk (UTF-8 from a Unix host,
# unflagged); with -UN=UTF8 it sets the UTF-8 flag.
zip -q -r -X -6 debian.zip src
zip -q -r -X -6 -UN=UTF8 debian-flagged.zip src
for archive in debian debian-flagged; do
  echo "== the library reads Debian zip's $archive.zip"
  zl list "$(win "$work/$archive.zip")" | tee "list-$archive.log"
  for n in "${names[@]}"; do
    grep -qE "^list $n [0-9]+ [0-9]+ 2024-05-06 07:08:10 " "list-$archive.log" || fail "not listed: $n"
  done
  zl test "$(win "$work/$archive.zip")" | tee "test-$archive.log"
  grep -qx "result 0" "test-$archive.log" || fail "test"
  zl extract "$(win "$work/$archive.zip")" -d "$(win "$work/x-$archive")" | tee "extract-$archive.log"
  grep -qx "result 0" "extract-$archive.log" || fail "extract"
  diff -r src "x-$archive/src" || fail "extracted tree differs"
  for n in "${names[@]}"; do
    [ "$(stat -c %Y "x-$archive/$n")" = "$(stat -c %Y "$n")" ] || fail "date of $n"
  done
done
cd /
rm -rf "$work"
echo "all names passed"
