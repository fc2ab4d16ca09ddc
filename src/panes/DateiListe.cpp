#include "DateiListe.h"

#include <algorithm>
#include <cwchar>
#include <optional>
#include <utility>

#include "filetools/DateiRoutinen.h"
#include "foundation/ArchiveExtension.h"
#include "foundation/DefaultUserStore.h"
#include "foundation/IconRoutinen.h"
#include "foundation/ProgrammFlags.h"
#include "foundation/ShellRoutinen.h"
#include "panes/FileListCodes.h"
#include "platform/gui/Application.h"
#include "platform/rtl/PathNames.h"

namespace velmora {

using gui::TListItem;

namespace {

constexpr SHCONTF kAufzaehlFlags = 0xE0;  // folders, non-folders, hidden items
// Up to this many entries are loaded one by one; more take one pass over the folder.
constexpr size_t kEinzelnLaden = 16;

std::wstring Dateiteil(const std::wstring& parsingName) {
    const size_t cut = parsingName.find_last_of(L"\\:");
    return cut == std::wstring::npos ? parsingName : parsingName.substr(cut + 1);
}

std::wstring PfadVon(LPCITEMIDLIST abs) {
    wchar_t path[MAX_PATH];
    if (!abs || !SHGetPathFromIDListW(abs, path))
        return {};
    return path;
}

bool IstLeer(LPCITEMIDLIST pidl) { return !pidl || pidl->mkid.cb == 0; }

ULONG AttributeVon(LPCITEMIDLIST abs) {
    TComPtr<IShellFolder> parent;
    LPCITEMIDLIST last = nullptr;
    if (FAILED(SHBindToParent(abs, IID_IShellFolder, parent.PutVoid(), &last)))
        return 0;
    ULONG attr = kDLAttributMaske;
    return SUCCEEDED(parent->GetAttributesOf(1, &last, &attr)) ? attr : 0;
}

// The shell's attributes of a file-system entry as far as the pane tests them,
// told by its file data; the shell's own come with the entry's shell item.
ULONG DateisystemAttribute(const WIN32_FIND_DATAW& found) {
    ULONG attr = SFGAO_CANCOPY | SFGAO_CANMOVE | SFGAO_CANLINK | SFGAO_CANRENAME | SFGAO_CANDELETE |
                 SFGAO_HASPROPSHEET | SFGAO_FILESYSTEM;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        attr |= SFGAO_FOLDER | SFGAO_HASSUBFOLDER | SFGAO_FILESYSANCESTOR | SFGAO_DROPTARGET;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN)
        attr |= SFGAO_HIDDEN;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_READONLY)
        attr |= SFGAO_READONLY;
    const wchar_t* dot = std::wcsrchr(found.cFileName, L'.');
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && dot && lstrcmpiW(dot, L".lnk") == 0)
        attr |= SFGAO_LINK;
    return attr & kDLAttributMaske;
}

std::int64_t Groesse(const WIN32_FIND_DATAW& found) {
    return (static_cast<std::int64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
}

std::wstring DesktopPfad() {
    wchar_t path[MAX_PATH] = L"";
    SHGetSpecialFolderPathW(nullptr, path, CSIDL_DESKTOPDIRECTORY, FALSE);
    return path;
}

}  // namespace

