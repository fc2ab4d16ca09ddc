#include "BenchEncoders.h"

#include <string>

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

std::vector<Method> OldMethods()
{
    return {};
}

}  // namespace bench
