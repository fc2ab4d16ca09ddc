#!/usr/bin/env python3
"""Makes the ZIP fixtures of the old methods byte by byte: shrink (1), reduce
(2 to 5) and implode (6). No Debian tool writes these methods; `unzip -t`
checks the shrunk and imploded archives, and an independent decoder below
checks the reduced ones (Debian's unzip is built without unreduce).
Run it from this folder."""
import heapq
import subprocess

import sys
sys.dont_write_bytecode = True  # keep the fixture folder clean
from zipwriter import BitWriter, Entry, sample, write_zip

# ---------------------------------------------------------------- shrink


def shrink(data):
    """LZW, 9 to 13 bits, widening and partial clearing as the decoder expects."""
    w = BitWriter()
    bits = 9
    parent = {}       # code -> (parent code, byte)
    child = {}        # (parent code, byte) -> code
    used = set()
    next_free = 257
    clears = 0

    def emit(code):
        nonlocal bits
        while code >= (1 << bits):
            w.bits(256, bits)
            w.bits(1, bits)
            bits += 1
        w.bits(code, bits)

    def partial_clear():
        nonlocal next_free
        w.bits(256, bits)
        w.bits(2, bits)
        has_child = {p for c, (p, _) in parent.items() if c in used and p >= 257}
        for c in sorted(used):
            if c not in has_child:
                used.discard(c)
                del child[parent[c]]
        next_free = min(c for c in range(257, 8193) if c not in used)

    def add(prefix, byte):
        nonlocal next_free
        if next_free >= 8192:
            return
        parent[next_free] = (prefix, byte)
        child[(prefix, byte)] = next_free
        used.add(next_free)
        while next_free < 8192 and next_free in used:
            next_free += 1

    i = 0
    current = data[0]
    i = 1
    while i < len(data):
        byte = data[i]
        nxt = child.get((current, byte))
        if nxt is not None and nxt in used:
            current = nxt
            i += 1
            continue
        emit(current)
        if next_free >= 8192:
            partial_clear()
            clears += 1
        add(current, byte)
        current = byte
        i += 1
    emit(current)
    return w.finish(), clears

# ---------------------------------------------------------------- reduce


def reduce(data, factor):
    mask = (0x7F, 0x3F, 0x1F, 0x0F)[factor - 1]
    max_dist = ((0xFF >> (8 - factor)) << 8) + 256
    max_len = mask + 255 + 3
    # Matches, DLE-escaped, as a byte string before the follower coding.
    seq = bytearray()
    table = {}
    i = 0
    while i < len(data):
        best_len, best_dist = 0, 0
        if i + 3 <= len(data):
            for j in reversed(table.get(data[i:i + 3], [])[-8:]):
                d = i - j
                if d > max_dist:
                    break
                n = 0
                while n < max_len and i + n < len(data) and data[j + n] == data[i + n]:
                    n += 1
                if n > best_len:
                    best_len, best_dist = n, d
        v_high = ((best_dist - 1) >> 8) << (8 - factor) if best_len else 0
        if best_len >= 3 and not (v_high == 0 and best_len == 3):
            low = min(best_len - 3, mask)
            seq += bytes([144, v_high | low])
            if low == mask:
                seq.append(best_len - 3 - mask)
            seq.append((best_dist - 1) & 0xFF)
            step = best_len
        else:
            seq += b"\x90\x00" if data[i] == 144 else data[i:i + 1]
            step = 1
        for k in range(step):
            if i + k + 3 <= len(data):
                table.setdefault(data[i + k:i + k + 3], []).append(i + k)
        i += step
    # Follower sets: the most frequent successors of each byte, up to 32.
    counts = [dict() for _ in range(256)]
    last = 0
    for b in seq:
        counts[last][b] = counts[last].get(b, 0) + 1
        last = b
    sets = [sorted(c, key=lambda b: (-c[b], b))[:32] for c in counts]
    sets[ord("Z")] = []  # one byte value without followers
    w = BitWriter()
    for c in range(255, -1, -1):
        w.bits(len(sets[c]), 6)
        for b in sets[c]:
            w.bits(b, 8)
    last = 0
    for b in seq:
        s = sets[last]
        if not s:
            w.bits(b, 8)
        elif b in s:
            w.bits(0, 1)
            w.bits(s.index(b), max(1, (len(s) - 1).bit_length()))
        else:
            w.bits(1, 1)
            w.bits(b, 8)
        last = b
    return w.finish()


