// The archive pane: reading, rows, sorting, walking the folders, marking and
// the selection handed to the archive commands.

#include "ZipView.h"

#include <cmath>

#include "DateiListeModell.h"
#include "ZipViewCodes.h"
#include "foundation/DefaultUserStore.h"
#include "foundation/Fehlercode.h"
#include "foundation/IconRoutinen.h"
#include "platform/gui/Application.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/PathNames.h"
#include "platform/rtl/Strings.h"

namespace velmora {

using archive::TDatenListe;
using archive::TDatenSatz;
using gui::TListItem;

namespace {

const wchar_t kColumnsValue[] = L"ArcViewColumns";
const std::vector<int> kDefaultWidths{100, 130, 75, 75, 35};
// Folder icons come from a folder that need not exist.
const wchar_t kDummyFolder[] = L"C:\\Velmora-Ordner";

bool IsFolder(const TDatenSatz& Record) { return Record.Unterverzeichnis != nullptr; }
// The up row is the node that points back at its parent's list without owning
// it; an entry stored as "..\x" makes a real folder named "..", which is not.
bool IsUp(const TDatenSatz& Record) { return Record.Unterverzeichnis && !Record.OwnedList; }

std::wstring WithoutLeadingBackslash(const std::wstring& Name) {
    return !Name.empty() && Name[0] == L'\\' ? Name.substr(1) : Name;
}

int Sign(std::int64_t V) { return V < 0 ? -1 : V > 0 ? 1 : 0; }

int ShellIcon(const std::wstring& Name, DWORD Attributes) {
    SHFILEINFOW info{};
    if (!SHGetFileInfoW(Name.c_str(), Attributes, &info, sizeof info,
                        SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX | SHGFI_SMALLICON))
        return -1;
    return info.iIcon;
}

}  // namespace

TZipViewForm::TZipViewForm(gui::TComponent* owner, TPaneHost* Host, archive::TZipRoutinen* Routinen)
    : TDMChildForm(owner), Dateiliste(this), StatusZeile(this), m_host(Host), m_routinen(Routinen), m_bilder(this) {
    BorderStyle = gui::TBorderStyle::bsToolWindow;
    BorderIcons = 0;
    SetCaption(L"Zip - Viewer");
    SetPaneKind(ftZip);

    PlaceListAndStatus(Dateiliste, StatusZeile);
    StatusZeile.SetSimplePanel(true);
    // An archive of 200,000 entries in one folder: a window holding its rows
    // would take many seconds to empty on every re-read and when the pane closes.
    Dateiliste.RowsOnly = true;
    Dateiliste.SetViewStyle(gui::TViewStyle::vsReport);
    LoadWidths();
    Dateiliste.OnData = gui::bind(this, &TZipViewForm::DateilisteData);
    Dateiliste.OnDblClick = gui::bind(this, &TZipViewForm::DateilisteDblClick);
    Dateiliste.OnColumnClick = gui::bind(this, &TZipViewForm::DateilisteColumnClick);
    Dateiliste.OnKeyDown = gui::bind(this, &TZipViewForm::DateilisteKeyDown);
    Dateiliste.OnKeyPress = gui::bind(this, &TZipViewForm::DateilisteKeyPress);
    Dateiliste.OnKeyUp = gui::bind(this, &TZipViewForm::DateilisteKeyUp);
    Dateiliste.OnMouseDown = gui::bind(this, &TZipViewForm::DateilisteMouseDown);
    Dateiliste.OnMouseUp = gui::bind(this, &TZipViewForm::DateilisteMouseUp);
    OnDestroy = gui::bind(this, &TZipViewForm::FormDestroy);
    Dateiliste.OnBeginDrag = gui::bind(this, &TZipViewForm::DateilisteBeginDrag);
    // Files go into the archive as copies, or moved with Ctrl; never entries of an archive.
    DropTarget = gui::Create<TPaneDropTarget>(this, Dateiliste, Host, [this](POINT, DWORD Keys) {
        TDropZiel ziel;
        if (m_host && !m_host->DragFromArchive() && !m_archive.empty()) {
            ziel.Effect = (Keys & MK_CONTROL) ? DROPEFFECT_MOVE : DROPEFFECT_COPY;
            ziel.Target = m_archive;
        }
        return ziel;
    }, nullptr);
}

TZipViewForm::~TZipViewForm() {
    Dateiliste.Clear();
    archive::TZipRoutinen::ClearFolderTree(m_root);
}

void TZipViewForm::FormDestroy(gui::TObject*) { SaveWidths(); }

// ---- Column widths

std::vector<int> TZipViewForm::ColumnWidthsOf(const std::wstring& Text) {
    std::vector<int> widths = ParseColumnWidths(Text);
    if (widths.size() != kDefaultWidths.size())
        return kDefaultWidths;
    for (int w : widths)
        if (w < 0 || w > 10000)
            return kDefaultWidths;
    return widths;
}

void TZipViewForm::LoadWidths() {
    const std::vector<int> widths = ColumnWidthsOf(RegReadUserValue(DialogeSchluessel, kColumnsValue));
    const wchar_t* captions[] = {L"Name", L"Datum", L"Orig. Größe", L"Komp. Größe", L"Einsparung"};
    Dateiliste.ClearColumns();
    for (size_t i = 0; i < widths.size(); ++i)
        Dateiliste.AddColumn({captions[i], widths[i],
                              i >= 2 ? gui::TAlignment::taRightJustify : gui::TAlignment::taLeftJustify});
}

void TZipViewForm::SaveWidths() {
    std::vector<int> widths;
    for (int i = 0; i < Dateiliste.ColumnCount(); ++i)
        widths.push_back(Dateiliste.ColumnWidth(i));
    if (widths.size() == kDefaultWidths.size())
        WriteColumnWidths(kColumnsValue, widths);
}

// ---- Archive and reading

std::wstring TZipViewForm::KindWord(TFensterTyp Kind) {
    static const wchar_t* const words[] = {L"ZIP-Archiv ",        L"ARJ-Archiv ",        L"LHA-Archiv ",
                                           L"RAR-Archiv ",        L"ARC-Archiv ",        L"ZOO-Archiv ",
                                           L"EXE-Archiv (ZIP) ", L"EXE-Archiv (ARJ) ", L"EXE-Archiv (RAR) ",
                                           L"EXE-Archiv (ARC) "};
    return Kind >= ftZip && Kind <= ftArcExe ? words[Kind - ftZip] : std::wstring();
}

void TZipViewForm::SetArchiveFile(const std::wstring& Path) {
    m_archive = SystemLower(Path);
    SetCaption(KindWord(GetPaneKind()) + L"[" + m_archive + L"]");
}

std::wstring TZipViewForm::GetArchiveFile() {
    std::wstring path = m_archive;
    for (wchar_t& c : path)
        if (c == L'/')
            c = L'\\';
    return SystemLower(path);
}

void TZipViewForm::GetArchivDaten(TArchivDaten& Daten) { Daten = m_daten; }

void TZipViewForm::ReadContents() {
    if (m_host && m_host->ArchiveRoutineRunning()) {
        MessageBeep(MB_OK);
        return;
    }
    Fehlercode = fc::ZipViewReadContents;
    Dateiliste.Clear();
    archive::TZipRoutinen::ClearFolderTree(m_root);
    m_flat.clear();
    m_daten = TArchivDaten();
    std::uint8_t kind = 0;
    if (m_routinen && !m_archive.empty() && FileExists(m_archive) && m_routinen->GetArchiveType(m_archive, kind)) {
        if (kind != GetPaneKind()) {
            SetPaneKind(static_cast<TFensterTyp>(kind));
            SetArchiveFile(m_archive);
        }
        std::wstring name = m_archive;
        m_routinen->OpenArchive(kind, name, m_daten, m_flat);
        Fehlercode = fc::ZipViewReadContents;
        archive::TZipRoutinen::BuildFolderTree(m_flat, m_root, true);
    }
    // A single folder at the root is skipped, as deep as it goes.
    m_prefix.clear();
    TDatenListe* level = &m_root;
    while (level->size() == 1 && IsFolder(*level->front())) {
        TDatenSatz& folder = *level->front();
        m_prefix += WithoutLeadingBackslash(folder.Name) + L"\\";
        level = folder.Unterverzeichnis;
        if (!level->empty() && IsUp(*level->front()))
            level->erase(level->begin());
    }
    m_rootList = level;
    m_current = level;
    m_subPath.clear();
    m_wholeArchive = false;
    ShowLevel();
    Fehlercode = 0;
}

void TZipViewForm::ShowLevel(const std::wstring& FocusName) {
    StatusZeile.SetSimpleText(SystemLower(m_prefix + m_subPath));
    FillList();
    // Without a focused row the keys act on nothing until the first click.
    TListItem* row = Dateiliste.Count() > 0 ? Dateiliste.Items(0) : nullptr;
    for (int i = 0; i < Dateiliste.Count() && !FocusName.empty(); ++i) {
        const TDatenSatz* record = Record(Dateiliste.Items(i));
        if (record && IsFolder(*record) && !IsUp(*record) && WithoutLeadingBackslash(record->Name) == FocusName) {
            row = Dateiliste.Items(i);
            break;
        }
    }
    if (row) {
        row->SetFocused(true);
        row->SetSelected(true);
        row->MakeVisible();
    }
}

// ---- Rows

std::wstring TZipViewForm::SavingText(std::int64_t Original, std::int64_t Compressed) {
    if (Original == 0)
        return L"0%";
    const double saving = static_cast<double>(Original - Compressed) / static_cast<double>(Original) * 100.0;
    // The default rounding mode takes a half to the even neighbour.
    return std::to_wstring(static_cast<long long>(std::nearbyint(saving))) + L"%";
}

std::wstring TZipViewForm::RowCaption(const TDatenSatz& Record) const {
    if (IsUp(Record))
        return Record.Name;
    const std::wstring name = WithoutLeadingBackslash(Record.Name);
    if (!IsFolder(Record))
        return Schreibweise(name, m_optionen.DateiSchreibweise);
    std::wstring caption = Schreibweise(name, m_optionen.VSchreibweise);
    if (m_optionen.VEinfassen)
        caption = m_optionen.EinfZeichen(0) + caption + m_optionen.EinfZeichen(1);
    return caption;
}

void TZipViewForm::FillList() {
    Fehlercode = fc::ZipViewFillList;
    gui::THourGlass hourglass;
    Dateiliste.BeginUpdate();
    Dateiliste.Clear();
    Dateiliste.Reserve(static_cast<int>(m_current->size()));
    for (const auto& record : *m_current)
        Dateiliste.AddItem(RowCaption(*record), record.get());
    if (m_sort != 10)
        Dateiliste.CustomSort([this](TListItem* a, TListItem* b) { return Compare(*Record(a), *Record(b)); });
    Dateiliste.EndUpdate();
    Fehlercode = 0;
}

TDatenSatz* TZipViewForm::Record(const TListItem* Item) {
    return Item ? static_cast<TDatenSatz*>(Item->Data) : nullptr;
}

int TZipViewForm::FileIcon(const std::wstring& Name) {
    if (m_optionen.StandardIcons && IconRoutinen)
        return IconRoutinen->GetIconIndex(Name);
    const std::wstring ext = SystemLower(ExtractFileExt(Name));
    if (auto found = m_icons.find(ext); found != m_icons.end())
        return found->second;
    int icon = -1;
    if (archive::TZipRoutinen::IsArchiveExtension(ext) && IconRoutinen)
        icon = IconRoutinen->GetArchiveIconIndex();
    else
        icon = ShellIcon(L"x" + ext, FILE_ATTRIBUTE_NORMAL);
    m_icons.emplace(ext, icon);
    return icon;
}

int TZipViewForm::FolderIcon() {
    if (m_optionen.StandardIcons && IconRoutinen)
        return IconRoutinen->FolderIndex;
    if (m_folderIcon == -2)
        m_folderIcon = ShellIcon(kDummyFolder, FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_NORMAL);
    return m_folderIcon;
}

// Texts and icon of a row, built when the window first shows it.
void TZipViewForm::DateilisteData(gui::TObject*, TListItem* Item) {
    const TDatenSatz* record = Record(Item);
    if (!record || !Item->SubItems().Empty() || Item->ImageIndex() >= 0)
        return;
    const bool icons = m_optionen.IconsAnzeigen && Dateiliste.SmallImages;
    if (IsFolder(*record)) {
        if (icons)
            Item->SetImageIndex(IsUp(*record) ? (IconRoutinen ? IconRoutinen->UpDirIndex : -1) : FolderIcon());
        return;
    }
    TStringList texts;
    texts.Add(DatumZeitText(record->Time));
    texts.Add(FormatByteSize(static_cast<float>(record->Size)));
    texts.Add(FormatByteSize(static_cast<float>(record->CompressedSize)));
    texts.Add(SavingText(record->Size, record->CompressedSize));
    Item->SetSubItems(texts);
    if (icons)
        Item->SetImageIndex(FileIcon(WithoutLeadingBackslash(record->Name)));
}

// ---- Options and sorting

void TZipViewForm::ApplyOptions(const TOptionen& Options) {
    m_optionen = Options;
    StatusZeile.SetVisible(Options.Statuszeile);
    ShowSmallIcons(Dateiliste, m_bilder, m_bilderGesetzt, IconRoutinen, Options.IconsAnzeigen);
    m_icons.clear();
    m_folderIcon = -2;
    m_sort = 10;
    SetSortOrder(Options.Sortierung);
}

void TZipViewForm::SetSortOrder(std::uint8_t Request) {
    Fehlercode = fc::ZipViewSetSortOrder;
    switch (Request) {
    case 0:
    case 1: m_sort = m_sort == 0 ? 1 : 0; break;
    case 2:
    case 3: m_sort = Request == 2 && m_sort == 2 ? 3 : 2; break;
    case 4:
    case 5: m_sort = Request == 5 && m_sort == 5 ? 4 : 5; break;
    case 6:
    case 7: m_sort = Request == 6 && m_sort == 6 ? 7 : 6; break;
    default: m_sort = 10; break;
    }
    Dateiliste.BeginUpdate();
    if (m_sort != 10)
        Dateiliste.CustomSort([this](TListItem* a, TListItem* b) { return Compare(*Record(a), *Record(b)); });
    Dateiliste.EndUpdate();
    if (m_host)
        m_host->CheckSortMenu(m_sort);
    Fehlercode = 0;
}

std::uint8_t TZipViewForm::GetSortOrder() { return m_sort; }

int TZipViewForm::CompareNames(const TDatenSatz& A, const TDatenSatz& B) const {
    const int result =
        SystemLower(WithoutLeadingBackslash(A.Name)).compare(SystemLower(WithoutLeadingBackslash(B.Name)));
    const int sign = result < 0 ? -1 : result > 0 ? 1 : 0;
    return m_sort == 1 ? -sign : sign;
}

int TZipViewForm::Compare(const TDatenSatz& A, const TDatenSatz& B) const {
    const bool folderA = IsFolder(A), folderB = IsFolder(B);
    if (folderA != folderB)
        return folderA ? -1 : 1;
    if (folderA) {
        if (IsUp(A) != IsUp(B))
            return IsUp(A) ? -1 : 1;
        return CompareNames(A, B);
    }
    int result = 0;
    switch (m_sort) {
    case 2:
    case 3: result = Sign(A.Size - B.Size); break;
    case 4:
    case 5: result = A.Time < B.Time ? -1 : A.Time > B.Time ? 1 : 0; break;
    case 6:
    case 7: {
        const int c = SystemLower(ExtractFileExt(A.Name)).compare(SystemLower(ExtractFileExt(B.Name)));
        result = c < 0 ? -1 : c > 0 ? 1 : 0;
        break;
    }
    default: break;
    }
    if (result == 0)
        result = CompareNames(A, B);
    return m_sort == 3 || m_sort == 4 || m_sort == 7 ? -result : result;
}

void TZipViewForm::DateilisteColumnClick(gui::TObject*, int Column) {
    if (Column == 0)
        SetSortOrder(0);
    else if (Column == 1)
        SetSortOrder(5);
    else if (Column == 2)
        SetSortOrder(2);
}

// ---- Marking and selection

void TZipViewForm::SelectAll() { Dateiliste.SelectAll(); }
void TZipViewForm::InvertSelection() { Dateiliste.InvertSelection(); }

void TZipViewForm::SelectGroup(const TStringList& Masks, bool DatumFiltern, const std::wstring& DatumVon,
                               const std::wstring& DatumBis, bool GroesseFiltern, const std::wstring& GroesseVergleich,
                               std::int32_t GroesseKB, bool, bool, bool, bool) {
    if (Masks.Empty())
        return;
    TStringList masks;
    for (const auto& mask : Masks)
        masks.Add(SystemLower(mask));
    const TDatumGroesseTest test =
        TDatumGroesseTest::Aus(DatumFiltern, DatumVon, DatumBis, GroesseFiltern, GroesseVergleich, GroesseKB);
    Dateiliste.BeginUpdate();
    for (int i = 0; i < Dateiliste.Count(); ++i) {
        const TDatenSatz* record = Record(Dateiliste.Items(i));
        const std::wstring name = SystemLower(WithoutLeadingBackslash(record->Name));
        Dateiliste.Items(i)->SetSelected(!IsUp(*record) && PasstZuMaske(name, masks) &&
                                         test.Passt(record->Size, record->Time));
    }
    Dateiliste.EndUpdate();
}

// A name with folders, as the search names an archive's entries, is looked for
// in its own folder: the list walks there from the archive's top first (the
// skipped single root folder is part of the name, not a level of the list).
void TZipViewForm::SelectFile(const std::wstring& Name) {
    std::wstring wanted = SystemLower(WithoutLeadingBackslash(Name));
    if (const size_t cut = wanted.rfind(L'\\'); cut != std::wstring::npos) {
        std::wstring folder = wanted.substr(0, cut + 1);
        wanted.erase(0, cut + 1);
        const std::wstring prefix = SystemLower(m_prefix);
        if (!folder.starts_with(prefix))
            return;
        folder.erase(0, prefix.size());
        if (folder != SystemLower(m_subPath)) {
            TDatenListe* level = m_rootList;
            std::wstring subPath;
            for (size_t from = 0; from < folder.size();) {
                const size_t end = folder.find(L'\\', from);
                const std::wstring part = folder.substr(from, end - from);
                TDatenSatz* next = nullptr;
                for (const auto& record : *level)
                    if (IsFolder(*record) && !IsUp(*record) &&
                        SystemLower(WithoutLeadingBackslash(record->Name)) == part)
                        next = record.get();
                if (!next)
                    return;
                subPath += WithoutLeadingBackslash(next->Name) + L"\\";
                level = next->Unterverzeichnis;
                from = end + 1;
            }
            m_subPath = subPath;
            m_current = level;
            ShowLevel();
        }
    }
    // The hit alone is marked: the level shown may have marked its first row.
    TListItem* hit = nullptr;
    for (int i = 0; i < Dateiliste.Count() && !hit; ++i)
        if (SystemLower(WithoutLeadingBackslash(Record(Dateiliste.Items(i))->Name)) == wanted)
            hit = Dateiliste.Items(i);
    if (!hit)
        return;
    for (TListItem* row = Dateiliste.NextSelected(); row; row = Dateiliste.NextSelected(row))
        if (row != hit)
            row->SetSelected(false);
    hit->SetSelected(true);
    hit->SetFocused(true);
    hit->MakeVisible();
}

void TZipViewForm::GetSelection(TDateiListe& List) {
    const std::wstring base = m_prefix + m_subPath;
    for (TListItem* row = Dateiliste.NextSelected(); row; row = Dateiliste.NextSelected(row)) {
        const TDatenSatz& record = *Record(row);
        if (IsUp(record))
            continue;
        auto entry = std::make_unique<TEineDatei>();
        entry->Name = SystemLower(base + WithoutLeadingBackslash(record.Name));
        entry->Size = record.Size;
        entry->Time = record.Time;
        entry->CompressedSize = record.CompressedSize;
        entry->Kommentar = record.Kommentar;
        entry->ArchivPfad = m_archive;
        entry->InArchive = true;
        entry->Attr = IsFolder(record) ? 16 : 0;
        List.push_back(std::move(entry));
    }
    m_wholeArchive = m_subPath.empty() && Dateiliste.Count() > 0 && Dateiliste.SelCount() == Dateiliste.Count();
}

bool TZipViewForm::WholeArchiveSelected() { return m_wholeArchive; }

// ---- Navigation

void TZipViewForm::Navigate(TDatenSatz& Folder) {
    Fehlercode = fc::ZipViewNavigate;
    if (IsUp(Folder)) {
        LevelUp();
        return;
    }
    m_subPath += WithoutLeadingBackslash(Folder.Name) + L"\\";
    m_current = Folder.Unterverzeichnis;
    ShowLevel();
    Fehlercode = 0;
}

void TZipViewForm::LevelUp() {
    if (m_subPath.empty() || m_current->empty() || !IsUp(*m_current->front()))
        return;
    Fehlercode = fc::ZipViewNavigate;
    TDatenListe* parent = m_current->front()->Unterverzeichnis;
    // The sub-path loses its last folder (each ends in "\").
    const size_t cut =
        m_subPath.size() < 2 ? std::wstring::npos : m_subPath.find_last_of(L'\\', m_subPath.size() - 2);
    const size_t from = cut == std::wstring::npos ? 0 : cut + 1;
    const std::wstring left = m_subPath.substr(from, m_subPath.size() - from - 1);
    m_subPath.erase(from);
    m_current = parent;
    ShowLevel(left);
    Fehlercode = 0;
}

void TZipViewForm::OpenSelected() {
    if (Dateiliste.SelCount() == 1) {
        TDatenSatz& record = *Record(Dateiliste.Selected());
        if (IsFolder(record))
            Navigate(record);
        else if (m_host)
            m_host->OpenArchivedFile(this, m_archive, m_prefix + m_subPath + WithoutLeadingBackslash(record.Name));
        return;
    }
    // Several rows: each marked file that is not itself an archive.
    std::vector<std::wstring> names;
    for (TListItem* row = Dateiliste.NextSelected(); row; row = Dateiliste.NextSelected(row)) {
        const TDatenSatz& record = *Record(row);
        const std::wstring name = WithoutLeadingBackslash(record.Name);
        if (!IsFolder(record) && !archive::TZipRoutinen::IsArchiveExtension(ExtractFileExt(name)))
            names.push_back(m_prefix + m_subPath + name);
    }
    for (const auto& name : names)
        if (m_host)
            m_host->OpenArchivedFile(this, m_archive, name);
}

void TZipViewForm::DateilisteDblClick(gui::TObject*) { OpenSelected(); }

void TZipViewForm::DateilisteKeyDown(gui::TObject* Sender, WORD& Key, gui::TShiftState Shift) {
    if (Key == VK_BACK) {
        if (m_subPath.empty()) {
            if (m_host)
                m_host->GoToParentDir(this);
        } else {
            LevelUp();
        }
        Key = 0;
        return;
    }
    if (m_host)
        m_host->FormKeyDown(Sender, Key, Shift);
}

void TZipViewForm::DateilisteKeyPress(gui::TObject*, wchar_t& Key) {
    if (Key == VK_RETURN && Dateiliste.SelCount() > 0)
        OpenSelected();
}

// Key-up goes where the file list sends it.
void TZipViewForm::DateilisteKeyUp(gui::TObject* Sender, WORD& Key, gui::TShiftState Shift) {
    if (m_host)
        ForwardListKeyUp(*m_host, Sender, Key, Shift);
}

void TZipViewForm::DateilisteMouseDown(gui::TObject*, gui::TMouseButton Button, gui::TShiftState, int, int) {
    if (Button == gui::TMouseButton::mbRight)
        m_rightDown = true;
    if (m_host)
        m_host->PaneActivated(this);
}

// A right click marks the row under the cursor and opens the archive popup.
void TZipViewForm::DateilisteMouseUp(gui::TObject*, gui::TMouseButton Button, gui::TShiftState, int X, int Y) {
    if (Button != gui::TMouseButton::mbRight || !m_rightDown)
        return;
    m_rightDown = false;
    if (TListItem* row = Dateiliste.GetItemAt(X, Y)) {
        row->SetSelected(true);
        row->SetFocused(true);
    }
    POINT screen{X, Y};
    ::ClientToScreen(Dateiliste.Handle(), &screen);
    if (m_host)
        m_host->ShowArchivePopup(this, screen);
}

void TZipViewForm::DateilisteBeginDrag(gui::TObject*, TListItem*, POINT) {
    if (!m_host || m_archive.empty())
        return;
    const std::wstring base = m_prefix + m_subPath;
    TStringList entries;
    for (TListItem* row = Dateiliste.NextSelected(); row; row = Dateiliste.NextSelected(row)) {
        const TDatenSatz& record = *Record(row);
        if (IsUp(record))
            continue;
        const std::wstring name = base + WithoutLeadingBackslash(record.Name);
        entries.Add(IsFolder(record) ? name + L"\\*.*" : name);
    }
    if (!entries.Empty())
        m_host->StartArchiveDrag(this, m_archive, entries);
}

void TZipViewForm::BeginUpdate() { Dateiliste.BeginUpdate(); }
void TZipViewForm::EndUpdate() { Dateiliste.EndUpdate(); }
HWND TZipViewForm::GetControlHandle() { return Dateiliste.Handle(); }

}  // namespace velmora
