#include "DateiListeDaten.h"

#include <string_view>
#include <unordered_map>

#include "filetools/DatumGroesseTest.h"
#include "foundation/ShellRoutinen.h"

namespace velmora {

std::function<void(const std::wstring& Ordner)> OrdnerLeseHook;

void OrdnerLesenMelden(const std::wstring& Ordner) {
    if (OrdnerLeseHook)
        OrdnerLeseHook(Ordner);
}

namespace {

void Veroeffentlichen(TItemData& Item, std::int64_t Groesse, DWORD Attr, const FILETIME& Zeit,
                      const wchar_t* DosName) {
    std::lock_guard lock(Item.Sperre);
    if (Item.DatenGeladen.load(std::memory_order_acquire))
        return;
    Item.Groesse = Groesse;
    Item.Attr = static_cast<std::int32_t>(Attr);
    Item.Datum = LokaleDateiZeit(Zeit);
    Item.DosName = DosName;
    Item.DatenGeladen.store(true, std::memory_order_release);
}

std::int64_t Groesse(const WIN32_FIND_DATAW& found) {
    return (static_cast<std::int64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
}

bool IstPunktEintrag(const wchar_t* name) {
    return name[0] == L'.' && (name[1] == 0 || (name[1] == L'.' && name[2] == 0));
}

}  // namespace

void DatenEintragen(TItemData& Item, const WIN32_FIND_DATAW& Found) {
    Veroeffentlichen(Item, Groesse(Found), Found.dwFileAttributes, Found.ftLastWriteTime, Found.cAlternateFileName);
}

bool DatenLaden(TItemData& Item, const std::wstring& Ordner) {
    if (Item.DatenGeladen.load(std::memory_order_acquire))
        return true;
    if (Ordner.empty())
        return DateiInfoAusPidl(Item);
    if (Item.Name.empty() || Item.Name == L"..")
        return false;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileExW((Ordner + Item.Name).c_str(), FindExInfoStandard, &found,
                                     FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    FindClose(search);
    DatenEintragen(Item, found);
    return true;
}

void OrdnerDurchlaufen(const std::wstring& Ordner, const std::function<bool(const WIN32_FIND_DATAW&)>& Gefunden) {
    OrdnerLesenMelden(Ordner);
    WIN32_FIND_DATAW found;
    HANDLE search =
        FindFirstFileExW((Ordner + L"*").c_str(), FindExInfoStandard, &found, FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        if (!IstPunktEintrag(found.cFileName) && !Gefunden(found))
            break;
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

namespace {

TItemData* Zeiger(const std::unique_ptr<TItemData>& entry) { return entry.get(); }
TItemData* Zeiger(TItemData* entry) { return entry; }

template <class Liste>
void DatenLadenFuer(const std::wstring& Ordner, const Liste& Eintraege, const std::function<bool()>& Weiter) {
    if (!Ordner.empty()) {
        // The names point into the entries, which live while this runs.
        std::unordered_map<std::wstring_view, TItemData*> offen;
        for (const auto& entry : Eintraege)
            if (!Zeiger(entry)->DatenGeladen.load(std::memory_order_acquire))
                offen.emplace(Zeiger(entry)->Name, Zeiger(entry));
        if (offen.empty())
            return;
        bool abgebrochen = false;
        OrdnerDurchlaufen(Ordner, [&](const WIN32_FIND_DATAW& found) {
            if (!Weiter()) {
                abgebrochen = true;
                return false;
            }
            if (auto it = offen.find(found.cFileName); it != offen.end())
                DatenEintragen(*it->second, found);
            return true;
        });
        if (abgebrochen)
            return;
    }
    // What the pass missed (renamed or removed meanwhile), or a virtual folder.
    for (const auto& entry : Eintraege) {
        if (!Weiter())
            return;
        if (!Zeiger(entry)->DatenGeladen.load(std::memory_order_acquire))
            DatenLaden(*Zeiger(entry), Ordner);
    }
}

}  // namespace

void AlleDatenLaden(const std::wstring& Ordner, const TEintragListe& Eintraege, const std::function<bool()>& Weiter) {
    DatenLadenFuer(Ordner, Eintraege, Weiter);
}

void AlleDatenLaden(const std::wstring& Ordner, const std::vector<TItemData*>& Eintraege,
                    const std::function<bool()>& Weiter) {
    DatenLadenFuer(Ordner, Eintraege, Weiter);
}

TReadFileDataThread::TReadFileDataThread(const TEintragListe& Eintraege, std::wstring Ordner)
    : TThread(true), m_eintraege(Eintraege), m_ordner(std::move(Ordner)) {
    SetPriority(gui::TThreadPriority::tpIdle);
}

TReadFileDataThread::~TReadFileDataThread() { StopAndWait(); }

void TReadFileDataThread::Execute() {
    AlleDatenLaden(m_ordner, m_eintraege, [this] { return CheckPause(); });
}

}  // namespace velmora
