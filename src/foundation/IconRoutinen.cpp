#include "IconRoutinen.h"

#include <shellapi.h>

#include <future>
#include <mutex>

#include "ArchiveExtension.h"
#include "platform/rtl/PathNames.h"
#include "platform/rtl/Strings.h"

namespace velmora {

TIconRoutinen* IconRoutinen = nullptr;

namespace {

std::mutex vorbereitungSperre;
std::shared_future<void> vorbereitung;

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

}  // namespace

void SystemImageListsVorbereiten() {
    std::lock_guard lock(vorbereitungSperre);
    if (vorbereitung.valid())
        return;
    try {
        vorbereitung = std::async(std::launch::async, [] { SystemImageList(SHGFI_SMALLICON); }).share();
    } catch (...) {
        // No thread: the lists are built where they are first needed.
    }
}

namespace {

// The lists as the preparation left them (built at once when none ran).
HIMAGELIST VorbereiteteListe(UINT sizeFlag) {
    std::shared_future<void> laufend;
    {
        std::lock_guard lock(vorbereitungSperre);
        laufend = vorbereitung;
    }
    if (laufend.valid())
        laufend.wait();
    return SystemImageList(sizeFlag);
}

}  // namespace

TIconRoutinen::TIconRoutinen()
    : SmallImages(VorbereiteteListe(SHGFI_SMALLICON)), LargeImages(VorbereiteteListe(SHGFI_LARGEICON)) {
    UpDirIndex = AddToBoth(LargeImages, SmallImages, L"UPDIR");
    FolderIndex = AddToBoth(LargeImages, SmallImages, L"SVERZORDNER");
    ProgramIndex = AddToBoth(LargeImages, SmallImages, L"SAUSFDAT");
    UnknownIndex = AddToBoth(LargeImages, SmallImages, L"SUNKNOWN");
    ArchiveIndex = AddToBoth(LargeImages, SmallImages, L"SARCORDNER");
    OpenArchiveIndex = AddToBoth(LargeImages, SmallImages, L"SOARCORDNER");
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
