#include "Vbaum.h"

#include <algorithm>
#include <cwctype>
#include <utility>

#include "filetools/DateiRoutinen.h"
#include "foundation/IconRoutinen.h"
#include "foundation/ProgrammFlags.h"
#include "foundation/ShellRoutinen.h"
#include "panes/TreeCodes.h"
#include "platform/gui/Application.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/PathNames.h"

namespace velmora {

using gui::TTreeNode;

namespace {

constexpr SHCONTF kAufzaehlFlags = 0xE0;  // folders, non-folders, hidden items
constexpr UINT kKleinesSymbol = SHGFI_SYSICONINDEX | SHGFI_SMALLICON;

std::wstring PfadVon(LPCITEMIDLIST abs) {
    wchar_t path[MAX_PATH];
    if (!abs || !SHGetPathFromIDListW(abs, path))
        return {};
    return path;
}

std::wstring Klein(std::wstring s) {
    if (!s.empty())
        CharLowerBuffW(s.data(), static_cast<DWORD>(s.size()));
    return s;
}

// The shell's comparison as an order; a failed one counts as equal.
int ShellVergleich(IShellFolder* Folder, LPARAM Spalte, LPCITEMIDLIST A, LPCITEMIDLIST B) {
    if (!Folder)
        return 0;
    const HRESULT hr = Folder->CompareIDs(Spalte, A, B);
    if (FAILED(hr))
        return 0;
    return static_cast<short>(HRESULT_CODE(hr));
}

bool IstArchivKnoten(const TKnotenDaten* d) {
    return d && !(d->ShellAttr & (kAttrOrdner | kAttrDateisystemVorfahr));
}

}  // namespace

bool TVbaumTreeView::CNNotify(NMHDR* header, LRESULT& result) {
    if (header->code != TVN_SELCHANGEDW)
        return gui::TTreeView::CNNotify(header, result);
    const auto* nm = reinterpret_cast<NMTREEVIEWW*>(header);
    m_eigeneErsteAuswahl = nm->action == TVC_UNKNOWN && !nm->itemOld.hItem;
    const bool handled = gui::TTreeView::CNNotify(header, result);
    m_eigeneErsteAuswahl = false;
    return handled;
}

// ---- Watch pass --------------------------------------------------------------------

TWatchVBaumThread::TWatchVBaumThread(TVbaumForm* Pane, TWachSchnappschuss Schnappschuss)
    : gui::TThread(true), m_pane(Pane), m_schnappschuss(std::move(Schnappschuss)) {}

TWatchVBaumThread::~TWatchVBaumThread() { StopAndWait(); }

void TWatchVBaumThread::Stoppen() {
    m_stop = true;
    Terminate();
}

void TWatchVBaumThread::Execute() {
    const auto eltern = ErsterVerschwundenerElternpfad(m_schnappschuss, m_stop);
    if (!eltern || m_stop)
        return;
    // The pane frees its passes only after telling them to stop and waiting for
    // them; the call runs in the GUI thread, where that flag is settled.
    Synchronize([this, pfad = *eltern] {
        if (!m_stop)
            m_pane->WachAuffrischen(pfad);
    });
}

// ---- The pane ----------------------------------------------------------------------

TVbaumForm::TVbaumForm(gui::TComponent* owner, TPaneHost* Host)
    : TDMChildForm(owner), Verzeichnisbaum(this), m_host(Host), m_bilder(this) {
    BorderStyle = gui::TBorderStyle::bsToolWindow;
    BorderIcons = 0;
    SetCaption(L"Verzeichnisbaum");
    SetPaneKind(ftVerzeichnisbaum);

    Verzeichnisbaum.SetParent(this);
    Verzeichnisbaum.SetAlign(gui::TAlign::alClient);
    Verzeichnisbaum.ReadOnly = true;
    Verzeichnisbaum.SetIndent(19);
    Verzeichnisbaum.OnChange = gui::bind(this, &TVbaumForm::VerzeichnisBaumChange);
    Verzeichnisbaum.OnExpanding = gui::bind(this, &TVbaumForm::VerzeichnisBaumExpanding);
    Verzeichnisbaum.OnCollapsing = gui::bind(this, &TVbaumForm::VerzeichnisBaumCollapsing);
    Verzeichnisbaum.OnCollapsed = gui::bind(this, &TVbaumForm::VerzeichnisBaumCollapsed);
    Verzeichnisbaum.OnKeyDown = gui::bind(this, &TVbaumForm::VerzeichnisBaumKeyDown);
    Verzeichnisbaum.OnKeyUp = gui::bind(this, &TVbaumForm::VerzeichnisBaumKeyUp);
    Verzeichnisbaum.OnMouseDown = gui::bind(this, &TVbaumForm::VerzeichnisBaumMouseDown);
    Verzeichnisbaum.OnMouseMove = gui::bind(this, &TVbaumForm::VerzeichnisBaumMouseMove);
    Verzeichnisbaum.OnMouseUp = gui::bind(this, &TVbaumForm::VerzeichnisBaumMouseUp);
    Verzeichnisbaum.OnDeletion = [this](gui::TObject*, TTreeNode* Node) { KnotenDatenFreigeben(Node); };
    Verzeichnisbaum.OnGetDisplay = gui::bind(this, &TVbaumForm::KnotenZeigen);

    OnCreate = gui::bind(this, &TVbaumForm::FormCreate);
    OnActivate = gui::bind(this, &TVbaumForm::FormActivate);
    DropTarget = gui::Create<TPaneDropTarget>(
        this, Verzeichnisbaum, Host, [this](POINT p, DWORD k) { return DropZiel(p, k); },
        [this] { Verzeichnisbaum.SetDropTarget(nullptr); });
    DropTarget->AfterDrop = [this] { NachDrop(); };
}

TVbaumForm::~TVbaumForm() { CleanUp(); }

void TVbaumForm::FormCreate(gui::TObject*) {
    Fehlercode = fc::VBFormCreate;
    m_lokalisiert = m_rechtsklick = m_frischeAuswahl = m_neuBeimLokalisieren = false;
    BilderSetzen();
    TComPtr<IShellFolder> desktop;
    LPITEMIDLIST wurzel = nullptr;
    if (SUCCEEDED(SHGetDesktopFolder(desktop.Put())) &&
        SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &wurzel)))
        KnotenAnlegen(desktop.Get(), TPidl(wurzel), nullptr);

    // One monitor per drive, all inactive.
    wchar_t wurzeln[128] = L"";
    GetLogicalDriveStringsW(127, wurzeln);
    for (const wchar_t* w = wurzeln; *w; w += wcslen(w) + 1) {
        TLaufwerkUeberwachung u;
        u.Laufwerk = static_cast<wchar_t>(std::towlower(w[0]));
        u.Monitor.reset(gui::Create<TDiscMonitor>(nullptr));
        u.Monitor->SetDirectory(std::wstring(1, u.Laufwerk) + L":\\");
        u.Monitor->SetFilters(moFilename | moDirName);
        u.Monitor->SetSubTree(true);
        u.Monitor->OnChange = gui::bind(this, &TVbaumForm::LaufwerkGeaendert);
        m_laufwerke.push_back(std::move(u));
    }
    Fehlercode = 0;
}

