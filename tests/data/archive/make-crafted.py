#!/usr/bin/env python3
"""Writes the archives that no packer here can make, byte by byte: RAR, BH, HA, ZOO,
cabinet sets, PAK, old ARC methods, ARJ folder and label entries, program stubs and
damaged files. Each file is checked after it is written. Where an entry's data is not
a stream of its method (only its header matters to a lister), the name says so:
such entries are called "hdronly...". Run make-tool-fixtures.sh first (the ZOO
method-2 entry reuses an -lh5- stream of level0.lzh)."""
import pathlib
import runpy
import struct
import zlib

here = pathlib.Path(__file__).resolve().parent
src = here / "src"
stub = runpy.run_path(str(here / "make-stub.py"))["stub"]

README = (src / "readme.txt").read_bytes()
GUIDE = (src / "docs" / "guide.txt").read_bytes()


def crc16(data, crc=0):
    for b in data:
        crc ^= b
        for _ in range(8):
            crc = (crc >> 1) ^ 0xA001 if crc & 1 else crc >> 1
    return crc


def crc32(data):
    return zlib.crc32(data) & 0xFFFFFFFF


def dos(y, mo, d, h, mi, s):
    return ((y - 1980) << 25) | (mo << 21) | (d << 16) | (h << 11) | (mi << 5) | (s // 2)


def write(name, data):
    (here / name).write_bytes(data)
    return data


T1 = dos(2024, 3, 15, 10, 20, 30)
T2 = dos(2021, 7, 4, 12, 34, 56)
T3 = dos(1999, 12, 31, 23, 59, 58)


# RAR (the block format before version 5).
def rar_block(btype, flags, body, extra=b""):
    size = 7 + len(body)
    head = struct.pack("<BHH", btype, flags, size) + body
    return struct.pack("<H", crc32(head) & 0xFFFF) + head + extra


def rar_file(name, data, method=0x30, stamp=T1, attr=0x20, flags=0x8000, crc=None, unpacked=None, btype=0x74):
    body = struct.pack("<IIBIIBBHI", len(data), len(data) if unpacked is None else unpacked, 2,
                       crc32(data) if crc is None else crc, stamp, 29, method, len(name), attr) + name
    return rar_block(btype, flags, body, data)


def rar(entries, main_extra=b""):
    main = rar_block(0x73, 0x02 if main_extra else 0, b"\0" * 6 + main_extra)
    return b"Rar!\x1a\x07\x00" + main + b"".join(entries) + rar_block(0x7B, 0x4000, b"")


rar_entries = [
    rar_file(b"readme.txt", README),
    rar_file(b"docs", b"", flags=0x80E0, attr=0x10, stamp=T2),
    rar_file(b"docs\\guide.txt", GUIDE, stamp=T2),
    rar_file(b"hdronly-best.bin", b"\x11" * 40, method=0x35, stamp=T3, crc=0x12345678, unpacked=4000),
]
plain_rar = write("blocks.rar", rar(rar_entries))
write("comment.rar", rar(rar_entries[:1], main_extra=b"\x05\x00comment"))
write("rar5.rar", b"Rar!\x1a\x07\x01\x00" + bytes(range(40)))
# A name with its Unicode form behind the first NUL (file flag 0x200).
write("unicode.rar", rar([rar_file(b"umlaut.txt\0\x00\x75\xfc\x6d", README, flags=0x8200)]))
write("rarsfx.exe", stub(2048) + plain_rar)
assert plain_rar.count(b"\x74\x00\x80") >= 3

# Archives for the RAR unpacking calls: a comment block, folders, stored entries
# with data, an entry comment, encrypted and compressed entries, high sizes.
def rar_commented(name, data, comment):
    body = struct.pack("<IIBIIBBHI", len(data), len(data), 2, crc32(data), T1, 29, 0x30, len(name), 0x20) + name
    cmt = struct.pack("<HBHHHBBH", 0, 0x75, 0, 13 + len(comment), len(comment), 15, 0x30, 0) + comment
    return rar_block(0x74, 0x8008, body + cmt, data)


def rar_huge(name, data, unpacked_high, packed_low_unpacked):
    body = struct.pack("<IIBIIBBHIII", len(data), packed_low_unpacked, 2, 0, T3, 29, 0x35, len(name), 0x20,
                       0, unpacked_high) + name
    return rar_block(0x74, 0x8100, body, data)


STORED_TEXT = b"Gespeichert, nicht gepackt.\r\n" * 40
stored4 = rar([rar_file(b"CMT", b"Kommentar des Archivs", btype=0x7A),
               rar_file(b"docs", b"", flags=0x80E0, attr=0x10, stamp=T2),
               rar_file(b"docs\\guide.txt", GUIDE, stamp=T2),
               rar_file(b"stored.txt", STORED_TEXT, stamp=T3),
               rar_commented(b"noted.txt", b"note", b"Dateikommentar"),
               rar_file(b"hdronly-best.bin", b"\x11" * 40, method=0x35, crc=0x12345678, unpacked=4000),
               rar_file(b"locked.txt", b"secret", flags=0x8004),
               rar_huge(b"hdronly-huge.bin", b"\x22" * 16, 1, 0x10)])
write("stored4.rar", stored4)
OLD_COMMENT = b"Alter Kommentar"
write("oldcomment.rar", rar(rar_entries[:1], main_extra=struct.pack(
    "<HBHHHBBH", 0, 0x75, 0, 13 + len(OLD_COMMENT), len(OLD_COMMENT), 15, 0x30, 0) + OLD_COMMENT))
write("stored4sfx.exe", stub(4096) + stored4)
write("badcrc.rar", rar([rar_file(b"readme.txt", README, crc=crc32(README) ^ 1)]))
broken = bytearray(rar([rar_file(b"readme.txt", README), rar_file(b"stored.txt", STORED_TEXT)]))
broken[broken.rindex(b"stored.txt") - 1] ^= 0x40  # inside the second header: its CRC no longer holds
write("brokenhead.rar", bytes(broken))
write("unsafe.rar", rar([rar_file(n, b"x") for n in (b"..\\evil.txt", b"\\abs.txt", b"c:evil.txt", b"con.txt",
                                                       b"sub\\..\\..\\evil.txt", b"what?.txt", b"ok.txt")]))


# RAR 5: numbers are 7 bits a byte, each header starts with its CRC32.
def vint(n):
    out = bytearray()
    while True:
        out.append((n & 0x7F) | (0x80 if n > 0x7F else 0))
        n >>= 7
        if not n:
            return bytes(out)


def r5_block(htype, fields, extra=b"", data=None, flags=0):
    flags |= (1 if extra else 0) | (2 if data is not None else 0)
    body = vint(htype) + vint(flags) + (vint(len(extra)) if extra else b"") + \
        (vint(len(data)) if data is not None else b"") + fields + extra
    size = vint(len(body))
    return struct.pack("<I", crc32(size + body)) + size + body + (data or b"")


def r5_file(name, data, htype=2, unix=1710498030, folder=False, method=0, unpacked=None, extra=b"", crc=None):
    fields = vint((1 if folder else 0) | 2 | (0 if folder else 4)) + vint(len(data) if unpacked is None else unpacked)
    fields += vint(0x10 if folder else 0x20) + struct.pack("<I", unix)
    if not folder:
        fields += struct.pack("<I", crc32(data) if crc is None else crc)
    fields += vint(method << 7) + vint(0) + vint(len(name)) + name
    return r5_block(htype, fields, extra, None if folder else data)


def rar5(blocks):
    return b"Rar!\x1a\x07\x01\x00" + r5_block(1, vint(0)) + b"".join(blocks) + r5_block(5, vint(0))


stored5 = rar5([r5_file(b"CMT", "Kommentar für RAR 5".encode(), htype=3),
                r5_file(b"docs", b"", folder=True, unix=1625402096),
                r5_file(b"docs/guide.txt", GUIDE, unix=1625402096),
                r5_file(b"stored.txt", STORED_TEXT),
                r5_file(b"cut.txt\0hidden", README),
                r5_file(b"hdronly-best.bin", b"\x11" * 40, method=5, unpacked=6 << 30, crc=0x12345678),
                r5_file(b"locked.txt", b"secret", extra=vint(2) + vint(1) + vint(0))])
write("stored5.rar", stored5)
write("stored5sfx.exe", stub(4096) + stored5)
broken5 = bytearray(stored5)
broken5[stored5.index(b"stored.txt") - 2] ^= 0x01
write("brokenhead5.rar", bytes(broken5))


# BH: the header layout the lister reads (37 bytes, then the name, then the data).
def bh_entry(name, data, method=0, stamp=T1, attr=0x20, crc=None, unpacked=None):
    h = bytearray(37)
    struct.pack_into("<IH", h, 0, 0x07054842, 37 + len(name))
    h[7], h[8], h[10] = 0x10, 0x0A, method
    struct.pack_into("<IIII", h, 11, stamp, len(data), len(data) if unpacked is None else unpacked,
                     crc32(data) if crc is None else crc)
    struct.pack_into("<H", h, 27, attr)
    struct.pack_into("<H", h, 33, len(name))
    return bytes(h) + name + data


bh = (bh_entry(b"readme.txt", README)
      + bh_entry(b"DOCS\\GUIDE.TXT", GUIDE, stamp=T2)
      + bh_entry(b"HDRONLY.FUS", b"\x22" * 60, method=1, stamp=T3, crc=0xCAFEBABE, unpacked=900))
write("files.bh", bh)
# Self-extracting: the image (600 bytes) ends before the archive; the last four
# bytes give the distance of the archive from the end of the file.
trailer = bh + struct.pack("<I", len(bh) + 4)
write("bhsfx.exe", stub(1000, 600) + trailer)


# HA: "HA", entry count, then per entry the type byte, sizes, CRC-32, Unix time,
# path and name (NUL-terminated), one byte of machine-specific length and the data.
def ha_entry(path, name, data, method=0, version=2, stamp=1710498030):
    head = struct.pack("<BIIII", (version << 4) | method, len(data), len(data), crc32(data), stamp)
    return head + path + b"\0" + name + b"\0" + b"\x01\x20" + data


ha = (b"HA" + struct.pack("<H", 3) + ha_entry(b"", b"readme.txt", README)
      + ha_entry(b"", b"docs", b"", method=14) + ha_entry(b"docs\xff", b"guide.txt", GUIDE))
write("files.ha", ha)


# ZOO: archive header, chained directory entries, a closing entry.
ZOO_TAG = 0xFDC4A7DC


def zoo_entry(name, method, nxt, offset, date_time, crc, orig, size, comment_pos=0, comment_len=0):
    e = bytearray(56)
    struct.pack_into("<IBBII", e, 0, ZOO_TAG, 1, method, nxt, offset)
    struct.pack_into("<HHHII", e, 14, date_time >> 16, date_time & 0xFFFF, crc, orig, size)
    e[28], e[29] = 2, 0
    struct.pack_into("<IH", e, 32, comment_pos, comment_len)
    e[38:38 + len(name)] = name
    return bytes(e)


def lh5_stream_of_guide():
    # The -lh5- entry of the level-0 archive: header size byte, then size + 2 bytes.
    data = (here / "level0.lzh").read_bytes()
    pos = 0
    while data[pos]:
        hs, packed = data[pos], struct.unpack_from("<I", data, pos + 7)[0]
        nlen = data[pos + 21]
        if data[pos + 2:pos + 7] == b"-lh5-" and data[pos + 22:pos + 22 + nlen].endswith(b"guide.txt"):
            return data[pos + hs + 2:pos + hs + 2 + packed]
        pos += hs + 2 + packed
    raise SystemExit("no -lh5- entry in level0.lzh")


def zoo(entries_data, archive_comment=b""):
    header = bytearray(b"ZOO 2.10 Archive.\x1a\0\0".ljust(20, b"\0"))
    start = 42
    header += struct.pack("<IiiBBBIHB", ZOO_TAG, start, -start, 2, 0, 1, 0, 0, 0)
    assert len(header) == 42
    out = bytearray(header)
    positions = []
    pos = start
    for name, method, dt, data, orig, comment in entries_data:
        positions.append(pos)
        pos += 56 + len(data) + len(comment)
    closing = pos
    for i, (name, method, dt, data, orig, comment) in enumerate(entries_data):
        nxt = positions[i + 1] if i + 1 < len(positions) else closing
        data_at = positions[i] + 56
        comment_at = data_at + len(data) if comment else 0
        crc = crc16(orig if isinstance(orig, bytes) else b"")
        out += zoo_entry(name, method, nxt, data_at, dt, crc, len(orig), len(data), comment_at, len(comment))
        out += data + comment
    out += zoo_entry(b"", 0, 0, 0, 0, 0, 0, 0)
    if archive_comment:
        at = len(out)
        out += archive_comment
        struct.pack_into("<IH", out, 35, at, len(archive_comment))
    return bytes(out)


zoo_data = zoo([
    (b"readme.txt", 0, T1, README, README, b"An entry comment."),
    (b"guide.txt", 2, T2, lh5_stream_of_guide(), GUIDE, b""),
], archive_comment=b"A zoo comment.")
write("files.zoo", zoo_data)
assert struct.unpack_from("<I", zoo_data, 20)[0] == ZOO_TAG
# A chain that points back at its own entry.
loop = bytearray(zoo([(b"readme.txt", 0, T1, README, README, b"")]))
struct.pack_into("<I", loop, 42 + 6, 42)
write("selfloop.zoo", bytes(loop))


# ARC and PAK: mark 26, method, 13-byte name, sizes, date, time, CRC-16.
def arc_entry(name, method, data, date_time, orig=None):
    orig = data if orig is None else orig
    h = struct.pack("<BB13sIHHH", 26, method, name, len(data), date_time >> 16, date_time & 0xFFFF, crc16(orig))
    if method == 1:
        return h + data
    return h + struct.pack("<I", len(orig)) + data


old = (arc_entry(b"README.TXT", 1, README, T1)
       + arc_entry(b"HDRONLY5.DAT", 5, b"\x33" * 30, T2, orig=b"\x33" * 500)
       + arc_entry(b"HDRONLY6.DAT", 6, b"\x44" * 31, T2, orig=b"\x44" * 600)
       + arc_entry(b"HDRONLY7.DAT", 7, b"\x55" * 32, T3, orig=b"\x55" * 700)
       + arc_entry(b"GUIDE.TXT", 2, GUIDE, T2) + b"\x1a\x00")
write("oldmethods.arc", old)
assert old[:2] == b"\x1a\x01"
pak = (arc_entry(b"HDRONLY.CRU", 10, b"\x66" * 20, T1, orig=b"\x66" * 300)
       + arc_entry(b"HDRONLY.DIS", 11, b"\x77" * 21, T2, orig=b"\x77" * 400)
       + arc_entry(b"README.TXT", 2, README, T1) + b"\x1a\x00")
write("files.pak", pak)
write("paksfx.exe", stub(800) + pak)
# The self-extracting ARC program whose archive begins at byte 7717.
arcstub = bytearray(stub(7716))
arcstub[0:2] = b"\xb7\x92"
write("arcsfx7717.exe", bytes(arcstub) + arc_entry(b"README.TXT", 2, README, T1) + b"\x1a\x00")


# ARJ with a folder entry, a volume label and an extended header (DOS host).
def arj_header(first, name, comment=b"", ext=b""):
    basic = first + name + b"\0" + comment + b"\0"
    out = struct.pack("<HH", 0xEA60, len(basic)) + basic + struct.pack("<I", crc32(basic))
    if ext:
        out += struct.pack("<H", len(ext)) + ext + struct.pack("<I", crc32(ext))
    return out + b"\0\0"


def arj_first(ftype, method, stamp, packed, orig, crc, flags=0):
    return struct.pack("<BBBBBBBBIIIIHHH", 30, 11, 1, 0, flags, method, ftype, 0, stamp, packed, orig, crc, 0, 0x20, 0)


main = arj_header(struct.pack("<BBBBBBBBIIIIHHH", 30, 11, 1, 0, 0, 0, 2, 0, T1, T1, 0, 0, 0, 0, 0),
                  b"FOLDERS.ARJ", b"An arj comment.")
arjdata = (main
           + arj_header(arj_first(4, 0, T1, 0, 0, 0), b"VOLUMELABEL")
           + arj_header(arj_first(3, 0, T2, 0, 0, 0), b"DOCS")
           + arj_header(arj_first(0, 0, T2, len(GUIDE), len(GUIDE), crc32(GUIDE)), b"DOCS\\GUIDE.TXT",
                        ext=b"extended header bytes") + GUIDE
           + arj_header(arj_first(0, 0, T1, len(README), len(README), crc32(README)), b"README.TXT") + README
           + struct.pack("<HH", 0xEA60, 0))
write("folders.arj", arjdata)

# Cabinet sets (headers and file entries; the data blocks are filler).
def cab(files, flags=0, prev=None, nxt=None, reserve=False, number=0):
    names = b""
    if prev:
        names += prev + b"\0" + b"DISK\0"
    if nxt:
        names += nxt + b"\0" + b"DISK\0"
    res = struct.pack("<HBB", 4, 0, 0) + b"RSRV" if reserve else b""
    header_len = 36 + len(res) + len(names)
    folder_at = header_len
    files_at = folder_at + 8
    entries = b""
    for name, size, folder, date_time in files:
        entries += struct.pack("<IIHHHH", size, 0, folder, date_time >> 16, date_time & 0xFFFF, 0x20) + name + b"\0"
    data_at = files_at + len(entries)
    body = struct.pack("<IHH", data_at, 1, 1) + entries + b"\0" * 16
    total = header_len + len(body)
    head = struct.pack("<4sIIIIIBBHHHHH", b"MSCF", 0, total, 0, files_at, 0, 3, 1, 1, len(files),
                       flags | (4 if reserve else 0), 0x1234, number)
    return head + res + names + body


write("set1.cab", cab([(b"readme.txt", len(README), 0, T1), (b"big.txt", 128509, 0xFFFE, T3)],
                      flags=2, nxt=b"set2.cab", reserve=True))
write("set2.cab", cab([(b"big.txt", 128509, 0xFFFD, T3), (b"docs\\guide.txt", len(GUIDE), 0, T2)],
                      flags=1, prev=b"set1.cab", number=1))
write("loop1.cab", cab([(b"one.txt", 10, 0, T1)], flags=2, nxt=b"LOOP2.CAB"))
write("loop2.cab", cab([(b"two.txt", 20, 0, T1)], flags=3, prev=b"loop1.cab", nxt=b"loop1.cab", number=1))
write("lonely.cab", cab([(b"first.txt", 10, 0, T1)], flags=2, nxt=b"gone.cab"))
write("badhead.cab", b"MSCF" + b"\0" * 20)

# Damaged or foreign files.
write("zip250.bin", b"\0\0\0P" + b"\0" * 60)
write("five.bin", b"PK\x03\x04\x00")
write("text.txt", b"Rabatt: ZOLL und Rahmen, alles im Angebot.\r\n")
lha = bytearray((here / "level0.lzh").read_bytes())
struct.pack_into("<I", lha, 7, 0xFFFFFFF0)
write("hugesize.lzh", bytes(lha))
print("crafted fixtures made")
