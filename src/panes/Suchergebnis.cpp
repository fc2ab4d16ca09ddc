// The search-result and basket pane: reading, rows, sorting, marking, opening.

#include "Suchergebnis.h"

#include "DateiListeModell.h"
#include "SuchergebnisCodes.h"
#include "foundation/DefaultUserStore.h"
#include "foundation/Fehlercode.h"
#include "foundation/IconRoutinen.h"
#include "foundation/ShellRoutinen.h"
#include "platform/gui/Application.h"
#include "platform/rtl/PathNames.h"
#include "platform/rtl/Strings.h"

namespace velmora {

using gui::TListItem;

namespace {

const wchar_t* WidthsValue(TFensterTyp Kind) {
    return Kind == ftSammelkorb ? L"SammelkColumns" : L"SuchergColumns";
}

int ShellIcon(const std::wstring& Name) {
    SHFILEINFOW info{};
    if (!SHGetFileInfoW(Name.c_str(), FILE_ATTRIBUTE_NORMAL, &info, sizeof info,
                        SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX | SHGFI_SMALLICON))
        return -1;
    return info.iIcon;
}

bool IsArchiveName(const std::wstring& Name) {
    static const wchar_t* const exts[] = {L".zip", L".arj", L".lzh", L".ice", L".rar", L".arc", L".pak", L".zoo"};
    const std::wstring ext = SystemLower(ExtractFileExt(Name));
    for (const wchar_t* e : exts)
        if (ext == e) return true;
    return false;
}

std::wstring EntryName(const TEineDatei& Record) {
    return !Record.Name.empty() && Record.Name[0] == L'\\' ? Record.Name.substr(1) : Record.Name;
}

}  // namespace

TSuchergebnisForm::TSuchergebnisForm(gui::TComponent* owner, TPaneHost* Host, TFensterTyp Kind)
    : TDMChildForm(owner), DateiListe(this), m_host(Host), m_bilder(this) {
    BorderStyle = gui::TBorderStyle::bsToolWindow;
    BorderIcons = 0;
    DateiListe.SetParent(this);
    DateiListe.SetAlign(gui::TAlign::alClient);
    DateiListe.ReadOnly = true;
    DateiListe.MultiSelect = true;
    DateiListe.HideSelection = false;
    DateiListe.DisplayCallbacks = true;
    // 100,000 search results: a window holding its rows took two seconds to
    // empty on every re-read; this list marks rows by selection and focus only.
    DateiListe.RowsOnly = true;
    DateiListe.SetViewStyle(gui::TViewStyle::vsReport);
    TDMChildForm::SetPaneKind(Kind);
    LoadWidths();

    Zugriff.Nachsehen = [](const std::wstring& Path, WIN32_FILE_ATTRIBUTE_DATA& Data) -> DWORD {
        return GetFileAttributesExW(Path.c_str(), GetFileExInfoStandard, &Data) ? ERROR_SUCCESS : GetLastError();
    };
    Zugriff.ArchivTyp = [this](const std::wstring& Archive, std::uint8_t& Kind) {
        return m_host && m_host->ArchiveKind(Archive, Kind);
    };
    Zugriff.ArchivLesen = [this](std::uint8_t Kind, const std::wstring& Archive, TDateiListe& Entries) {
        return m_host && m_host->ListArchive(Kind, Archive, Entries);
    };

    DateiListe.OnData = gui::bind(this, &TSuchergebnisForm::DateiListeData);
    DateiListe.OnDblClick = gui::bind(this, &TSuchergebnisForm::DateiListeDblClick);
    DateiListe.OnColumnClick = gui::bind(this, &TSuchergebnisForm::DateiListeColumnClick);
    DateiListe.OnKeyDown = gui::bind(this, &TSuchergebnisForm::DateiListeKeyDown);
    DateiListe.OnKeyPress = gui::bind(this, &TSuchergebnisForm::DateiListeKeyPress);
    DateiListe.OnKeyUp = gui::bind(this, &TSuchergebnisForm::DateiListeKeyUp);
    DateiListe.OnMouseDown = gui::bind(this, &TSuchergebnisForm::DateiListeMouseDown);
    DateiListe.OnMouseMove = gui::bind(this, &TSuchergebnisForm::DateiListeMouseMove);
    DateiListe.OnMouseUp = gui::bind(this, &TSuchergebnisForm::DateiListeMouseUp);
    OnDestroy = gui::bind(this, &TSuchergebnisForm::FormDestroy);
    // The search result takes no drops; the basket takes files as copies.
    DropTarget = gui::Create<TPaneDropTarget>(this, DateiListe, Host, [this](POINT, DWORD) {
        TDropZiel ziel;
        ziel.Basket = GetPaneKind() == ftSammelkorb;
        ziel.Effect = ziel.Basket ? DROPEFFECT_COPY : DROPEFFECT_NONE;
        return ziel;
    }, nullptr);
}

TSuchergebnisForm::~TSuchergebnisForm() { DateiListe.Clear(); }

void TSuchergebnisForm::FormDestroy(gui::TObject*) { SaveWidths(); }

// ---- Column widths

void TSuchergebnisForm::LoadWidths() {
    const std::vector<int> widths = SuchSpaltenBreiten(RegReadUserValue(DialogeSchluessel, WidthsValue(GetPaneKind())));
    // The header would take the "&" as the mark of a key: doubled, it shows.
    const wchar_t* captions[] = {L"Pfad && Name", L"Größe", L"Datum"};
    DateiListe.ClearColumns();
    for (size_t i = 0; i < widths.size(); ++i)
        DateiListe.AddColumn(
            {captions[i], widths[i], i == 1 ? gui::TAlignment::taRightJustify : gui::TAlignment::taLeftJustify});
}

void TSuchergebnisForm::SaveWidths() {
    std::vector<int> widths;
    for (int i = 0; i < DateiListe.ColumnCount(); ++i) widths.push_back(DateiListe.ColumnWidth(i));
    if (widths.size() == 3) WriteColumnWidths(WidthsValue(GetPaneKind()), widths);
}

void TSuchergebnisForm::SetPaneKind(TFensterTyp Kind) {
    SaveWidths();
    TDMChildForm::SetPaneKind(Kind);
    LoadWidths();
}

// ---- Reading

void TSuchergebnisForm::Refresh() {
    m_records.clear();
    TDateiListe* quelle = m_host ? m_host->PaneRecords(GetPaneKind()) : nullptr;
    if (!quelle) return;
    const bool korb = GetPaneKind() == ftSammelkorb;
    // The walk works on a copy: a listing lets messages through, and one of
    // them may empty or change the main window's list meanwhile.
    TDateiListe kopie;
    kopie.reserve(quelle->size());
    for (const auto& record : *quelle) kopie.push_back(std::make_unique<TEineDatei>(*record));
    std::vector<TSatzSchluessel> gone;
    m_records = SuchergebnisLesen(kopie, korb, m_optionen.CheckArchive, Zugriff, gone);
    Fehlercode = fc::SuchergebnisReadContents;
    if (TDateiListe* now = m_host->PaneRecords(GetPaneKind())) SaetzeEntfernen(*now, gone);
}

void TSuchergebnisForm::ReadContents() {
    if (m_reading) {
        m_readAgain = true;
        return;
    }
    m_reading = true;
    struct TEnde {
        bool& Reading;
        ~TEnde() { Reading = false; }
    } ende{m_reading};
    do {
        m_readAgain = false;
        Fehlercode = fc::SuchergebnisReadContents;
        SetCaption(GetPaneKind() == ftSammelkorb ? L"Inhalt des Sammelkorbes" : L"Ergebnis der letzten Dateisuche");
        gui::THourGlass hourglass;
        Refresh();
        FillRows();
        if (GetPaneKind() == ftSammelkorb && m_host) m_host->BasketChanged();
    } while (m_readAgain);
    Fehlercode = 0;
}

void TSuchergebnisForm::FillRows() {
    DateiListe.BeginUpdate();
    DateiListe.Clear();
    DateiListe.Reserve(static_cast<int>(m_records.size()));
    for (const auto& record : m_records) DateiListe.AddItem(SuchZeilenText(*record), record.get());
    Sort();
    DateiListe.EndUpdate();
}

TEineDatei* TSuchergebnisForm::Record(const TListItem* Item) {
    return Item ? static_cast<TEineDatei*>(Item->Data) : nullptr;
}

int TSuchergebnisForm::FileIcon(const TEineDatei& Record) {
    const std::wstring name = Record.InArchive ? EntryName(Record) : Record.Name;
    if (m_optionen.StandardIcons && IconRoutinen) return IconRoutinen->GetIconIndex(name);
    const std::wstring ext = SystemLower(ExtractFileExt(name));
    if (auto found = m_icons.find(ext); found != m_icons.end()) return found->second;
    const int icon = IsArchiveName(name) && IconRoutinen ? IconRoutinen->GetArchiveIconIndex() : ShellIcon(L"x" + ext);
    m_icons.emplace(ext, icon);
    return icon;
}

// Texts and icon of a row, built when the window first shows it.
void TSuchergebnisForm::DateiListeData(gui::TObject*, TListItem* Item) {
    const TEineDatei* record = Record(Item);
    if (!record || !Item->SubItems().Empty()) return;
    TStringList texts;
    texts.Add(GroesseInKB(record->Size));
    texts.Add(DatumZeitText(record->Time));
    Item->SetSubItems(texts);
    if (DateiListe.SmallImages) Item->SetImageIndex(FileIcon(*record));
}

// ---- Options and sorting

void TSuchergebnisForm::ApplyOptions(const TOptionen& Options) {
    m_optionen = Options;
    ShowSmallIcons(DateiListe, m_bilder, m_bilderGesetzt, IconRoutinen, true);
    m_icons.clear();
    m_sort = 10;
    m_sort = NaechsterSortZustand(m_sort, Options.Sortierung);
    ReadContents();
}

void TSuchergebnisForm::Sort() {
    if (m_sort == 10) return;
    // Lower-casing both captions at each of the n log n comparisons cost more
    // than the rest of the reading: each row's keys are made once.
    std::vector<TSuchSortSchluessel> keys;
    keys.reserve(static_cast<size_t>(DateiListe.Count()));
    for (int i = 0; i < DateiListe.Count(); ++i) keys.push_back(SuchSortSchluessel(*Record(DateiListe.Items(i))));
    DateiListe.CustomSort([this, &keys](TListItem* a, TListItem* b) {
        return SuchZeilenVergleich(*Record(a), keys[static_cast<size_t>(a->Index())], *Record(b),
                                   keys[static_cast<size_t>(b->Index())], m_sort);
    });
}

void TSuchergebnisForm::SetSortOrder(std::uint8_t Request) {
    m_sort = NaechsterSortZustand(m_sort, Request);
    DateiListe.BeginUpdate();
    Sort();
    DateiListe.EndUpdate();
    if (m_host) m_host->CheckSortMenu(m_sort);
}

std::uint8_t TSuchergebnisForm::GetSortOrder() { return m_sort; }

void TSuchergebnisForm::DateiListeColumnClick(gui::TObject*, int Column) { SetSortOrder(SuchSpaltenAnfrage(Column)); }

// ---- Marking and selection

void TSuchergebnisForm::SelectAll() {
    DateiListe.BeginUpdate();
    DateiListe.SelectAll();
    DateiListe.EndUpdate();
}

void TSuchergebnisForm::InvertSelection() { DateiListe.InvertSelection(); }

void TSuchergebnisForm::SelectGroup(const TStringList& Masks, bool DatumFiltern, const std::wstring& DatumVon,
                                    const std::wstring& DatumBis, bool GroesseFiltern,
                                    const std::wstring& GroesseVergleich, std::int32_t GroesseKB, bool Normale,
                                    bool ReadOnly, bool Hidden, bool System) {
    const TGruppenFilter filter = TGruppenFilter::Aus(Masks, DatumFiltern, DatumVon, DatumBis, GroesseFiltern,
                                                      GroesseVergleich, GroesseKB, Normale, ReadOnly, Hidden, System);
    DateiListe.BeginUpdate();
    for (int i = 0; i < DateiListe.Count(); ++i) {
        const TEineDatei& record = *Record(DateiListe.Items(i));
        TItemData data;
        data.Name = ExtractFileName(record.InArchive ? EntryName(record) : record.Name);
        data.Groesse = record.Size;
        data.Datum = record.Time;
        data.Attr = record.Attr;
        data.DatenGeladen = true;
        DateiListe.Items(i)->SetSelected(filter.Markieren(data.Name, &data));
    }
    DateiListe.EndUpdate();
}

void TSuchergebnisForm::GetSelection(TDateiListe& List) {
    for (TListItem* row = DateiListe.NextSelected(); row; row = DateiListe.NextSelected(row))
        List.push_back(std::make_unique<TEineDatei>(*Record(row)));
}

void TSuchergebnisForm::RemoveMarkedFromBasket() {
    TDateiListe* korb = m_host ? m_host->PaneRecords(ftSammelkorb) : nullptr;
    if (!korb) return;
    std::vector<TSatzSchluessel> rows;
    for (TListItem* row = DateiListe.NextSelected(); row; row = DateiListe.NextSelected(row))
        rows.push_back(KorbSchluessel(*Record(row)));
    std::erase_if(*korb, [&](const std::unique_ptr<TEineDatei>& record) {
        for (const auto& key : rows)
            if (KorbTreffer(key, *record)) return true;
        return false;
    });
    ReadContents();
}

// ---- Opening

void TSuchergebnisForm::OpenSelected() {
    if (!m_host) return;
    std::vector<const TEineDatei*> marked;
    for (TListItem* row = DateiListe.NextSelected(); row; row = DateiListe.NextSelected(row))
        marked.push_back(Record(row));
    // Opening may let messages through that read the pane again: work on copies.
    std::vector<TEineDatei> copies;
    for (const TEineDatei* record : marked) copies.push_back(*record);
    if (copies.size() == 1 && !copies[0].InArchive) {
        std::uint8_t kind = 0;
        if (m_host->ShowArchiveOnDoubleClick() && m_host->ArchiveKind(copies[0].Name, kind)) {
            m_host->PaneDirChanged(this, copies[0].Name);
            return;
        }
    }
    for (const TEineDatei& record : copies) {
        if (record.InArchive)
            m_host->OpenArchivedFile(this, record.ArchivPfad, EntryName(record));
        else
            m_host->OpenFile(record.Name);
    }
}

void TSuchergebnisForm::DateiListeDblClick(gui::TObject*) {
    m_dragArmed = false;
    OpenSelected();
}

void TSuchergebnisForm::DateiListeKeyDown(gui::TObject* Sender, WORD& Key, gui::TShiftState Shift) {
    if (m_host) m_host->FormKeyDown(Sender, Key, Shift);
}

void TSuchergebnisForm::DateiListeKeyPress(gui::TObject*, wchar_t& Key) {
    if (Key == VK_RETURN && DateiListe.SelCount() > 0) OpenSelected();
}

void TSuchergebnisForm::DateiListeKeyUp(gui::TObject* Sender, WORD& Key, gui::TShiftState Shift) {
    if (m_host) ForwardListKeyUp(*m_host, Sender, Key, Shift);
}

void TSuchergebnisForm::DateiListeMouseDown(gui::TObject*, gui::TMouseButton Button, gui::TShiftState, int X,
                                            int Y) {
    m_rightDown = Button == gui::TMouseButton::mbRight;
    m_dragArmed = Button == gui::TMouseButton::mbLeft && DateiListe.GetItemAt(X, Y) != nullptr;
    if (m_host) m_host->PaneActivated(this);
}

// The marked rows are dragged from the first move after a left-button down.
void TSuchergebnisForm::DateiListeMouseMove(gui::TObject*, gui::TShiftState Shift, int, int) {
    if (!m_dragArmed || !(Shift & gui::ssLeft)) {
        m_dragArmed = false;
        return;
    }
    m_dragArmed = false;
    if (!m_host) return;
    // A focused archive entry drags its archive's marked entries, else the
    // marked plain files go: an entry's name inside its archive is no path.
    const TListItem* focused = DateiListe.ItemFocused();
    const TEineDatei* fokus = focused && focused->Selected() ? Record(focused) : nullptr;
    const bool archiv = fokus && fokus->InArchive;
    TStringList files;
    for (TListItem* row = DateiListe.NextSelected(); row; row = DateiListe.NextSelected(row)) {
        const TEineDatei& record = *Record(row);
        if (!archiv && !record.InArchive)
            files.Add(record.Name);
        else if (archiv && record.InArchive && SystemLower(record.ArchivPfad) == SystemLower(fokus->ArchivPfad))
            files.Add(EntryName(record));
    }
    if (files.Empty()) return;
    if (archiv)
        m_host->StartArchiveDrag(this, fokus->ArchivPfad, files);
    else
        m_host->StartDrag(this, files);
}

void TSuchergebnisForm::DateiListeMouseUp(gui::TObject*, gui::TMouseButton Button, gui::TShiftState, int X, int Y) {
    m_dragArmed = false;
    if (Button != gui::TMouseButton::mbRight || !m_rightDown) return;
    m_rightDown = false;
    if (TListItem* row = DateiListe.GetItemAt(X, Y)) {
        row->SetSelected(true);
        row->SetFocused(true);
    }
    POINT screen{X, Y};
    ::ClientToScreen(DateiListe.Handle(), &screen);
    if (m_host) m_host->ShowPanePopup(this, screen);
}

void TSuchergebnisForm::BeginUpdate() { DateiListe.BeginUpdate(); }
void TSuchergebnisForm::EndUpdate() { DateiListe.EndUpdate(); }
HWND TSuchergebnisForm::GetControlHandle() { return DateiListe.Handle(); }

}  // namespace velmora
