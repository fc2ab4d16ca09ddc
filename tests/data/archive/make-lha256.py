#!/usr/bin/env python3
"""level2-256.lzh: two stored entries with level-2 headers, the first header
exactly 256 bytes long (so the low byte of its size is 0), the second short.
Run from this folder."""
import struct


def crc16(data):
    crc = 0
    for b in data:
        crc ^= b
        for _ in range(8):
            crc = (crc >> 1) ^ 0xA001 if crc & 1 else crc >> 1
    return crc


def entry(name, data, total=None):
    name_ext = bytes([1]) + name
    name_size = len(name_ext) + 2
    fixed = 26
    if total is None:
        exts = [(name_ext, name_size)]
    else:
        pad_size = total - fixed - name_size
        exts = [(name_ext, name_size), (bytes([0x3F]) + b" " * (pad_size - 3), pad_size)]
    body = bytearray()
    for i, (ext, size) in enumerate(exts):
        following = exts[i + 1][1] if i + 1 < len(exts) else 0
        body += ext + struct.pack("<H", following)
    size = fixed + len(body)
    head = struct.pack("<H5sIIIBBHBH", size, b"-lh0-", len(data), len(data), 1700000000, 0x20, 2,
                       crc16(data), ord("U"), exts[0][1])
    assert len(head) == fixed and (total is None or size == total)
    return head + body + data


def main():
    first = b"Ein Eintrag hinter einem Kopf von 256 Bytes.\r\n" * 4
    second = b"Der zweite Eintrag.\r\n"
    with open("level2-256.lzh", "wb") as f:
        f.write(entry(b"lang.txt", first, 256) + entry(b"kurz.txt", second) + b"\0")


if __name__ == "__main__":
    main()
