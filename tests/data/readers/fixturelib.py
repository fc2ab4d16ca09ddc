"""Helpers shared by the fixture generators: checksums, DOS stamps, bit writers."""
import os

HERE = os.path.dirname(os.path.abspath(__file__))
INPUT = os.path.join(HERE, "input")
OUT = os.path.join(HERE, "archives")

# Every input file carries this stamp (the scripts set it before packing).
DOS_DATE = ((1997 - 1980) << 9) | (6 << 5) | 15
DOS_TIME = (12 << 11) | (34 << 5) | (56 // 2)


def read_input(name):
    with open(os.path.join(INPUT, name), "rb") as f:
        return f.read()


def write_archive(name, data):
    os.makedirs(OUT, exist_ok=True)
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(data)


def crc16(data, crc=0):
    for b in data:
        crc ^= b
        for _ in range(8):
            crc = (crc >> 1) ^ 0xA001 if crc & 1 else crc >> 1
    return crc


class MsbBitWriter:
    def __init__(self):
        self.out = bytearray()
        self.acc = 0
        self.count = 0

    def put(self, value, bits):
        for i in range(bits - 1, -1, -1):
            self.acc = (self.acc << 1) | ((value >> i) & 1)
            self.count += 1
            if self.count == 8:
                self.out.append(self.acc)
                self.acc = 0
                self.count = 0

    def finish(self):
        if self.count:
            self.out.append(self.acc << (8 - self.count))
            self.acc = self.count = 0
        return bytes(self.out)


class LsbBitWriter:
    def __init__(self):
        self.out = bytearray()
        self.acc = 0
        self.count = 0

    def put(self, value, bits):
        self.acc |= value << self.count
        self.count += bits
        while self.count >= 8:
            self.out.append(self.acc & 255)
            self.acc >>= 8
            self.count -= 8

    def finish(self):
        if self.count:
            self.out.append(self.acc & 255)
            self.acc = self.count = 0
        return bytes(self.out)


def rle90(data):
    """The run-length coding of ARC methods 3, 6, 7 and 8 (repeat mark 0x90)."""
    out = bytearray()
    i = 0
    while i < len(data):
        c = data[i]
        n = 1
        while i + n < len(data) and data[i + n] == c and n < 255:
            n += 1
        # A mark taken literally does not become the byte to repeat, so runs
        # of the mark itself are written out one by one.
        out += b"\x90\x00" if c == 0x90 else bytes([c])
        if n >= 3 and c != 0x90:
            out += bytes([0x90, n])
            i += n
        else:
            i += 1
    return bytes(out)


def unrle90(data):
    out = bytearray()
    last, i = None, 0
    while i < len(data):
        c = data[i]
        if c == 0x90:
            n = data[i + 1]
            i += 2
            if n == 0:
                out.append(0x90)
            else:
                out += bytes([last]) * (n - 1)
        else:
            out.append(c)
            last = c
            i += 1
    return bytes(out)