// The icon routines' shared list: the main window may make them after the pane.
void TVbaumForm::BilderSetzen() {
    if (!IconRoutinen || m_bilderGesetzt)
        return;
    m_bilder.SetHandle(IconRoutinen->SmallImages, true);
    m_bilderGesetzt = true;
    Verzeichnisbaum.Images = &m_bilder;
    if (Verzeichnisbaum.HandleAllocated())
        SendMessageW(Verzeichnisbaum.Handle(), TVM_SETIMAGELIST, TVSIL_NORMAL,
                     reinterpret_cast<LPARAM>(m_bilder.Handle()));
}

TKnotenDaten* TVbaumForm::Daten(TTreeNode* Node) { return Node ? static_cast<TKnotenDaten*>(Node->Data) : nullptr; }

TTreeNode* TVbaumForm::Wurzel() const {
    return Verzeichnisbaum.TopCount() > 0 ? Verzeichnisbaum.TopItem(0) : nullptr;
}

void TVbaumForm::KnotenDatenFreigeben(TTreeNode* Node) {
    delete Daten(Node);
    Node->Data = nullptr;
}

void TVbaumForm::AlleDatenFreigeben() {
    std::vector<TTreeNode*> offen;
    for (int i = 0; i < Verzeichnisbaum.TopCount(); ++i) offen.push_back(Verzeichnisbaum.TopItem(i));
    while (!offen.empty()) {
        TTreeNode* n = offen.back();
        offen.pop_back();
        for (int i = 0; i < n->Count(); ++i) offen.push_back(n->Item(i));
        KnotenDatenFreigeben(n);
    }
}

std::wstring TVbaumForm::NodePath(TTreeNode* Node) {
    const TKnotenDaten* d = Daten(Node);
    if (!d || !d->AbsPidl || !(d->ShellAttr & kAttrDateisystem))
        return {};
    return KnotenPfad(PfadVon(d->AbsPidl.get()), d->ShellAttr);
}

// ---- Adding and reading ------------------------------------------------------------

void TVbaumForm::KnotenAnlegen(IShellFolder* Folder, TPidl RelPidl, TTreeNode* Parent) {
    Fehlercode = fc::VBAddNode;
    LPCITEMIDLIST rel = RelPidl.get();
    ULONG attr = kVbaumAttributMaske;
    if (Parent && FAILED(Folder->GetAttributesOf(1, &rel, &attr)))
        return;
    if (!Parent)
        attr = kAttrOrdner | kAttrHatUnterordner;
    std::wstring parsing;
    PidlAnzeigename(Folder, rel, SHGDN_FORPARSING, parsing);
    const TKnotenArt art = Parent ? KnotenArt(attr, parsing) : TKnotenArt::Ordner;
    if (art == TKnotenArt::Keiner)
        return;

    std::wstring text;
    const DWORD dateiAttr = parsing.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(parsing.c_str());
    if (dateiAttr != INVALID_FILE_ATTRIBUTES && !(dateiAttr & FILE_ATTRIBUTE_DIRECTORY))
        text = Klein(ExtractFileName(parsing));
    else
        PidlAnzeigename(Folder, rel, SHGDN_NORMAL, text);

    TPidl abs;
    if (Parent)
        abs = PidlVerketten(Daten(Parent) ? Daten(Parent)->AbsPidl.get() : nullptr, rel);
    const std::wstring pfad = abs ? PfadVon(abs.get()) : std::wstring();
    if (!(m_readOnly && m_hidden && m_system) && !pfad.empty()) {
        WIN32_FIND_DATAW fd;
        HANDLE h = FindFirstFileW(pfad.c_str(), &fd);
        if (h != INVALID_HANDLE_VALUE) {
            FindClose(h);
            if (DurchAttributeAusgeblendet(fd.dwFileAttributes, m_readOnly, m_hidden, m_system))
                return;
        }
    }

    TTreeNode* node = Verzeichnisbaum.AddChild(Parent, text);
    auto* d = new TKnotenDaten;
    Folder->AddRef();
    d->Ordner = TComPtr<IShellFolder>(Folder);
    d->ShellAttr = attr;
    d->RelPidl = std::move(RelPidl);
    d->AbsPidl = std::move(abs);
    const bool archiv = art == TKnotenArt::Archiv;
    node->Data = d;
    // Opening a deep path makes every sibling on the way: the shell's icon and
    // the search for archives wait until the node is seen (KnotenZeigen).
    node->DeferDisplay();
    if ((attr & kAttrHatUnterordner) || archiv)
        node->SetHasChildren(attr & kAttrHatUnterordner);
    if (archiv && IconRoutinen) {
        node->SetImageIndex(IconRoutinen->GetArchiveIconIndex());
        node->SetSelectedIndex(IconRoutinen->GetOpenArchiveIconIndex());
    }
}

