#!/usr/bin/env python3
"""Makes the raw static-Huffman streams for the LzhDecode tests: an -lh5- entry
made by jlha's lha and an ARJ method-1 entry made by arj, each cut out of its
archive, next to the plain data they decode to. Run it from this folder."""
import os
import random
import shutil
import struct
import subprocess
import tempfile


def sample_data():
    rng = random.Random(1994)
    words = ["Datei", "Ordner", "Archiv", "entpacken", "Größe", "Laufwerk",
             "alpha", "beta", "gamma", "delta", "window", "match"]
    text = " ".join(rng.choice(words) for _ in range(4000)).encode("latin-1")
    noise = bytes(rng.randrange(256) for _ in range(3000))
    # A 23000-byte chunk repeated at once: its copy reaches back further than
    # the window holds from the start of the second copy's output, so the
    # decoder's window wraps in the middle of matches.
    chunk = (text + noise)[:23000]
    return text + noise + chunk + chunk + text[:5000]


def lh5_payload(archive):
    data = open(archive, "rb").read()
    header_size = data[0]
    assert data[2:7] == b"-lh5-", data[2:7]
    packed = struct.unpack_from("<I", data, 7)[0]
    start = 2 + header_size
    return data[start:start + packed]


def arj_payload(archive):
    data = open(archive, "rb").read()
    pos = 0
    headers = []
    while True:
        assert data[pos:pos + 2] == b"\x60\xea"
        size = struct.unpack_from("<H", data, pos + 2)[0]
        if size == 0:
            break
        headers.append((pos + 4, size))
        pos += 4 + size + 4
        while True:  # extended headers
            ext = struct.unpack_from("<H", data, pos)[0]
            pos += 2
            if ext == 0:
                break
            pos += ext + 4
        if len(headers) == 2:
            break
    file_header = headers[1][0]
    method = data[file_header + 5]
    assert method == 1, method
    packed = struct.unpack_from("<I", data, file_header + 12)[0]
    return data[pos:pos + packed]


def main():
    plain = sample_data()
    with tempfile.TemporaryDirectory() as tmp:
        src = os.path.join(tmp, "sample.dat")
        open(src, "wb").write(plain)
        subprocess.run(["lha", "c0o5q", os.path.join(tmp, "s.lzh"), "sample.dat"],
                       cwd=tmp, check=True)
        subprocess.run(["arj", "a", "-m1", "-y", os.path.join(tmp, "s.arj"), "sample.dat"],
                       cwd=tmp, check=True, stdout=subprocess.DEVNULL)
        lh5 = lh5_payload(os.path.join(tmp, "s.lzh"))
        arj = arj_payload(os.path.join(tmp, "s.arj"))
    open("lzh-sample.dat", "wb").write(plain)
    open("lzh-sample.lh5", "wb").write(lh5)
    open("lzh-sample.arj1", "wb").write(arj)
    print(len(plain), len(lh5), len(arj))


if __name__ == "__main__":
    main()
