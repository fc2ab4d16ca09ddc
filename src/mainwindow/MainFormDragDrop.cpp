// Drag and drop of the main window: the drags the panes start, the drops on the
// panes and on the basket icon, and entries dragged out of an archive.

#include <windows.h>

#include <unordered_set>

#include "FlagScope.h"
#include "MainForm.h"
#include "filetools/DateiAktionFortschrittDlg.h"
#include "filetools/DateiKopierenDlg.h"
#include "filetools/DatumGroesseTest.h"
#include "foundation/ProgrammFlags.h"
#include "platform/gui/Dialogs.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/PathNames.h"

namespace velmora {

using namespace gui;

namespace {

bool ArchivePane(TDMChildForm* Pane) { return Pane && ZeigtArchiv(Pane->GetPaneKind()); }

// The basket's duplicate rule: the lower-cased name, the in-archive flag and,
// for an entry, the lower-cased archive.
std::wstring BasketKey(const TEineDatei& Record) {
    return SystemLower(Record.Name) + (Record.InArchive ? L"|1|" + SystemLower(Record.ArchivPfad) : L"|0|");
}

// A dropped folder goes to an archive as all it holds.
std::wstring AsArchiveSource(const std::wstring& Name) {
    if (!Name.empty() && Name.back() == L'\\') return Name + L"*.*";
    return DirectoryExists(Name) ? Name + L"\\*.*" : Name;
}

int FormatIndexOf(std::uint8_t Kind) {
    switch (Kind) {
        case ftZip: return 0;
        case ftArj: return 1;
        case ftRar: return 2;
        case ftLzh: return 3;
        case ftArc: return 4;
        case ftZoo: return 5;
        default: return -1;
    }
}

}  // namespace

// ---- Drags the panes start

void THauptform::StartDrag(TDMChildForm* Pane, const TStringList& Files) {
    if (Files.Empty()) return;
    Drag = TDragZustand{};
    Drag.SourcePane = Pane;
    Drag.Folder = ExtractFilePath(ExcludeTrailingBackslash(Files[0]));
    RunDrag(Pane, Files);
}

void THauptform::StartArchiveDrag(TDMChildForm* Pane, const std::wstring& Archive, const TStringList& Entries) {
    if (Entries.Empty()) return;
    if (ArchiveBusy()) {
        MessageBeep(MB_OK);
        return;
    }
    Drag = TDragZustand{};
    Drag.SourcePane = Pane;
    Drag.FromArchive = true;
    Drag.Folder = Archive;
    RunDrag(Pane, Entries);
}

void THauptform::RunDrag(TDMChildForm*, const TStringList& Names) {
    // However the loop ends, the state goes back to "no drag of ours".
    struct TReset {
        THauptform& Form;
        ~TReset() {
            Form.Drag = TDragZustand{};
            Form.m_outsideDrop = false;
        }
    } reset{*this};
    Drag.Internal = false;
    Drag.LeftWindow = false;
    m_outsideDrop = false;
    m_outsideEntries.Clear();
    m_outsideDelivered.Clear();
    const std::wstring archive = Drag.FromArchive ? Drag.Folder : std::wstring();
    TDropSource source(nullptr);
    source.DragValues = &Names;
    source.AllowCopy = source.AllowMove = true;
    source.AllowLink = !Drag.FromArchive;
    source.OnDrop = bind(this, &THauptform::DropSourceDrop);
    const std::uint8_t result = RunDragLoop(source);
    // Another program moved the extracted copies away: only now do the entries
    // leave the archive (a copy, or a move the target did itself and reported
    // as none, keeps them).
    if (m_outsideDrop && result == 3 && ZipRoutinen && Settings &&
        ZipRoutinen->DeleteAfterOutsideMove(archive, Settings->ArcDragDrop.VerschiebenBestaetigen, m_outsideEntries,
                                            m_outsideDelivered))
        RereadArchivePanes(archive);
}

void THauptform::DropSourceDrop(TObject*, TStringList& Names, DWORD Effect) {
    if (Effect == DROPEFFECT_NONE || !Drag.FromArchive || !Drag.LeftWindow || !ZipRoutinen || !Settings) return;
    if (ArchiveBusy()) {
        MessageBeep(MB_OK);
        Names.Clear();
        return;
    }
    const std::wstring archive = Drag.Folder;
    {
        TFlagScope running(m_archiveCommand);
        ZipRoutinen->DropFromArchive(archive, 1, Settings->ArcDragDrop.DropPfadangaben, false, Names, ExtractFolder(),
                                     &m_outsideEntries);
    }
    if (ExtractedFiles)
        for (const std::wstring& name : Names) ExtractedFiles->Add(name);
    m_outsideDelivered = Names;
    m_outsideDrop = !Names.Empty();
    Drag.FromArchive = false;
}

void THauptform::DragDone(DWORD Effect, const std::wstring& Target, TStringList& Names) {
    if (!ZipRoutinen || !Settings) return;
    const std::wstring archive = Drag.Folder;
    const bool move = Effect == DROPEFFECT_MOVE;
    {
        TFlagScope running(m_archiveCommand);
        ZipRoutinen->DropFromArchive(archive, move ? 2 : 1, Settings->ArcDragDrop.DropPfadangaben,
                                     Settings->ArcDragDrop.VerschiebenBestaetigen, Names, Target);
    }
    if (move) RereadArchivePanes(archive);
}

// ---- Drops on the panes

void THauptform::PaneDragDrop(bool Recycle, TStringList& Names, const std::wstring& Target, DWORD Effect) {
    struct TEnde {
        THauptform& Form;
        ~TEnde() {
            Form.Drag.LeftWindow = Form.Drag.Internal = true;
            DropWirdVerarbeitet = false;
        }
    } ende{*this};
    DropWirdVerarbeitet = true;
    if (Recycle) {
        RecycleDrop(Names);
        return;
    }
    if (!DirectoryExists(ExcludeTrailingBackslash(Target)) || Target.size() < 2) {
        DropOnArchive(Names, ExcludeTrailingBackslash(Target), Effect);
        return;
    }
    if (Drag.FromArchive && !Drag.Internal) {
        if (ArchiveBusy())
            MessageBeep(MB_OK);
        else if (Drag.LeftWindow)
            MessageDlg(L"Fehler bei DragDrop-Action", TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
        else
            DragDone(Effect, Target, Names);
        Drag.FromArchive = false;
        return;
    }
    if (!DateiRoutinen || !Settings) return;
    TDateiListe list;
    for (const std::wstring& name : Names) {
        auto record = std::make_unique<TEineDatei>();
        record->Name = SystemLower(name);
        list.push_back(std::move(record));
    }
    std::wstring source;
    TDateiRoutinen::CommonPathOfStrings(Names, source);
    const int vorgang = Effect == DROPEFFECT_MOVE ? 1 : Effect == DROPEFFECT_LINK ? 2 : 0;
    const bool fragen = vorgang == 0   ? Settings->DragDrop.KopierDlgZeigen
                        : vorgang == 1 ? Settings->DragDrop.VerschiebDlgZeigen
                                       : Settings->DragDrop.LinkDlgZeigen;
    std::wstring target = Target;
    if (fragen) {
        RefreshDialogKontext();
        if (!m_kopierenDlg) m_kopierenDlg = Create<TDateiKopierenDlg>(this, DialogKontext);
        TDateiKopierenDlg& dlg = *m_kopierenDlg;
        static const TKopierVorgang vorgaenge[] = {TKopierVorgang::Kopieren, TKopierVorgang::Verschieben,
                                                   TKopierVorgang::Verknuepfen};
        dlg.SetVorgang(vorgaenge[vorgang]);
        dlg.SetDateiliste(&list);
        dlg.SetAktuellesVerzeichnis(source);
        dlg.Zielverzeichnis.SetText(SystemLower(Target));
        dlg.SetActiveControl(&dlg.Zielverzeichnis);
        const bool ok = dlg.ShowModal() == mrOk;
        dlg.SetDateiliste(nullptr);
        if (!ok || list.empty()) return;
        target = dlg.Zielverzeichnis.Text();
    }
    const bool noConfirmation = !Settings->Best.NichtAlleUeberschreiben;
    if (vorgang == 0) {
        DateiRoutinen->CopyFiles(source, target, noConfirmation, list);
    } else if (vorgang == 1) {
        DateiRoutinen->MoveFiles(source, target, noConfirmation, list);
        ReadListPanes();
    } else {
        if (!m_linkJob) {
            m_linkJob = Create<TDateiAktionFortschrittDlg>(this, *DateiRoutinen);
            DateiRoutinen->SetLinkErsteller(m_linkJob);
        }
        DateiRoutinen->CreateLinks(source, target, list);
    }
}

void THauptform::RecycleDrop(const TStringList& Names) {
    if (!Settings) return;
    TDateiListe list;
    TDMChildForm* source = Drag.Internal ? nullptr : Drag.SourcePane;
    if (ArchivePane(source)) {
        if (MessageDlg(L"Dateien aus Archiven können nicht in den Papierkorb verschoben werden!\r"
                       L"Wollen Sie sie statt dessen löschen?",
                       TMsgDlgType::mtConfirmation, {TMsgDlgBtn::mbYes, TMsgDlgBtn::mbNo}) != mrYes)
            return;
        if (ArchiveBusy()) {
            MessageBeep(MB_OK);
            return;
        }
        source->GetSelection(list);
        TStringList entries;
        for (const auto& record : list) entries.Add(record->Name);
        {
            TFlagScope running(m_archiveCommand);
            if (ZipRoutinen && !entries.Empty()) ZipRoutinen->DeleteFromArchive(source->GetArchiveFile(), entries);
        }
        RereadArchivePanes(source->GetArchiveFile());
        return;
    }
    // A drop from outside acts on its own names, never on a pane's marking.
    if (source) {
        source->GetSelection(list);
    } else {
        for (const std::wstring& name : Names) {
            auto record = std::make_unique<TEineDatei>();
            record->Name = SystemLower(name);
            list.push_back(std::move(record));
        }
    }
    std::uint8_t& group = Settings->Sonst.LoeschGroup;
    bool& auswahl = Settings->Best.AuswahlDlgVorLoeschen;
    struct TZurueck {
        std::uint8_t& Group;
        bool& Auswahl;
        std::uint8_t G;
        bool A;
        ~TZurueck() {
            Group = G;
            Auswahl = A;
        }
    } zurueck{group, auswahl, group, auswahl};
    group = 0;
    auswahl = false;
    if (!list.empty()) DeleteFromArchives(list);
}

void THauptform::DropOnArchive(TStringList& Names, const std::wstring& Archive, DWORD Effect) {
    // Entry names of a dragged archive are no files: they never go into another archive.
    if (Drag.FromArchive && !Drag.Internal) return;
    if (!ZipRoutinen || !Settings) return;
    if (ArchiveBusy()) {
        MessageBeep(MB_OK);
        return;
    }
    std::uint8_t kind = 0;
    ZipRoutinen->GetArchiveType(Archive, kind);
    const int formatIndex = FormatIndexOf(kind);
    if (formatIndex < 0) {
        MessageDlg(L"Auf Archive diesen Typs können leider keine Dateien gezogen werden.",
                   TMsgDlgType::mtInformation, {TMsgDlgBtn::mbOK});
        return;
    }
    const bool move = Effect == DROPEFFECT_MOVE;
    if (Settings->DragDrop.ArcDlgZeigen) {
        TDateiListe list;
        for (const std::wstring& name : Names) {
            auto record = std::make_unique<TEineDatei>();
            record->Name = AsArchiveSource(name);
            list.push_back(std::move(record));
        }
        archive::TAddArcDlg& dlg = *AddArcDialog();
        dlg.FormatAnwenden(formatIndex);
        dlg.SetDateiliste(&list);
        dlg.Passwort.SetText(L"");
        dlg.ArchivName.SetText(SystemLower(Archive));
        dlg.QuelldateienLoeschen.SetChecked(move);
        dlg.SetActiveControl(&dlg.ArchivName);
        TStringList names;
        std::uint8_t format = ftZip;
        int level = 8, mode = 0;
        const bool ok = dlg.ShowModal() == mrOk && PrepareArchiveTarget(names, format, level, mode);
        if (ok) AddAsTheDialogSays(names, format, level, mode);
        dlg.SetDateiliste(nullptr);
        dlg.Passwort.SetText(L"");
        return;
    }
    const TArcDragDropEinstellungen& s = Settings->ArcDragDrop;
    const bool longNames = !s.DosDateiNamenBenutzen && kind == ftZip && ZipRoutinen->Packer.UseInternZip;
    TStringList names;
    for (const std::wstring& name : Names) {
        std::wstring source = AsArchiveSource(name);
        const bool mask = source.ends_with(L"\\*.*");
        const std::wstring real = mask ? source.substr(0, source.size() - 4) : source;
        // The packer stores a name as it is given: a dropped short name goes in
        // under its long one unless short names are asked for.
        const std::wstring form = longNames ? LongPathName(real) : ShortPathName(real);
        if (!form.empty()) source = mask ? form + L"\\*.*" : form;
        names.Add(source);
    }
    static const int levels[] = {9, 8, 6, 3, 1, 0};
    const int level = levels[s.Methode < 6 ? s.Methode : 1];
    const int mode = s.NurWennAktueller ? 2 : s.NurWennAktuellerUndVorhanden ? 1 : 0;
    {
        TFlagScope running(m_archiveCommand);
        ZipRoutinen->AddToArchive(Archive, names, kind, L"", false, false, level, s.Unterverzeichnisse,
                                  s.PfadeSpeichern, move, mode);
    }
    RereadArchivePanes(Archive);
}

// ---- The basket

void THauptform::AddToBasket(const TDateiListe& Records) {
    if (!Basket) return;
    std::unordered_set<std::wstring> held;
    held.reserve(Basket->size() + Records.size());
    for (const auto& record : *Basket) held.insert(BasketKey(*record));
    for (const auto& record : Records) {
        if (!record || !held.insert(BasketKey(*record)).second) continue;
        auto copy = std::make_unique<TEineDatei>(*record);
        copy->Name = SystemLower(copy->Name);
        Basket->push_back(std::move(copy));
    }
    for (TDMChildForm* pane : {LeftPane, RightPane})
        if (pane && pane->GetPaneKind() == ftSammelkorb) pane->ReadContents();
    UpdateBasketIcon();
}

void THauptform::DropOnBasket(const TStringList& Names) {
    TDateiListe records;
    if (!Drag.Internal && Drag.SourcePane) {
        Drag.SourcePane->GetSelection(records);
    } else {
        // From outside the program: its existing files, folders left out.
        for (const std::wstring& name : Names) {
            WIN32_FIND_DATAW found;
            HANDLE search = FindFirstFileW(name.c_str(), &found);
            if (search == INVALID_HANDLE_VALUE) continue;
            FindClose(search);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
            auto record = std::make_unique<TEineDatei>();
            record->Name = SystemLower(name);
            record->Size = (static_cast<std::int64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
            record->Time = LokaleDateiZeit(found.ftLastWriteTime);
            record->Attr = static_cast<std::int32_t>(found.dwFileAttributes);
            records.push_back(std::move(record));
        }
    }
    AddToBasket(records);
}

void THauptform::SetBasketDropState(bool On) {
    const TBevelCut cut = On ? TBevelCut::bvRaised : TBevelCut::bvLowered;
    if (Sammelbutton.BevelOuter() == cut) return;
    Sammelbutton.SetBevelOuter(cut);
    // Drawn at once: a drag loop paints nothing while the mouse moves.
    Sammelbutton.Update();
}

void THauptform::CreateDropTargets() {
    if (SammelDropTarget) return;
    SammelDropTarget = Create<THEOleDropTarget>(this);
    // Inside the icon: the windowless image's rectangle on the screen.
    auto inside = [this](POINT pt) {
        RECT r{SammelImage.Left(), SammelImage.Top(), SammelImage.Left() + SammelImage.Width(),
               SammelImage.Top() + SammelImage.Height()};
        MapWindowPoints(Sammelbutton.Handle(), nullptr, reinterpret_cast<POINT*>(&r), 2);
        return PtInRect(&r, pt) != FALSE;
    };
    SammelDropTarget->OnOleDragEnter = [this, inside](TObject*, IDataObject* Data, DWORD, POINT Pt, DWORD& Effect) {
        m_basketAccepts = OffersDropFiles(Data);
        Drag.LeftWindow = false;
        const bool on = m_basketAccepts && inside(Pt);
        SetBasketDropState(on);
        Effect = on ? (Effect & DROPEFFECT_COPY) : DROPEFFECT_NONE;
    };
    SammelDropTarget->OnOleDragOver = [this, inside](TObject*, DWORD, POINT Pt, DWORD& Effect) {
        const bool on = m_basketAccepts && inside(Pt);
        SetBasketDropState(on);
        Effect = on ? (Effect & DROPEFFECT_COPY) : DROPEFFECT_NONE;
    };
    SammelDropTarget->OnOleDragLeave = [this](TObject*) {
        Drag.LeftWindow = true;
        SetBasketDropState(false);
    };
    SammelDropTarget->OnOleDrop = [this, inside](TObject*, IDataObject* Data, DWORD, POINT Pt, DWORD& Effect) {
        SetBasketDropState(false);
        if (!m_basketAccepts || !inside(Pt) || !(Effect & DROPEFFECT_COPY)) {
            Effect = DROPEFFECT_NONE;
            return;
        }
        Effect = DROPEFFECT_COPY;
        DropOnBasket(ReadDroppedNames(Data));
    };
    SammelDropTarget->SetTargetWinControl(&Sammelbutton);
}

void THauptform::MarkierteDateieninSammelkorblegen1Click(TObject*) {
    TDMChildForm* pane = ActivePane();
    if (!pane || pane->GetPaneKind() == ftSammelkorb) return;
    TDateiListe records;
    pane->GetSelection(records);
    AddToBasket(records);
}

}  // namespace velmora