TDateiListeForm::TDateiListeForm(gui::TComponent* owner, TPaneHost* Host)
    : TDMChildForm(owner), Dateiliste(this), DLStatusZeile(this), DiscMonitor(this), m_host(Host), m_bilder(this) {
    BorderStyle = gui::TBorderStyle::bsToolWindow;
    BorderIcons = 0;

    PlaceListAndStatus(Dateiliste, DLStatusZeile);
    DLStatusZeile.SetVisible(false);
    // A folder of 100,000 files: a window holding its rows takes a message per
    // row to fill and time growing with their square to empty on every re-read.
    Dateiliste.RowsOnly = true;
    Dateiliste.SetViewStyle(gui::TViewStyle::vsList);
    Dateiliste.OnData = gui::bind(this, &TDateiListeForm::DateilisteDrawItem);
    Dateiliste.OnDblClick = gui::bind(this, &TDateiListeForm::DateiListeDblClick);
    Dateiliste.OnChange = gui::bind(this, &TDateiListeForm::DateiListeChange);
    Dateiliste.OnColumnClick = gui::bind(this, &TDateiListeForm::DateiListeColumnClick);
    Dateiliste.OnKeyDown = gui::bind(this, &TDateiListeForm::DateiListeKeyDown);
    Dateiliste.OnKeyPress = gui::bind(this, &TDateiListeForm::DateiListeKeyPress);
    Dateiliste.OnKeyUp = gui::bind(this, &TDateiListeForm::DateiListeKeyUp);
    Dateiliste.OnMouseDown = gui::bind(this, &TDateiListeForm::DateiListeMouseDown);
    Dateiliste.OnMouseMove = gui::bind(this, &TDateiListeForm::DateiListeMouseMove);
    Dateiliste.OnMouseUp = gui::bind(this, &TDateiListeForm::DateiListeMouseUp);

    DiscMonitor.SetFilters(moSize | moLastWrite | moFilename | moDirName | moAttributes);
    DiscMonitor.SetSubTree(false);
    DiscMonitor.SetActive(true);
    DiscMonitor.OnChange = gui::bind(this, &TDateiListeForm::DiscMonitorChange);
    DiscMonitor.OnInvalid = gui::bind(this, &TDateiListeForm::DiscMonitorInvalid);

    OnCreate = gui::bind(this, &TDateiListeForm::FormCreate);
    OnDestroy = gui::bind(this, &TDateiListeForm::FormDestroy);
    OnResize = gui::bind(this, &TDateiListeForm::FormResize);
    OnActivate = gui::bind(this, &TDateiListeForm::FormActivate);
    DropTarget = gui::Create<TPaneDropTarget>(
        this, Dateiliste, Host, [this](POINT p, DWORD k) { return DropZiel(p, k); },
        [this] { SetDropRow(Dateiliste, nullptr); });
}

TDateiListeForm::~TDateiListeForm() { Abbauen(); }

// Rows, reader and entries go in this order, with no report served meanwhile.
void TDateiListeForm::Abbauen() {
    m_endet = true;
    LeserStoppen();
    Dateiliste.Clear();
    m_eintraege.clear();
    m_elternzeile.reset();
}

void TDateiListeForm::FormCreate(gui::TObject*) {
    Fehlercode = fc::DLFormCreate;
    m_auswahlGeaendert = m_linksGedrueckt = m_rechtsGedrueckt = m_doppelklick = m_dragMoeglich = false;
    m_virtuell = m_zeigtPapierkorb = m_zeigtDesktop = false;
    m_pfad.clear();
    m_einzelLayout = Dateiliste.SelCount() == 1;
    Fehlercode = 0;
}

void TDateiListeForm::FormDestroy(gui::TObject*) {
    Fehlercode = fc::DLFormDestroy;
    // Widths are saved only by a report pane: a list pane never loaded them.
    if (GetPaneKind() == ftAusfDateiliste)
        BreitenSpeichern();
    Abbauen();
    Fehlercode = 0;
}

TItemData* TDateiListeForm::Daten(const TListItem* Item) {
    return Item ? static_cast<TItemData*>(Item->Data) : nullptr;
}

// ---- Path and reading ---------------------------------------------------------------

std::wstring TDateiListeForm::GetDirectory() { return m_virtuell ? std::wstring() : m_pfad; }

void TDateiListeForm::PfadSetzen(const std::wstring& Path) {
    m_pfad = Path.empty() ? std::wstring() : IncludeTrailingBackslash(Path);
    DiscMonitor.SetDirectory(UeberwachterOrdner(m_pfad));
}

void TDateiListeForm::SetPathCaption(const std::wstring& Path) {
    PfadSetzen(Path);
    SetCaption(SystemLower(m_pfad));
}

void TDateiListeForm::SetDirectory(const std::wstring& Path) {
    if (DateiRoutinen && DateiRoutinen->GetCurrentPath().empty())
        DateiRoutinen->ResetPaths(Path);
    Fehlercode = fc::DLSetDirectory;
    m_virtuell = false;
    m_virtPidl.reset();
    PfadSetzen(Path);
    ReadContents();
    if (!m_lesenOffen) {
        NachLesenFokus(false);
        UpdateStatusLine();
    }
    Fehlercode = 0;
}

void TDateiListeForm::ShowVirtualFolder(PCIDLIST_ABSOLUTE PIDL) {
    Fehlercode = fc::DLShowVirtualFolder;
    m_virtuell = true;
    m_virtPidl = IstLeer(PIDL) ? TPidl() : PidlVerketten(nullptr, PIDL);
    PfadSetzen(L"");
    ReadContents();
    NachLesenFokus(true);
    UpdateStatusLine();
    Fehlercode = 0;
}

