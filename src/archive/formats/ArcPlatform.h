#pragma once
// The only part of the archive library that reaches the operating system: files,
// folders, time and the message box. ArcPlatformWin32.cpp implements it over the
// kernel, ArcPlatformPosix.cpp for the native test build. Names are Windows names
// ("\" separated); the Posix side maps them and opens them case-insensitively.

#include <cstdint>
#include <functional>
#include <string>

#include "platform/rtl/DateTime.h"

namespace velmora::arc {

// One open file. Reads and writes report short counts instead of raising; a
// failure at the system level sets LastError().
class TArcFile {
public:
    TArcFile() = default;
    ~TArcFile() { Close(); }
    TArcFile(const TArcFile&) = delete;
    TArcFile& operator=(const TArcFile&) = delete;

    // Other readers may share the file, writers may not: an archive cannot be
    // changed (least of all by its own extraction) while it is read.
    bool OpenRead(const std::wstring& name);
    // Creates or truncates the file for writing.
    bool Create(const std::wstring& name);
    // Creates a file that must not exist yet (a temporary file).
    bool CreateNew(const std::wstring& name);
    // False when the close failed (the file is closed either way).
    bool Close();
    bool IsOpen() const { return m_handle != kNoHandle; }

    // Bytes actually read (0 at the end of the file or on failure).
    std::uint32_t Read(void* buffer, std::uint32_t count);
    std::uint32_t Write(const void* buffer, std::uint32_t count);
    // 0-based position; false when the system refuses it.
    bool Seek(std::int64_t position);
    std::int64_t Position() const { return m_position; }
    std::int64_t Size() const;
    // Reads at a position: the seek and the read together; the count read.
    std::uint32_t ReadAt(std::int64_t position, void* buffer, std::uint32_t count);
    // Sets the modification time of the open (written) file from a DOS date-time.
    bool SetDosTime(std::uint32_t dosDateTime);

    std::uint32_t LastError() const { return m_lastError; }

private:
    bool CreateWith(const std::wstring& name, std::uint32_t disposition);

    static constexpr std::intptr_t kNoHandle = -1;
    std::intptr_t m_handle = kNoHandle;
    std::int64_t m_position = 0;
    std::uint32_t m_lastError = 0;
};

bool ArcFileExists(const std::wstring& name);

// Who a file is, whatever name reaches it (short aliases, "\\?\" and relative
// forms, links): the volume and file index on Windows, device and inode on Posix.
struct TArcFileId {
    std::uint64_t volume = 0;
    std::uint64_t index = 0;
    bool operator==(const TArcFileId&) const = default;
};
// False when the file does not exist or cannot be asked.
bool ArcFileIdentity(const std::wstring& name, TArcFileId& id);
// Puts Source in the place of Target (both in one folder), replacing a Target
// that exists.
bool ArcReplaceFile(const std::wstring& source, const std::wstring& target);
bool ArcDeleteFile(const std::wstring& name);
bool ArcDirectoryExists(const std::wstring& name);
// Creates the folder and every missing parent; true when it exists afterwards.
bool ArcForceDirectories(const std::wstring& name);
// The DOS attribute bits (read-only 1, hidden 2, system 4, archive 0x20).
bool ArcSetFileAttributes(const std::wstring& name, std::uint32_t dosAttributes);
// The current folder with a trailing "\".
std::wstring ArcCurrentDirectory();
// The local time now.
TDateTime ArcNow();
// The system's time-zone bias in minutes (UTC = local + bias), daylight time included.
int ArcSystemTimeZoneBias();

enum class TArcMsgKind { Warning, Information, Confirmation };
enum class TArcMsgButtons { OK, YesNo };
// Modal results: 1 OK, 6 Yes, 7 No.
using TArcMessageBoxHook = std::function<int(const std::wstring& text, TArcMsgKind kind, TArcMsgButtons buttons)>;

// Every message box of the library goes through here. The program installs its own
// dialog; tests install a recorder. Without a hook the system's box is shown
// (Windows) or the text goes to standard error and the answer is OK or No (Posix).
int ArcMessageBox(const std::wstring& text, TArcMsgKind kind, TArcMsgButtons buttons);
void SetArcMessageBoxHook(TArcMessageBoxHook hook);

}  // namespace velmora::arc
