#include "DateiListeDaten.h"

#include <map>
#include <mutex>
#include <string_view>
#include <unordered_map>

#include "filetools/DatumGroesseTest.h"
#include "foundation/EineDatei.h"
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

std::vector<WIN32_FIND_DATAW> Durchlauf(const std::wstring& Ordner) {
    std::vector<WIN32_FIND_DATAW> gefunden;
    OrdnerDurchlaufen(Ordner, [&](const WIN32_FIND_DATAW& found) {
        gefunden.push_back(found);
        return true;
    });
    return gefunden;
}

}  // namespace

std::shared_ptr<TOrdnerVorauslesen> TOrdnerVorauslesen::Fuer(const std::wstring& Ordner) {
    static std::mutex sperre;
    static std::map<std::wstring, std::weak_ptr<TOrdnerVorauslesen>> laufend;
    const std::wstring schluessel = SystemLower(Ordner);
    std::lock_guard lock(sperre);
    for (auto it = laufend.begin(); it != laufend.end();)
        it = it->second.expired() ? laufend.erase(it) : std::next(it);
    if (auto it = laufend.find(schluessel); it != laufend.end())
        return it->second.lock();
    auto neu = std::make_shared<TOrdnerVorauslesen>(Ordner);
    laufend.emplace(schluessel, neu);
    return neu;
}

TOrdnerVorauslesen::TOrdnerVorauslesen(std::wstring Ordner) : m_ordner(std::move(Ordner)) {
    m_aenderung = FindFirstChangeNotificationW(m_ordner.c_str(), FALSE,
                                               FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME |
                                                   FILE_NOTIFY_CHANGE_ATTRIBUTES | FILE_NOTIFY_CHANGE_SIZE |
                                                   FILE_NOTIFY_CHANGE_LAST_WRITE);
    if (m_aenderung == INVALID_HANDLE_VALUE)
        return;
    try {
        m_ergebnis = std::async(std::launch::async, Durchlauf, m_ordner).share();
    } catch (...) {
        // No thread: Durchgehen reads the folder itself.
    }
}

TOrdnerVorauslesen::~TOrdnerVorauslesen() {
    if (m_ergebnis.valid())
        m_ergebnis.wait();
    if (m_aenderung != INVALID_HANDLE_VALUE)
        FindCloseChangeNotification(m_aenderung);
}

void TOrdnerVorauslesen::Durchgehen(const std::function<bool(const WIN32_FIND_DATAW&)>& Gefunden) {
    const std::vector<WIN32_FIND_DATAW>* gefunden = nullptr;
    if (m_ergebnis.valid()) {
        try {
            gefunden = &m_ergebnis.get();
        } catch (...) {
            // Out of memory on the pass's thread: read again below.
        }
    }
    if (!gefunden || WaitForSingleObject(m_aenderung, 0) != WAIT_TIMEOUT) {
        OrdnerDurchlaufen(m_ordner, Gefunden);
        return;
    }
    for (const WIN32_FIND_DATAW& found : *gefunden)
        if (!Gefunden(found))
            return;
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
