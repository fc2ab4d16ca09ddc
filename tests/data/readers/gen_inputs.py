#!/usr/bin/env python3
"""Writes the plain files that every reader fixture packs, deterministically."""
import os, random

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "input")

WORDS = ("archive entry window header volume packed stored folder block "
         "table code length match literal distance offset chain record "
         "Datei Ordner Laufwerk Archiv Eintrag Fenster").split()


def text(rng, size):
    lines, total = [], 0
    while total < size:
        line = " ".join(rng.choice(WORDS) for _ in range(rng.randint(4, 12))) + "\r\n"
        lines.append(line)
        total += len(line)
    return "".join(lines).encode("ascii", "replace")[:size]


def long_text(rng, size):
    # Repeats reaching back further than any of the windows (26624 and 4096
    # bytes), so that the decoders' window wrap is exercised.
    out = bytearray(text(rng, 40000))
    while len(out) < size:
        back = rng.randint(27000, len(out))
        start = len(out) - back
        out += out[start:start + rng.randint(100, 3000)]
        out += text(rng, rng.randint(50, 800))
    return bytes(out[:size])


def binary(rng, size):
    out = bytearray()
    while len(out) < size:
        kind = rng.randint(0, 3)
        n = rng.randint(10, 600)
        if kind == 0:
            out += bytes(rng.randrange(256) for _ in range(n))
        elif kind == 1:
            out += bytes([rng.randrange(256)]) * n
        elif kind == 2:
            out += bytes((i * 7) & 255 for i in range(n))
        else:
            out += b"\x90" * rng.randint(1, 5) + bytes([0x90, 0, 1]) * 3
    return bytes(out[:size])


def skewed(rng, size):
    # Few repeats but a skewed byte distribution: the one input that arc
    # stores squeezed.
    weights = [2.0 ** -(i % 40) for i in range(256)]
    return bytes(rng.choices(range(256), weights=weights, k=size))


def main():
    rng = random.Random(1995)
    files = {
        "readme.txt": text(rng, 2000),
        "text.txt": long_text(rng, 120000),
        "data.bin": binary(rng, 30000),
        "empty.txt": b"",
        "tiny.txt": b"a",
        "sub/note.txt": text(rng, 700),
        "squeeze.bin": skewed(rng, 3000),
        "runs.txt": b"a" * 63 + b"b" * 27 + b"c" * 10 + b"\x90" * 5 + b"d",
    }
    for name, data in files.items():
        path = os.path.join(OUT, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)
        assert os.path.getsize(path) == len(data)


if __name__ == "__main__":
    main()
