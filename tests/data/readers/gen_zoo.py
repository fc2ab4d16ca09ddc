#!/usr/bin/env python3
"""ZOO archives, written byte by byte (no ZOO packer is packaged here):
method 0 stored, 1 LZW (encoded here and decoded again before writing),
2 the -lh5- payloads of the level-0 LHA fixture, and damaged variants."""
import struct
from fixturelib import (DOS_DATE, DOS_TIME, LsbBitWriter, OUT, crc16,
                        read_input, write_archive)
import os

TAG = 0xFDC4A7DC
CLEAR, END, FIRST = 256, 257, 258
MAXBITS = 13
HEADER = 42
ENTRY = 58


class CodeWriter:
    """Emits codes at the width the decoder reads them with: the decoder adds
    its table entry one code later than the encoder does."""

    def __init__(self):
        self.bits = LsbBitWriter()
        self.reset()

    def reset(self):
        self.nbits, self.max_code, self.free, self.first = 9, 512, FIRST, True

    def emit(self, code):
        self.bits.put(code, self.nbits)
        if code == CLEAR:
            self.reset()
            return
        if self.first:
            self.first = False
            return
        if self.free < (1 << MAXBITS):
            self.free += 1
            if self.free >= self.max_code and self.nbits < MAXBITS:
                self.nbits += 1
                self.max_code <<= 1


def lzw(data):
    out = CodeWriter()
    out.emit(CLEAR)
    table, free = {}, FIRST
    w = None
    for c in data:
        if w is None:
            w = c
            continue
        if (w, c) in table:
            w = table[(w, c)]
            continue
        out.emit(w)
        if free < (1 << MAXBITS):
            table[(w, c)] = free
            free += 1
        else:
            out.emit(CLEAR)
            table, free = {}, FIRST
        w = c
    if w is not None:
        out.emit(w)
    out.emit(END)
    return out.bits.finish()


def unlzw(packed):
    acc = int.from_bytes(packed, "little")
    pos, nbits, max_code, free = 0, 9, 512, FIRST
    prefix, suffix = {}, {}
    out, old, fin = bytearray(), None, 0

    def string(code):
        s = bytearray()
        while code > 255:
            s.append(suffix[code])
            code = prefix[code]
        s.append(code)
        return bytes(reversed(s))

    while True:
        code = (acc >> pos) & ((1 << nbits) - 1)
        pos += nbits
        if code == CLEAR:
            nbits, max_code, free, old = 9, 512, FIRST, None
            continue
        if code == END:
            return bytes(out)
        if old is None:
            out += string(code)
            old, fin = code, code
            continue
        s = string(old) + string(old)[:1] if code >= free else string(code)
        out += s
        if free < (1 << MAXBITS):
            prefix[free], suffix[free] = old, s[0]
            free += 1
            if free >= max_code and nbits < MAXBITS:
                nbits += 1
                max_code <<= 1
        old = code


def lh5_payloads():
    """name -> (packed -lh5- stream, original size) from the level-0 LHA fixture."""
    with open(os.path.join(OUT, "lh5_level0.lzh"), "rb") as f:
        data = f.read()
    pos, found = 0, {}
    while pos < len(data) and data[pos]:
        size = data[pos]
        packed, orig = struct.unpack_from("<II", data, pos + 7)
        name = data[pos + 22:pos + 22 + data[pos + 21]].decode()
        if data[pos + 2:pos + 7] == b"-lh5-":
            found[name] = (data[pos + size + 2:pos + size + 2 + packed], orig)
        pos += size + 2 + packed
    return found


def entry_header(name, method, next_pos, offset, crc, orig, packed, deleted=0):
    h = struct.pack("<IBBIIHHHIIBBBBIH", TAG, 2, method, next_pos, offset,
                    DOS_DATE, DOS_TIME, crc, orig, packed, 2, 1, deleted, 0, 0, 0)
    h += name.encode().ljust(13, b"\0") + struct.pack("<HBH", 0, 127, 0)
    assert len(h) == 56
    return h + b"\0\0"


def archive(entries, loop_to=None, bad_tag_at=None):
    """entries: (name, method, payload, original bytes[, deleted, crc])."""
    header = b"ZOO 2.10 Archive.\x1a".ljust(20, b"\0")
    header += struct.pack("<IIiBBBIHB", TAG, HEADER, -HEADER, 2, 0, 1, 0, 0, 0)
    assert len(header) == HEADER
    out = bytearray(header)
    positions = []
    for n, (name, method, payload, raw, *rest) in enumerate(entries):
        deleted = rest[0] if rest else 0
        crc = rest[1] if len(rest) > 1 else crc16(raw)
        pos = len(out)
        positions.append(pos)
        nxt = pos + ENTRY + len(payload)
        if loop_to is not None and n == len(entries) - 1:
            nxt = positions[loop_to]
        out += entry_header(name, method, nxt, pos + ENTRY, crc, len(raw), len(payload), deleted)
        out += payload
        if bad_tag_at == n:
            out[pos] ^= 0xFF
    if loop_to is None:
        out += entry_header("", 0, 0, 0, 0, 0, 0)
    return bytes(out)


def main():
    readme, text, data, runs, empty = (read_input(n) for n in
                                       ("readme.txt", "text.txt", "data.bin", "runs.txt", "empty.txt"))
    packed = {}
    for name, raw in (("readme", readme), ("text", text), ("data", data), ("runs", runs)):
        packed[name] = lzw(raw)
        assert unlzw(packed[name]) == raw, name
    lh5 = lh5_payloads()
    assert lh5["text.txt"][1] == len(text)
    write_archive("zoo_methods.zoo", archive([
        ("readme.txt", 0, readme, readme),
        ("text.txt", 1, packed["text"], text),
        ("data.bin", 1, packed["data"], data),
        ("runs.txt", 1, packed["runs"], runs),
        ("empty.txt", 0, b"", empty),
        ("text2.txt", 2, lh5["text.txt"][0], text),
        ("data2.bin", 2, lh5["data.bin"][0], data),
    ]))
    write_archive("zoo_special.zoo", archive([
        ("old.txt", 0, runs, runs, 1),
        ("odd.txt", 7, b"xyz", b"abc"),
        ("readme.txt", 1, packed["readme"], readme),
        ("badcrc.txt", 0, runs, runs, 0, crc16(runs) ^ 1),
    ]))
    write_archive("zoo_loop.zoo", archive([
        ("readme.txt", 0, readme, readme),
        ("runs.txt", 0, runs, runs),
    ], loop_to=0))
    write_archive("zoo_badtag.zoo", archive([
        ("readme.txt", 0, readme, readme),
        ("runs.txt", 0, runs, runs),
    ], bad_tag_at=1))


if __name__ == "__main__":
    main()