void TDateiListeForm::ReadContents() {
    Fehlercode = fc::DLReadContents;
    if (!m_virtuell && !m_pfad.empty() && m_host && m_host->PaneReadingDeferred()) {
        // The folder is read on a thread meanwhile; the rows come with ReadDeferred.
        m_lesenOffen = true;
        if (!m_voraus || m_voraus->Ordner() != m_pfad)
            m_voraus = TOrdnerVorauslesen::Fuer(m_pfad);
        SetCaption(SystemLower(m_pfad));
        Fehlercode = 0;
        return;
    }
    m_lesenOffen = false;
    gui::THourGlass hourglass;
    Dateiliste.BeginUpdate();
    LeserStoppen();
    // The enumeration below sees whatever a report held meanwhile told of.
    m_meldungOffen = false;
    Dateiliste.Clear();
    m_eintraege.clear();
    m_elternzeile.reset();
    m_ordner.Reset();
    m_ordnerPidl.reset();
    m_summe = {};
    m_zeigtDesktop = m_zeigtPapierkorb = false;

    std::wstring caption = SystemLower(m_pfad);
    Aufzaehlen(caption);
    ZeilenFuellen();
    SetCaption(caption);
    Dateiliste.EndUpdate();
    Fehlercode = 0;
}

void TDateiListeForm::Aufzaehlen(std::wstring& Caption) {
    TComPtr<IShellFolder> desktop;
    if (FAILED(SHGetDesktopFolder(desktop.Put())))
        return;
    TPidl parsed;
    LPCITEMIDLIST abs = nullptr;
    if (m_virtuell) {
        abs = m_virtPidl.get();
        std::wstring name;
        if (IstLeer(abs)) {
            m_zeigtDesktop = true;
            const TPidl empty = PidlAnlegen(sizeof(USHORT));
            PidlAnzeigename(desktop.Get(), empty.get(), SHGDN_NORMAL, name);
            Caption = L"[" + name + L" (" + DesktopPfad() + L")]";
        } else {
            PidlAnzeigename(desktop.Get(), abs, SHGDN_NORMAL, name);
            Caption = L"[" + name + L"]";
            m_zeigtPapierkorb = m_host && name == m_host->RecycleBinName() &&
                                AttributeVon(abs) == m_host->RecycleBinAttributes();
        }
    } else {
        // No folder yet: an empty path would parse as the desktop.
        if (m_pfad.empty() || !PfadZuPidl(desktop.Get(), m_pfad, parsed, Handle()))
            return;
        abs = parsed.get();
    }

    if (IstLeer(abs))
        m_ordner = desktop;
    else if (FAILED(desktop->BindToObject(abs, nullptr, IID_IShellFolder, m_ordner.PutVoid())))
        return;
    if (!m_virtuell) {
        // The pass gives names and file data at once, and the status line's count.
        m_ordnerPidl = std::move(parsed);
        auto eintragen = [this](const WIN32_FIND_DATAW& found) {
            ++m_summe.Anzahl;
            m_summe.Bytes += Groesse(found);
            AddFound(found);
            return true;
        };
        if (const auto voraus = std::move(m_voraus); voraus && voraus->Ordner() == m_pfad) {
            voraus->Durchgehen(eintragen);
        } else {
            OrdnerDurchlaufen(m_pfad, eintragen);
        }
        m_summe.Gelesen = true;
        return;
    }
    TComPtr<IEnumIDList> items;
    OrdnerLesenMelden(PfadVon(abs));
    if (m_ordner->EnumObjects(Handle(), kAufzaehlFlags, items.Put()) != S_OK || !items)
        return;
    LPITEMIDLIST rel = nullptr;
    ULONG fetched = 0;
    while (items->Next(1, &rel, &fetched) == S_OK && fetched == 1) {
        TPidl relPidl(rel);
        TPidl absPidl = PidlVerketten(abs, rel);
        if (absPidl)
            AddEntry(m_ordner.Get(), std::move(relPidl), std::move(absPidl));
    }
}

void TDateiListeForm::ReadDeferred() {
    // The icons may have come after the pane was made (also when it read nothing).
    ShowSmallIcons(Dateiliste, m_bilder, m_bilderGesetzt, IconRoutinen, m_optionen.IconsAnzeigen);
    if (!m_lesenOffen)
        return;
    ReadContents();
    NachLesenFokus(m_virtuell);
    UpdateStatusLine();
}

