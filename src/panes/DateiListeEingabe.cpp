// The file list pane's handlers: row texts when a row is shown, the status line,
// double click, keys, mouse, activation and the folder monitor.

#include "DateiListe.h"

#include "filetools/DateiRoutinen.h"
#include "foundation/ArchiveExtension.h"
#include "foundation/IconRoutinen.h"
#include "foundation/ProgrammFlags.h"
#include "foundation/ShellRoutinen.h"
#include "panes/FileListCodes.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/PathNames.h"

namespace velmora {

using gui::TListItem;

namespace {

constexpr UINT kKleinesSymbol = SHGFI_SYSICONINDEX | SHGFI_SMALLICON;

bool IstOrdnerDatei(const TItemData& item, bool geladen) {
    return geladen ? (item.Attr & FILE_ATTRIBUTE_DIRECTORY) != 0 : (item.ShellAttr & kSfgaoOrdner) != 0;
}

}  // namespace

// ---- Row texts -------------------------------------------------------------------------

void TDateiListeForm::DateilisteDrawItem(gui::TObject*, TListItem* Item) {
    TItemData* data = Daten(Item);
    if (!data || data->TexteGebaut)
        return;
    Fehlercode = fc::DLDrawItem;
    const bool bericht = Dateiliste.ViewStyle() == gui::TViewStyle::vsReport;
    const bool icons = m_optionen.IconsAnzeigen && IconRoutinen;
    const bool typ = bericht && m_optionen.TypAnzeigen;
    // The shell item only for what asks the shell about the entry.
    auto abs = [&] {
        ShellItem(*data);
        return static_cast<LPCITEMIDLIST>(data->AbsPidl.get());
    };
    const bool ordner = (data->ShellAttr & kSfgaoOrdner) != 0;
    int icon = -1;
    std::wstring typName;
    if (!ordner && IsArchiveExtension(ExtractFileExt(data->Name)) && IconRoutinen) {
        icon = IconRoutinen->GetArchiveIconIndex();
        if (typ)
            IconRoutinen->GetFileTypeName(data->Name, typName);
    } else if (m_optionen.StandardIcons && !m_virtuell && IconRoutinen) {
        icon = ordner ? IconRoutinen->FolderIndex : IconRoutinen->GetIconIndex(data->Name);
        if (typ)
            DateiTypNameOhneZugriff(abs(), typName);
    } else if (icons && typ) {
        icon = DateiTypName(abs(), kKleinesSymbol, typName);
    } else if (icons) {
        icon = SysIconIndex(abs(), kKleinesSymbol);
    } else if (typ) {
        DateiTypNameOhneZugriff(abs(), typName);
    }

    if (bericht) {
        TStringList texte;
        if (typ)
            texte.Add(typName);
        if (Laden(*data)) {
            if (m_optionen.GroesseAnzeigen)
                texte.Add(data->Attr & FILE_ATTRIBUTE_DIRECTORY ? std::wstring() : GroesseInKB(data->Groesse));
            if (m_optionen.DatumAnzeigen)
                texte.Add(DatumZeitText(data->Datum));
            if (m_optionen.AttrAnzeigen)
                texte.Add(AttributString(static_cast<DWORD>(data->Attr)));
            if (m_optionen.DOSNameAnzeigen)
                texte.Add(SystemLower(data->DosName));
        }
        Item->SetSubItems(texte);
    }
    if (icons)
        Item->SetImageIndex(icon);
    data->TexteGebaut = true;
    Fehlercode = 0;
}

// ---- Status line -------------------------------------------------------------------------

std::int64_t TDateiListeForm::SumSelectedSizes() {
    Fehlercode = fc::DLSumSelectedSizes;
    // Both may load an entry meanwhile; the pause only keeps the reader off the disk.
    const bool pausieren = m_leser && !m_leser->Terminated();
    if (pausieren)
        m_leser->Suspend();
    const auto marked = MarkierteEintraege();
    DatenLadenFuer(marked);
    std::int64_t summe = 0;
    for (const TItemData* item : marked)
        if (item->DatenGeladen.load(std::memory_order_acquire))
            summe += item->Groesse;
    if (pausieren)
        m_leser->Resume();
    return summe;
}

void TDateiListeForm::UpdateStatusLine() {
    if (!m_optionen.Statuszeile)
        return;
    Fehlercode = fc::DLUpdateStatusLine;
    const int anzahl = Dateiliste.SelCount();
    const int breite = DLStatusZeile.Width();
    m_einzelLayout = anzahl == 1;
    std::wstring quickView;
    if (!m_einzelLayout) {
        const auto w = ZaehlPanels(breite);
        const bool mehrere = anzahl >= 2;
        DLStatusZeile.SetPanels({{mehrere ? MarkiertText(anzahl) : L"", w[0]}, {mehrere ? L"Zähle..." : L"", w[1]}});
        if (mehrere) {
            if (DLStatusZeile.HandleAllocated())
                UpdateWindow(DLStatusZeile.Handle());
            DLStatusZeile.SetPanelText(1, FormatByteSize(static_cast<float>(SumSelectedSizes())));
        }
    } else {
        TItemData& data = *Daten(Dateiliste.NextSelected());
        const bool geladen = Laden(data);
        const bool ordner = IstOrdnerDatei(data, geladen);
        const auto w = EinzelPanels(breite, m_optionen.GroesseAnzeigen, m_optionen.DatumAnzeigen,
                                    m_optionen.AttrAnzeigen);
        std::vector<gui::TStatusPanel> panels{{data.Name, w[0]}};
        auto add = [&](std::wstring text) { panels.push_back({std::move(text), w[panels.size()]}); };
        if (m_optionen.GroesseAnzeigen)
            add(ordner    ? OrdnerArt(m_virtuell, data.ShellAttr)
                : geladen ? KurzeGroesse(FormatByteSize(static_cast<float>(data.Groesse)))
                          : L"");
        if (m_optionen.DatumAnzeigen)
            add(geladen ? DatumZeitText(data.Datum) : L"");
        if (m_optionen.AttrAnzeigen)
            add(geladen ? AttributString(static_cast<DWORD>(data.Attr)) : L"");
        DLStatusZeile.SetPanels(panels);
        if (ordner) {
            quickView = m_pfad + data.Name + L"\\";
            if (m_virtuell || !DirectoryExists(quickView)) {
                wchar_t path[MAX_PATH];
                quickView = ShellItem(data) && SHGetPathFromIDListW(data.AbsPidl.get(), path)
                                ? IncludeTrailingBackslash(path)
                                : std::wstring();
            }
        }
    }
    if (m_host)
        m_host->StartQuickViewThread(quickView);
    Fehlercode = 0;
}

void TDateiListeForm::PanelBreitenSetzen() {
    if (!m_optionen.Statuszeile)
        return;
    const int breite = DLStatusZeile.Width();
    std::vector<int> w;
    if (m_einzelLayout)
        w = EinzelPanels(breite, m_optionen.GroesseAnzeigen, m_optionen.DatumAnzeigen, m_optionen.AttrAnzeigen);
    else {
        const auto zwei = ZaehlPanels(breite);
        w.assign(zwei.begin(), zwei.end());
    }
    for (int i = 0; i < DLStatusZeile.PanelCount() && i < static_cast<int>(w.size()); ++i)
        DLStatusZeile.SetPanelWidth(i, w[static_cast<size_t>(i)]);
}

void TDateiListeForm::FormResize(gui::TObject*) {
    Fehlercode = fc::DLFormResize;
    PanelBreitenSetzen();
    Fehlercode = 0;
}

void TDateiListeForm::FormActivate(gui::TObject*) {
    if (!m_host || m_host->LaufwerkWirdGewechselt())
        return;
    Fehlercode = fc::DLFormActivate;
    m_host->PaneActivated(this);
    if (Dateiliste.SelCount() == 0 && Dateiliste.Count() > 0)
        Fokussieren(Dateiliste.Items(0));
    UpdateStatusLine();
    Fehlercode = 0;
}

// ---- Opening -------------------------------------------------------------------------------

void TDateiListeForm::Oeffnen(TItemData& Item, bool Einzeln) {
    const std::wstring path = VollerPfad(Item);
    if (path.empty())
        m_host->OpenFileEx(Item.AbsPidl.get());
    else if (Einzeln && IsArchiveExtension(ExtractFileExt(path)) && m_host->ShowArchiveOnDoubleClick())
        m_host->PaneDirChanged(this, path);
    else
        m_host->OpenFile(path);
}

void TDateiListeForm::OpenSelected() {
    if (!m_host)
        return;
    Fehlercode = fc::DLDblClick;
    const auto marked = MarkierteEintraege();
    if (marked.size() == 1) {
        TItemData& item = *marked.front();
        if (IstElternzeile(item)) {
            m_host->GoToParentDir(this);
        } else if (!(item.ShellAttr & kSfgaoOrdner)) {
            Oeffnen(item, true);
        } else {
            const std::wstring path = VollerPfad(item);
            if (!path.empty())
                m_host->ShowDirectory(this, path);
            else
                m_host->SyncPanes(this, item.AbsPidl.get());
        }
    } else {
        for (TItemData* item : marked)
            if (!IstElternzeile(*item) && !(item->ShellAttr & kSfgaoOrdner))
                Oeffnen(*item, false);
    }
    Fehlercode = 0;
}

void TDateiListeForm::DateiListeDblClick(gui::TObject*) { OpenSelected(); }

void TDateiListeForm::DateiListeChange(gui::TObject*, TListItem*) { m_auswahlGeaendert = true; }

void TDateiListeForm::DateiListeColumnClick(gui::TObject*, int Column) {
    Fehlercode = fc::DLColumnClick;
    if (Column >= 0 && Column < Dateiliste.ColumnCount())
        if (const auto request = SpaltenKlickAnfrage(Dateiliste.Column(Column).Caption))
            SetSortOrder(*request);
    Fehlercode = 0;
}

// ---- Keys ------------------------------------------------------------------------------------

void TDateiListeForm::DateiListeKeyDown(gui::TObject* Sender, WORD& Key, gui::TShiftState Shift) {
    Fehlercode = fc::DLKeyDown;
    if (m_host)
        m_host->FormKeyDown(Sender, Key, Shift);
    Fehlercode = 0;
}

void TDateiListeForm::DateiListeKeyPress(gui::TObject*, wchar_t& Key) {
    Fehlercode = fc::DLKeyPress;
    if (Key == VK_BACK && m_host)
        m_host->GoToParentDir(this);
    else if (Key == VK_RETURN)
        OpenSelected();
    Fehlercode = 0;
}

void TDateiListeForm::DateiListeKeyUp(gui::TObject* Sender, WORD& Key, gui::TShiftState Shift) {
    Fehlercode = fc::DLKeyUp;
    if (m_auswahlGeaendert) {
        m_auswahlGeaendert = false;
        UpdateStatusLine();
    }
    if (m_host)
        ForwardListKeyUp(*m_host, Sender, Key, Shift);
    Fehlercode = 0;
}

// ---- Mouse -------------------------------------------------------------------------------------

void TDateiListeForm::DateiListeMouseDown(gui::TObject*, gui::TMouseButton Button, gui::TShiftState Shift, int,
                                          int) {
    Fehlercode = fc::DLMouseDown;
    m_doppelklick = (Shift & gui::ssDouble) != 0;
    if (!m_doppelklick) {
        m_linksGedrueckt = Button == gui::TMouseButton::mbLeft;
        m_rechtsGedrueckt = Button == gui::TMouseButton::mbRight;
        m_shiftBeimDruck = Shift;
        m_dragMoeglich = m_linksGedrueckt;
    }
    Fehlercode = 0;
}

void TDateiListeForm::DragStarten() {
    TStringList files;
    for (const TItemData* item : MarkierteEintraege()) {
        // Files and plain folders, not drives; in a virtual folder the paths of the ID lists.
        if (IstElternzeile(*item) || !(item->ShellAttr & kSfgaoDateisystem) ||
            ((item->ShellAttr & kSfgaoOrdner) && !SchlichterOrdner(*item)))
            continue;
        const std::wstring path = VollerPfad(*item);
        if (!path.empty())
            files.Add(path);
    }
    if (!files.Empty())
        m_host->StartDrag(this, files);
}

void TDateiListeForm::DateiListeMouseMove(gui::TObject*, gui::TShiftState Shift, int, int) {
    if (!m_dragMoeglich || !(Shift & gui::ssLeft) || !m_host)
        return;
    Fehlercode = fc::DLMouseMove;
    m_dragMoeglich = false;
    DragStarten();
    Fehlercode = 0;
}

void TDateiListeForm::RechtsklickMenue(gui::TShiftState Shift, int X, int Y) {
    POINT screen{X, Y};
    ::ClientToScreen(Dateiliste.Handle(), &screen);
    if (Shift & gui::ssCtrl) {
        for (TListItem* row = Dateiliste.NextSelected(); row; row = Dateiliste.NextSelected(row))
            row->SetSelected(false);
        TListItem* row = Dateiliste.GetItemAt(X, Y);
        if (!row)
            return;
        Fokussieren(row);
        TItemData* data = Daten(row);
        if (ShellItem(*data) && m_ordner)
            PidlKontextmenue(m_host->OwnerWindow(), m_ordner.Get(), data->RelPidl.get(), screen);
    } else if (Shift & gui::ssShift) {
        m_host->ShowRecentFilesPopup(screen);
    } else if (m_ordner) {
        m_host->ShowPanePopup(this, screen);
    }
}

void TDateiListeForm::DateiListeMouseUp(gui::TObject*, gui::TMouseButton Button, gui::TShiftState, int X, int Y) {
    Fehlercode = fc::DLMouseUp;
    m_dragMoeglich = false;
    if (m_rechtsGedrueckt && Button == gui::TMouseButton::mbRight && m_host) {
        m_rechtsGedrueckt = false;
        RechtsklickMenue(m_shiftBeimDruck, X, Y);
    }
    if (m_auswahlGeaendert) {
        m_auswahlGeaendert = false;
        UpdateStatusLine();
    }
    Fehlercode = 0;
}

// ---- Folder monitor ------------------------------------------------------------------------------

void TDateiListeForm::DiscMonitorChange(gui::TObject*) {
    if (DateiOperationLaeuft || m_endet)
        return;
    if (m_leserWarten) {
        m_meldungOffen = true;
        return;
    }
    Fehlercode = fc::DLDiscMonitorChange;
    if (!m_virtuell && !DirectoryExists(m_pfad)) {
        const std::wstring aktuell = DateiRoutinen ? DateiRoutinen->GetCurrentPath() : std::wstring();
        const std::wstring anderer = DateiRoutinen ? DateiRoutinen->GetOtherDrivePath() : std::wstring();
        SetDirectory(ErsatzOrdner(m_pfad, aktuell, anderer, [](const std::wstring& p) { return DirectoryExists(p); }));
    } else {
        ReadContents();
    }
    Fehlercode = 0;
}

// The monitor cannot watch the folder: when it has vanished (and a re-armed
// notification found it gone before any change was told), the pane moves on as
// after a change.
void TDateiListeForm::DiscMonitorInvalid(gui::TObject* Sender) {
    if (!m_virtuell && !m_pfad.empty() && !DirectoryExists(m_pfad))
        DiscMonitorChange(Sender);
}

// ---- Drops ---------------------------------------------------------------------------

TDropZiel TDateiListeForm::DropZiel(POINT Client, DWORD KeyState) {
    TDropZiel ziel;
    const bool ausArchiv = m_host && m_host->DragFromArchive();
    ziel.Effect = KeyEffect(KeyState, ausArchiv);
    gui::TListItem* row = Dateiliste.GetItemAt(Client.x, Client.y);
    const TItemData* item = Daten(row);
    if (item && !IstElternzeile(*item) && !VollerPfad(*item).empty()) {
        const std::wstring path = VollerPfad(*item);
        if (SchlichterOrdner(*item)) {
            SetDropRow(Dateiliste, row);
            ziel.Target = IncludeTrailingBackslash(path);
        } else if (!(item->ShellAttr & kSfgaoOrdner) && IsArchiveExtension(ExtractFileExt(path)) && !ausArchiv) {
            // A file goes into the archive of the row, never an archive's entries.
            SetDropRow(Dateiliste, row);
            ziel.Target = path;
        } else {
            ziel.Effect = DROPEFFECT_NONE;
        }
        return ziel;
    }
    SetDropRow(Dateiliste, nullptr);
    if (m_zeigtPapierkorb)
        ziel.Recycle = true;
    else if (m_zeigtDesktop)
        ziel.Target = IncludeTrailingBackslash(DesktopFolder());
    else if (!m_virtuell && !m_pfad.empty())
        ziel.Target = IncludeTrailingBackslash(m_pfad);
    // A folder without a path takes nothing; neither does the folder the files come from.
    if ((!ziel.Recycle && ziel.Target.empty()) ||
        (!ziel.Target.empty() && m_host && SameFolder(ziel.Target, m_host->DragFolder())))
        ziel.Effect = DROPEFFECT_NONE;
    return ziel;
}

}  // namespace velmora