// A node's icons and, for a folder without subfolders, whether it holds
// archives (its expand button), asked when the node is first drawn or read.
void TVbaumForm::KnotenZeigen(gui::TObject*, TTreeNode* Node) {
    const TKnotenDaten* d = Daten(Node);
    if (!d)
        return;
    if (Node->ChildrenPending())
        Node->SetHasChildren(ArchivSuche(d->AbsPidl ? PfadVon(d->AbsPidl.get()) : std::wstring()));
    if (Node->ImagesPending()) {
        LPCITEMIDLIST bild = d->AbsPidl ? d->AbsPidl.get() : d->RelPidl.get();
        Node->SetImageIndex(ShellBild(bild, kKleinesSymbol));
        Node->SetSelectedIndex(ShellBild(bild, kKleinesSymbol | SHGFI_OPENICON));
    }
}

int TVbaumForm::ShellBild(LPCITEMIDLIST Pidl, UINT Flags) {
    ++ShellAbfragen;
    return SysIconIndex(Pidl, Flags);
}

bool TVbaumForm::ArchivSuche(const std::wstring& Pfad) {
    ++ShellAbfragen;
    return HaeltArchive(Pfad);
}

bool TVbaumForm::OrdnerBinden(TTreeNode* Node, TComPtr<IShellFolder>& Folder) {
    TKnotenDaten* d = Daten(Node);
    if (!d || !d->Ordner)
        return false;
    if (Node == Wurzel()) {
        Folder = d->Ordner;
        return true;
    }
    return SUCCEEDED(d->Ordner->BindToObject(d->RelPidl.get(), nullptr, IID_IShellFolder, Folder.PutVoid()));
}

void TVbaumForm::RefreshNode(TTreeNode* Node, bool Flag) {
    if (!Node || m_abgebaut)
        return;
    Fehlercode = fc::VBRefreshNode;
    TComPtr<IShellFolder> ordner;
    if (!OrdnerBinden(Node, ordner))
        return;
    gui::THourGlass hourglass;
    if (Flag)
        Verzeichnisbaum.BeginUpdate();
    const bool offen = Node->Expanded();
    // A selection below the node is found again after a watched refresh while
    // it still exists: a change elsewhere in the folder must not move the user's place.
    std::wstring behalten;
    for (TTreeNode* s = Verzeichnisbaum.Selected(); s; s = s->Parent())
        if (s->Parent() == Node) {
            if (Flag)
                behalten = NodePath(Verzeichnisbaum.Selected());
            const bool alt = m_lokalisiert;
            m_lokalisiert = true;
            Verzeichnisbaum.SetSelected(Node);
            m_lokalisiert = alt;
            break;
        }
    m_liestNeu = true;
    Node->DeleteChildren();
    TComPtr<IEnumIDList> liste;
    const HWND owner = HandleAllocated() ? Handle() : nullptr;
    if (ordner->EnumObjects(owner, kAufzaehlFlags, liste.Put()) == S_OK && liste) {
        LPITEMIDLIST pidl = nullptr;
        ULONG geholt = 0;
        while (liste->Next(1, &pidl, &geholt) == S_OK && geholt == 1) KnotenAnlegen(ordner.Get(), TPidl(pidl), Node);
    }
    Node->SetHasChildren(Node->Count() > 0);
    KinderSortieren(Node);
    if (offen)
        Node->Expand();
    m_liestNeu = false;
    if (Flag)
        Verzeichnisbaum.EndUpdate();
    if (!behalten.empty()) {
        if (DirectoryExists(behalten) || FileExists(behalten)) {
            SetDirectory(behalten);
        } else if (m_host && Verzeichnisbaum.Selected() == Node) {
            // The selected folder is gone: the list follows the node that took its place.
            if (const std::wstring pfad = NodePath(Node); !pfad.empty())
                m_host->ShowDirectory(this, pfad);
        }
    }
    Fehlercode = 0;
}

void TVbaumForm::ReadContents() { RefreshNode(Verzeichnisbaum.Selected(), false); }

// The control tells of an expansion or collapse it is asked for only the first
// time; these run the handlers whenever, as for the user's own click.
void TVbaumForm::ExpandNode(TTreeNode* Node) {
    if (!Node || Node->Expanded())
        return;
    bool allow = true;
    VerzeichnisBaumExpanding(&Verzeichnisbaum, Node, allow);
    m_ohneEreignis = true;
    Node->Expand();
    m_ohneEreignis = false;
}

