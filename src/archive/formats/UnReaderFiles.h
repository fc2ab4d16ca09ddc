#pragma once
// What the ARJ, LHA, ARC and ZOO readers share around the decoders: the packed
// data read from the archive file, the target file with its running CRC, and
// the steps of writing one entry (folder, file, date, CRC check).

#include <cstdint>
#include <functional>
#include <string>

#include "archive/formats/ArcBase.h"
#include "archive/formats/BufferedReader.h"
#include "platform/rtl/Exceptions.h"

namespace velmora::arc {

// Packed bytes from the current position of the archive file.
class ArchiveSource : public ByteSource {
public:
    explicit ArchiveSource(TArcFile& file) : m_file(file) {}
    std::size_t Read(std::uint8_t* buffer, std::size_t count) override;

private:
    TArcFile& m_file;
};

enum class CrcKind { Crc16, Crc32 };

// The open target file: every byte written is folded into the running CRC; a
// short write raises "25114".
class TargetSink : public ByteSink {
public:
    explicit TargetSink(CrcKind kind) : m_kind(kind) {}
    ~TargetSink() override = default;

    TArcFile& File() { return m_file; }
    void Write(const std::uint8_t* data, std::size_t count) override;
    // The CRC of what was written since the last reset, as stored in headers.
    std::uint32_t Crc() const { return m_kind == CrcKind::Crc16 ? m_crc16 : ~m_crc32; }
    void ResetCrc()
    {
        m_crc16 = 0;
        m_crc32 = 0xFFFFFFFF;
    }

private:
    CrcKind m_kind;
    TArcFile m_file;
    std::uint16_t m_crc16 = 0;
    std::uint32_t m_crc32 = 0xFFFFFFFF;
};

// Forwards to the target, ending the decoding with 25134 once the packed data
// is long used up: an unpacked size far beyond what the packed data holds
// must not turn into endless output of a decoder that reads zeros past the end.
class BoundedSink : public ByteSink {
public:
    BoundedSink(ByteSink& target, const BufferedReader& input) : m_target(target), m_input(input) {}
    void Write(const std::uint8_t* data, std::size_t count) override;

private:
    ByteSink& m_target;
    const BufferedReader& m_input;
};

// The code carried by an exception of the library or of the decoders: its
// code when it has one, else the decimal digits of its message, else 0.
int ErrorCodeOf(const Exception& e);

// Stored data: copies Size bytes; packed data that ends early raises 25134.
void CopyStored(BufferedReader& input, ByteSink& output, std::uint32_t size);

// The packed data of one entry, read from the archive at Offset, with the
// component's progress events.
class EntryInput {
public:
    EntryInput(TUnBase& owner, const std::wstring& name, std::uint32_t offset, std::uint32_t packed);
    BufferedReader& Reader() { return m_reader; }

private:
    ArchiveSource m_source;
    BufferedReader m_reader;
    std::uint8_t m_lastPercent = 0;
};

// Creates the target's folder and the target; false when the file cannot be
// created (the caller reports or raises, as its format says).
bool CreateTarget(const std::wstring& target, TargetSink& sink);

// Closes the archive file when an extraction ends, by return or by exception.
class ArchiveCloser {
public:
    explicit ArchiveCloser(TZipCommon& owner) : m_owner(owner) {}
    ~ArchiveCloser() { m_owner.ArcFile().Close(); }
    ArchiveCloser(const ArchiveCloser&) = delete;
    ArchiveCloser& operator=(const ArchiveCloser&) = delete;

private:
    TZipCommon& m_owner;
};

// Entry names are stored in the DOS code page; this library takes their bytes
// as they are.
std::wstring EntryName(const std::uint8_t* bytes, std::size_t maxLength);

}  // namespace velmora::arc
