#!/usr/bin/env python3
"""Writes the ZOO archives of the archive routines' listing tests, byte by byte:
entries with the variable part (a long name, a folder) and without it, a deleted
entry, a date that does not exist, and chains that end early, leave the file or
turn back."""
import pathlib
import struct

here = pathlib.Path(__file__).resolve().parent
README = (here / "src" / "readme.txt").read_bytes()
GUIDE = (here / "src" / "docs" / "guide.txt").read_bytes()
TAG = 0xFDC4A7DC


def dos(y, mo, d, h, mi, s):
    return ((y - 1980) << 9) | (mo << 5) | d, (h << 11) | (mi << 5) | (s // 2)


def entry(name, nxt, data_at, size, date, long_name=b"", folder=b"", deleted=0, with_variable_part=True):
    """A type-2 directory entry; without the variable part it ends behind the
    directory CRC (56 bytes), so whatever follows is the entry's data."""
    e = bytearray(56)
    struct.pack_into("<IBBII", e, 0, TAG, 2, 0, nxt, data_at)
    struct.pack_into("<HHHII", e, 14, date[0], date[1], 0, size, size)
    e[28], e[29], e[30] = 2, 1, deleted
    e[38:38 + len(name)] = name
    variable = b""
    if with_variable_part:
        variable = bytes([len(long_name), len(folder)]) + long_name + folder + b"\0\0" + b"\0\0\0" + b"\0" + b"\0\0"
    struct.pack_into("<H", e, 51, len(variable))
    e[53] = 127
    return bytes(e) + variable


def archive(items, first_next=None, last_next=None):
    """items: (name, data, date, long name, folder, deleted, variable part)."""
    out = bytearray(b"ZOO 2.10 Archive.\x1a".ljust(20, b"\0"))
    out += struct.pack("<IIiBBBIHB", TAG, 42, -42, 2, 0, 1, 0, 0, 0)
    sizes = [len(entry(n, 0, 0, 0, d, l, f, x, v)) + len(data) for n, data, d, l, f, x, v in items]
    pos = 42
    for i, (name, data, date, long_name, folder, deleted, variable) in enumerate(items):
        nxt = pos + sizes[i]
        if i == 0 and first_next is not None:
            nxt = first_next
        if i == len(items) - 1 and last_next is not None:
            nxt = last_next
        head = entry(name, nxt, 0, len(data), date, long_name, folder, deleted, variable)
        out += entry(name, nxt, pos + len(head), len(data), date, long_name, folder, deleted, variable) + data
        pos = nxt if nxt > pos else pos + sizes[i]
    out += entry(b"", 0, 0, 0, (0, 0), with_variable_part=False)
    return bytes(out)


T1 = dos(2024, 3, 15, 10, 20, 30)
T2 = dos(2021, 7, 4, 12, 34, 56)
NO_DATE = dos(2003, 2, 31, 8, 0, 0)

items = [
    (b"readme.txt", README, T1, b"", b"", 0, False),
    (b"guide.txt", GUIDE, T2, b"", b"docs", 0, True),
    (b"LANGER~1.TXT", b"lang", T2, b"Langer Name.txt", b"docs/sub", 0, True),
    (b"old.txt", b"weg", T1, b"", b"", 1, True),
    (b"nodate.txt", b"x", NO_DATE, b"", b"", 0, True),
]
(here / "folders.zoo").write_bytes(archive(items))
# The first entry's next position is 0: the chain ends before any entry.
(here / "firstnext0.zoo").write_bytes(archive(items[:2], first_next=0))
# The second entry points past the end of the file.
(here / "pastend.zoo").write_bytes(archive(items[:3], last_next=1 << 30))
# A short name that runs on for 300 bytes: it is read up to 255 of them.
runaway = bytearray(archive([(b"x.txt", b"", T1, b"", b"", 0, False)]))
runaway[42 + 4] = 1  # an old entry: no variable part
runaway[42 + 38:42 + 38 + 300] = b"N" * 300
struct.pack_into("<I", runaway, 42 + 6, 42 + 400)
closing = entry(b"", 0, 0, 0, (0, 0), with_variable_part=False)
(here / "longname.zoo").write_bytes(bytes(runaway[:42 + 400]).ljust(42 + 400, b"\0") + closing)