void TVbaumForm::CollapseNode(TTreeNode* Node) {
    if (!Node || !Node->Expanded())
        return;
    bool allow = true;
    VerzeichnisBaumCollapsing(&Verzeichnisbaum, Node, allow);
    m_ohneEreignis = true;
    Node->Collapse();
    m_ohneEreignis = false;
    VerzeichnisBaumCollapsed(&Verzeichnisbaum, Node);
}

// ---- Finding nodes -----------------------------------------------------------------

TPidl TVbaumForm::PfadParsen(const std::wstring& Path) {
    TComPtr<IShellFolder> desktop;
    TPidl pidl;
    if (Path.empty() || FAILED(SHGetDesktopFolder(desktop.Put())) ||
        !PfadZuPidl(desktop.Get(), Path, pidl, nullptr))
        return {};
    return pidl;
}

TTreeNode* TVbaumForm::Locate(LPCITEMIDLIST Abs, bool Expandieren) {
    Fehlercode = fc::VBLocate;
    TTreeNode* aktuell = Wurzel();
    if (!aktuell)
        return nullptr;
    if (Expandieren)
        ExpandNode(aktuell);
    for (LPCITEMIDLIST id = Abs; id && id->mkid.cb; id = reinterpret_cast<LPCITEMIDLIST>(
                                                            reinterpret_cast<const BYTE*>(id) + id->mkid.cb)) {
        TPidl eins = PidlAnlegen(id->mkid.cb + 2);
        if (!eins)
            break;
        memcpy(eins.get(), id, id->mkid.cb);
        TComPtr<IShellFolder> ordner;
        if (!OrdnerBinden(aktuell, ordner))
            break;
        TTreeNode* treffer = nullptr;
        for (int i = 0; i < aktuell->Count() && !treffer; ++i) {
            TKnotenDaten* d = Daten(aktuell->Item(i));
            if (!d)
                continue;
            const HRESULT hr = ordner->CompareIDs(0, d->RelPidl.get(), eins.get());
            if (SUCCEEDED(hr) && HRESULT_CODE(hr) == 0)
                treffer = aktuell->Item(i);
        }
        if (!treffer)
            break;
        aktuell = treffer;
        if (Expandieren) {
            if (m_neuBeimLokalisieren)
                RefreshNode(aktuell, false);
            ExpandNode(aktuell);
        }
    }
    return aktuell;
}

TTreeNode* TVbaumForm::LoadedNodeOf(const std::wstring& Path) {
    TPidl pidl = PfadParsen(Path);
    if (!pidl)
        return nullptr;
    TTreeNode* node = Locate(pidl.get(), false);
    return node && Klein(ExcludeTrailingBackslash(NodePath(node))) == Klein(ExcludeTrailingBackslash(Path)) ? node
                                                                                                : nullptr;
}

// ---- Operations --------------------------------------------------------------------

void TVbaumForm::ApplyOptions(const TOptionen& Options) {
    Fehlercode = fc::VBApplyOptions;
    BilderSetzen();
    m_readOnly = Options.Filter.ReadOnly;
    m_hidden = Options.Filter.Hidden;
    m_system = Options.Filter.System;
    m_sortZustand = kVbaumUnsortiert;
    SetSortOrder(Options.Sortierung);
    Fehlercode = 0;
}

void TVbaumForm::SetFilter(const TDateiFilterDatenFuerDateiListe& Filter) {
    Fehlercode = fc::VBSetFilter;
    if (Filter.ReadOnly == m_readOnly && Filter.Hidden == m_hidden && Filter.System == m_system)
        return;
    m_readOnly = Filter.ReadOnly;
    m_hidden = Filter.Hidden;
    m_system = Filter.System;
    const std::wstring pfad = NodePath(Verzeichnisbaum.Selected());
    const bool hatteAuswahl = Verzeichnisbaum.Selected() != nullptr;
    if (TTreeNode* wurzel = Wurzel()) {
        m_lokalisiert = true;
        CollapseNode(wurzel);
        wurzel->DeleteChildren();
        wurzel->SetHasChildren(true);
        m_lokalisiert = false;
    }
    if (hatteAuswahl && !pfad.empty()) {
        m_neuBeimLokalisieren = true;
        SetDirectory(pfad);
        m_neuBeimLokalisieren = false;
    }
    Fehlercode = 0;
}

void TVbaumForm::SetDirectory(const std::wstring& Path) {
    if (DateiRoutinen && DateiRoutinen->GetCurrentPath().empty())
        DateiRoutinen->ResetPaths(Path);
    Fehlercode = fc::VBSetDirectory;
    TPidl pidl = PfadParsen(Path);
    if (!pidl)
        return;
    m_lokalisiert = true;
    if (TTreeNode* node = Locate(pidl.get(), true)) {
        Verzeichnisbaum.SetSelected(node);
        node->MakeVisible();
    }
    m_lokalisiert = false;
    Fehlercode = 0;
}

std::wstring TVbaumForm::GetDirectory() { return Klein(NodePath(Verzeichnisbaum.Selected())); }

void TVbaumForm::SelectDrive(wchar_t Drive) {
    Fehlercode = fc::VBSelectDrive;
    if (TPidl pidl = PfadParsen(std::wstring(1, Drive) + L":\\")) {
        m_lokalisiert = true;
        TTreeNode* node = Locate(pidl.get(), true);
        m_lokalisiert = false;
        if (node && node != Wurzel()) {
            RefreshNode(node, true);
            return;
        }
    }
    if (DateiRoutinen)
        SetDirectory(DateiRoutinen->GetOtherDrivePath());
}