void TDateiListeForm::AddFound(const WIN32_FIND_DATAW& Found) {
    auto item = std::make_unique<TItemData>();
    item->Name = Found.cFileName;
    item->ShellAttr = DateisystemAttribute(Found);
    DatenEintragen(*item, Found);
    if (m_filter.Zulassen(item->Name, item->ShellAttr, item.get()))
        m_eintraege.push_back(std::move(item));
}

bool TDateiListeForm::ShellItem(TItemData& Item) const {
    if (Item.RelPidl)
        return true;
    if (m_virtuell || IstElternzeile(Item) || !m_ordner || !m_ordnerPidl)
        return false;
    TPidl rel;
    if (!PfadZuPidl(m_ordner.Get(), Item.Name, rel, nullptr))
        return false;
    TPidl abs = PidlVerketten(m_ordnerPidl.get(), rel.get());
    if (!abs)
        return false;
    LPCITEMIDLIST one = rel.get();
    ULONG attr = kDLAttributMaske;
    if (SUCCEEDED(m_ordner->GetAttributesOf(1, &one, &attr)))
        Item.ShellAttr = attr;
    Item.RelPidl = std::move(rel);
    Item.AbsPidl = std::move(abs);
    return true;
}

bool TDateiListeForm::FolderTotals(const std::wstring& Folder, std::int64_t& Count, std::int64_t& Bytes) {
    if (m_virtuell || !m_summe.Gelesen || Folder.empty() ||
        SystemLower(IncludeTrailingBackslash(Folder)) != SystemLower(m_pfad))
        return false;
    Count = m_summe.Anzahl;
    Bytes = m_summe.Bytes;
    return true;
}

void TDateiListeForm::AddEntry(IShellFolder* Folder, TPidl RelPidl, TPidl AbsPidl) {
    Fehlercode = fc::DLAddEntry;
    auto item = std::make_unique<TItemData>();
    LPCITEMIDLIST one = RelPidl.get();
    ULONG attr = kDLAttributMaske;
    item->ShellAttr = SUCCEEDED(Folder->GetAttributesOf(1, &one, &attr)) ? attr : 0;
    std::wstring name;
    if (m_virtuell)
        PidlAnzeigename(Folder, one, SHGDN_NORMAL, name);
    else if (PidlAnzeigename(Folder, one, SHGDN_FORPARSING, name))
        name = Dateiteil(name);
    item->Name = std::move(name);
    item->RelPidl = std::move(RelPidl);
    item->AbsPidl = std::move(AbsPidl);

    if (m_filter.BrauchtDaten())
        Laden(*item);
    const bool geladen = item->DatenGeladen.load(std::memory_order_acquire);
    if (m_filter.Zulassen(item->Name, item->ShellAttr, geladen ? item.get() : nullptr))
        m_eintraege.push_back(std::move(item));
}

void TDateiListeForm::ElternzeileAnlegen() {
    m_elternzeile = std::make_unique<TItemData>();
    TItemData& e = *m_elternzeile;
    e.Name = L"..";
    e.ShellAttr = kSfgaoOrdner | kSfgaoDateisystem;
    e.TexteGebaut = true;
    e.DosName = L"..";
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileExW((m_pfad + L"..").c_str(), FindExInfoStandard, &found,
                                     FindExSearchLimitToDirectories, nullptr, 0);
    if (search != INVALID_HANDLE_VALUE) {
        FindClose(search);
        found.nFileSizeLow = found.nFileSizeHigh = 0;
        wcscpy(found.cAlternateFileName, L"..");
        DatenEintragen(e, found);
        return;
    }
    SYSTEMTIME now;
    GetLocalTime(&now);
    e.Attr = FILE_ATTRIBUTE_DIRECTORY;
    e.Datum = TryEncodeDateTime({now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond}).value_or(0);
    e.DatenGeladen = true;
}

bool TDateiListeForm::SchlichterOrdner(const TItemData& Item) const {
    constexpr ULONG ordner = kSfgaoOrdner | kSfgaoDateisystem;
    if ((Item.ShellAttr & ordner) != ordner)
        return false;
    // The shell marks plain folders as file-system ancestors too (Wine does):
    // in a virtual folder a drive is told by its root path.
    if (!(Item.ShellAttr & kSfgaoDateisystemVorfahr) || !m_virtuell)
        return true;
    return VollerPfad(Item).size() > 3;
}

