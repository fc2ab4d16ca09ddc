#!/usr/bin/env python3
"""Self-extracting programs: a DOS program stub of our own followed by an
archive, and the plain archives a correct conversion gives back (checked here
with unzip -t and arj t, so that the tests compare bytes only).

usage: gen_sfx.py WORKDIR   (WORKDIR holds the input files, dated)"""
import os
import struct
import subprocess
import sys
import zlib
from fixturelib import OUT, write_archive


def stub(size):
    """An MZ image of SIZE bytes: the header's page count and last-page bytes
    say where the image ends (a last-page count of 0 is a full page)."""
    pages, last = (size + 511) // 512, size % 512
    head = b"MZ" + struct.pack("<HHHHHHHHHHHH", last, pages, 0, 2, 0, 0xFFFF, 0, 0xB8, 0, 0, 0, 0x1C)
    code = b"\xb4\x4c\xcd\x21"
    return (head + code).ljust(size, b"\0")


def run(*args, cwd=None):
    subprocess.run(args, cwd=cwd, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def arj_headers(data, pos):
    """Yields (start, end) of the main header, then of each file header with
    its data, from POS (a 60 EA mark) to the end mark."""
    main = True
    while True:
        assert data[pos:pos + 2] == b"\x60\xea"
        size = struct.unpack_from("<H", data, pos + 2)[0]
        if size == 0:
            return
        end = pos + 4 + size + 4
        while True:
            ext = struct.unpack_from("<H", data, end)[0]
            end += 2 + (ext + 4 if ext else 0)
            if not ext:
                break
        packed = 0 if main else struct.unpack_from("<I", data, pos + 16)[0]
        main = False
        yield pos, end + packed
        pos = end + packed


def arj_plain(archive):
    """The ARJ archive a conversion writes: main header with flags 16, no
    security envelope and no comment, then every file header unchanged."""
    heads = list(arj_headers(archive, 0))
    main_start, main_end = heads[0]
    first = archive[4]
    basic = bytearray(archive[4:4 + first])
    basic[4] = 16
    basic[20:24] = b"\0\0\0\0"
    basic[26:28] = b"\0\0"
    rest = archive[4 + first:]
    name = rest[:rest.index(0)]
    basic += name + b"\0\0"
    out = b"\x60\xea" + struct.pack("<H", len(basic)) + basic
    out += struct.pack("<I", zlib.crc32(bytes(basic))) + b"\0\0"
    for start, end in heads[1:]:
        out += archive[start:end]
    return out + b"\x60\xea\0\0"


def main():
    work = sys.argv[1]
    # ZIP behind a stub, offsets made absolute by zip -A; one with data
    # descriptors (every encrypted entry of zip has them).
    for name, extra in (("sfx_zip", []), ("sfx_zipdd", ["-P", "secret"])):
        plain = os.path.join(work, name + ".zip")
        run("zip", "-q", "-X", *extra, plain, "readme.txt", "data.bin", "empty.txt", cwd=work)
        with open(plain, "rb") as f:
            zipdata = f.read()
        exe = os.path.join(work, name + ".exe")
        with open(exe, "wb") as f:
            f.write(stub(1000) + zipdata)
        run("zip", "-q", "-A", exe)
        if extra:
            run("unzip", "-q", "-t", "-P", "secret", exe)
        else:
            run("unzip", "-q", "-t", exe)
        run("unzip", "-q", "-t", *(["-P", "secret"] if extra else []), plain)
        with open(exe, "rb") as f:
            write_archive(name + ".exe", f.read())
        write_archive(name + "_expected.zip", zipdata)
    # The same archive cut before its end record.
    write_archive("sfx_noend.exe", stub(1000) + zipdata[:-22])

    # ARJ with an archive comment behind a stub of whole pages, and one whose
    # stub is larger than the 25000 bytes the header search looks through.
    comment = os.path.join(work, "comment.txt")
    with open(comment, "w") as f:
        f.write("Archivkommentar\n")
    arj = os.path.join(work, "sfx.arj")
    run("arj", "a", "-y", "-z" + comment, arj, "readme.txt", "text.txt", "tiny.txt", cwd=work)
    with open(arj, "rb") as f:
        arjdata = f.read()
    assert b"Archivkommentar" in arjdata
    plain = arj_plain(arjdata)
    expected = os.path.join(work, "sfx_expected.arj")
    with open(expected, "wb") as f:
        f.write(plain)
    run("arj", "t", expected)
    write_archive("sfx_arj.exe", stub(1536) + arjdata)
    write_archive("sfx_arj_expected.arj", plain)
    write_archive("sfx_arjbig.exe", stub(30720) + arjdata)

    # ARC, PAK and RAR are copied from the archive start to the end.
    with open(os.path.join(OUT, "arcmix.arc"), "rb") as f:
        arcdata = f.read()
    write_archive("sfx_arc.exe", stub(1000) + arcdata)
    rar = b"Rar!\x1a\x07\x00" + bytes(range(256)) * 3
    write_archive("sfx_rar.exe", stub(2048) + rar)
    write_archive("sfx_rar_expected.rar", rar)


if __name__ == "__main__":
    main()