void TVbaumForm::RefreshDirectory(const std::wstring& Path) {
    Fehlercode = fc::VBRefreshDirectory;
    TTreeNode* node = LoadedNodeOf(Path);
    if (!node)
        return;
    if (!node->HasChildren())
        node->SetHasChildren(true);
    if (node->Expanded())
        RefreshNode(node, true);
}

void TVbaumForm::GetSelection(TDateiListe& List) {
    Fehlercode = fc::VBGetSelection;
    std::wstring pfad = NodePath(Verzeichnisbaum.Selected());
    if (pfad.empty())
        return;
    auto record = std::make_unique<TEineDatei>();
    // A drive's root keeps its "\": a bare "x:" is that drive's current folder,
    // which the shell would take for whatever folder that is.
    record->Name = pfad.size() <= 3 && pfad.size() >= 2 && pfad[1] == L':' ? std::wstring(pfad.substr(0, 2)) + L"\\"
                                                                           : ExcludeTrailingBackslash(pfad);
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW(record->Name.c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        FindClose(h);
        record->Size = (static_cast<std::int64_t>(fd.nFileSizeHigh) << 32) | fd.nFileSizeLow;
        record->Attr = static_cast<std::int32_t>(fd.dwFileAttributes);
        FILETIME lokal;
        WORD datum = 0, zeit = 0;
        if (FileTimeToLocalFileTime(&fd.ftLastWriteTime, &lokal) && FileTimeToDosDateTime(&lokal, &datum, &zeit))
            record->Time = DosDateTimeToDateTime((static_cast<std::uint32_t>(datum) << 16) | zeit).value_or(0);
    }
    if (TKnotenDaten* d = Daten(Verzeichnisbaum.Selected()))
        record->ShellAttr = static_cast<std::int32_t>(d->ShellAttr);
    List.push_back(std::move(record));
}

void TVbaumForm::GetSelectedShellItem(IShellFolder*& Folder, PITEMID_CHILD& PIDL, SFGAOF& Attributes) {
    Folder = nullptr;
    PIDL = nullptr;
    Attributes = 0;
    if (TKnotenDaten* d = Daten(Verzeichnisbaum.Selected())) {
        Folder = d->Ordner.Get();
        PIDL = d->RelPidl.get();
        Attributes = d->ShellAttr;
    }
}

void TVbaumForm::ShowVirtualFolder(PCIDLIST_ABSOLUTE PIDL) {
    Fehlercode = fc::VBShowVirtualFolder;
    m_lokalisiert = true;
    if (TTreeNode* node = Locate(PIDL, true))
        Verzeichnisbaum.SetSelected(node);
    m_lokalisiert = false;
    Fehlercode = 0;
}

HWND TVbaumForm::GetControlHandle() { return Verzeichnisbaum.Handle(); }

void TVbaumForm::SetSortOrder(std::uint8_t Request) {
    Fehlercode = fc::VBSetSortOrder;
    m_sortZustand = VbaumSortZustand(m_sortZustand, Request);
    Sortieren();
    if (m_host)
        m_host->CheckSortMenu(m_sortZustand);
    Fehlercode = 0;
}

std::uint8_t TVbaumForm::GetSortOrder() { return m_sortZustand; }

void TVbaumForm::Sortieren() {
    if (m_sortZustand == kVbaumUnsortiert)
        return;
    Verzeichnisbaum.BeginUpdate();
    std::vector<TTreeNode*> offen;
    if (TTreeNode* w = Wurzel())
        offen.push_back(w);
    while (!offen.empty()) {
        TTreeNode* n = offen.back();
        offen.pop_back();
        KinderSortieren(n);
        for (int i = 0; i < n->Count(); ++i)
            if (n->Item(i)->Count() > 0)
                offen.push_back(n->Item(i));
    }
    Verzeichnisbaum.EndUpdate();
}

void TVbaumForm::KinderSortieren(TTreeNode* Node) {
    if (m_sortZustand == kVbaumUnsortiert || Node->Count() < 2)
        return;
    Verzeichnisbaum.SortChildren(Node, [this](TTreeNode* a, TTreeNode* b) { return Vergleich(a, b); });
}

int TVbaumForm::Vergleich(TTreeNode* A, TTreeNode* B) {
    if (A == B)
        return 0;
    const TKnotenDaten* a = Daten(A);
    const TKnotenDaten* b = Daten(B);
    if (!a || !b)
        return !a ? (!b ? 0 : -1) : 1;
    // Drives and namespace folders keep the shell's order; what lies in a
    // file-system folder sorts by the column. (Folders carry the ancestor mark
    // as well, so the mark alone does not tell a drive from a folder.)
    const TKnotenDaten* eltern = Daten(A->Parent());
    const bool imDateisystem = eltern && (eltern->ShellAttr & kAttrDateisystem) && A->Parent() != Wurzel();
    if (!imDateisystem || !(a->ShellAttr & kAttrDateisystem) || !(b->ShellAttr & kAttrDateisystem))
        return ShellVergleich(a->Ordner.Get(), 0, a->RelPidl.get(), b->RelPidl.get());
    const bool ordnerA = a->ShellAttr & kAttrOrdner, ordnerB = b->ShellAttr & kAttrOrdner;
    if (ordnerA != ordnerB)
        return ordnerA ? -1 : 1;
    return ShellVergleich(a->Ordner.Get(), VbaumSortSpalte(m_sortZustand), a->RelPidl.get(), b->RelPidl.get()) *
           VbaumSortRichtung(m_sortZustand);
}

void TVbaumForm::OpenSelected() {
    Fehlercode = fc::VBOpenSelected;
    ExpandNode(Verzeichnisbaum.Selected());
    Fehlercode = 0;
}