class BitReader:
    def __init__(self, data):
        self.data, self.pos, self.acc, self.count = data, 0, 0, 0

    def bits(self, n):
        while self.count < n:
            self.acc |= (self.data[self.pos] if self.pos < len(self.data) else 0) << self.count
            self.pos += 1
            self.count += 8
        v = self.acc & ((1 << n) - 1)
        self.acc >>= n
        self.count -= n
        return v


def unreduce_check(packed, factor, size):
    """An independent decoder written from the method's definition."""
    r = BitReader(packed)
    sets = [None] * 256
    for c in range(255, -1, -1):
        sets[c] = [r.bits(8) for _ in range(r.bits(6))]
    out = bytearray()
    last = 0

    def byte():
        nonlocal last
        s = sets[last]
        if not s or r.bits(1):
            last = r.bits(8)
        else:
            last = s[r.bits(max(1, (len(s) - 1).bit_length()))]
        return last
    mask = (0x7F, 0x3F, 0x1F, 0x0F)[factor - 1]
    while len(out) < size:
        c = byte()
        if c != 144:
            out.append(c)
            continue
        v = byte()
        if v == 0:
            out.append(144)
            continue
        n = v & mask
        if n == mask:
            n += byte()
        d = ((v >> (8 - factor)) << 8) + byte() + 1
        for _ in range(n + 3):
            out.append(out[-d] if d <= len(out) else 0)
    return bytes(out[:size])

# ---------------------------------------------------------------- implode


def huffman_lengths(freqs, limit=13):
    heap = [(f + 1, i, [i]) for i, f in enumerate(freqs)]
    heapq.heapify(heap)
    lengths = [0] * len(freqs)
    while len(heap) > 1:
        a, b = heapq.heappop(heap), heapq.heappop(heap)
        for s in a[2] + b[2]:
            lengths[s] += 1
        heapq.heappush(heap, (a[0] + b[0], min(a[1], b[1]), a[2] + b[2]))
    assert max(lengths) <= limit
    return lengths


def tree_bytes(lengths):
    runs = []
    for n in lengths:
        if runs and runs[-1][0] == n and runs[-1][1] < 16:
            runs[-1][1] += 1
        else:
            runs.append([n, 1])
    return bytes([len(runs) - 1] + [((count - 1) << 4) | (n - 1) for n, count in runs])


def shannon_fano_codes(lengths):
    """Codes as the format assigns them: sorted by length, from the longest."""
    order = sorted(range(len(lengths)), key=lambda s: (lengths[s], s))
    codes = [0] * len(lengths)
    code, increment, last = 0, 0, 0
    for s in reversed(order):
        code += increment
        if lengths[s] != last:
            last = lengths[s]
            increment = 1 << (16 - last)
        codes[s] = code >> (16 - lengths[s])
    return codes


def implode_tokens(data, window, min_match):
    max_len = 63 + 255 + min_match
    tokens = []
    table = {}
    i = 0
    while i < len(data):
        best_len, best_dist = 0, 0
        key = data[i:i + 3]
        for j in reversed(table.get(key, [])[-16:]):
            d = i - j
            if d > window:
                break
            n = 0
            while n < max_len and i + n < len(data) and data[j + n] == data[i + n]:
                n += 1
            if n > best_len:
                best_len, best_dist = n, d
        step = best_len if best_len >= max(min_match, 3) else 1
        tokens.append(("m", best_len, best_dist) if step > 1 else ("l", data[i]))
        for k in range(step):
            table.setdefault(data[i + k:i + k + 3], []).append(i + k)
        i += step
    return tokens


