#pragma once
// The interface between the zip libraries ("ZLZIP32.DLL", entry "zlzip";
// "ZLUNZ32.DLL", entry "zlunzip") and the program that loads them. Both sides
// include this header; it is plain C layout, 32-bit pointers on i686.
//
// entry(100, ArgCount, ArgList, Callback, UserData): ArgList[0] is the password
// ("" for none), then options, the archive and the names. The exception is the
// entry count: ArgCount 1 and ArgList[0] the archive. The result's low word is
// the result code; the high word counts the entries processed.

#include <cstdint>

namespace velmora::zl {

using ZlCallback = int(__stdcall*)(int message, void* data, void* userData);
using ZlEntry = int(__stdcall*)(int version, int argCount, char** argList, ZlCallback callback,
                                void* userData);

inline constexpr int kInterfaceVersion = 100;

// Callback messages. Strings are UTF-8.
enum ZlMessage : int {
    kMsgReplace = 10,       // ZlReplaceData: the target of an extraction exists
    kMsgTesting = 50,       // ZlFileStatsBlock, per entry tested
    kMsgExtracting = 60,    // ZlFileStatsBlock, per entry really written
    kMsgCount = 70,         // std::int32_t*, the entry count
    kMsgListing = 80,       // ZlFileStatsBlock, per entry (folders have attribute bit 4)
    kMsgComment = 130,      // ZlCommentData, the archive comment (sent even when empty)
    kMsgCommentQuery = 140, // never sent by these libraries
    kMsgTotals = 170,       // ZlFileStatsBlock
    kMsgPassword = 180,     // ZlPasswordData: an encrypted entry, asked once per entry
    kMsgNewDisk = 190,      // std::int32_t*, disk number
    kMsgEntryComment = 200, // ZlEntryCommentData; never sent: existing entry comments are kept
    kMsgUpdating = 1000,    // ZlFileStatsBlock: an entry replaced on add
    kMsgAdding = 1010,      // ZlFileStatsBlock: a new entry on add
    kMsgDeleting = 1020,    // const char* name
    kMsgProgress = 1030,    // ZlFileStatsBlock with the percent in byte 29
    kMsgSkipping = 1060,    // ZlSkippingData
    kMsgFixing = 1070,      // const char* name, per entry recovered
};

// Result codes (low word of the entry's result).
enum ZlResult : int {
    kResultOk = 0,
    kResultSkipped = 40,        // a chosen entry was not written (other than freshen/update)
    kResultNotFound = 100,      // the archive does not exist
    kResultDamaged = 110,       // damaged; on a repair: the walk over the local headers broke
    kResultNoMemory = 120,
    kResultDiskFull = 150,
    kResultBadData = 160,       // damaged data found while extracting
    kResultBusy = 180,          // a call of the component runs already
    kResultAborted = 190,
    kResultTestFailed = 200,    // a CRC or data error found by a test
    kResultUntested = 210,      // an entry of an unknown method
    kResultTempFile = 280,
    kResultDuplicates = 370,
    kResultEmptyArchive = 380,  // re-dating an archive without entries
    kResultNoAccess = 400,
    kResultBadArguments = 500,  // an option or argument the library does not take
    kResultTooLarge = 510,      // an entry too big for the archive format
    kResultNoDisks = 520,       // clearing disks ("-&") is refused
    kResultNothingToDo = 530,   // add or delete found no file or entry to work on
};

// Reasons of kMsgSkipping.
enum ZlSkipReason : std::uint8_t {
    kSkipNotFound = 0,
    kSkipUnknownMethod = 1,
    kSkipBadCrc = 2,
    kSkipUpToDate = 3,
    kSkipCannotOpen = 4,
    kSkipPassword = 5,
    kSkipDamaged = 6,
};

// Answers to kMsgReplace.
enum ZlReplaceAnswer : std::uint8_t {
    kReplaceSkip = 0,
    kReplaceYes = 1,
    kReplaceNewName = 2,
    kReplaceSkipAll = 3,
    kReplaceAll = 4,
};

// Answers to kMsgPassword.
enum ZlPasswordAnswer : std::uint8_t {
    kPasswordSkip = 0,
    kPasswordSkipAll = 1,
    kPasswordGiven = 2,
};

#pragma pack(push, 1)
// The file statistics block. Sizes of 4 GiB and more: the high 32 bits of the
// uncompressed size at offset 12, of the compressed size at offset 24.
struct ZlFileStatsBlock {
    const char* name;            // 0
    std::uint32_t size;          // 4
    std::uint32_t packedSize;    // 8
    std::uint32_t sizeHigh;      // 12
    std::uint8_t attributes;     // 16: bit 0 read-only, 1 hidden, 2 system, 3 label, 4 folder, 5 archive
    std::uint8_t reserved[3];    // 17
    std::uint16_t dosTime;       // 20
    std::uint16_t dosDate;       // 22
    std::uint32_t packedHigh;    // 24
    std::uint8_t method;         // 28
    std::uint8_t percent;        // 29
    std::uint8_t ratio;          // 30: packed size in percent of the size
    std::uint8_t encrypted;      // 31
    const char* comment;         // 32
    std::uint8_t commentLength;  // 36
};
#pragma pack(pop)
static_assert(sizeof(void*) != 4 || sizeof(ZlFileStatsBlock) == 37, "the block is 37 bytes on i686");

struct ZlReplaceData {
    const char* name;        // the existing file, full path
    char newName[260];       // answer kReplaceNewName: the full path to write instead
    std::uint8_t answer;
};

struct ZlPasswordData {
    const char* name;
    char password[81];
    std::uint8_t answer;
};

struct ZlCommentData {
    const char* text;
    std::int32_t length;
};

struct ZlEntryCommentData {
    const char* name;
    char comment[256];
    std::uint8_t length;
};

struct ZlSkippingData {
    const char* name;
    std::uint8_t reason;
};

}  // namespace velmora::zl
