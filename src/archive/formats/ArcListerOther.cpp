// BH, HA and TAR: formats whose headers the lister reads though no reader of the
// set unpacks them.

#include <algorithm>

#include "ArcLister.h"
#include "ArcShared.h"
#include "platform/rtl/Strings.h"

namespace velmora::arc {

namespace {

constexpr std::uint32_t kBHFixed = 37;
constexpr std::uint32_t kBHMark = 0x07054842;
constexpr std::uint32_t kHAFixed = 17;
constexpr std::uint32_t kTarBlock = 512;

std::string Field(const std::uint8_t* bytes, size_t max) {
    size_t n = 0;
    while (n < max && bytes[n] != 0) ++n;
    return std::string(reinterpret_cast<const char*>(bytes), n);
}

std::string TrimBytes(std::string s) {
    while (!s.empty() && (s.back() == ' ' || s.back() == '\0')) s.pop_back();
    size_t first = s.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : s.substr(first);
}

}  // namespace

void TArcLister::ListBH() {
    std::int64_t pos = ArcStartOffset();
    while (pos + kBHFixed <= End()) {
        std::uint8_t h[kBHFixed];
        if (ReadAt(pos, h, kBHFixed) != kBHFixed || GetU32(h) != kBHMark || GetU16(h + 4) == 0) break;
        ClearRecord();
        std::uint16_t nameLen = GetU16(h + 33);
        FileName = SlashToBackslash(FromLatin1(ReadText(pos + kBHFixed, nameLen)));
        VersionMadeBy = h[7];
        VersionNeeded = h[8];
        Method = h[10];
        MethodName = MethodNameOf(m_arcType, Method);
        std::uint32_t dos = GetU32(h + 11);
        FileDate = static_cast<std::int32_t>(dos) > 0 ? DosToDateTime(dos) : 0.0;
        PackedSize = GetU32(h + 15);
        UnpackedSize = GetU32(h + 19);
        FileCRC = GetU32(h + 23);
        InternalAttr = GetU16(h + 27);
        ExternalAttr = GetU16(h + 27);
        IsFolder = (ExternalAttr & 0x10) != 0;
        m_headerPos = static_cast<std::uint32_t>(pos);
        pos += kBHFixed + nameLen + static_cast<std::int64_t>(PackedSize);
        Emit();
    }
}

void TArcLister::ListHA() {
    std::int64_t pos = 4;
    const TDateTime now = ArcNow();
    while (pos + kHAFixed < End()) {
        std::uint8_t h[kHAFixed];
        if (ReadAt(pos, h, kHAFixed) != kHAFixed) break;
        ClearRecord();
        std::int64_t after = 0;
        ReadZ(pos + kHAFixed, 256, after);
        FileName = SlashToBackslash(FromLatin1(ReadZ(after, 256, after)));
        // A byte of machine-specific length, then that many bytes, then the data.
        std::uint8_t infoLen = 0;
        ReadAt(after, &infoLen, 1);
        VersionMadeBy = VersionNeeded = h[0] >> 4;
        Method = h[0] & 0x0F;
        MethodName = MethodNameOf(m_arcType, Method);
        PackedSize = GetU32(h + 1);
        UnpackedSize = GetU32(h + 5);
        FileCRC = GetU32(h + 9);
        FileDate = now;
        IsFolder = Method == 14;
        m_headerPos = static_cast<std::uint32_t>(pos);
        pos = after + 1 + infoLen + static_cast<std::int64_t>(PackedSize);
        Emit();
    }
}

void TArcLister::ListTar() {
    std::int64_t pos = 0;
    while (pos + kTarBlock <= End()) {
        std::uint8_t h[kTarBlock];
        if (ReadAt(pos, h, kTarBlock) != kTarBlock) break;
        std::wstring name = SlashToBackslash(FromLatin1(TrimBytes(Field(h, 100))));
        if (name.empty()) break;
        // Sizes in TAR headers reach beyond 32 bits.
        std::uint64_t size = OctalToInt(TrimBytes(Field(h + 124, 12)));
        char type = static_cast<char>(h[156]);
        if ((type == '\0' || type == '0' || type == '1') && name.back() != L'\\') {
            ClearRecord();
            FileName = name;
            PackedSize = UnpackedSize = static_cast<std::uint32_t>(size);
            FileDate = UnixTimeToDateTime(static_cast<std::int64_t>(OctalToInt(TrimBytes(Field(h + 136, 12)))));
            FileCRC = static_cast<std::uint32_t>(OctalToInt(TrimBytes(Field(h + 148, 8))));
            MethodName = MethodNameOf(m_arcType, 0);
            InternalAttr = 0;
            ExternalAttr = 0;
            m_headerPos = static_cast<std::uint32_t>(pos);
            Emit(false);
        }
        std::uint64_t blocks = (size + kTarBlock - 1) / kTarBlock;
        if (blocks > static_cast<std::uint64_t>(End() / kTarBlock)) break;
        pos += kTarBlock + static_cast<std::int64_t>(blocks) * kTarBlock;
    }
}

}  // namespace velmora::arc
