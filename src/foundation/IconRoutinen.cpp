#include "IconRoutinen.h"

#include <shellapi.h>

#include <future>
#include <mutex>
#include <utility>

#include "ArchiveExtension.h"
#include "platform/rtl/PathNames.h"
#include "platform/rtl/Strings.h"

namespace velmora {

TIconRoutinen* IconRoutinen = nullptr;

namespace {

HIMAGELIST SystemImageList(UINT sizeFlag) {
    SHFILEINFOW info{};
    return reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoW(L"", 0, &info, sizeof info, SHGFI_SYSICONINDEX | sizeFlag));
}

// Adds the resource icon at the list's own size; -1 when either is missing.
int AddResourceIcon(HIMAGELIST list, const wchar_t* name) {
    int cx = 0, cy = 0;
    if (!list || !ImageList_GetIconSize(list, &cx, &cy))
        return -1;
    auto icon = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), name, IMAGE_ICON, cx, cy, 0));
    if (!icon)
        return -1;
    const int index = ImageList_AddIcon(list, icon);
    DestroyIcon(icon);
    return index;
}

int AddToBoth(HIMAGELIST large, HIMAGELIST small, const wchar_t* name) {
    AddResourceIcon(large, name);
    const int index = AddResourceIcon(small, name);
    return index < 0 ? 0 : index;
}

// The shell's lists with the program's own icons appended, and where they stand.
struct TEigeneIcons {
    HIMAGELIST Small = nullptr, Large = nullptr;
    int UpDir = 0, Folder = 0, Program = 0, Unknown = 0, Archive = 0, OpenArchive = 0;
};

TEigeneIcons EigeneIconsAnhaengen() {
    TEigeneIcons icons;
    icons.Small = SystemImageList(SHGFI_SMALLICON);
    icons.Large = SystemImageList(SHGFI_LARGEICON);
    icons.UpDir = AddToBoth(icons.Large, icons.Small, L"UPDIR");
    icons.Folder = AddToBoth(icons.Large, icons.Small, L"SVERZORDNER");
    icons.Program = AddToBoth(icons.Large, icons.Small, L"SAUSFDAT");
    icons.Unknown = AddToBoth(icons.Large, icons.Small, L"SUNKNOWN");
    icons.Archive = AddToBoth(icons.Large, icons.Small, L"SARCORDNER");
    icons.OpenArchive = AddToBoth(icons.Large, icons.Small, L"SOARCORDNER");
    return icons;
}

std::mutex vorbereitungSperre;
std::shared_future<TEigeneIcons> vorbereitung;
bool vorbereitungGenommen = false;

// What the preparation built, for the first taker; anyone else (or when none
// ran or it failed) appends the icons itself.
TEigeneIcons VorbereiteteIcons() {
    std::shared_future<TEigeneIcons> laufend;
    {
        std::lock_guard lock(vorbereitungSperre);
        if (vorbereitung.valid() && !std::exchange(vorbereitungGenommen, true))
            laufend = vorbereitung;
    }
    if (laufend.valid()) {
        try {
            return laufend.get();
        } catch (...) {
            // Out of memory on the thread: built here below.
        }
    }
    return EigeneIconsAnhaengen();
}

}  // namespace

void SystemImageListsVorbereiten() {
    std::lock_guard lock(vorbereitungSperre);
    if (vorbereitung.valid())
        return;
    try {
        vorbereitung = std::async(std::launch::async, EigeneIconsAnhaengen).share();
    } catch (...) {
        // No thread: the lists are built where they are first needed.
    }
}

TIconRoutinen::TIconRoutinen() {
    const TEigeneIcons icons = VorbereiteteIcons();
    SmallImages = icons.Small;
    LargeImages = icons.Large;
    UpDirIndex = icons.UpDir;
    FolderIndex = icons.Folder;
    ProgramIndex = icons.Program;
    UnknownIndex = icons.Unknown;
    ArchiveIndex = icons.Archive;
    OpenArchiveIndex = icons.OpenArchive;
}

std::wstring IconExtension(const std::wstring& Name) {
    const size_t start = Name.find_last_of(L":\\");
    const size_t dot = Name.rfind(L'.');
    if (dot == std::wstring::npos || (start != std::wstring::npos && dot < start))
        return {};
    return AsciiLower(Name.substr(dot + 1, 3));
}

int TIconRoutinen::GetIconIndex(const std::wstring& Name) const {
    if (Name.empty())
        return FolderIndex;
    const std::wstring ext = IconExtension(Name);
    if (ext == L"exe" || ext == L"com" || ext == L"bat")
        return ProgramIndex;
    if (IsArchiveExtension(ext))
        return ArchiveIndex;
    return UnknownIndex;
}

int TIconRoutinen::GetSystemIconIndex(const std::wstring& Name, DWORD Attributes) const {
    SHFILEINFOW info{};
    if (!SHGetFileInfoW(ExtractFileName(Name).c_str(), Attributes, &info, sizeof info,
                        SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES))
        return 0;
    return info.iIcon;
}

void TIconRoutinen::GetFileTypeName(const std::wstring& Name, std::wstring& TypeName) const {
    SHFILEINFOW info{};
    TypeName.clear();
    if (SHGetFileInfoW(ExtractFileName(Name).c_str(), FILE_ATTRIBUTE_NORMAL, &info, sizeof info,
                       SHGFI_TYPENAME | SHGFI_USEFILEATTRIBUTES))
        TypeName = info.szTypeName;
}

}  // namespace velmora
