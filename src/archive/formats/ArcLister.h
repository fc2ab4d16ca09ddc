#pragma once
// TArcLister: lists the entries of an archive of any detected type without
// unpacking anything. For each entry that matches FileSpec it fills the record
// fields below and fires OnRead; after the last one it puts the totals into the
// same fields and fires OnTotals.

#include <cstdint>
#include <string>

#include "ArcBase.h"
#include "platform/rtl/DateTime.h"

namespace velmora::arc {

class TArcLister : public TZipCommon {
public:
    std::wstring ClassName() const override { return L"TArcLister"; }

    // Lists ArchiveFile: nothing for an empty name; 25164 without OnRead, 25202 for
    // NA or Unknown, 25136 for FileError, 25134 when the file cannot be opened.
    void Activate();

    TOnRead OnRead;
    TOnTotals OnTotals;

    // The entry record, valid during OnRead (during OnTotals the sizes and Ratio
    // are the totals).
    std::uint32_t TotalPackedSize = 0;
    std::uint32_t TotalUnpackedSize = 0;
    std::uint32_t PackedSize = 0;
    std::uint32_t UnpackedSize = 0;
    // Stored bytes widened one to one; empty when there is none.
    std::wstring FileComment;
    std::wstring ArchiveComment;
    std::uint32_t FileCRC = 0;
    std::uint8_t Ratio = 0;
    // The stored name, bytes widened one to one, with "/" and the format's own
    // folder separators turned into "\".
    std::wstring FileName;
    std::wstring MethodName;
    std::uint16_t Method = 0;
    TDateTime FileDate = 0;
    std::uint8_t DeflateOption = 0;
    std::uint16_t VersionMadeBy = 0;
    std::uint16_t VersionNeeded = 0;
    std::uint16_t InternalAttr = 0;
    std::uint32_t ExternalAttr = 0;
    // The entry stands for a folder (as its format marks folders).
    bool IsFolder = false;

    // 100 - packed * 100 / unpacked, rounded half to even, 0 made 1; 0 unless the
    // unpacked size is the larger and both are non-zero.
    static std::uint8_t RatioOf(std::uint32_t packed, std::uint32_t unpacked);
    // The method's name for a type and a stored method number; Flags are the ZIP
    // general purpose flags.
    static std::wstring MethodNameOf(TArcType type, std::uint16_t method, std::uint16_t flags = 0);

private:
    void ListArchive();
    void ClearRecord();
    // The match, the counter, the totals and OnRead for the record as filled.
    void Emit(bool matchFileSpec = true);

    void ListArj();
    void ListArc();
    void ListBH();
    void ListCab();
    void ListHA();
    void ListLha();
    void ListRar();
    void ListTar();
    void ListZip();
    void ListZoo();

    // ARJ and CAB continue in further files of a set.
    bool SkipArjMainHeader(std::int64_t& pos, bool readNames);
    void SumArjVolumes(std::uint8_t flags);
    void OpenVolume(const std::wstring& name, const std::wstring& volumeID);
    bool SetUpCabinet(std::int64_t start, std::int64_t& pos, std::uint16_t& files, std::uint16_t& flags,
                      std::wstring& next);

    std::uint32_t ReadAt(std::int64_t pos, void* buffer, std::uint32_t count);
    // A NUL-terminated text of at most Max bytes at Pos; After is the position
    // behind it (and its NUL).
    std::string ReadZ(std::int64_t pos, std::uint32_t max, std::int64_t& after);
    // Count bytes at Pos, fewer at the end of the file.
    std::string ReadText(std::int64_t pos, std::uint32_t count);
    std::int64_t End() { return ArcFile().Size(); }

    int m_count = 0;
    // ARJ: the number of the volume in work ("0" for the first) and where the
    // listing goes on after an entry continued over volumes.
    std::wstring m_volumeNumber;
    std::int64_t m_volumeNext = 0;
};

}  // namespace velmora::arc
