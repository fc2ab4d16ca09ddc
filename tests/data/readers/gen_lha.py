#!/usr/bin/env python3
"""LHA archives with -lh1- (adaptive Huffman, encoded here and decoded again
before writing), -lh4- (an -lh5- stream of a file under 4 KiB relabelled: the
two differ only in the window) and entries a reader must pass over."""
import os
import struct
from fixturelib import (DOS_DATE, DOS_TIME, MsbBitWriter, OUT, crc16,
                        read_input, write_archive)

N, F, THRESHOLD = 4096, 60, 2
N_CHAR = 256 - THRESHOLD + F
T = N_CHAR * 2 - 1
R = T - 1
MAX_FREQ = 0x8000
P_LEN = [3] + [4] * 3 + [5] * 8 + [6] * 12 + [7] * 24 + [8] * 16


def p_codes():
    codes, code = [], 0
    for n in P_LEN:
        codes.append(code)
        code += 1 << (8 - n)
    assert code == 256
    return codes


P_CODE = p_codes()


class AdaptiveTree:
    def __init__(self):
        self.freq = [0] * (T + 1)
        self.son = [0] * T
        self.prnt = [0] * (T + N_CHAR)
        for i in range(N_CHAR):
            self.freq[i] = 1
            self.son[i] = i + T
            self.prnt[i + T] = i
        i, j = 0, N_CHAR
        while j <= R:
            self.freq[j] = self.freq[i] + self.freq[i + 1]
            self.son[j] = i
            self.prnt[i] = self.prnt[i + 1] = j
            i += 2
            j += 1
        self.freq[T] = 0xFFFF
        self.prnt[R] = 0

    def reconst(self):
        freq, son, prnt = self.freq, self.son, self.prnt
        j = 0
        for i in range(T):
            if son[i] >= T:
                freq[j] = (freq[i] + 1) // 2
                son[j] = son[i]
                j += 1
        i, j = 0, N_CHAR
        while j < T:
            f = freq[j] = freq[i] + freq[i + 1]
            k = j - 1
            while f < freq[k]:
                k -= 1
            k += 1
            freq[k + 1:j + 1] = freq[k:j]
            freq[k] = f
            son[k + 1:j + 1] = son[k:j]
            son[k] = i
            i += 2
            j += 1
        for i in range(T):
            k = son[i]
            prnt[k] = i
            if k < T:
                prnt[k + 1] = i

    def update(self, c):
        freq, son, prnt = self.freq, self.son, self.prnt
        if freq[R] == MAX_FREQ:
            self.reconst()
        c = prnt[c + T]
        while True:
            freq[c] += 1
            k = freq[c]
            if k > freq[c + 1]:
                l = c + 1
                while k > freq[l + 1]:
                    l += 1
                freq[c] = freq[l]
                freq[l] = k
                i = son[c]
                prnt[i] = l
                if i < T:
                    prnt[i + 1] = l
                j = son[l]
                son[l] = i
                prnt[j] = c
                if j < T:
                    prnt[j + 1] = c
                son[c] = j
                c = l
            c = prnt[c]
            if c == 0:
                break

    def encode(self, out, c):
        bits = []
        k = self.prnt[c + T]
        while True:
            bits.append(k & 1)
            k = self.prnt[k]
            if k == R:
                break
        for b in reversed(bits):
            out.put(b, 1)
        self.update(c)

    def decode(self, bitsource):
        c = self.son[R]
        while c < T:
            c = self.son[c + bitsource()]
        c -= T
        self.update(c)
        return c


def lh1_encode(data):
    out = MsbBitWriter()
    tree = AdaptiveTree()
    heads = {}
    i = 0
    while i < len(data):
        best_len, best_dist = 0, 0
        key = data[i:i + 3]
        for j in reversed(heads.get(key, [])[-64:]):
            d = i - j
            if d > N - F:
                break
            n = 0
            while n < F and i + n < len(data) and data[j + n] == data[i + n]:
                n += 1
            if n > best_len:
                best_len, best_dist = n, d
        if best_len > THRESHOLD:
            tree.encode(out, 256 - THRESHOLD - 1 + best_len)
            c = best_dist - 1
            out.put(P_CODE[c >> 6] >> (8 - P_LEN[c >> 6]), P_LEN[c >> 6])
            out.put(c & 63, 6)
            step = best_len
        else:
            tree.encode(out, data[i])
            step = 1
        for k in range(i, i + step):
            heads.setdefault(data[k:k + 3], []).append(k)
        i += step
    return out.finish()


