#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>

#include "DecodeTestData.h"
#include "archive/formats/Inflate.h"
#include "archive/formats/ZipCrypt.h"

namespace velmora::arc::test {
namespace {

struct Encrypted {
    RawZipEntry entry;
    std::uint8_t header[ZipCrypt::kHeaderSize];
    std::uint16_t dosTime;
};

// The first entry of a fixture with its 12-byte encryption header.
Encrypted FirstEntry(const std::string& fixture)
{
    Encrypted e{ReadZipEntries(fixture).at(0), {}, 0};
    std::copy_n(e.entry.packed.begin(), ZipCrypt::kHeaderSize, e.header);
    const Bytes zip = ReadFixture(fixture);
    e.dosTime = static_cast<std::uint16_t>(zip[10] | (zip[11] << 8));  // first local header
    return e;
}

TEST(ZipCrypt, ChecksAgainstTheTimeWithFlagBitThreeElseTheCrc)
{
    for (const char* fixture : {"password.zip", "password-7z.zip"}) {
        SCOPED_TRACE(fixture);
        const Encrypted e = FirstEntry(fixture);
        ZipCrypt crypt;
        EXPECT_TRUE(crypt.CheckPassword(e.header, e.entry.flags, "geheim", e.dosTime, e.entry.crc));
        EXPECT_FALSE(crypt.CheckPassword(e.header, e.entry.flags, "Geheim", e.dosTime, e.entry.crc));
        // The other check byte does not fit.
        EXPECT_FALSE(crypt.CheckPassword(e.header, e.entry.flags ^ 0x08, "geheim", e.dosTime, e.entry.crc));
    }
}

TEST(ZipCrypt, EmptyPasswordNeverFitsAndLeavesTheHeaderAsItWas)
{
    Encrypted e = FirstEntry("password.zip");
    const Bytes before(e.header, e.header + ZipCrypt::kHeaderSize);
    ZipCrypt crypt;
    EXPECT_FALSE(crypt.CheckPassword(e.header, e.entry.flags, "", e.dosTime, e.entry.crc));
    crypt.CheckPassword(e.header, e.entry.flags, "falsch", e.dosTime, e.entry.crc);
    EXPECT_EQ(Bytes(e.header, e.header + ZipCrypt::kHeaderSize), before);
}

TEST(ZipCrypt, KeysFromTheFittingCheckDecryptTheData)
{
    Encrypted e = FirstEntry("password-7z.zip");
    ZipCrypt crypt;
    ASSERT_TRUE(crypt.CheckPassword(e.header, e.entry.flags, "geheim", 0, e.entry.crc));
    Bytes data(e.entry.packed.begin() + ZipCrypt::kHeaderSize, e.entry.packed.end());
    crypt.Decrypt(data.data(), data.size());
    MemorySource source(data.data(), data.size());
    BufferedReader reader(source, static_cast<std::uint32_t>(data.size()));
    MemorySink sink;
    Inflate(reader, sink, e.entry.size);
    EXPECT_EQ(crc32(0, sink.bytes.data(), static_cast<uInt>(sink.bytes.size())), e.entry.crc);
}

}  // namespace
}  // namespace velmora::arc::test
