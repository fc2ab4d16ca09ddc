#include "ShellRoutinen.h"

#include <shellapi.h>

#include <utility>

#include "ComPtr.h"
#include "platform/rtl/PathNames.h"

namespace velmora {

bool KontextmenueOffen = false;

namespace {

class THourglass {
public:
    THourglass() : m_previous(SetCursor(LoadCursorW(nullptr, IDC_WAIT))) {}
    ~THourglass() { SetCursor(m_previous); }
    THourglass(const THourglass&) = delete;
    THourglass& operator=(const THourglass&) = delete;

private:
    HCURSOR m_previous;
};

class TPopupMenu {
public:
    TPopupMenu() : m_menu(CreatePopupMenu()) {}
    ~TPopupMenu() {
        if (m_menu)
            DestroyMenu(m_menu);
    }
    TPopupMenu(const TPopupMenu&) = delete;
    TPopupMenu& operator=(const TPopupMenu&) = delete;
    HMENU Handle() const { return m_menu; }

private:
    HMENU m_menu;
};

std::wstring FromAnsi(const char* text) {
    const int n = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (n <= 1)
        return {};
    std::wstring result(static_cast<size_t>(n - 1), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, result.data(), n);
    return result;
}

TComPtr<IContextMenu> ContextMenuOf(HWND Owner, IShellFolder* Folder, LPCITEMIDLIST Pidl) {
    TComPtr<IContextMenu> menu;
    if (Folder && Pidl)
        Folder->GetUIObjectOf(Owner, 1, &Pidl, IID_IContextMenu, nullptr, menu.PutVoid());
    return menu;
}

void InvokeCommand(IContextMenu* Menu, HWND Owner, LPCSTR Verb) {
    CMINVOKECOMMANDINFO info{};
    info.cbSize = sizeof info;
    info.hwnd = Owner;
    info.lpVerb = Verb;
    info.nShow = SW_SHOWNORMAL;
    Menu->InvokeCommand(&info);
}

void InvokeProperties(IContextMenu* Menu, HWND Owner, ULONG Attributes) {
    if (Attributes & SFGAO_HASPROPSHEET)
        InvokeCommand(Menu, Owner, "properties");
}

// Builds the pop-up, tracks it and runs the chosen command; cancelling runs nothing.
void TrackContextMenu(IContextMenu* Menu, HWND Owner, POINT ScreenPoint) {
    TPopupMenu popup;
    if (!popup.Handle() || FAILED(Menu->QueryContextMenu(popup.Handle(), 0, 1, 0x7FFF, CMF_EXPLORE)))
        return;
    const UINT command = TrackPopupMenu(popup.Handle(), TPM_RIGHTBUTTON | TPM_RETURNCMD, ScreenPoint.x,
                                        ScreenPoint.y, 0, Owner, nullptr);
    if (command > 0)
        InvokeCommand(Menu, Owner, MAKEINTRESOURCEA(command - 1));
}

}  // namespace

bool PidlAnzeigename(IShellFolder* Folder, LPCITEMIDLIST Pidl, DWORD Flags, std::wstring& Name) {
    STRRET answer{};
    if (!Folder || FAILED(Folder->GetDisplayNameOf(Pidl, Flags, &answer)))
        return false;
    switch (answer.uType) {
    case STRRET_WSTR:
        Name = answer.pOleStr ? answer.pOleStr : L"";
        // The text lives in shell memory that the asker frees.
        if (IMalloc* m = ShellAllocator())
            m->Free(answer.pOleStr);
        return true;
    case STRRET_OFFSET:
        Name = FromAnsi(reinterpret_cast<const char*>(Pidl) + answer.uOffset);
        return true;
    case STRRET_CSTR:
        Name = FromAnsi(answer.cStr);
        return true;
    default:
        return false;
    }
}

bool PfadZuPidl(IShellFolder* Folder, const std::wstring& Path, TPidl& Pidl, HWND Owner) {
    if (!Folder || Path.size() >= MAX_PATH)
        return false;
    std::wstring buffer = Path;
    LPITEMIDLIST parsed = nullptr;
    if (FAILED(Folder->ParseDisplayName(Owner, nullptr, buffer.data(), nullptr, &parsed, nullptr)))
        return false;
    Pidl.reset(parsed);
    return true;
}

void PidlEigenschaften(HWND Owner, IShellFolder* Folder, LPCITEMIDLIST Pidl, ULONG Attributes) {
    if (TComPtr<IContextMenu> menu = ContextMenuOf(Owner, Folder, Pidl))
        InvokeProperties(menu.Get(), Owner, Attributes);
}

void PidlKontextmenue(HWND Owner, IShellFolder* Folder, LPCITEMIDLIST Pidl, POINT ScreenPoint) {
    KontextmenueOffen = true;
    if (TComPtr<IContextMenu> menu = ContextMenuOf(Owner, Folder, Pidl))
        TrackContextMenu(menu.Get(), Owner, ScreenPoint);
    KontextmenueOffen = false;
}

bool Kontextmenue(const std::wstring& Path, TKontextModus Mode, HWND Owner, POINT ScreenPoint) {
    THourglass hourglass;
    const std::wstring folderPath = ExtractFileDir(Path);
    const std::wstring name = ExtractFileName(Path);
    if (folderPath.empty() || name.empty())
        return false;

    TComPtr<IShellFolder> desktop;
    TPidl folderPidl, itemPidl;
    TComPtr<IShellFolder> folder;
    if (FAILED(SHGetDesktopFolder(desktop.Put())) || !PfadZuPidl(desktop.Get(), folderPath, folderPidl, Owner) ||
        FAILED(desktop->BindToObject(folderPidl.get(), nullptr, IID_IShellFolder, folder.PutVoid())) ||
        !PfadZuPidl(folder.Get(), name, itemPidl, Owner))
        return false;
    TComPtr<IContextMenu> menu = ContextMenuOf(Owner, folder.Get(), itemPidl.get());
    if (!menu)
        return false;
    if (Mode == TKontextModus::Menue) {
        TrackContextMenu(menu.Get(), Owner, ScreenPoint);
    } else {
        ULONG attributes = SFGAO_HASPROPSHEET;
        LPCITEMIDLIST item = itemPidl.get();
        if (FAILED(folder->GetAttributesOf(1, &item, &attributes)))
            attributes = 0;
        InvokeProperties(menu.Get(), Owner, attributes);
    }
    return true;
}

bool KontextmenueZeigen(const std::wstring& Path, HWND Owner, POINT ScreenPoint) {
    return Kontextmenue(Path, TKontextModus::Menue, Owner, ScreenPoint);
}

bool DateiEigenschaftenZeigen(const std::wstring& Path, HWND Owner) {
    return Kontextmenue(Path, TKontextModus::Eigenschaften, Owner, POINT{0, 0});
}

bool DateiInfoAusPidl(TItemData& Item) {
    wchar_t path[MAX_PATH];
    if (!Item.AbsPidl || !SHGetPathFromIDListW(Item.AbsPidl.get(), path))
        return false;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(path, &found);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    FindClose(search);

    std::lock_guard lock(Item.Sperre);
    // The other thread may have loaded the same data meanwhile.
    if (Item.DatenGeladen.load(std::memory_order_acquire))
        return true;
    Item.Groesse = (static_cast<std::int64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
    Item.Attr = static_cast<std::int32_t>(found.dwFileAttributes);
    FILETIME local;
    SYSTEMTIME st;
    Item.Datum = 0;
    if (FileTimeToLocalFileTime(&found.ftLastWriteTime, &local) && FileTimeToSystemTime(&local, &st))
        Item.Datum = TryEncodeDateTime({st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond,
                                        st.wMilliseconds})
                         .value_or(0);
    Item.DosName = found.cAlternateFileName;
    Item.DatenGeladen.store(true, std::memory_order_release);
    return true;
}

int SysIconIndex(LPCITEMIDLIST AbsPidl, UINT Flags) {
    SHFILEINFOW info{};
    if (!SHGetFileInfoW(reinterpret_cast<LPCWSTR>(AbsPidl), 0, &info, sizeof info, Flags | SHGFI_PIDL))
        return 0;
    return info.iIcon;
}

int DateiTypName(LPCITEMIDLIST AbsPidl, UINT Flags, std::wstring& TypeName) {
    SHFILEINFOW info{};
    TypeName.clear();
    if (!SHGetFileInfoW(reinterpret_cast<LPCWSTR>(AbsPidl), 0, &info, sizeof info,
                        Flags | SHGFI_PIDL | SHGFI_TYPENAME))
        return 0;
    TypeName = info.szTypeName;
    return info.iIcon;
}

int DateiTypNameOhneZugriff(LPCITEMIDLIST AbsPidl, std::wstring& TypeName) {
    return DateiTypName(AbsPidl, 0, TypeName);
}

std::wstring AttributString(DWORD Attributes) {
    std::wstring text = L"----";
    if (Attributes & FILE_ATTRIBUTE_ARCHIVE)
        text[0] = L'a';
    if (Attributes & FILE_ATTRIBUTE_READONLY)
        text[1] = L'r';
    if (Attributes & FILE_ATTRIBUTE_HIDDEN)
        text[2] = L'v';
    if (Attributes & FILE_ATTRIBUTE_SYSTEM)
        text[3] = L's';
    return text;
}

std::wstring GroesseInKB(std::int64_t Bytes) {
    if (Bytes <= 0)
        return L"0 KB";
    std::int64_t kb = Bytes / 1024;
    const std::int64_t rest = Bytes % 1024;
    if (rest > 512 || (rest == 512 && kb % 2 == 1))
        ++kb;
    if (kb == 0)
        kb = 1;
    return std::to_wstring(kb) + L" KB";
}

}  // namespace velmora
