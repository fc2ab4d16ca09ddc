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
    if (m_abort)
        RaiseDecodeError(err::UserAborted);
    return m_file.Read(buffer, static_cast<std::uint32_t>(count));
}

TargetSink::TargetSink(CrcKind kind, const bool& abort) : m_kind(kind), m_abort(abort)
{
    m_writer.OnBlock = [this](const std::uint8_t* data, std::size_t count) {
        if (m_kind == CrcKind::Crc16)
            UpdateCrc16(data, count, m_crc16);
        else
            UpdateCrc32(data, count, m_crc32);
    };
}

void TargetSink::Write(const std::uint8_t* data, std::size_t count)
{
    if (m_abort)
        RaiseDecodeError(err::UserAborted);
    if (!m_writer.Put(data, count))
        RaiseDecodeError(err::WriteError);
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
                       std::uint32_t packed, bool everyPercent)
    : m_source(owner.ArcFile(), owner.AbortFlag()), m_reader(m_source, packed)
{
    if (!owner.ArcFile().Seek(offset))
        owner.RaiseArcError(name, err::SeekError);
    m_reader.SetProgress(
        [&owner, name, everyPercent, this](std::uint32_t done, std::uint32_t total) {
            owner.DoProgress(name, total, done, m_lastPercent, everyPercent);
        },
        everyPercent ? 1u : static_cast<unsigned>(owner.ProgressStep()));
}

EntryTarget::EntryTarget(TZipCommon& owner, std::wstring target, CrcKind kind)
    : m_owner(owner), m_target(std::move(target)), m_sink(kind, owner.AbortFlag())
{
}

EntryTarget::~EntryTarget()
{
    m_sink.StopWriting();
    if (m_temporary.empty())
        return;
    m_sink.File().Close();
    ArcDeleteFile(m_temporary);
}

bool EntryTarget::Create()
{
    const std::wstring folder = ExtractFileDir(m_target);
    if (!folder.empty() && !ArcDirectoryExists(folder))
        ArcForceDirectories(folder);
    m_existed = ArcFileExists(m_target);
    m_sink.ResetCrc();
    // A name of our own beside the target: the rename stays inside one folder.
    static unsigned serial = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::wstring name = ExtractFilePath(m_target) + L"~vlm" + std::to_wstring(++serial) + L".tmp";
        if (m_sink.File().CreateNew(name)) {
            m_temporary = name;
            return true;
        }
        if (ArcFileExists(name))
            continue;
        return false;
    }
    return false;
}

bool EntryTarget::Finish(bool whole, std::uint32_t dosTime)
{
    if (m_temporary.empty())
        return false;
    // A failed write was reported where it was found; what reached the file
    // counts as damaged data.
    if (!m_sink.Drain())
        whole = false;
    if (dosTime)
        m_sink.File().SetDosTime(dosTime);
    const bool closed = m_sink.File().Close();
    if (!closed || (!whole && m_existed)) {
        ArcDeleteFile(m_temporary);
        m_temporary.clear();
        if (!closed)
            m_owner.ReportArcError(m_target, err::WriteError);
        return false;
    }
    // The user accepted to replace the file: its attributes do not stand in the way.
    if (m_existed)
        ArcSetFileAttributes(m_target, 0);
    if (!ArcReplaceFile(m_temporary, m_target)) {
        ArcDeleteFile(m_temporary);
        m_temporary.clear();
        m_owner.ReportArcError(m_target, err::WriteError);
        return false;
    }
    m_temporary.clear();
    return true;
}

std::wstring EntryName(const std::uint8_t* bytes, std::size_t maxLength)
{
    const auto* end = std::find(bytes, bytes + maxLength, std::uint8_t{0});
    return FromLatin1(std::string_view(reinterpret_cast<const char*>(bytes),
                                       static_cast<std::size_t>(end - bytes)));
}

}  // namespace velmora::arc