std::wstring TDateiListeForm::ZeilenText(const TItemData& Item) const {
    const bool ordner = Dateiliste.ViewStyle() == gui::TViewStyle::vsReport ? (Item.ShellAttr & kSfgaoOrdner) != 0
                                                                              : SchlichterOrdner(Item);
    return ordner ? OrdnerName(Item.Name, m_optionen) : DateiName(Item.Name, m_optionen);
}

void TDateiListeForm::FillList() {
    Fehlercode = fc::DLFillList;
    gui::THourGlass hourglass;
    Dateiliste.BeginUpdate();
    ZeilenFuellen();
    Dateiliste.EndUpdate();
    Fehlercode = 0;
    if (std::exchange(m_meldungOffen, false))
        DiscMonitorChange(&DiscMonitor);
}

void TDateiListeForm::ZeilenFuellen() {
    LeserStoppen();
    Dateiliste.Clear();
    Dateiliste.Reserve(static_cast<int>(m_eintraege.size()) + 1);
    if (!m_virtuell && m_pfad.size() > 3) {
        if (!m_elternzeile)
            ElternzeileAnlegen();
        TListItem* parent = Dateiliste.AddItem(L"[ .. ]", m_elternzeile.get());
        if (IconRoutinen && m_optionen.IconsAnzeigen)
            parent->SetImageIndex(IconRoutinen->UpDirIndex);
    }
    for (const auto& entry : m_eintraege) {
        // Icon and texts follow the options of this fill, built when first shown.
        entry->TexteGebaut = false;
        Dateiliste.AddItem(ZeilenText(*entry), entry.get());
    }
    LeserStarten();
    Sortieren();
}

// ---- Reader thread and file data -----------------------------------------------------

void TDateiListeForm::LeserStoppen() {
    const bool vorher = std::exchange(m_leserWarten, true);
    // The thread's destructor tells it to stop and waits for it.
    m_leser.reset();
    m_leserWarten = vorher;
}

void TDateiListeForm::LeserStarten() {
    LeserStoppen();
    if (m_eintraege.empty())
        return;
    m_leser = std::make_unique<TReadFileDataThread>(m_eintraege, m_virtuell ? std::wstring() : m_pfad);
    m_leser->Resume();
}

bool TDateiListeForm::Laden(TItemData& Item) const { return DatenLaden(Item, m_virtuell ? std::wstring() : m_pfad); }

void TDateiListeForm::DatenLadenFuer(const std::vector<TItemData*>& Items) const {
    const size_t offen = static_cast<size_t>(std::count_if(
        Items.begin(), Items.end(), [](TItemData* i) { return !i->DatenGeladen.load(std::memory_order_acquire); }));
    if (offen == 0)
        return;
    if (offen <= kEinzelnLaden || m_virtuell) {
        for (TItemData* item : Items) Laden(*item);
        return;
    }
    AlleDatenLaden(m_pfad, Items, [] { return true; });
}

std::vector<TItemData*> TDateiListeForm::MarkierteEintraege() const {
    std::vector<TItemData*> items;
    for (TListItem* row = Dateiliste.NextSelected(); row; row = Dateiliste.NextSelected(row))
        if (TItemData* data = Daten(row))
            items.push_back(data);
    return items;
}

std::wstring TDateiListeForm::VollerPfad(const TItemData& Item) const {
    if (IstElternzeile(Item))
        return {};
    return m_virtuell ? PfadVon(Item.AbsPidl.get()) : m_pfad + Item.Name;
}

// ---- Sorting -----------------------------------------------------------------------------

std::optional<int> TDateiListeForm::OrdnerVergleich(const TItemData& A, const TItemData& B, int Spalte) const {
    // A real folder's entries compare by name without their shell items, as
    // the shell compares them; only the type column needs the shell's view.
    if (!m_virtuell && (Spalte != 2 || !A.RelPidl || !B.RelPidl))
        return lstrcmpiW(A.Name.c_str(), B.Name.c_str());
    if (!m_ordner)
        return std::nullopt;
    const HRESULT hr = m_ordner->CompareIDs(static_cast<LPARAM>(Spalte), A.RelPidl.get(), B.RelPidl.get());
    if (FAILED(hr))
        return std::nullopt;
    return static_cast<short>(HRESULT_CODE(hr));
}

