// scratchdrive LETTER [UNIX-FOLDER [fixed|floppy|cdrom]]: gives the Wine prefix
// the drive LETTER of that type (fixed unless told) on UNIX-FOLDER, or takes it
// away without a folder, and prints the label Windows then reports for it. A link in dosdevices alone is not enough while the
// prefix's session runs: the volume information comes from Wine's mount
// manager, which learns of drives at its start or through this request.

#include <windows.h>
#include <winioctl.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr DWORD kDefineUnixDrive = CTL_CODE('m', 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);

// The request's layout in Wine 8.
struct UnixDrive {
    ULONG size;
    ULONG type;
    ULONG fsType;
    DWORD serial;
    ULONGLONG unixDevice;
    WCHAR letter;
    USHORT mountPointOffset;
    USHORT deviceOffset;
    USHORT labelOffset;
};

bool Define(char letter, const char* unixFolder, ULONG type)
{
    std::vector<char> request(sizeof(UnixDrive) + (unixFolder ? std::strlen(unixFolder) + 1 : 0));
    auto* drive = reinterpret_cast<UnixDrive*>(request.data());
    drive->size = static_cast<ULONG>(request.size());
    drive->type = type;
    drive->letter = static_cast<WCHAR>(letter);
    if (unixFolder) {
        drive->mountPointOffset = sizeof(UnixDrive);
        std::strcpy(request.data() + sizeof(UnixDrive), unixFolder);
    }
    HANDLE manager = CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (manager == INVALID_HANDLE_VALUE) return false;
    DWORD got = 0;
    const BOOL ok = DeviceIoControl(manager, kDefineUnixDrive, request.data(), static_cast<DWORD>(request.size()),
                                    nullptr, 0, &got, nullptr);
    CloseHandle(manager);
    return ok != FALSE;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || argv[1][0] < 'a' || argv[1][0] > 'z') {
        std::fputs("scratchdrive LETTER [UNIX-FOLDER [fixed|floppy|cdrom]]\n", stderr);
        return 2;
    }
    const char letter = argv[1][0];
    const std::string kind = argc > 3 ? argv[3] : "fixed";
    const ULONG type = kind == "cdrom" ? DRIVE_CDROM : kind == "floppy" ? DRIVE_REMOVABLE : DRIVE_FIXED;
    if (!Define(letter, argc > 2 ? argv[2] : nullptr, type)) {
        std::fprintf(stderr, "drive %c: not %s (error %lu)\n", letter, argc > 2 ? "defined" : "removed", GetLastError());
        return 1;
    }
    if (argc > 2) {
        const wchar_t root[] = {static_cast<wchar_t>(letter), L':', L'\\', 0};
        wchar_t label[MAX_PATH + 1] = {};
        GetVolumeInformationW(root, label, MAX_PATH + 1, nullptr, nullptr, nullptr, nullptr, 0);
        std::string utf8(WideCharToMultiByte(CP_UTF8, 0, label, -1, nullptr, 0, nullptr, nullptr), '\0');
        WideCharToMultiByte(CP_UTF8, 0, label, -1, utf8.data(), static_cast<int>(utf8.size()), nullptr, nullptr);
        std::printf("label %s\n", utf8.c_str());
    }
    return 0;
}
