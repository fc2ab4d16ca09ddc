#!/usr/bin/env python3
"""Rewrites fields of the entries of an ARJ archive and fixes their header CRCs.

usage: arjpatch.py IN OUT INDEX FIELD=VALUE ... (INDEX 1 is the first file header)
       arjpatch.py --flip-data IN OUT INDEX (damages the entry's first data byte)
Fields: version (archiver version), needed, type, method, name.
"""
import struct, sys, zlib

OFFSETS = {"version": 1, "needed": 2, "method": 5, "type": 6}


def headers(data):
    pos = 0
    while True:
        assert data[pos:pos + 2] == b"\x60\xea", hex(pos)
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
        packed = struct.unpack_from("<I", data, start + 12)[0] if pos else 0
        yield pos, start, size, end, packed
        pos = end + packed


def patch(data, index, changes):
    data = bytearray(data)
    for n, (pos, start, size, end, packed) in enumerate(list(headers(bytes(data)))):
        if n != index:
            continue
        basic = bytearray(data[start:start + size])
        for field, value in changes:
            if field == "name":
                first = basic[0]
                rest = basic[first:]
                old = rest.index(0)
                basic = basic[:first] + value.encode() + rest[old:]
            else:
                basic[OFFSETS[field]] = int(value)
        crc = struct.pack("<I", zlib.crc32(bytes(basic)))
        data[pos:start + size + 4] = b"\x60\xea" + struct.pack("<H", len(basic)) + basic + crc
        return bytes(data)
    raise SystemExit("no header %d" % index)


def flip_data(data, index):
    data = bytearray(data)
    pos, start, size, end, packed = list(headers(bytes(data)))[index]
    assert packed > 0
    data[end] ^= 0x55
    return bytes(data)


def main():
    if sys.argv[1] == "--flip-data":
        src, dst, index = sys.argv[2], sys.argv[3], int(sys.argv[4])
        with open(src, "rb") as f:
            data = flip_data(f.read(), index)
        with open(dst, "wb") as f:
            f.write(data)
        return
    src, dst, index = sys.argv[1], sys.argv[2], int(sys.argv[3])
    changes = [arg.split("=", 1) for arg in sys.argv[4:]]
    with open(src, "rb") as f:
        data = f.read()
    data = patch(data, index, changes)
    assert len(list(headers(data))) == len(list(headers(open(src, "rb").read())))
    with open(dst, "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main()