void TDateiListeForm::Sortieren() {
    if (m_sortZustand == kUnsortiert && !m_virtuell)
        return;
    gui::THourGlass hourglass;
    if (const int spalte = SortSpalte(m_sortZustand); spalte == 1 || spalte == 3 || spalte == 4) {
        std::vector<TItemData*> all;
        all.reserve(m_eintraege.size());
        for (const auto& entry : m_eintraege) all.push_back(entry.get());
        DatenLadenFuer(all);
    } else if (spalte == 2 && !m_virtuell) {
        for (const auto& entry : m_eintraege) ShellItem(*entry);
    }
    const TOrdnerVergleich vergleich = [this](const TItemData& a, const TItemData& b, int column) {
        return OrdnerVergleich(a, b, column);
    };
    const TDatenLader laden = [this](TItemData& item) { return Laden(item); };
    const std::uint8_t zustand = m_sortZustand;
    Dateiliste.CustomSort([&](TListItem* a, TListItem* b) {
        return ZeilenVergleich(Daten(a), Daten(b), zustand, vergleich, laden);
    });
}

void TDateiListeForm::SetSortOrder(std::uint8_t Request) {
    Fehlercode = fc::DLSetSortOrder;
    m_sortZustand = NaechsterSortZustand(m_sortZustand, Request);
    Sortieren();
    if (m_host)
        m_host->CheckSortMenu(m_sortZustand);
    Fehlercode = 0;
}

std::uint8_t TDateiListeForm::GetSortOrder() { return m_sortZustand; }

// ---- Options, filter and columns ---------------------------------------------------------

void TDateiListeForm::ApplyOptions(const TOptionen& Options) {
    Fehlercode = fc::DLApplyOptions;
    const TOptionen& alt = m_optionen;
    const bool geaendert = Options.IconsAnzeigen != alt.IconsAnzeigen ||
                           Options.GroesseAnzeigen != alt.GroesseAnzeigen || Options.TypAnzeigen != alt.TypAnzeigen ||
                           Options.DatumAnzeigen != alt.DatumAnzeigen || Options.AttrAnzeigen != alt.AttrAnzeigen ||
                           Options.DOSNameAnzeigen != alt.DOSNameAnzeigen;
    const bool neuLesen = (geaendert || alt.StandardIcons) != Options.StandardIcons;

    ShowSmallIcons(Dateiliste, m_bilder, m_bilderGesetzt, IconRoutinen, Options.IconsAnzeigen);
    m_optionen = Options;

    const bool bericht = Options.Ansicht == 3;
    if (bericht && Dateiliste.ViewStyle() != gui::TViewStyle::vsReport)
        SpaltenAufbauen(true);
    Dateiliste.SetViewStyle(bericht ? gui::TViewStyle::vsReport : gui::TViewStyle::vsList);

    DLStatusZeile.SetVisible(Options.Statuszeile);
    m_filter = TListenFilter::Aus(Options.Filter);

    m_sortZustand = kUnsortiert;
    if (neuLesen) {
        // The read sorts: the request only moves the state.
        m_sortZustand = NaechsterSortZustand(m_sortZustand, Options.Sortierung);
        if (m_host)
            m_host->CheckSortMenu(m_sortZustand);
        ReadContents();
    } else {
        // Texts and icons follow the new switches when the rows are next shown.
        if (geaendert) {
            for (const auto& entry : m_eintraege) entry->TexteGebaut = false;
            Dateiliste.Invalidate();
        }
        SetSortOrder(Options.Sortierung);
    }
    if (Options.Statuszeile)
        UpdateStatusLine();
    Fehlercode = 0;
}

void TDateiListeForm::SetFilter(const TDateiFilterDatenFuerDateiListe& Filter) {
    m_filter = TListenFilter::Aus(Filter);
    ReadContents();
}

void TDateiListeForm::RebuildColumns() {
    Fehlercode = fc::DLRebuildColumns;
    SpaltenAufbauen(true);
    Fehlercode = 0;
}

void TDateiListeForm::BreitenZuruecknehmen() {
    for (int i = 0; i < Dateiliste.ColumnCount(); ++i) {
        const auto it = std::find(kSpaltenTitel.begin(), kSpaltenTitel.end(), Dateiliste.Column(i).Caption);
        if (it != kSpaltenTitel.end())
            m_breiten[static_cast<size_t>(it - kSpaltenTitel.begin())] = Dateiliste.ColumnWidth(i);
    }
}

