#!/usr/bin/env python3
"""make-stub.py SIZE OUT [IMAGE]: a DOS program stub of SIZE bytes whose MZ header
gives an image of IMAGE bytes (default SIZE): the pages count and the bytes in the
last page (0 for a full last page)."""
import struct
import sys

def stub(size, image=None):
    image = size if image is None else image
    body = bytearray(b"\x90" * size)
    pages = (image + 511) // 512
    struct.pack_into("<2sHHHH", body, 0, b"MZ", image % 512, pages, 0, 4)
    text = b"This program needs its archive.\r\n$"
    body[64:64 + len(text)] = text
    return bytes(body)

if __name__ == "__main__":
    size = int(sys.argv[1])
    image = int(sys.argv[3]) if len(sys.argv) > 3 else None
    data = stub(size, image)
    assert data[:2] == b"MZ" and len(data) == size
    open(sys.argv[2], "wb").write(data)