void TVbaumForm::RecycleBinChanged() {
    Fehlercode = fc::VBRecycleBinChanged;
    TTreeNode* w = Wurzel();
    for (int i = 0; w && i < w->Count(); ++i) {
        TTreeNode* n = w->Item(i);
        if (const TKnotenDaten* d = Daten(n); d && d->AbsPidl && !IstArchivKnoten(d)) {
            n->SetImageIndex(ShellBild(d->AbsPidl.get(), kKleinesSymbol));
            n->SetSelectedIndex(ShellBild(d->AbsPidl.get(), kKleinesSymbol | SHGFI_OPENICON));
        }
    }
    Fehlercode = 0;
}

void TVbaumForm::WachPaesseStoppen(bool Warten) {
    for (auto& t : m_waechter) t->Stoppen();
    if (Warten) {
        for (auto& t : m_waechter) t->WaitFor();
        m_waechter.clear();
    }
}

void TVbaumForm::CleanUp() {
    if (m_abgebaut)
        return;
    Fehlercode = fc::VBCleanUp;
    m_abgebaut = true;
    // Told to stop, then waited for: a pass blocked in its refresh call is served
    // by the wait and finds the stop flag set.
    WachPaesseStoppen(true);
    for (auto& u : m_laufwerke) u.Monitor->SetActive(false);
    m_laufwerke.clear();
    AlleDatenFreigeben();
    Fehlercode = 0;
}

void TVbaumForm::BeginUpdate() { Verzeichnisbaum.BeginUpdate(); }
void TVbaumForm::EndUpdate() { Verzeichnisbaum.EndUpdate(); }

// ---- Drive monitors and watch passes -----------------------------------------------

TLaufwerkUeberwachung* TVbaumForm::Ueberwachung(wchar_t Drive) {
    const wchar_t klein = static_cast<wchar_t>(std::towlower(Drive));
    for (auto& u : m_laufwerke)
        if (u.Laufwerk == klein)
            return &u;
    return nullptr;
}

bool TVbaumForm::MonitorActive(wchar_t Drive) const {
    const wchar_t klein = static_cast<wchar_t>(std::towlower(Drive));
    return std::any_of(m_laufwerke.begin(), m_laufwerke.end(), [&](const TLaufwerkUeberwachung& u) {
        return u.Laufwerk == klein && u.Monitor->Active();
    });
}

int TVbaumForm::ActiveMonitors() const {
    return static_cast<int>(std::count_if(m_laufwerke.begin(), m_laufwerke.end(),
                                          [](const TLaufwerkUeberwachung& u) { return u.Monitor->Active(); }));
}

bool TVbaumForm::WatchRunning() const {
    return std::any_of(m_waechter.begin(), m_waechter.end(), [](auto& t) { return !t->Finished(); });
}

void TVbaumForm::MonitorSchalten(TTreeNode* Node, bool An) {
    const TKnotenDaten* d = Daten(Node);
    if (!d || !(d->ShellAttr & kAttrDateisystemVorfahr))
        return;
    const std::wstring pfad = NodePath(Node);
    if (pfad.size() < 2 || pfad[1] != L':')
        return;
    TLaufwerkUeberwachung* u = Ueberwachung(pfad[0]);
    if (!u)
        return;
    if (An && !u->Monitor->Active())
        u->Monitor->SetActive(true);
    else if (!An && u->Monitor->Active() && !LaufwerkNochOffen(pfad[0]))
        u->Monitor->SetActive(false);
}

// Whether an expanded node of the drive is left (the collapsing one already not).
bool TVbaumForm::LaufwerkNochOffen(wchar_t Drive) {
    const wchar_t klein = static_cast<wchar_t>(std::towlower(Drive));
    std::vector<TTreeNode*> offen;
    if (TTreeNode* w = Wurzel())
        offen.push_back(w);
    while (!offen.empty()) {
        TTreeNode* n = offen.back();
        offen.pop_back();
        for (int i = 0; i < n->Count(); ++i) {
            TTreeNode* k = n->Item(i);
            if (k->Count() == 0 || !k->Expanded())
                continue;
            const std::wstring p = NodePath(k);
            if (p.size() >= 2 && p[1] == L':') {
                if (std::towlower(p[0]) == klein)
                    return true;
                continue;
            }
            offen.push_back(k);
        }
    }
    return false;
}

void TVbaumForm::SchnappschussVon(TTreeNode* Node, TWachSchnappschuss& Out) {
    const std::wstring eltern = NodePath(Node);
    for (int i = 0; i < Node->Count(); ++i) {
        TTreeNode* k = Node->Item(i);
        const TKnotenDaten* d = Daten(k);
        if (!d || !d->AbsPidl)
            continue;
        Out.push_back({NodePath(k), !IstArchivKnoten(d), eltern});
        if (k->Count() > 0)
            SchnappschussVon(k, Out);
    }
}

void TVbaumForm::LaufwerkGeaendert(gui::TObject* Sender) {
    if (m_abgebaut)
        return;
    Fehlercode = fc::VBDriveChange;
    auto it = std::find_if(m_laufwerke.begin(), m_laufwerke.end(),
                           [&](const TLaufwerkUeberwachung& u) { return u.Monitor.get() == Sender; });
    if (it == m_laufwerke.end())
        return;
    TTreeNode* node = LoadedNodeOf(std::wstring(1, it->Laufwerk) + L":\\");
    if (!node)
        return;
    WachPaesseStoppen(false);
    std::erase_if(m_waechter, [](auto& t) { return t->Finished(); });
    TWachSchnappschuss schnappschuss;
    SchnappschussVon(node, schnappschuss);
    m_waechter.push_back(std::make_unique<TWatchVBaumThread>(this, std::move(schnappschuss)));
    m_waechter.back()->Resume();
    Fehlercode = 0;
}