void TDateiListeForm::SpaltenAufbauen(bool Zuruecknehmen) {
    if (Zuruecknehmen)
        BreitenZuruecknehmen();
    Dateiliste.ClearColumns();
    const bool an[] = {true,
                       m_optionen.TypAnzeigen,
                       m_optionen.GroesseAnzeigen,
                       m_optionen.DatumAnzeigen,
                       m_optionen.AttrAnzeigen,
                       m_optionen.DOSNameAnzeigen};
    for (size_t i = 0; i < kSpaltenTitel.size(); ++i)
        if (an[i])
            Dateiliste.AddColumn({kSpaltenTitel[i], m_breiten[i]});
    for (const auto& entry : m_eintraege) entry->TexteGebaut = false;
    Dateiliste.Invalidate();
}

void TDateiListeForm::BreitenLaden() { m_breiten = BreitenLesen(RegReadUserValue(DialogeSchluessel, DListeColumnsWert)); }

void TDateiListeForm::BreitenSpeichern() {
    BreitenZuruecknehmen();
    RegWriteUserValue(DialogeSchluessel, DListeColumnsWert, BreitenText(m_breiten));
}

void TDateiListeForm::SetPaneKind(TFensterTyp Kind) {
    Fehlercode = fc::DLSetPaneKind;
    const TFensterTyp alt = GetPaneKind();
    if (alt == ftAusfDateiliste && Kind != ftAusfDateiliste)
        BreitenSpeichern();
    TDMChildForm::SetPaneKind(Kind);
    if (Kind == ftAusfDateiliste && alt != ftAusfDateiliste) {
        BreitenLaden();
        SpaltenAufbauen(false);
    }
    Fehlercode = 0;
}

// ---- Marks ---------------------------------------------------------------------------------

void TDateiListeForm::SelectAll() { Dateiliste.SelectAll(); }
void TDateiListeForm::InvertSelection() { Dateiliste.InvertSelection(); }
void TDateiListeForm::BeginUpdate() { Dateiliste.BeginUpdate(); }
void TDateiListeForm::EndUpdate() { Dateiliste.EndUpdate(); }
HWND TDateiListeForm::GetControlHandle() { return Dateiliste.Handle(); }

void TDateiListeForm::SelectGroup(const TStringList& Masks, bool DatumFiltern, const std::wstring& DatumVon,
                                  const std::wstring& DatumBis, bool GroesseFiltern,
                                  const std::wstring& GroesseVergleich, std::int32_t GroesseKB, bool Normale,
                                  bool ReadOnly, bool Hidden, bool System) {
    if (Masks.Empty())
        return;
    Fehlercode = fc::DLSelectGroup;
    gui::THourGlass hourglass;
    const TGruppenFilter filter = TGruppenFilter::Aus(Masks, DatumFiltern, DatumVon, DatumBis, GroesseFiltern,
                                                      GroesseVergleich, GroesseKB, Normale, ReadOnly, Hidden, System);
    std::vector<TItemData*> all;
    for (int i = 0; i < Dateiliste.Count(); ++i) all.push_back(Daten(Dateiliste.Items(i)));
    DatenLadenFuer(all);
    Dateiliste.BeginUpdate();
    for (int i = 0; i < Dateiliste.Count(); ++i) {
        TItemData* data = all[static_cast<size_t>(i)];
        const bool geladen = data->DatenGeladen.load(std::memory_order_acquire);
        Dateiliste.Items(i)->SetSelected(filter.Markieren(data->Name, geladen ? data : nullptr));
    }
    Dateiliste.EndUpdate();
    m_auswahlGeaendert = true;
    Fehlercode = 0;
}

void TDateiListeForm::Fokussieren(TListItem* Item) {
    Item->SetFocused(true);
    Item->SetSelected(true);
    Item->MakeVisible();
}

void TDateiListeForm::SelectFile(const std::wstring& Name) {
    Fehlercode = fc::DLSelectFile;
    const int count = Dateiliste.Count();
    const TListItem* focused = Dateiliste.ItemFocused();
    const int start = focused ? focused->Index() + 1 : 0;
    const std::wstring wanted = SystemLower(ExtractFileName(Name));
    // From the row after the focused one, so that a second call finds the next hit.
    for (int n = 0; n < count; ++n) {
        TListItem* row = Dateiliste.Items((start + n) % count);
        if (SystemLower(Daten(row)->Name) != wanted)
            continue;
        for (TListItem* s = Dateiliste.NextSelected(); s; s = Dateiliste.NextSelected(s)) s->SetSelected(false);
        Fokussieren(row);
        m_auswahlGeaendert = true;
        break;
    }
    Fehlercode = 0;
}

