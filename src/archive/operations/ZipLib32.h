#pragma once
// TZipLib: binds the zip library ("ZLZIP32.DLL" for every operation that
// writes an archive, "ZLUNZ32.DLL" for those that only read one). Properties
// become the argument list of each call; callback messages become events.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "platform/gui/Component.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/StringList.h"

namespace velmora::archive {

using TZlCompressionLevel = int;  // 0 to 9
enum class TZlOverwrite { zowAsk, zowNever, zowAlways };

enum TZlAttribute : std::uint8_t {
    zaReadOnly = 0x01,
    zaHidden = 0x02,
    zaSystem = 0x04,
    zaVolumeLabel = 0x08,
    zaDirectory = 0x10,
    zaArchive = 0x20,
};

struct TZlFileStats {
    std::wstring FileName;
    std::uint64_t Size = 0;            // joined from the block's low word and its high word at offset 12
    std::uint64_t CompressedSize = 0;  // joined from offset 8 and its high word at offset 24
    std::uint32_t ThirdValue = 0;      // offset 12 as it came
    std::uint8_t Attributes = 0;       // TZlAttribute bits
    TDateTime DateTime = 0;
    std::uint32_t Value = 0;           // offset 24 as it came
    std::uint8_t Bytes[3] = {};        // offsets 28 to 30; [1] is the percent of message 1030
    bool Flag = false;                 // offset 31
    std::wstring Comment;              // at most 255 characters
};

struct TZlReplace {
    std::wstring FileName;
    std::wstring NewName;
    std::uint8_t Answer = 0;
};

struct TZlPwdQuery {
    std::wstring FileName;
    std::wstring Password;  // at most 80 characters
    std::uint8_t Answer = 0;
};

struct TZlFileComment {
    std::wstring FileName;
    std::wstring Comment;  // at most 255 characters
};

struct TZlSkipping {
    std::wstring FileName;
    std::uint8_t Reason = 0;
};

class TZipLib;
using TZlFileStatsEvent = std::function<void(TZipLib* ZipLib, const TZlFileStats& FileStats)>;
using TZlFileNameEvent = std::function<void(TZipLib* ZipLib, const std::wstring& FileName)>;
using TZlFileCommentEvent = std::function<void(TZipLib* ZipLib, TZlFileComment& FileComment)>;
using TZlReplaceEvent = std::function<void(TZipLib* ZipLib, TZlReplace& Replace)>;
using TZlPwdQueryEvent = std::function<void(TZipLib* ZipLib, TZlPwdQuery& PwdQuery)>;
using TZlSkippingEvent = std::function<void(TZipLib* ZipLib, const TZlSkipping& Skipping)>;
using TZlNewdiskEvent = std::function<void(TZipLib* ZipLib, int Disknumber)>;

// The library's entry as the binding calls it; tests put a fake in its place.
using TZlEntryFunction = int(__stdcall*)(int version, int argCount, char** argList,
                                         int(__stdcall* callback)(int, void*, void*), void* userData);

class TZipLib : public gui::TComponent {
public:
    explicit TZipLib(gui::TComponent* owner);
    ~TZipLib() override;

    TStringList FilesToProcess;
    TZlCompressionLevel Compression = 6;
    bool ClearDisks = false;
    bool MoveFiles = false;
    bool MultidiskMode = false;
    std::wstring ExtractDirectory;
    bool IncludeHiddenFiles = false;
    bool IncludeDirectoryEntries = false;
    bool IncludeVolumeLabel = false;
    TZlOverwrite Overwrite = TZlOverwrite::zowAsk;
    bool Recurse = false;
    std::wstring Password;
    std::wstring StoredExtensions = L".ZIP;.LZH;.ARC;.ARJ;.ZOO";
    std::wstring TempPath;
    bool UsePaths = true;
    bool UseTempFile = true;
    std::wstring ZipFileName;

    TZlFileStatsEvent OnAdding, OnExtracting, OnListing, OnTesting, OnUpdating, OnStatus;
    TZlFileNameEvent OnDeleting, OnFixing;
    TZlFileCommentEvent OnFileComment;
    TZlReplaceEvent OnReplace;
    TZlPwdQueryEvent OnPwdQuery;
    TZlSkippingEvent OnSkippingFile;
    TZlNewdiskEvent OnNewdisk;

    // The date limit for adding (1 January 1980 at construction), passed as "-t" mmddyy.
    TDateTime DateLimit;
    // Set by event handlers to stop the running call.
    bool Abort = false;
    std::uint16_t ResultHighWord() const { return m_resultHigh; }
    int EntryCount() const { return m_count; }
    const TZlFileStats& LastStats() const { return m_lastStats; }

    int Add(int Mode);
    int Delete();
    int Extract(int Mode);
    int Test();
    int List();
    int Fix(bool Thorough);
    int UpdateDate();
    int GetComment(std::wstring& Comment);
    int GetFileCount();

    // Tests replace the library's entries (zip, unzip) by their own; nullptr
    // goes back to loading the DLLs.
    void SetEntries(TZlEntryFunction zip, TZlEntryFunction unzip);
    // Lets pending window messages through at most this often (milliseconds).
    static constexpr DWORD kMessageInterval = 20;

private:
    struct Library {
        const wchar_t* file;
        const char* entryName;
        HMODULE module = nullptr;
        TZlEntryFunction entry = nullptr;
        TZlEntryFunction fake = nullptr;
    };
    enum class ListKind { AddDelete, Reading };

    TZlEntryFunction Load(Library& library);
    int Call(Library& library, std::vector<std::string> args);
    void AppendFileList(std::vector<std::string>& args, ListKind kind) const;
    std::string DateLimitText() const;
    int Dispatch(int message, void* data);
    static int __stdcall Callback(int message, void* data, void* userData);

    Library m_zip{L"ZLZIP32.DLL", "zlzip"};
    Library m_unzip{L"ZLUNZ32.DLL", "zlunzip"};
    std::uint16_t m_resultHigh = 0;
    int m_count = 0;
    TZlFileStats m_lastStats;
    bool m_running = false;
    DWORD m_lastMessagePump = 0;
};

// The statistics block the library passes, as the events see it.
TZlFileStats StatsFromBlock(const void* block);
// A DOS date and time as a date-time; 1 January 1980 when they make no date.
TDateTime ZlDosDateTime(std::uint16_t date, std::uint16_t time);

}  // namespace velmora::archive
