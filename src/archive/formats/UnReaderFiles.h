#pragma once
// What every reader shares around the decoders: the packed data read from the
// archive file, the output file with its running CRC, and the steps of writing
// one entry (folder, temporary file, date, CRC check, putting it in place).

#include <cstdint>
#include <functional>
#include <string>
#include <utility>

#include "archive/formats/ArcBase.h"
#include "archive/formats/BackgroundWriter.h"
#include "archive/formats/BufferedReader.h"
#include "platform/rtl/Exceptions.h"

namespace velmora::arc {

// Packed bytes from the current position of the archive file. A set abort
// flag ends the entry in work (25300).
class ArchiveSource : public ByteSource {
public:
    ArchiveSource(TArcFile& file, const bool& abort) : m_file(file), m_abort(abort) {}
    std::size_t Read(std::uint8_t* buffer, std::size_t count) override;

private:
    TArcFile& m_file;
    const bool& m_abort;
};

enum class CrcKind { Crc16, Crc32 };

// The open output file: every byte written is folded into the running CRC and
// goes to the file through a background writer; a failed write raises "25114"
// (at the next write or at the end), a set abort flag 25300.
class TargetSink : public ByteSink {
public:
    TargetSink(CrcKind kind, const bool& abort);
    ~TargetSink() override = default;

    // Only once the writer was drained or stopped.
    TArcFile& File() { return m_file; }
    void Write(const std::uint8_t* data, std::size_t count) override;
    // Writes what is still on its way to the file; false when a write failed.
    bool Drain() { return m_writer.Drain(); }
    // Drops what is still on its way to the file.
    void StopWriting() { m_writer.Stop(); }
    // The CRC of what was written since the last reset, as stored in headers.
    // The writer's thread computes it: both wait for what is on its way.
    std::uint32_t Crc()
    {
        m_writer.Flush();
        return m_kind == CrcKind::Crc16 ? m_crc16 : ~m_crc32;
    }
    void ResetCrc()
    {
        m_writer.Flush();
        m_crc16 = 0;
        m_crc32 = 0xFFFFFFFF;
    }

private:
    CrcKind m_kind;
    const bool& m_abort;
    TArcFile m_file;
    BackgroundWriter m_writer{m_file};
    std::uint16_t m_crc16 = 0;
    std::uint32_t m_crc32 = 0xFFFFFFFF;
};

// One entry's target. The entry is decoded into a new temporary file beside
// the target and put in the target's place only once it is whole, so that an
// existing file survives a damaged entry, a wrong password and a cancel alike.
class EntryTarget {
public:
    EntryTarget(TZipCommon& owner, std::wstring target, CrcKind kind);
    // A temporary file still there is removed.
    ~EntryTarget();
    EntryTarget(const EntryTarget&) = delete;
    EntryTarget& operator=(const EntryTarget&) = delete;

    const std::wstring& Name() const { return m_target; }
    // Creates the target's folder and the temporary file; false when that fails.
    bool Create();
    TargetSink& Sink() { return m_sink; }
    std::uint32_t Crc() { return m_sink.Crc(); }

    // Runs the decoding into the sink. False when the abort flag ended it
    // (nothing is kept); a failure is raised on once what was written is kept
    // under the target's name, where no file was before.
    template <typename Fn>
    bool Decode(Fn&& decode)
    {
        try {
            decode();
            if (!m_sink.Drain())
                RaiseDecodeError(err::WriteError);
        } catch (const E_RAISE& e) {
            if (e.Code() == err::UserAborted)
                return false;
            Finish(false, 0);
            throw;
        }
        return true;
    }

    // Puts the decoded file in place: over the target when Whole (decoded to the
    // end with a matching CRC), clearing a read-only, hidden or system target
    // first; otherwise only where no file was before. A non-zero DosTime
    // becomes its time. False when it was not put in place; a file that could
    // not be put there is reported (25114).
    bool Finish(bool whole, std::uint32_t dosTime);

private:
    TZipCommon& m_owner;
    std::wstring m_target;
    std::wstring m_temporary;
    TargetSink m_sink;
    bool m_existed = false;
};

// Runs an entry's decoding for the readers whose decoding failures go through
// OnError with the code's text (RaiseArcError), not as bare numbers.
template <typename Fn>
bool DecodeReported(TZipCommon& owner, EntryTarget& target, Fn&& decode)
{
    try {
        return target.Decode(std::forward<Fn>(decode));
    } catch (const E_RAISE& e) {
        if (e.Message() != std::to_wstring(e.Code()))
            throw;
        owner.RaiseArcError(target.Name(), e.Code());
    }
}

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
// component's progress events: at each step, or at every percent.
class EntryInput {
public:
    EntryInput(TUnBase& owner, const std::wstring& name, std::uint32_t offset, std::uint32_t packed,
               bool everyPercent = false);
    BufferedReader& Reader() { return m_reader; }

private:
    ArchiveSource m_source;
    BufferedReader m_reader;
    std::uint8_t m_lastPercent = 0;
};

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
