#!/usr/bin/env python3
"""Writes the sample files that the tool-made archives hold (into src/)."""
import os
import pathlib

root = pathlib.Path(__file__).resolve().parent / "src"
root.mkdir(exist_ok=True)
(root / "docs").mkdir(exist_ok=True)

words = "alpha beta gamma delta epsilon zeta eta theta iota kappa lambda".split()

def text(lines, seed):
    out = []
    for i in range(lines):
        w = [words[(i * seed + k * 7) % len(words)] for k in range(6 + (i % 5))]
        out.append(f"{i:05d} " + " ".join(w))
    return ("\r\n".join(out) + "\r\n").encode("ascii")

files = {
    "readme.txt": b"Velmora sample archive.\r\nNothing to see here.\r\n",
    "data.bin": bytes((i * 31 + (i >> 7)) & 0xFF for i in range(5000)),
    "runs.dat": b"".join(bytes([c]) * (40 + c % 17) for c in range(200)),
    "docs/guide.txt": text(60, 3),
    "big.txt": text(2400, 5),
}
for name, data in files.items():
    (root / name).write_bytes(data)
    print(f"{name}: {len(data)} bytes")
assert len(files["big.txt"]) > 100_000
