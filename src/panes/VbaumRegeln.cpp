#include "VbaumRegeln.h"

#include "foundation/ArchiveExtension.h"

namespace velmora {

TKnotenArt KnotenArt(ULONG ShellAttr, const std::wstring& ParsingName) {
    if (ShellAttr & (kAttrOrdner | kAttrDateisystemVorfahr))
        return TKnotenArt::Ordner;
    if (!(ShellAttr & kAttrDateisystem))
        return TKnotenArt::Keiner;
    const size_t punkt = ParsingName.find_last_of(L".\\:");
    if (punkt == std::wstring::npos || ParsingName[punkt] != L'.')
        return TKnotenArt::Keiner;
    return IsArchiveExtension(std::wstring_view(ParsingName).substr(punkt + 1)) ? TKnotenArt::Archiv
                                                                                : TKnotenArt::Keiner;
}

bool DurchAttributeAusgeblendet(DWORD FileAttr, bool ReadOnly, bool Hidden, bool System) {
    return (!ReadOnly && (FileAttr & FILE_ATTRIBUTE_READONLY)) || (!Hidden && (FileAttr & FILE_ATTRIBUTE_HIDDEN)) ||
           (!System && (FileAttr & FILE_ATTRIBUTE_SYSTEM));
}

bool HaeltArchive(const std::wstring& Folder) {
    if (Folder.empty())
        return false;
    std::wstring basis = Folder;
    if (basis.back() != L'\\')
        basis += L'\\';
    for (const wchar_t* maske : {L"*.zip", L"*.arj", L"*.lzh", L"*.rar", L"*.pak", L"*.arc", L"*.zoo"}) {
        WIN32_FIND_DATAW fd;
        HANDLE h = FindFirstFileW((basis + maske).c_str(), &fd);
        if (h != INVALID_HANDLE_VALUE) {
            FindClose(h);
            return true;
        }
    }
    return false;
}

std::wstring KnotenPfad(const std::wstring& RawPath, ULONG ShellAttr) {
    if (RawPath.empty())
        return {};
    std::wstring pfad = RawPath;
    const bool ordner = ShellAttr & (kAttrOrdner | kAttrDateisystemVorfahr);
    if (ordner && pfad.back() != L'\\')
        pfad += L'\\';
    else if (!ordner)
        while (pfad.size() > 3 && pfad.back() == L'\\') pfad.pop_back();
    return pfad;
}

std::uint8_t VbaumSortZustand(std::uint8_t Zustand, std::uint8_t Anfrage) {
    switch (Anfrage) {
    case 0:
    case 1: return Zustand == 0 ? 1 : 0;
    case 2:
    case 3: return Zustand == 2 ? 3 : 2;
    case 4: return 5;
    case 5: return Zustand == 5 ? 4 : 5;
    default: return kVbaumUnsortiert;
    }
}

int VbaumSortSpalte(std::uint8_t Zustand) { return Zustand <= 1 ? 0 : Zustand <= 3 ? 1 : 3; }
int VbaumSortRichtung(std::uint8_t Zustand) { return Zustand % 2 == 0 ? 1 : -1; }

std::optional<std::wstring> ErsterVerschwundenerElternpfad(const TWachSchnappschuss& Schnappschuss,
                                                            const std::atomic<bool>& Stop) {
    for (const TWachEintrag& e : Schnappschuss) {
        if (Stop.load())
            return std::nullopt;
        const DWORD attr = e.Pfad.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(e.Pfad.c_str());
        const bool da = attr != INVALID_FILE_ATTRIBUTES && ((attr & FILE_ATTRIBUTE_DIRECTORY) != 0) == e.Ordner;
        if (!da)
            return e.ElternPfad;
    }
    return std::nullopt;
}

}  // namespace velmora
