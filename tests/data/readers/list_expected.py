#!/usr/bin/env python3
"""Prints size, CRC-32 and CRC-16 of every input file: what each extracted
entry must equal."""
import os
import zlib
from fixturelib import INPUT, crc16

for root, _, files in sorted(os.walk(INPUT)):
    for name in sorted(files):
        path = os.path.join(root, name)
        with open(path, "rb") as f:
            data = f.read()
        rel = os.path.relpath(path, INPUT)
        print("%s\t%d\t%08x\t%04x" % (rel, len(data), zlib.crc32(data), crc16(data)))
