#!/usr/bin/env python3
"""ZIP fixtures for extraction that must never destroy data: an archive that
holds an entry of its own name, size bombs of the old methods, entries that
share their data, names Windows cannot create, a 64-bit size marker, a
directory cut short, a Zip250 archive, and an encrypted entry together with a
wrong password that passes the one-byte check. Run from this folder."""
import importlib.util
import struct
import zlib

import sys
sys.dont_write_bytecode = True  # keep the fixture folder clean
from zipwriter import DOS_DATE, DOS_TIME, Entry, sample, write_zip

spec = importlib.util.spec_from_file_location("oldmethods", "make-old-methods.py")
oldmethods = importlib.util.module_from_spec(spec)
spec.loader.exec_module(oldmethods)

OK = b"Dieser Eintrag ist in Ordnung.\r\n" * 10
BOMB_SIZE = 16 * 1024 * 1024


def deflate(data):
    c = zlib.compressobj(6, zlib.DEFLATED, -15)
    return c.compress(data) + c.flush()


def bombs():
    """Small packed data that declares 16 MiB: the decoders read on past it."""
    text = sample(2000, 41)
    write_zip("bomb-shrink.zip", [Entry("bombe.txt", text, oldmethods.shrink(text)[0], 1, size=BOMB_SIZE)])
    write_zip("bomb-reduce.zip", [Entry("bombe.txt", text, oldmethods.reduce(text, 4), 5, size=BOMB_SIZE)])
    packed = oldmethods.implode(text, True, True)
    write_zip("bomb-implode.zip", [Entry("bombe.txt", text, packed, 6, flags=6, size=BOMB_SIZE)])


def overlap():
    """Five central headers on one local entry."""
    data = b"\0" * 100000
    packed = deflate(data)
    crc = zlib.crc32(data)
    name = b"eins.bin"
    local = struct.pack("<IHHHHHIIIHH", 0x04034B50, 20, 0, 8, DOS_TIME, DOS_DATE, crc, len(packed),
                        len(data), len(name), 0) + name + packed
    central = bytearray()
    names = [b"eins.bin", b"zwei.bin", b"drei.bin", b"vier.bin", b"fuenf.bin"]
    for n in names:
        central += struct.pack("<IHHHHHHIIIHHHHHII", 0x02014B50, 20, 20, 0, 8, DOS_TIME, DOS_DATE, crc,
                               len(packed), len(data), len(n), 0, 0, 0, 0, 0x20, 0) + n
    end = struct.pack("<IHHHHIIH", 0x06054B50, 0, 0, len(names), len(names), len(central), len(local), 0)
    with open("overlap.zip", "wb") as f:
        f.write(local + central + end)


def names():
    """Each name but the last cannot be created on Windows as it stands."""
    bad = ["CON", "aux.txt", "sub/nul/x.txt", "Com1.log", "lpt9", "glocke\x07.txt", "frage?.txt",
           "stern*.txt", "rohr|.txt", "klein<.txt", "gross>.txt", "zitat\".txt", "punkt.", "leer "]
    entries = [Entry(n, OK, OK, 0) for n in bad]
    # The name ends at its NUL for matching and for writing.
    entries.append(Entry("kurz.txt\0.exe", OK, OK, 0))
    entries.append(Entry("danach.txt", OK, OK, 0))
    write_zip("names.zip", entries)


def zip64_marker():
    entries = [Entry("riesig.bin", OK, OK, 0, size=0xFFFFFFFF), Entry("danach.txt", OK, OK, 0)]
    write_zip("zip64.zip", entries)


def cut_directory():
    """The second central header names more bytes than the file holds."""
    write_zip("cutdir.zip", [Entry("eins.txt", OK, OK, 0), Entry("zwei.txt", OK, OK, 0)])
    data = bytearray(open("cutdir.zip", "rb").read())
    first = data.find(b"PK\x01\x02")
    second = data.find(b"PK\x01\x02", first + 4)
    struct.pack_into("<H", data, second + 28, 60000)
    open("cutdir.zip", "wb").write(bytes(data))


def zip250():
    """Local headers of the older kind: detected, but not extractable."""
    name = b"ALT.TXT"
    local = struct.pack("<IHHHHHIIIHH", 0x50000000, 10, 0, 0, DOS_TIME, DOS_DATE, zlib.crc32(OK),
                        len(OK), len(OK), len(name), 0) + name + OK
    central = struct.pack("<IHHHHHHIIIHHHHHII", 0x02014B50, 10, 10, 0, 0, DOS_TIME, DOS_DATE,
                          zlib.crc32(OK), len(OK), len(OK), len(name), 0, 0, 0, 0, 0x20, 0) + name
    end = struct.pack("<IHHHHIIH", 0x06054B50, 0, 0, 1, 1, len(central), len(local), 0)
    with open("zip250.zip", "wb") as f:
        f.write(local + central + end)


class ZipCrypto:
    def __init__(self, password):
        self.keys = [0x12345678, 0x23456789, 0x34567890]
        for c in password:
            self.update(c)

    def update(self, byte):
        k = self.keys
        k[0] = zlib.crc32(bytes([byte]), k[0] ^ 0xFFFFFFFF) ^ 0xFFFFFFFF
        k[1] = ((k[1] + (k[0] & 0xFF)) * 134775813 + 1) & 0xFFFFFFFF
        k[2] = zlib.crc32(bytes([(k[1] >> 24) & 0xFF]), k[2] ^ 0xFFFFFFFF) ^ 0xFFFFFFFF

    def stream_byte(self):
        t = (self.keys[2] | 2) & 0xFFFF
        return ((t * (t ^ 1)) >> 8) & 0xFF

    def encrypt(self, data):
        out = bytearray()
        for b in data:
            out.append(b ^ self.stream_byte())
            self.update(b)
        return bytes(out)

    def decrypt(self, data):
        out = bytearray()
        for b in data:
            p = b ^ self.stream_byte()
            out.append(p)
            self.update(p)
        return bytes(out)


def wrong_password():
    """Encrypted with "geheim"; prints a wrong password whose check byte fits."""
    plain = sample(20000, 43)
    crc = zlib.crc32(plain)
    header = bytes(range(11)) + bytes([crc >> 24])
    packed = ZipCrypto(b"geheim").encrypt(header + deflate(plain))
    write_zip("wrongpass.zip", [Entry("geheim.txt", plain, packed, 8, flags=1)])
    for i in range(100000):
        candidate = b"falsch%d" % i
        if ZipCrypto(candidate).decrypt(packed[:12])[11] == crc >> 24:
            print("wrongpass.zip: a wrong password that passes the check:", candidate.decode())
            break


def self_named():
    write_zip("self.zip", [Entry("SELF.ZIP", OK, OK, 0), Entry("danach.txt", OK, OK, 0)])


def main():
    bombs()
    overlap()
    names()
    zip64_marker()
    cut_directory()
    zip250()
    wrong_password()
    self_named()


if __name__ == "__main__":
    main()
