#include "BenchEncoders.h"

#include <algorithm>
#include <array>
#include <string>
#include <unordered_map>

#include "archive/formats/Explode.h"
#include "archive/formats/Unreduce.h"
#include "archive/formats/Unshrink.h"

namespace bench {

Bytes MixedData(std::size_t size, unsigned seed)
{
    static const char* const kWords[] = {"Datei ", "Ordner ", "Archiv ", "entpacken ", "Laufwerk ", "Größe ",
                                         "und ", "der ", "die ", "das ", "\r\n", "Fehler ", "Verzeichnis ",
                                         "Programm ", "Einstellungen ", "Kopieren "};
    std::uint32_t state = seed * 2654435761u + 1;
    auto next = [&] {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    };
    Bytes out;
    out.reserve(size + 4096);
    while (out.size() < size) {
        const std::uint32_t kind = next() % 16;
        if (kind < 9) {  // text
            for (int i = 0; i < 60; ++i) {
                const char* w = kWords[next() % 16];
                out.insert(out.end(), w, w + std::char_traits<char>::length(w));
            }
        } else if (kind < 14) {  // binary records: tables of offsets and flags
            for (std::uint32_t i = 0, n = 16 + next() % 128; i < n; ++i) {
                const std::uint32_t v = i * 24 + (next() % 8);
                out.insert(out.end(), {std::uint8_t(v), std::uint8_t(v >> 8), std::uint8_t(next() % 3), 0});
            }
        } else {  // already packed data
            for (int i = 0, n = 64 + next() % 512; i < n; ++i)
                out.push_back(static_cast<std::uint8_t>(next() >> 7));
        }
    }
    out.resize(size);
    return out;
}

namespace {

class BitWriter {
public:
    void Put(std::uint32_t value, int bits)
    {
        m_acc |= static_cast<std::uint64_t>(value & ((1u << bits) - 1)) << m_count;
        m_count += bits;
        while (m_count >= 8) {
            m_out.push_back(static_cast<std::uint8_t>(m_acc));
            m_acc >>= 8;
            m_count -= 8;
        }
    }
    void PutMsbFirst(std::uint32_t code, int bits)
    {
        for (int k = bits - 1; k >= 0; --k)
            Put((code >> k) & 1, 1);
    }
    Bytes Finish()
    {
        if (m_count)
            m_out.push_back(static_cast<std::uint8_t>(m_acc));
        return m_out;
    }

private:
    Bytes m_out;
    std::uint64_t m_acc = 0;
    int m_count = 0;
};

// Greedy matches through a hash of three bytes: (length, distance) or a literal.
struct Token {
    std::uint32_t length;  // 0 for a literal
    std::uint32_t distance;
    std::uint8_t literal;
};

std::vector<Token> Tokens(const Bytes& data, std::uint32_t window, std::uint32_t minMatch, std::uint32_t maxMatch)
{
    std::vector<std::int64_t> head(1 << 16, -1);
    std::vector<Token> tokens;
    auto hash = [&](std::size_t i) { return ((data[i] << 8) ^ (data[i + 1] << 4) ^ data[i + 2]) & 0xFFFF; };
    for (std::size_t i = 0; i < data.size();) {
        std::uint32_t length = 0;
        if (i + 3 <= data.size()) {
            const std::int64_t j = head[hash(i)];
            if (j >= 0 && i - j <= window) {
                while (length < maxMatch && i + length < data.size() && data[j + length] == data[i + length])
                    ++length;
            }
            head[hash(i)] = static_cast<std::int64_t>(i);
            if (length >= minMatch) {
                tokens.push_back({length, static_cast<std::uint32_t>(i - j), 0});
                for (std::size_t k = i + 1; k < i + length && k + 3 <= data.size(); ++k)
                    head[hash(k)] = static_cast<std::int64_t>(k);
                i += length;
                continue;
            }
        }
        tokens.push_back({0, 0, data[i]});
        ++i;
    }
    return tokens;
}

Bytes Reduce(const Bytes& plain)
{
    constexpr int factor = 4;
    constexpr std::uint32_t mask = 0x0F;
    // DLE-coded bytes first, then each through one follower set shared by all.
    Bytes seq;
    for (const Token& t : Tokens(plain, 4096, 4, mask + 255 + 3)) {
        if (t.length == 0) {
            seq.push_back(t.literal);
            if (t.literal == 144)
                seq.push_back(0);
            continue;
        }
        const std::uint32_t low = std::min(t.length - 3, mask);
        seq.push_back(144);
        seq.push_back(static_cast<std::uint8_t>((((t.distance - 1) >> 8) << (8 - factor)) | low));
        if (low == mask)
            seq.push_back(static_cast<std::uint8_t>(t.length - 3 - mask));
        seq.push_back(static_cast<std::uint8_t>(t.distance - 1));
    }
    std::array<std::uint32_t, 256> counts{};
    for (std::uint8_t b : seq)
        ++counts[b];
    std::array<std::uint8_t, 256> order;
    for (int i = 0; i < 256; ++i)
        order[i] = static_cast<std::uint8_t>(i);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return counts[a] > counts[b]; });
    std::array<int, 256> index;
    index.fill(-1);
    for (int i = 0; i < 32; ++i)
        index[order[i]] = i;
    BitWriter w;
    for (int c = 255; c >= 0; --c) {
        w.Put(32, 6);
        for (int i = 0; i < 32; ++i)
            w.Put(order[i], 8);
    }
    for (std::uint8_t b : seq) {
        if (index[b] >= 0) {
            w.Put(0, 1);
            w.Put(index[b], 5);
        } else {
            w.Put(1, 1);
            w.Put(b, 8);
        }
    }
    return w.Finish();
}

