#include "ArcErrors.h"

#include <utility>

namespace velmora::arc {

namespace {

struct ErrorText {
    int code;
    const wchar_t* text;
};

// The texts are shown to the user exactly as they stand, spelling included.
constexpr ErrorText kTexts[] = {
    {25102, L"File is read-only"},
    {25103, L"File is hidden"},
    {25104, L"File is a SysFile"},
    {25105, L"File is a directory"},
    {25106, L"File is a VolumeID"},
    {25108, L"Bad file header"},
    {25109, L"Bad block"},
    {25110, L"Bad Huffman code"},
    {25111, L"Invalid code incountered"},
    {25112, L"Invalid comment header"},
    {25113, L"Incorrect number of bits"},
    {25114, L"Error writing to file"},
    {25115, L"Error closing file"},
    {25116, L"Incomplete code set"},
    {25117, L"File fails CRC check"},
    {25118, L"File contains invalid decode tree"},
    {25119, L"Invalid directory"},
    {25120, L"Invalid directory... defaulting to current"},
    {25125, L"Disk full"},
    {25128, L"Error deleting file(s)"},
    {25132, L"File not found"},
    {25133, L"Error opening file"},
    {25134, L"Error reading file or unexpected end of file"},
    {25135, L"Header CRC error"},
    {25136, L"Error in archive"},
    {25137, L"Invalid archive"},
    {25138, L"Invalid file name"},
    {25139, L"Bad lengths"},
    {25145, L"Inconsistant local header"},
    {25148, L"LZX method not supported"},
    {25150, L"Maximum volumes 999"},
    {25153, L"Out of memory"},
    {25155, L"No central header. File may be corrupt"},
    {25162, L"Too many nested dirs"},
    {25163, L"OnGetFiles event not assigned"},
    {25164, L"OnRead event not assigned"},
    {25165, L"OnPassword event not assigned"},
    {25166, L"OnNextVolume event not assigned"},
    {25190, L"Password protected"},
    {25191, L"Seek error"},
    {25192, L"Ambiguous Shannon-Fano decode tree encountered!"},
    {25193, L"Stack overflow"},
    {25194, L"Stream read/write error"},
    {25200, L"Unknown or unsupported compression method"},
    {25202, L"Unknown file type"},
    {25204, L"Unsupported version"},
    {25210, L"Error updating archive"},
    {25300, L"User Aborted"},
    {25302, L"Version error"},
    {25350, L"Requires Win32 api"},
    {25901, L"Extraction of this cabinet requires first disk of set"},
    {25902, L"Previous volume in set"},
    {25903, L"Next volume in set"},
    {25904, L"Cabinet does not belong with this set"},
    {26517, L"Invalid password"},
    {26522, L"Password failed"},
    {26900, L"Skipped File"},
    {26999, L"Nothing to do"},
};

}  // namespace

std::wstring ArcErrorText(int code) {
    for (const auto& e : kTexts)
        if (e.code == code) return e.text;
    return std::to_wstring(code);
}

void RaiseDecodeError(int code) { throw E_RAISE(code, std::to_wstring(code)); }

}  // namespace velmora::arc