void TVbaumForm::WachAuffrischen(const std::wstring& ElternPfad) {
    if (m_abgebaut)
        return;
    // A menu of a node is open (its modal loop serves the call): the nodes it
    // holds stay until it closes.
    if (m_rechtsklick || m_liestNeu) {
        m_aufgeschoben = ElternPfad;
        return;
    }
    Fehlercode = fc::VBWatchRefresh;
    if (TTreeNode* node = LoadedNodeOf(ElternPfad)) {
        m_wachAuffrischungen.push_back(ElternPfad);
        RefreshNode(node, true);
    }
    Fehlercode = 0;
}

// ---- Handlers ----------------------------------------------------------------------

void TVbaumForm::FormActivate(gui::TObject*) {
    if (!m_host || m_host->LaufwerkWirdGewechselt())
        return;
    Fehlercode = fc::VBFormActivate;
    m_host->PaneActivated(this);
    TTreeNode* n = Verzeichnisbaum.Selected();
    const std::wstring pfad = NodePath(n);
    if (!pfad.empty()) {
        if (IstArchivKnoten(Daten(n)))
            m_host->UpdatePaneStatus(pfad);
        else
            m_host->StartQuickViewThread(pfad);
    }
    Fehlercode = 0;
}

void TVbaumForm::VerzeichnisBaumChange(gui::TObject*, TTreeNode* Node) {
    if (!Node || !m_host || m_lokalisiert || m_rechtsklick || m_liestNeu || m_abgebaut ||
        Verzeichnisbaum.EigeneErsteAuswahl() ||
        m_host->LaufwerkWirdGewechselt() || OrdnerWirdErstellt || DropWirdVerarbeitet)
        return;
    Fehlercode = fc::VBChange;
    const TKnotenDaten* d = Daten(Node);
    const std::wstring pfad = NodePath(Node);
    if (!pfad.empty() && IstArchivKnoten(d)) {
        m_host->PaneDirChanged(this, pfad);
        m_host->UpdatePaneStatus(pfad);
    } else if (!pfad.empty()) {
        if (m_host->ShowDirectory(this, pfad))
            m_host->StartQuickViewThread(pfad);
    } else if (d) {
        m_host->SyncPanes(this, d->AbsPidl.get());
        m_host->StartQuickViewThread(L"");
    }
    if (!m_host->TakeTreeKeepInactive() && gui::Application->MainForm() &&
        gui::Application->MainForm()->ActiveMDIChild() != this && Verzeichnisbaum.HandleAllocated())
        Verzeichnisbaum.SetFocus();
    m_frischeAuswahl = true;
    Fehlercode = 0;
}

void TVbaumForm::VerzeichnisBaumExpanding(gui::TObject*, TTreeNode* Node, bool&) {
    if (!Node || m_liestNeu || m_ohneEreignis)
        return;
    Fehlercode = fc::VBExpanding;
    {
        gui::THourGlass hourglass;
        RefreshNode(Node, false);
    }
    MonitorSchalten(Node, true);
    Fehlercode = 0;
}

void TVbaumForm::VerzeichnisBaumCollapsing(gui::TObject*, TTreeNode* Node, bool&) {
    if (!Node || m_liestNeu || m_ohneEreignis)
        return;
    Fehlercode = fc::VBCollapsing;
    auto laufwerkeZu = [this](TTreeNode* Ebene) {
        for (int i = 0; i < Ebene->Count(); ++i) {
            TTreeNode* k = Ebene->Item(i);
            const TKnotenDaten* d = Daten(k);
            if (d && (d->ShellAttr & kAttrDateisystemVorfahr))
                CollapseNode(k);
        }
    };
    if (Node == Wurzel())
        for (int i = 0; i < Node->Count(); ++i) laufwerkeZu(Node->Item(i));
    else if (Node->Parent() == Wurzel())
        laufwerkeZu(Node);
    Fehlercode = 0;
}

void TVbaumForm::VerzeichnisBaumCollapsed(gui::TObject*, TTreeNode* Node) {
    if (!Node || m_liestNeu || m_ohneEreignis)
        return;
    Fehlercode = fc::VBCollapsed;
    MonitorSchalten(Node, false);
    Fehlercode = 0;
}

void TVbaumForm::VerzeichnisBaumKeyDown(gui::TObject* Sender, WORD& Key, gui::TShiftState Shift) {
    Fehlercode = fc::VBKeyDown;
    if (m_host)
        m_host->FormKeyDown(Sender, Key, Shift);
    Fehlercode = 0;
}

void TVbaumForm::VerzeichnisBaumKeyUp(gui::TObject* Sender, WORD& Key, gui::TShiftState Shift) {
    Fehlercode = fc::VBKeyUp;
    const gui::TShiftState tasten = Shift & (gui::ssShift | gui::ssAlt | gui::ssCtrl);
    if (m_host) {
        if ((Key == VK_F4 && tasten == gui::ssCtrl) || (Key == VK_F6 && (tasten & gui::ssCtrl)))
            m_host->PaneKeyUp(Sender, Key, Shift);
        else if ((Key == VK_DELETE && tasten == 0) || (Key == VK_TAB && (tasten == 0 || tasten == gui::ssShift)))
            m_host->PaneKeyDown(Sender, Key, Shift);
        else
            m_host->FormKeyUp(Sender, Key, Shift);
    }
    m_frischeAuswahl = false;
    Fehlercode = 0;
}

