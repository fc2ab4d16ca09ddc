#!/usr/bin/env bash
# Makes the ZIP extraction fixtures with Debian's zip and 7z, and the crafted
# ones with make-crafted-zips.py; checks each with unzip where it can.
# Run from this folder. The source files in src/ are the expected contents.
set -euo pipefail
export TZ=UTC PYTHONDONTWRITEBYTECODE=1
here=$PWD
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

python3 - <<'PY'
from zipwriter import sample
import os, random
os.makedirs("src/sub/deep", exist_ok=True)
open("src/readme.txt", "wb").write(sample(24000, 21))
rng = random.Random(22)
open("src/data.bin", "wb").write(bytes(rng.randrange(256) for _ in range(6000)) + sample(10000, 23))
open("src/sub/liste.txt", "wb").write(sample(3000, 24))
open("src/sub/deep/notiz.txt", "wb").write(b"Eine kleine Notiz.\r\n" * 20)
PY
rm -f level?.zip folders.zip password.zip password-7z.zip streamed.zip deflate64.zip selfextract*.exe
cp -r src "$work/src"
cd "$work/src"
find . -exec touch -d "2023-03-14 15:09:26" {} +
for level in 0 1 6 9; do
  zip -q -X -$level "$here/level$level.zip" readme.txt data.bin
done
zip -q -r "$here/folders.zip" readme.txt sub
zip -q -X -P geheim "$here/password.zip" readme.txt sub/liste.txt
7z a -bso0 -tzip -pgeheim -mem=ZipCrypto "$here/password-7z.zip" readme.txt data.bin
# Streamed from standard input: local sizes 0xFFFFFFFF with a Zip64 field.
zip -q -P geheim "$here/streamed.zip" - < readme.txt
7z a -bso0 -tzip -mm=Deflate64 "$here/deflate64.zip" readme.txt
cd "$here"

# A program stub in front: zip -A turns the offsets absolute.
python3 - <<'PY'
import struct
def stub(size):
    pages, last = divmod(size, 512)
    if last:
        pages += 1
    head = b"MZ" + struct.pack("<HH", last, pages) + bytes(26)
    return head + b"Velmora stub\r\n$" + bytes(size - len(head) - 15)
open("stub-1000.bin", "wb").write(stub(1000))
open("stub-27648.bin", "wb").write(stub(27648))
PY
cat stub-1000.bin level6.zip > selfextract.exe
zip -q -A selfextract.exe
cat stub-27648.bin level6.zip > selfextract-27648.exe
rm stub-1000.bin stub-27648.bin

python3 make-crafted-zips.py

for f in level0.zip level1.zip level6.zip level9.zip folders.zip selfextract.exe; do
  unzip -tq "$f" >/dev/null 2>&1 || { echo "$f fails unzip -t"; exit 1; }
done
# unzip warns about the 27648 bytes in front (status 1) and tests the entries.
rc=0; unzip -tq selfextract-27648.exe >/dev/null 2>&1 || rc=$?
[ "$rc" -le 1 ] || { echo "selfextract-27648.exe fails unzip -t"; exit 1; }
unzip -tq -P geheim password.zip >/dev/null
unzip -tq -P geheim password-7z.zip >/dev/null
unzip -tq -P geheim streamed.zip >/dev/null
echo "fixtures made and checked"