def implode(data, big_window, literal_tree, length_lengths=None):
    window = 8192 if big_window else 4096
    low_bits = 7 if big_window else 6
    min_match = 3 if literal_tree else 2
    tokens = implode_tokens(data, window, min_match)
    lit_f, len_f, dist_f = [0] * 256, [0] * 64, [0] * 64
    for t in tokens:
        if t[0] == "l":
            lit_f[t[1]] += 1
        else:
            len_f[min(t[1] - min_match, 63)] += 1
            dist_f[(t[2] - 1) >> low_bits] += 1
    trees = []
    if literal_tree:
        trees.append(huffman_lengths(lit_f))
    trees.append(length_lengths or huffman_lengths(len_f))
    trees.append(huffman_lengths(dist_f))
    out = b"".join(tree_bytes(t) for t in trees)
    codes = [(shannon_fano_codes(t), t) for t in trees]
    lit_c = codes[0] if literal_tree else None
    len_c, dist_c = codes[-2], codes[-1]
    w = BitWriter()
    for t in tokens:
        if t[0] == "l":
            w.bits(1, 1)
            if literal_tree:
                w.code_msb_first(lit_c[0][t[1]], lit_c[1][t[1]])
            else:
                w.bits(t[1], 8)
            continue
        _, n, d = t
        w.bits(0, 1)
        w.bits((d - 1) & ((1 << low_bits) - 1), low_bits)
        upper = (d - 1) >> low_bits
        w.code_msb_first(dist_c[0][upper], dist_c[1][upper])
        code = min(n - min_match, 63)
        w.code_msb_first(len_c[0][code], len_c[1][code])
        if code == 63:
            w.bits(n - min_match - 63, 8)
    return out + w.finish()

# ---------------------------------------------------------------- fixtures


def unzip_test(path, expect_ok=True):
    r = subprocess.run(["unzip", "-tq", path], capture_output=True, text=True)
    ok = r.returncode == 0
    print(path, "unzip -t:", "ok" if ok else "fails", "" if ok == expect_ok else "  UNEXPECTED")
    assert ok == expect_ok, r.stdout + r.stderr


def main():
    text = sample(70000, 11)
    packed, clears = shrink(text)
    assert clears >= 1
    small = sample(3000, 12)
    write_zip("shrink.zip", [Entry("shrunk.txt", text, packed, 1),
                             Entry("klein.txt", small, shrink(small)[0], 1)])
    unzip_test("shrink.zip")

    data = sample(40000, 13) + bytes(300) + sample(20000, 13)
    entries = []
    for big, lit in ((False, False), (False, True), (True, False), (True, True)):
        flags = (2 if big else 0) | (4 if lit else 0)
        name = "implode-%dk-%d.dat" % (8 if big else 4, 3 if lit else 2)
        entries.append(Entry(name, data, implode(data, big, lit), 6, flags))
    write_zip("implode.zip", entries)
    unzip_test("implode.zip")

    # Every length code 5 bits long: 64 codes of 1/32 each, twice the code
    # space, so the codes overlap.
    bad = implode(data[:2000], False, False, length_lengths=[5] * 64)
    write_zip("implode-ambiguous.zip", [Entry("mehrdeutig.dat", data[:2000], bad, 6, 0)])
    unzip_test("implode-ambiguous.zip", expect_ok=False)

    entries = []
    plain = sample(30000, 14) + bytes([144, 144, 0, 144]) + b"A" * 300 + sample(5000, 14)
    for factor in (1, 2, 3, 4):
        packed = reduce(plain, factor)
        assert unreduce_check(packed, factor, len(plain)) == plain, factor
        entries.append(Entry("reduce-%d.dat" % factor, plain, packed, 1 + factor))
    write_zip("reduce.zip", entries)
    print("reduce.zip checked by the generator's own decoder")


if __name__ == "__main__":
    main()
