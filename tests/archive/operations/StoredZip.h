#pragma once
// ZIP archives of stored entries made in memory: local headers, central
// directory and end record; from 65,535 entries on also the 64-bit end record
// and its locator, the count in the plain end record then 0xFFFF.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "archive/formats/Crc32.h"

namespace velmora::test {

struct TZipEintrag {
    std::string Name;  // with "/" between folders
    std::string Data;
};

inline std::string StoredZip(const std::vector<TZipEintrag>& entries) {
    auto put16 = [](std::string& s, std::uint32_t v) {
        s += static_cast<char>(v & 0xFF);
        s += static_cast<char>((v >> 8) & 0xFF);
    };
    auto put32 = [&](std::string& s, std::uint32_t v) {
        put16(s, v & 0xFFFF);
        put16(s, v >> 16);
    };
    std::string data, central;
    for (const TZipEintrag& e : entries) {
        std::uint32_t crc = 0xFFFFFFFFu;
        arc::UpdateCrc32(e.Data.data(), e.Data.size(), crc);
        crc ^= 0xFFFFFFFFu;
        const auto size = static_cast<std::uint32_t>(e.Data.size());
        const auto nameSize = static_cast<std::uint32_t>(e.Name.size());
        const auto offset = static_cast<std::uint32_t>(data.size());
        const std::uint32_t time = 12 << 11, date = (44 << 9) | (6 << 5) | 15;
        put32(data, 0x04034b50);
        for (std::uint32_t v : {10u, 0u, 0u, time, date}) put16(data, v);
        for (std::uint32_t v : {crc, size, size}) put32(data, v);
        put16(data, nameSize);
        put16(data, 0);
        data += e.Name + e.Data;
        put32(central, 0x02014b50);
        for (std::uint32_t v : {20u, 10u, 0u, 0u, time, date}) put16(central, v);
        for (std::uint32_t v : {crc, size, size}) put32(central, v);
        for (std::uint32_t v : {nameSize, 0u, 0u, 0u, 0u}) put16(central, v);
        put32(central, 0x20);
        put32(central, offset);
        central += e.Name;
    }
    const auto count = static_cast<std::uint32_t>(entries.size());
    std::string end;
    if (count >= 0xFFFF) {
        const auto at = static_cast<std::uint32_t>(data.size() + central.size());
        put32(end, 0x06064b50);
        for (std::uint32_t v : {44u, 0u, 45u | (45u << 16), 0u, 0u, count, 0u, count, 0u,
                                static_cast<std::uint32_t>(central.size()), 0u, static_cast<std::uint32_t>(data.size()),
                                0u})
            put32(end, v);
        put32(end, 0x07064b50);
        for (std::uint32_t v : {0u, at, 0u, 1u}) put32(end, v);
    }
    const std::uint32_t shown = count >= 0xFFFF ? 0xFFFF : count;
    put32(end, 0x06054b50);
    for (std::uint32_t v : {0u, 0u, shown, shown}) put16(end, v);
    put32(end, static_cast<std::uint32_t>(central.size()));
    put32(end, static_cast<std::uint32_t>(data.size()));
    put16(end, 0);
    return data + central + end;
}

}  // namespace velmora::test
