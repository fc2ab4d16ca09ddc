#!/usr/bin/env bash
# Makes the search benchmark's trees:
#   a: 3,000 files of 100 KB in 30 folders
#   b: 100,000 files of 2 KB in 1,000 folders, a quarter of them "*.txt"
# and prints the times of grep and find on them (information only).
set -euo pipefail
out=${1:-/tmp/velmora-search-bench}
mkdir -p "$out"
python3 - "$out" <<'PY'
import os, random, sys
out = sys.argv[1]
r = random.Random(11)
words = b"folder search window text block line mask entry basket result".split()
def content(size):
    data = bytearray()
    while len(data) < size:
        data += b" ".join(r.choice(words) for _ in range(12)) + b"\r\n"
    return bytes(data[:size])
a = content(100 * 1024)
b = content(2 * 1024)
for tree, folders, per, size_data in (("a", 30, 100, a), ("b", 1000, 100, b)):
    for f in range(folders):
        d = os.path.join(out, tree, "ordner%04d" % f)
        os.makedirs(d, exist_ok=True)
        for i in range(per):
            ext = ".txt" if i % 4 == 0 else ".dat"
            path = os.path.join(d, "datei%03d%s" % (i, ext))
            if not os.path.exists(path):
                open(path, "wb").write(size_data)
PY
find "$out/a" "$out/b" -type f -exec cat {} + > /dev/null
for tree in a b; do
  for cmd in "grep -rlF kommt-nirgends-vor-7f3a $out/$tree" "grep -rliF kommt-nirgends-vor-7f3a $out/$tree" \
             "find $out/$tree -iname *.txt"; do
    start=$(date +%s.%N); $cmd > /dev/null || true; end=$(date +%s.%N)
    echo "information only: $cmd: $(echo "$end - $start" | bc) s"
  done
done
echo "Z:${out//\//\\}\\a Z:${out//\//\\}\\b"