def lh1_decode(packed, size):
    bits = [(b >> (7 - k)) & 1 for b in packed for k in range(8)] + [0] * 16
    pos = 0

    def bit():
        nonlocal pos
        pos += 1
        return bits[pos - 1]

    def getbits(n):
        v = 0
        for _ in range(n):
            v = (v << 1) | bit()
        return v

    tree = AdaptiveTree()
    window = bytearray(b" " * N)
    r = N - F
    out = bytearray()
    while len(out) < size:
        c = tree.decode(bit)
        if c < 256:
            seq = [c]
        else:
            byte = getbits(8)
            upper = next(u for u in range(64) if byte >> (8 - P_LEN[u]) == P_CODE[u] >> (8 - P_LEN[u]))
            byte = (byte << (P_LEN[upper] - 2)) | getbits(P_LEN[upper] - 2)
            pcode = (upper << 6) | (byte & 63)
            start = (r - pcode - 1) & (N - 1)
            seq = []
            for k in range(c - 253):
                seq.append(window[(start + k) & (N - 1)])
                window[r] = seq[-1]
                r = (r + 1) & (N - 1)
            out += bytes(seq)
            continue
        out += bytes(seq)
        window[r] = c
        r = (r + 1) & (N - 1)
    return bytes(out[:size])


def header(level, method, name, payload, raw, folder=None, crc=None, attr=0x20):
    crc = crc16(raw) if crc is None else crc
    ext = b""
    if level == 1 and folder:
        body = b"\x02" + folder.encode().replace(b"/", b"\xff") + b"\xff"
        ext = struct.pack("<H", len(body) + 2) + body
    packed = len(payload) + (len(ext) if level == 1 else 0)
    body = method.encode() + struct.pack("<IIHHBBB", packed, len(raw), DOS_TIME, DOS_DATE,
                                         attr, level, len(name)) + name.encode()
    body += struct.pack("<H", crc)
    if level == 1:
        body += b"M" + (ext[:2] if ext else b"\0\0")
        ext = ext[2:] + (b"\0\0" if ext else b"")
    elif folder:
        raise ValueError("a folder needs level 1")
    return bytes([len(body), sum(body) & 255]) + body + ext + payload


def lh5_entries():
    with open(os.path.join(OUT, "lh5_level0.lzh"), "rb") as f:
        data = f.read()
    pos, found = 0, {}
    while pos < len(data) and data[pos]:
        size = data[pos]
        packed, orig = struct.unpack_from("<II", data, pos + 7)
        name = data[pos + 22:pos + 22 + data[pos + 21]].decode()
        found[name] = data[pos + size + 2:pos + size + 2 + packed]
        pos += size + 2 + packed
    return found


def main():
    readme, text, data, note, runs = (read_input(n) for n in
                                      ("readme.txt", "text.txt", "data.bin", "sub/note.txt", "runs.txt"))
    lh1 = {}
    for name, raw in (("readme", readme), ("text", text), ("data", data), ("note", note)):
        lh1[name] = lh1_encode(raw)
        assert lh1_decode(lh1[name], len(raw)) == raw, name
    for level in (0, 1):
        folder = "sub" if level else None
        write_archive("lh1_level%d.lzh" % level,
                      header(level, "-lh1-", "readme.txt", lh1["readme"], readme)
                      + header(level, "-lh1-", "text.txt", lh1["text"], text)
                      + header(level, "-lh1-", "data.bin", lh1["data"], data)
                      + header(level, "-lh1-", "note.txt" if level else "sub\\note.txt",
                               lh1["note"], note, folder) + b"\0")
    lh5 = lh5_entries()
    assert len(readme) < 4096 and len(note) < 4096
    write_archive("lh4.lzh", header(0, "-lh4-", "readme.txt", lh5["readme.txt"], readme)
                  + header(1, "-lh4-", "note.txt", lh5["sub\\note.txt"] if "sub\\note.txt" in lh5
                           else lh5["sub/note.txt"], note, "sub") + b"\0")
    write_archive("lha_special.lzh",
                  header(1, "-lhd-", "", b"", b"", "sub", attr=0x10)
                  + header(0, "-lhd-", "link|readme.txt", b"", b"")
                  + header(0, "-lz5-", "lz5.txt", lh5["readme.txt"], readme)
                  + header(0, "-lh0-", "badcrc.txt", runs, runs, crc=crc16(runs) ^ 1)
                  + header(1, "-lh0-", "runs.txt", runs, runs, "sub"))


if __name__ == "__main__":
    main()
