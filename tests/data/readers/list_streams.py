#!/usr/bin/env python3
"""Writes streams.txt: where each packed stream of the fixtures lies, so that
the decoder tests read them without any archive reader.
Columns: archive, method, offset, packed size, unpacked size, input file."""
import os
import struct
from fixturelib import HERE, OUT

INPUTS = {"readme.txt", "text.txt", "data.bin", "runs.txt", "squeeze.bin", "tiny.txt",
          "empty.txt", "note.txt"}


def input_name(name):
    base = name.lower().replace("\\", "/").split("/")[-1]
    base = {"text2.txt": "text.txt", "data2.bin": "data.bin"}.get(base, base)
    if base not in INPUTS:
        return None
    return "sub/note.txt" if base == "note.txt" else base


def arj(data):
    pos, main = 0, True
    while True:
        size = struct.unpack_from("<H", data, pos + 2)[0]
        if size == 0:
            return
        start = pos + 4
        end = start + size + 4
        while True:
            ext = struct.unpack_from("<H", data, end)[0]
            end += 2 + (ext + 4 if ext else 0)
            if not ext:
                break
        if main:
            main = False
            pos = end
            continue
        first = data[start]
        method = data[start + 5]
        packed, orig = struct.unpack_from("<II", data, start + 12)
        name = data[start + first:data.index(0, start + first)].decode()
        yield "arj%d" % method, end, packed, orig, name
        pos = end + packed


def arc(data):
    pos = 0
    while data[pos + 1]:
        method = data[pos + 1]
        name = data[pos + 2:pos + 15].split(b"\0")[0].decode()
        packed = struct.unpack_from("<I", data, pos + 15)[0]
        head = 25 if method == 1 else 29
        orig = packed if method == 1 else struct.unpack_from("<I", data, pos + 25)[0]
        yield "arc%d" % method, pos + head, packed, orig, name
        pos += head + packed


def zoo(data):
    pos = struct.unpack_from("<I", data, 24)[0]
    while True:
        method, nxt, offset = struct.unpack_from("<BII", data, pos + 5)
        if nxt == 0:
            return
        orig, packed = struct.unpack_from("<II", data, pos + 20)
        name = data[pos + 38:pos + 51].split(b"\0")[0].decode()
        yield "zoo%d" % method, offset, packed, orig, name
        pos = nxt


def lha(data):
    pos = 0
    while pos < len(data) and data[pos]:
        size = data[pos]
        method = data[pos + 2:pos + 7].decode()
        packed, orig = struct.unpack_from("<II", data, pos + 7)
        level = data[pos + 20]
        name = data[pos + 22:pos + 22 + data[pos + 21]].decode()
        start = pos + size + 2
        if level == 1:
            ext = struct.unpack_from("<H", data, start - 2)[0]
            while ext:
                start += ext
                packed -= ext
                ext = struct.unpack_from("<H", data, start - 2)[0]
        yield method.strip("-"), start, packed, orig, name
        pos = start + packed


def main():
    lines = []
    for archive, walk in (("arj_m1.arj", arj), ("arj_m2.arj", arj), ("arj_m3.arj", arj),
                          ("arj_m4.arj", arj), ("arcmix.arc", arc), ("arcsqsh.arc", arc),
                          ("arcsqz.arc", arc), ("old1.arc", arc), ("crunch5.arc", arc),
                          ("crunch6.arc", arc), ("crunch7.arc", arc), ("zoo_methods.zoo", zoo),
                          ("lh1_level0.lzh", lha), ("lh1_level1.lzh", lha), ("lh5_level0.lzh", lha),
                          ("lh4.lzh", lha)):
        with open(os.path.join(OUT, archive), "rb") as f:
            data = f.read()
        for method, offset, packed, orig, name in walk(data):
            src = input_name(name)
            if src:
                lines.append("%s\t%s\t%d\t%d\t%d\t%s" % (archive, method, offset, packed, orig, src))
    with open(os.path.join(HERE, "streams.txt"), "w") as f:
        f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
