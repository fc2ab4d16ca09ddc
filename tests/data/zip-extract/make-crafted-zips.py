#!/usr/bin/env python3
"""ZIP fixtures that no archiver writes: names that climb out of the target
folder, an entry that inflates past its declared size, a wrong CRC, a bad
deflate block, an unsupported method next to a good entry, and a damaged
local header. Run from this folder (make-zip-fixtures.sh does)."""
import zlib

import sys
sys.dont_write_bytecode = True  # keep the fixture folder clean
from zipwriter import Entry, sample, write_zip


def deflate(data):
    c = zlib.compressobj(6, zlib.DEFLATED, -15)
    return c.compress(data) + c.flush()


def main():
    ok = b"Dieser Eintrag ist in Ordnung.\r\n" * 10
    write_zip("climb.zip", [
        Entry("../oben.txt", ok, ok, 0),
        Entry("/wurzel.txt", ok, ok, 0),
        Entry("C:\\laufwerk.txt", ok, ok, 0),
        Entry("sub/../../raus.txt", ok, ok, 0),
        Entry("innen.txt", ok, ok, 0),
    ])
    big = sample(50000, 31)
    write_zip("oversize.zip", [Entry("zu-gross.txt", big, deflate(big), 8, size=20000),
                               Entry("zu-lang.txt", big, big, 0, size=20000)])
    write_zip("badcrc.zip", [Entry("kaputt.txt", ok, deflate(ok), 8, crc=zlib.crc32(ok) ^ 1),
                             Entry("heil.txt", ok, deflate(ok), 8)])
    # Last-block bit and block type 3 after one good stored block.
    stored = bytes([0x00, 0x05, 0x00, 0xFA, 0xFF]) + b"Hallo"
    write_zip("badblock.zip", [Entry("block.txt", b"Hallo" + ok, stored + bytes([0x07, 0x00]), 8)])
    write_zip("method7.zip", [Entry("tokenized.dat", ok, ok, 7), Entry("danach.txt", ok, ok, 0)])


if __name__ == "__main__":
    main()
