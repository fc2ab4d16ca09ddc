"""A minimal ZIP writer for generated fixtures: entries whose packed data the
generators produce themselves, with a fixed DOS date and DOS attributes."""
import struct
import zlib

# 17.05.2024 12:34:56
DOS_TIME = (12 << 11) | (34 << 5) | (56 // 2)
DOS_DATE = ((2024 - 1980) << 9) | (5 << 5) | 17


class Entry:
    def __init__(self, name, plain, packed, method, flags=0, attributes=0x20,
                 crc=None, size=None):
        self.name = name.encode("latin-1")
        self.plain = plain
        self.packed = packed
        self.method = method
        self.flags = flags
        self.attributes = attributes
        self.crc = zlib.crc32(plain) if crc is None else crc
        self.size = len(plain) if size is None else size


def write_zip(path, entries):
    out = bytearray()
    central = bytearray()
    for e in entries:
        offset = len(out)
        out += struct.pack("<IHHHHHIIIHH", 0x04034B50, 20, e.flags, e.method, DOS_TIME, DOS_DATE,
                           e.crc, len(e.packed), e.size, len(e.name), 0)
        out += e.name + e.packed
        central += struct.pack("<IHHHHHHIIIHHHHHII", 0x02014B50, 20, 20, e.flags, e.method, DOS_TIME,
                               DOS_DATE, e.crc, len(e.packed), e.size, len(e.name), 0, 0, 0, 0,
                               e.attributes, offset)
        central += e.name
    start = len(out)
    out += central
    out += struct.pack("<IHHHHIIH", 0x06054B50, 0, 0, len(entries), len(entries), len(central), start, 0)
    with open(path, "wb") as f:
        f.write(out)


class BitWriter:
    """Bits packed from the least significant bit of each byte up."""

    def __init__(self):
        self.out = bytearray()
        self.acc = 0
        self.count = 0

    def bits(self, value, n):
        self.acc |= (value & ((1 << n) - 1)) << self.count
        self.count += n
        while self.count >= 8:
            self.out.append(self.acc & 0xFF)
            self.acc >>= 8
            self.count -= 8

    def code_msb_first(self, code, n):
        for k in range(n - 1, -1, -1):
            self.bits((code >> k) & 1, 1)

    def finish(self):
        if self.count:
            self.out.append(self.acc & 0xFF)
        self.acc = self.count = 0
        return bytes(self.out)


def sample(size, seed, words=None):
    import random
    rng = random.Random(seed)
    words = words or ["Datei", "Ordner", "Archiv", "entpacken", "Laufwerk", "Gr\xf6\xdfe",
                      "und", "der", "die", "das", "Fehler", "Programm", "\r\n"]
    out = bytearray()
    while len(out) < size:
        kind = rng.randrange(10)
        if kind < 7:
            out += " ".join(rng.choice(words) for _ in range(30)).encode("latin-1") + b" "
        elif kind < 9:
            for i in range(rng.randrange(8, 40)):
                out += struct.pack("<HBB", i * 12 + rng.randrange(4), rng.randrange(3), 0)
        else:
            out += bytes(rng.randrange(256) for _ in range(100))
    return bytes(out[:size])