void TVbaumForm::VerzeichnisBaumMouseDown(gui::TObject*, gui::TMouseButton Button, gui::TShiftState, int X,
                                          int Y) {
    Fehlercode = fc::VBMouseDown;
    m_dragBereit = Button == gui::TMouseButton::mbLeft && !m_frischeAuswahl && Verzeichnisbaum.Selected() &&
                   Verzeichnisbaum.GetNodeAt(X, Y) == Verzeichnisbaum.Selected();
    m_frischeAuswahl = false;
    Fehlercode = 0;
}

void TVbaumForm::VerzeichnisBaumMouseMove(gui::TObject*, gui::TShiftState, int, int) {
    if (!m_dragBereit)
        return;
    Fehlercode = fc::VBMouseMove;
    m_dragBereit = false;
    TTreeNode* n = Verzeichnisbaum.Selected();
    const TKnotenDaten* d = Daten(n);
    const std::wstring pfad = NodePath(n);
    if (m_host && d && !pfad.empty() && !(d->ShellAttr & kAttrDateisystemVorfahr)) {
        TStringList dateien;
        dateien.Add(ExcludeTrailingBackslash(pfad));
        m_host->StartDrag(this, dateien);
    }
    Fehlercode = 0;
}

// Runs Call with Node selected for the moment, no change reported meanwhile.
void TVbaumForm::Vorlaeufig(TTreeNode* Node, const std::function<void()>& Call) {
    TTreeNode* vorher = Verzeichnisbaum.Selected();
    m_rechtsklick = true;
    Verzeichnisbaum.SetSelected(Node);
    Call();
    if (!m_abgebaut && vorher)
        Verzeichnisbaum.SetSelected(vorher);
    m_rechtsklick = false;
    // A watch pass that reported while the menu was open: its refresh now.
    if (!m_aufgeschoben.empty())
        WachAuffrischen(std::exchange(m_aufgeschoben, std::wstring()));
}

void TVbaumForm::VerzeichnisBaumMouseUp(gui::TObject*, gui::TMouseButton Button, gui::TShiftState Shift, int X,
                                        int Y) {
    m_dragBereit = false;
    if (Button != gui::TMouseButton::mbRight || !m_host)
        return;
    Fehlercode = fc::VBMouseUp;
    const POINT bildschirm = Verzeichnisbaum.ClientToScreen(POINT{X, Y});
    TTreeNode* node = Verzeichnisbaum.GetNodeAt(X, Y);
    if (Shift & gui::ssCtrl) {
        if (const TKnotenDaten* d = Daten(node))
            Vorlaeufig(node, [&] {
                PidlKontextmenue(m_host->OwnerWindow(), d->Ordner.Get(), d->RelPidl.get(), bildschirm);
            });
    } else if (Shift & gui::ssShift) {
        m_host->ShowRecentFilesPopup(bildschirm);
    } else if (node) {
        Vorlaeufig(node, [&] {
            const std::wstring pfad = NodePath(node);
            m_host->SetContextFolder(pfad);
            if (!pfad.empty())
                m_host->ShowPanePopup(this, bildschirm);
        });
    }
    Fehlercode = 0;
}

// ---- Drops ---------------------------------------------------------------------------

bool TVbaumForm::IstPapierkorb(const TKnotenDaten* d) const {
    if (!m_host || !d || !d->AbsPidl || (d->ShellAttr & kAttrDateisystem)) return false;
    TComPtr<IShellFolder> desktop;
    std::wstring name;
    return SUCCEEDED(SHGetDesktopFolder(desktop.Put())) &&
           PidlAnzeigename(desktop.Get(), d->AbsPidl.get(), SHGDN_NORMAL, name) && name == m_host->RecycleBinName();
}

TDropZiel TVbaumForm::DropZiel(POINT Client, DWORD KeyState) {
    TDropZiel ziel;
    const bool ausArchiv = m_host && m_host->DragFromArchive();
    ziel.Effect = KeyEffect(KeyState, ausArchiv);
    TTreeNode* n = Verzeichnisbaum.GetNodeAt(Client.x, Client.y);
    const TKnotenDaten* d = Daten(n);
    Verzeichnisbaum.SetDropTarget(n);
    if (!n || !d) {
        ziel.Effect = DROPEFFECT_NONE;
        return ziel;
    }
    if (n == Wurzel()) {
        ziel.Target = IncludeTrailingBackslash(DesktopFolder());
    } else if (IstPapierkorb(d)) {
        ziel.Recycle = true;
        return ziel;
    } else if (IstArchivKnoten(d)) {
        // Entries of one archive never go into another through a drop.
        if (!ausArchiv) ziel.Target = ExcludeTrailingBackslash(NodePath(n));
    } else if (const std::wstring pfad = NodePath(n); !pfad.empty()) {
        ziel.Target = IncludeTrailingBackslash(pfad);
    }
    if (ziel.Target.empty() || ziel.Target == L"\\" || (m_host && SameFolder(ziel.Target, m_host->DragFolder())))
        ziel.Effect = DROPEFFECT_NONE;
    return ziel;
}

void TVbaumForm::NachDrop() {
    TTreeNode* n = Verzeichnisbaum.Selected();
    const std::wstring pfad = NodePath(n);
    if (n && n->Parent() && !pfad.empty() && GetFileAttributesW(pfad.c_str()) == INVALID_FILE_ATTRIBUTES)
        Verzeichnisbaum.SetSelected(n->Parent());
}

}  // namespace velmora
