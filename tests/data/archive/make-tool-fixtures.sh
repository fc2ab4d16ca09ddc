#!/usr/bin/env bash
# Makes the archives that Debian's packers write (zip, arj, arc, jlha-utils' lha,
# gcab, GNU tar) from src/, with fixed time stamps, and checks what each packer
# chose. The outputs are committed: the tests need none of these tools.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
export TZ=UTC LC_ALL=C
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 "$here/make-sources.py" >/dev/null
cp -r "$here/src/." "$work/"
cd "$work"
stamp() { touch -d "$2" "$1"; }
stamp readme.txt '2024-03-15 10:20:30'
stamp data.bin '2023-11-02 08:00:00'
stamp runs.dat '2022-01-31 23:59:58'
stamp docs/guide.txt '2021-07-04 12:34:56'
stamp big.txt '2020-02-29 06:07:08'
stamp docs '2021-07-04 12:35:00'
out=$here

# ZIP: one entry per deflate level, a folder, an archive comment.
rm -f "$out/methods.zip"
zip -q -X -0 "$out/methods.zip" readme.txt
zip -q -X -9 "$out/methods.zip" data.bin
zip -q -X -1 "$out/methods.zip" runs.dat
zip -q -X -6 "$out/methods.zip" docs docs/guide.txt
unzip -Z -v "$out/methods.zip" > listing
grep -q 'compression method: *none (stored)' listing
grep -q 'deflation): *maximum' listing
grep -q 'deflation): *fast' listing
rm -f "$out/comment.zip"
zip -q -X "$out/comment.zip" readme.txt
echo "An archive comment." | zip -q -z "$out/comment.zip"
unzip -z "$out/comment.zip" > listing
grep -q 'An archive comment.' listing
rm -f "$out/folders.zip"
mkdir -p only/one only/two
stamp only/one '2024-01-01 00:00:00'; stamp only/two '2024-01-01 00:00:00'; stamp only '2024-01-01 00:00:00'
zip -q -X -r "$out/folders.zip" only
test "$(unzip -Z1 "$out/folders.zip" | grep -vc '/$')" = 0
# Behind program stubs: offsets made absolute, and a 27648-byte stub left relative.
python3 "$here/make-stub.py" 1000 stub1000
cat stub1000 "$out/methods.zip" > "$out/zipsfx.exe"
zip -q -A "$out/zipsfx.exe"
unzip -tq "$out/zipsfx.exe" >/dev/null
python3 "$here/make-stub.py" 27648 stub27648 512
zip -q -X "$work/nocomment.zip" readme.txt docs/guide.txt
cat stub27648 "$work/nocomment.zip" > "$out/ziprel.exe"
unzip -tq "$out/ziprel.exe" >/dev/null 2>&1 || test $? = 1
# Cut before its end record.
head -c 200 "$out/methods.zip" > "$out/cut.zip"

# ARJ: one method per entry, stored paths, three volumes.
rm -f "$out/methods.arj"
arj a -m0 -y "$out/methods.arj" readme.txt >/dev/null
arj a -m1 -y "$out/methods.arj" data.bin >/dev/null
arj a -m4 -y "$out/methods.arj" runs.dat >/dev/null
arj a -m2 -y "$out/methods.arj" docs/guide.txt >/dev/null
arj t "$out/methods.arj" >/dev/null
rm -f "$out"/vol.arj "$out"/vol.a0*
arj a -m0 -v50k -y "$out/vol.arj" big.txt readme.txt >/dev/null
test -f "$out/vol.a01" && test -f "$out/vol.a02" && ! test -f "$out/vol.a03"
arj t -v -y "$out/vol.arj" >/dev/null
python3 "$here/make-stub.py" 1536 stub1536
cat stub1536 "$out/methods.arj" > "$out/arjsfx.exe"

# ARC: arc picks the method per file; check that it picked the ones expected.
rm -f "$out/methods.arc"
arc a "$out/methods.arc" readme.txt data.bin runs.dat big.txt >/dev/null
arc v "$out/methods.arc" > listing
grep -q '^readme.txt .*--' listing
grep -q '^runs.dat .*Crunched' listing
grep -q '^big.txt .*Crunched' listing
grep -q '^data.bin .*Crunched' listing
rm -f "$out/squash.arc"
arc aq "$out/squash.arc" big.txt >/dev/null
arc v "$out/squash.arc" > listing
grep -q '^big.txt .*Squashed' listing
cat stub1000 "$out/methods.arc" > "$out/arcsfx.exe"

# LHA: levels 0, 1 and 2 with a folder, stored and -lh5-.
for level in 0 1 2; do
  rm -f "$out/level$level.lzh"
  lha "c${level}q" "$out/level$level.lzh" readme.txt docs/guide.txt >/dev/null
  lha "a${level}qz" "$out/level$level.lzh" data.bin >/dev/null
  lha v "$out/level$level.lzh" > listing
  grep -q -- '-lh5-.*docs/guide.txt' listing
  grep -q -- '-lh0-.*data.bin' listing
done
rm -f "$out"/level?.bak

# CAB: stored and MSZIP.
rm -f "$out/stored.cab" "$out/mszip.cab"
gcab -c "$out/stored.cab" readme.txt data.bin
gcab -c -z "$out/mszip.cab" readme.txt docs/guide.txt
gcab -t "$out/mszip.cab" > listing
grep -q 'guide.txt' listing

# TAR: detected by a first name that begins with "www.".
cp readme.txt www.index.txt
stamp www.index.txt '2024-03-15 10:20:30'
tar --format=gnu --owner=0 --group=0 --numeric-owner --no-recursion -cf "$out/www.tar" www.index.txt docs docs/guide.txt
test "$(head -c 4 "$out/www.tar")" = "www."
echo "tool fixtures made"
