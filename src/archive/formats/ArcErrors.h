#pragma once
// The error codes of the archive library and their English texts (codes 25102 to
// 26999), and E_RAISE, the one exception class the library raises.

#include <string>

#include "platform/rtl/Exceptions.h"

namespace velmora::arc {

namespace err {
constexpr int FileReadOnly = 25102;
constexpr int FileHidden = 25103;
constexpr int FileSysFile = 25104;
constexpr int FileDirectory = 25105;
constexpr int FileVolumeID = 25106;
constexpr int BadFileHeader = 25108;
constexpr int BadBlock = 25109;
constexpr int BadHuffmanCode = 25110;
constexpr int InvalidCode = 25111;
constexpr int InvalidCommentHeader = 25112;
constexpr int IncorrectBits = 25113;
constexpr int WriteError = 25114;
constexpr int CloseError = 25115;
constexpr int IncompleteCodeSet = 25116;
constexpr int CrcError = 25117;
constexpr int InvalidDecodeTree = 25118;
constexpr int InvalidDirectory = 25119;
constexpr int InvalidDirectoryDefault = 25120;
constexpr int DiskFull = 25125;
constexpr int DeleteError = 25128;
constexpr int FileNotFound = 25132;
constexpr int OpenError = 25133;
constexpr int ReadError = 25134;
constexpr int HeaderCrcError = 25135;
constexpr int ArchiveError = 25136;
constexpr int InvalidArchive = 25137;
constexpr int InvalidFileName = 25138;
constexpr int BadLengths = 25139;
constexpr int InconsistentLocalHeader = 25145;
constexpr int LzxNotSupported = 25148;
constexpr int MaxVolumes = 25150;
constexpr int OutOfMemory = 25153;
constexpr int NoCentralHeader = 25155;
constexpr int TooManyNestedDirs = 25162;
constexpr int OnGetFilesNotAssigned = 25163;
constexpr int OnReadNotAssigned = 25164;
constexpr int OnPasswordNotAssigned = 25165;
constexpr int OnNextVolumeNotAssigned = 25166;
constexpr int PasswordProtected = 25190;
constexpr int SeekError = 25191;
constexpr int AmbiguousTree = 25192;
constexpr int StackOverflow = 25193;
constexpr int StreamError = 25194;
constexpr int UnknownMethod = 25200;
constexpr int UnknownFileType = 25202;
constexpr int UnsupportedVersion = 25204;
constexpr int UpdateError = 25210;
constexpr int UserAborted = 25300;
constexpr int VersionError = 25302;
constexpr int RequiresWin32 = 25350;
constexpr int FirstDiskRequired = 25901;
constexpr int PreviousVolume = 25902;
constexpr int NextVolume = 25903;
constexpr int CabinetNotInSet = 25904;
constexpr int InvalidPassword = 26517;
constexpr int PasswordFailed = 26522;
constexpr int SkippedFile = 26900;
constexpr int NothingToDo = 26999;
}  // namespace err

// The English text of a code; an unknown code gives its decimal digits.
std::wstring ArcErrorText(int code);

class E_RAISE : public Exception {
public:
    // Message: the code's text (RaiseArcError) or its decimal digits (decoders).
    E_RAISE(int code, std::wstring message) : Exception(std::move(message)), m_code(code) {}
    int Code() const { return m_code; }

private:
    int m_code;
};

// Failures inside the decoding of one entry: the message is the code in decimal and
// no OnError fires.
[[noreturn]] void RaiseDecodeError(int code);

}  // namespace velmora::arc