void DecodeReduce(velmora::arc::BufferedReader& r, velmora::arc::ByteSink& s, std::uint32_t size)
{
    velmora::arc::Unreduce(r, s, 4, size);
}

// LZW with widening and partial clearing, mirroring the decoder's table.
class Shrinker {
public:
    Bytes Run(const Bytes& data)
    {
        std::uint32_t current = data[0];
        for (std::size_t i = 1; i < data.size(); ++i) {
            auto next = m_child.find(Key(current, data[i]));
            if (next != m_child.end()) {
                current = next->second;
                continue;
            }
            Emit(current);
            if (m_nextFree >= 8192)
                PartialClear();
            Add(current, data[i]);
            current = data[i];
        }
        Emit(current);
        return m_out.Finish();
    }

private:
    static std::uint32_t Key(std::uint32_t parent, std::uint8_t c) { return (parent << 8) | c; }
    void Emit(std::uint32_t code)
    {
        while (code >= (1u << m_bits)) {
            m_out.Put(256, m_bits);
            m_out.Put(1, m_bits);
            ++m_bits;
        }
        m_out.Put(code, m_bits);
    }
    void PartialClear()
    {
        m_out.Put(256, m_bits);
        m_out.Put(2, m_bits);
        std::vector<bool> hasChild(8192, false);
        for (std::uint32_t c = 257; c < 8192; ++c)
            if (m_used[c] && m_parent[c] >= 257)
                hasChild[m_parent[c]] = true;
        m_nextFree = 8192;
        for (std::uint32_t c = 257; c < 8192; ++c) {
            if (m_used[c] && !hasChild[c]) {
                m_used[c] = false;
                m_child.erase(Key(m_parent[c], m_char[c]));
            }
            if (!m_used[c] && m_nextFree == 8192)
                m_nextFree = c;
        }
    }
    void Add(std::uint32_t parent, std::uint8_t c)
    {
        m_parent[m_nextFree] = parent;
        m_char[m_nextFree] = c;
        m_used[m_nextFree] = true;
        m_child[Key(parent, c)] = m_nextFree;
        while (m_nextFree < 8192 && m_used[m_nextFree])
            ++m_nextFree;
    }

    BitWriter m_out;
    int m_bits = 9;
    std::uint32_t m_nextFree = 257;
    std::vector<std::uint32_t> m_parent = std::vector<std::uint32_t>(8192, 0);
    std::vector<std::uint8_t> m_char = std::vector<std::uint8_t>(8192, 0);
    std::vector<bool> m_used = std::vector<bool>(8192, false);
    std::unordered_map<std::uint32_t, std::uint32_t> m_child;
};

Bytes Shrink(const Bytes& plain)
{
    return Shrinker().Run(plain);
}

// Trees of equal code lengths: 256 literals of 8 bits, 64 lengths and 64
// distance codes of 6 bits; codes as the format assigns them (longest first,
// equal lengths from the last symbol down).
Bytes Implode(const Bytes& plain)
{
    BitWriter w;
    Bytes out(17, 0xF7);
    out[0] = 15;
    for (int t = 0; t < 2; ++t) {
        out.push_back(3);
        out.insert(out.end(), 4, 0xF5);
    }
    for (const Token& t : Tokens(plain, 8192, 3, 63 + 255 + 3)) {
        if (t.length == 0) {
            w.Put(1, 1);
            w.PutMsbFirst(255 - t.literal, 8);
            continue;
        }
        w.Put(0, 1);
        w.Put((t.distance - 1) & 0x7F, 7);
        w.PutMsbFirst(63 - ((t.distance - 1) >> 7), 6);
        const std::uint32_t code = std::min(t.length - 3, 63u);
        w.PutMsbFirst(63 - code, 6);
        if (code == 63)
            w.Put(t.length - 3 - 63, 8);
    }
    const Bytes bits = w.Finish();
    out.insert(out.end(), bits.begin(), bits.end());
    return out;
}

void DecodeImplode(velmora::arc::BufferedReader& r, velmora::arc::ByteSink& s, std::uint32_t size)
{
    velmora::arc::Explode(r, s, 0x06, size, nullptr);
}

}  // namespace

std::vector<Method> OldMethods()
{
    return {{"explode", Implode, DecodeImplode},
            {"unshrink", Shrink, velmora::arc::Unshrink},
            {"unreduce", Reduce, DecodeReduce}};
}

}  // namespace bench
