#include "archive/formats/UnReaderFiles.h"

#include <algorithm>
#include <vector>

#include "archive/formats/ArcShared.h"
#include "archive/formats/UnpackedOutput.h"
#include "platform/rtl/PathNames.h"
#include "platform/rtl/Strings.h"

namespace velmora::arc {

std::size_t ArchiveSource::Read(std::uint8_t* buffer, std::size_t count)
{
    return m_file.Read(buffer, static_cast<std::uint32_t>(count));
}

void TargetSink::Write(const std::uint8_t* data, std::size_t count)
{
    if (m_file.Write(data, static_cast<std::uint32_t>(count)) != count)
        RaiseDecodeError(err::WriteError);
    if (m_kind == CrcKind::Crc16)
        UpdateCrc16(data, count, m_crc16);
    else
        UpdateCrc32(data, count, m_crc32);
}

void BoundedSink::Write(const std::uint8_t* data, std::size_t count)
{
    CheckPackedInput(m_input);
    m_target.Write(data, count);
}

int ErrorCodeOf(const Exception& e)
{
    if (const auto* raised = dynamic_cast<const E_RAISE*>(&e))
        return raised->Code();
    return static_cast<int>(StrToIntDef(e.Message(), 0));
}

void CopyStored(BufferedReader& input, ByteSink& output, std::uint32_t size)
{
    std::vector<std::uint8_t> block(BufferedReader::kBlockSize);
    while (size) {
        const std::size_t want = std::min<std::size_t>(size, block.size());
        const std::size_t got = input.Read(block.data(), want);
        if (got)
            output.Write(block.data(), got);
        if (got < want)
            RaiseDecodeError(err::ReadError);
        size -= static_cast<std::uint32_t>(got);
    }
}

EntryInput::EntryInput(TUnBase& owner, const std::wstring& name, std::uint32_t offset,
                       std::uint32_t packed)
    : m_source(owner.ArcFile()), m_reader(m_source, packed)
{
    if (!owner.ArcFile().Seek(offset))
        owner.RaiseArcError(name, err::SeekError);
    m_reader.SetProgress(
        [&owner, name, this](std::uint32_t done, std::uint32_t total) {
            owner.DoProgress(name, total, done, m_lastPercent);
        },
        static_cast<unsigned>(owner.ProgressStep()));
}

bool CreateTarget(const std::wstring& target, TargetSink& sink)
{
    const std::wstring folder = ExtractFileDir(target);
    if (!folder.empty() && !ArcDirectoryExists(folder))
        ArcForceDirectories(folder);
    sink.ResetCrc();
    return sink.File().Create(target);
}

std::wstring EntryName(const std::uint8_t* bytes, std::size_t maxLength)
{
    const auto* end = std::find(bytes, bytes + maxLength, std::uint8_t{0});
    return FromLatin1(std::string_view(reinterpret_cast<const char*>(bytes),
                                       static_cast<std::size_t>(end - bytes)));
}

}  // namespace velmora::arc
