#!/usr/bin/env python3
"""ARC archives with the methods no packer here writes: 1 (old 25-byte header),
5 and 6 (old 12-bit crunch, without and with run-length coding) and 7 (the same
with the newer hash). Each stream is decoded again here before it is written."""
import struct
from fixturelib import (DOS_DATE, DOS_TIME, MsbBitWriter, crc16, read_input,
                        rle90, unrle90, write_archive)

TABSIZE = 4096
NO_PRED = 0xFFFF


def old_hash(pred, foll):
    local = ((pred + foll) | 0x0800) & 0xFFFF
    return ((local * local) >> 6) & 0x0FFF


def new_hash(pred, foll):
    return (((pred + foll) & 0xFFFF) * 15073) & 0x0FFF


class HashedTable:
    """The string table of the old crunch: slots found by hashing, collisions
    chained from the end of the home slot's list to a slot probed 101 further."""

    def __init__(self, hashfn):
        self.hashfn = hashfn
        self.used = [False] * TABSIZE
        self.next = [0] * TABSIZE
        self.pred = [0] * TABSIZE
        self.foll = [0] * TABSIZE
        self.count = 0
        for c in range(256):
            self.add(NO_PRED, c)

    def slot(self, pred, foll):
        home = self.hashfn(pred, foll)
        if not self.used[home]:
            return home
        while self.next[home]:
            home = self.next[home]
        probe = (home + 101) & 0x0FFF
        while self.used[probe]:
            probe = (probe + 1) % TABSIZE
        self.next[home] = probe
        return probe

    def add(self, pred, foll):
        s = self.slot(pred, foll)
        self.used[s] = True
        self.next[s] = 0
        self.pred[s] = pred
        self.foll[s] = foll
        self.count += 1
        return s


def crunch_old(data, hashfn):
    table = HashedTable(hashfn)
    codes = {(NO_PRED, c): s for s, c in
             ((s, table.foll[s]) for s in range(TABSIZE) if table.used[s])}
    out = MsbBitWriter()
    if not data:
        return b""
    w = codes[(NO_PRED, data[0])]
    for c in data[1:]:
        if (w, c) in codes:
            w = codes[(w, c)]
            continue
        out.put(w, 12)
        if table.count < TABSIZE:
            codes[(w, c)] = table.add(w, c)
        w = codes[(NO_PRED, c)]
    out.put(w, 12)
    return out.finish()


def uncrunch_old(packed, hashfn):
    table = HashedTable(hashfn)
    codes = [(packed[i] << 4) | (packed[i + 1] >> 4) if k == 0 else
             ((packed[i] & 15) << 8) | packed[i + 1]
             for k, i in ((n % 2, n // 2 * 3 + n % 2) for n in range(len(packed) * 2 // 3))]
    out = bytearray()
    old = None
    for code in codes:
        if old is None:
            out.append(table.foll[code])
            old, fin = code, table.foll[code]
            continue
        kwkwk = not table.used[code]
        cur = old if kwkwk else code
        stack = []
        while table.pred[cur] != NO_PRED:
            stack.append(table.foll[cur])
            cur = table.pred[cur]
        fin = table.foll[cur]
        stack.append(fin)
        out += bytes(reversed(stack))
        if kwkwk:
            out.append(fin)
        if table.count < TABSIZE:
            table.add(old, fin)
        old = code
    return bytes(out)


def entry(name, method, data):
    raw = data
    if method == 5:
        packed = crunch_old(raw, old_hash)
        assert uncrunch_old(packed, old_hash)[:len(raw)] == raw
    elif method in (6, 7):
        hashfn = old_hash if method == 6 else new_hash
        packed = crunch_old(rle90(raw), hashfn)
        assert unrle90(uncrunch_old(packed, hashfn))[:len(raw)] == raw
    elif method == 10:
        packed = raw[::-1]
    else:
        packed = raw
    head = b"\x1a" + bytes([method]) + name.encode().ljust(13, b"\0")
    head += struct.pack("<IHHH", len(packed), DOS_DATE, DOS_TIME, crc16(raw))
    if method != 1:
        head += struct.pack("<I", len(raw))
    return head + packed


def entry_with_crc(name, method, data, crc):
    head = entry(name, method, data)
    return head[:23] + struct.pack("<H", crc) + head[25:]


def main():
    readme, data, runs = (read_input(n) for n in ("readme.txt", "data.bin", "runs.txt"))
    # A few bytes of junk before a mark are stepped over, more than ten end the walk.
    write_archive("junk3.arc", entry("README.TXT", 2, readme) + b"xyz" + entry("RUNS.TXT", 2, runs) + b"\x1a\x00")
    write_archive("junk11.arc", entry("README.TXT", 2, readme) + b"x" * 11 + entry("RUNS.TXT", 2, runs)
                  + b"\x1a\x00")
    # PAK's own method 10 is passed over; the entry behind it is extracted.
    write_archive("pak10.arc", entry("CRUSHED.TXT", 10, runs) + entry("RUNS.TXT", 2, runs) + b"\x1a\x00")
    write_archive("badcrc.arc", entry_with_crc("RUNS.TXT", 2, runs, crc16(runs) ^ 1)
                  + entry("README.TXT", 2, readme) + b"\x1a\x00")
    write_archive("old1.arc", entry("README.TXT", 1, readme) + entry("RUNS.TXT", 1, runs) + b"\x1a\x00")
    write_archive("crunch5.arc", entry("README.TXT", 5, readme) + entry("DATA.BIN", 5, data) + b"\x1a\x00")
    write_archive("crunch6.arc", entry("README.TXT", 6, readme) + entry("RUNS.TXT", 6, runs)
                  + entry("DATA.BIN", 6, data) + b"\x1a\x00")
    write_archive("crunch7.arc", entry("README.TXT", 7, readme) + entry("RUNS.TXT", 7, runs)
                  + entry("DATA.BIN", 7, data) + b"\x1a\x00")


if __name__ == "__main__":
    main()