void TDateiListeForm::NachLesenFokus(bool VirtuellerOrdner) {
    if (NachLesenFokussieren) {
        NachLesenFokussieren = false;
        const std::wstring wanted = SystemLower(NachLesenFokusName);
        for (int i = 0; i < Dateiliste.Count(); ++i) {
            const TItemData& data = *Daten(Dateiliste.Items(i));
            const bool match =
                VirtuellerOrdner
                    ? (data.ShellAttr & kSfgaoDateisystemVorfahr) &&
                          SystemLower(ExcludeTrailingBackslash(PfadVon(data.AbsPidl.get()))) == wanted
                    : !IstElternzeile(data) && (SystemLower(data.Name) == wanted ||
                                       SystemLower(m_pfad + data.Name) == wanted);
            if (match) {
                Fokussieren(Dateiliste.Items(i));
                return;
            }
        }
        return;
    }
    if (Dateiliste.Count() > 0)
        Fokussieren(Dateiliste.Items(0));
}

// ---- Lists handed out ---------------------------------------------------------------------

TEineDatei* TDateiListeForm::Datensatz(TItemData& Item) const {
    auto* record = new TEineDatei;
    record->Name = VollerPfad(Item);
    record->Size = Item.Groesse;
    record->Attr = Item.Attr;
    record->Time = Item.Datum;
    record->ShellAttr = static_cast<std::int32_t>(Item.ShellAttr);
    return record;
}

void TDateiListeForm::GetSelection(TDateiListe& List) {
    Fehlercode = fc::DLGetSelection;
    const auto marked = MarkierteEintraege();
    DatenLadenFuer(marked);
    for (TItemData* item : marked)
        // The ".." row and items without a file-system path are no files to hand on.
        if (!IstElternzeile(*item) && !VollerPfad(*item).empty())
            List.emplace_back(Datensatz(*item));
    Fehlercode = 0;
}

void TDateiListeForm::GetAllEntries(TDateiListe& List) {
    Fehlercode = fc::DLGetAllEntries;
    std::vector<TItemData*> all;
    for (const auto& entry : m_eintraege) all.push_back(entry.get());
    DatenLadenFuer(all);
    for (TItemData* item : all)
        if (!VollerPfad(*item).empty())
            List.emplace_back(Datensatz(*item));
    Fehlercode = 0;
}

std::int32_t TDateiListeForm::MarkDifferences(const TDateiListe& List) {
    Fehlercode = fc::DLMarkDifferences;
    gui::THourGlass hourglass;
    std::vector<TItemData*> rows;
    for (int i = 0; i < Dateiliste.Count(); ++i) rows.push_back(Daten(Dateiliste.Items(i)));
    DatenLadenFuer(rows);
    std::vector<const TItemData*> loaded;
    for (TItemData* row : rows) loaded.push_back(row->DatenGeladen.load(std::memory_order_acquire) ? row : nullptr);
    const auto marks = UnterschiedeMarkieren(loaded, List);
    std::int32_t count = 0;
    Dateiliste.BeginUpdate();
    for (int i = 0; i < Dateiliste.Count(); ++i) {
        Dateiliste.Items(i)->SetSelected(marks[static_cast<size_t>(i)]);
        count += marks[static_cast<size_t>(i)] ? 1 : 0;
    }
    Dateiliste.EndUpdate();
    m_auswahlGeaendert = true;
    Fehlercode = 0;
    return count;
}

void TDateiListeForm::GetSelectedShellItem(IShellFolder*& Folder, PITEMID_CHILD& PIDL, SFGAOF& Attributes) {
    Folder = nullptr;
    PIDL = nullptr;
    Attributes = 0;
    for (TItemData* item : MarkierteEintraege())
        if (ShellItem(*item)) {
            Folder = m_ordner.Get();
            PIDL = reinterpret_cast<PITEMID_CHILD>(item->RelPidl.get());
            Attributes = item->ShellAttr;
            return;
        }
}

bool TDateiListeForm::ShowsRecycleBin() { return m_virtuell && m_zeigtPapierkorb; }

void TDateiListeForm::RecycleBinChanged() {
    if (m_virtuell && (m_zeigtPapierkorb || m_zeigtDesktop))
        ReadContents();
}

}  // namespace velmora
