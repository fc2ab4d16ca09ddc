#!/usr/bin/env bash
# Makes the benchmark's inputs: 24 MiB of mixed text and binary data packed
# by jlha (-lh5-, header level 0) and by arj (method 1).
set -euo pipefail
out=${1:-/tmp/velmora-readers-bench}
mkdir -p "$out" && cd "$out"
python3 - <<'PY'
import random
r = random.Random(7)
words = b"archive entry window header volume packed stored folder block table".split()
out = bytearray()
while len(out) < 24 << 20:
    if r.random() < 0.7:
        out += b" ".join(r.choice(words) for _ in range(r.randint(5, 40))) + b"\r\n"
    else:
        out += bytes(r.randrange(256) for _ in range(r.randint(16, 512)))
open("big.dat", "wb").write(out[:24 << 20])
PY
rm -f big.lzh big.arj
jlha c0o5 big.lzh big.dat >/dev/null 2>&1
arj a -m1 -y big.arj big.dat >/dev/null
echo "$out/big.lzh $out/big.arj"
