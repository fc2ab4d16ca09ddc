#include "ExtractArcDlg.h"

#include <windows.h>
#include <commctrl.h>

#include "ArchiveCodes.h"
#include "ZipRoutinen.h"
#include "filetools/DateiRoutinen.h"
#include "foundation/DMChild_Typen.h"
#include "filetools/QuellBox.h"
#include "foundation/IconRoutinen.h"
#include "platform/gui/Application.h"
#include "platform/gui/Layout.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/PathNames.h"
#include "platform/rtl/Strings.h"

namespace velmora::archive {

using namespace gui;

namespace {

const wchar_t* const kAusgewaehlteArchive = L"Ausgewählte Archive...";

bool HatMuster(const std::wstring& name) { return name.find_first_of(L"*?") != std::wstring::npos; }

}  // namespace

// ---- The contents dialog ------------------------------------------------------

TArchivInhaltDlg::TArchivInhaltDlg(TComponent* Owner, const TDateiDialogKontext& Kontext)
    : TPositionsDialog(Owner, L""), Dateiliste(this), StatusLabel(this), OKBtn(this), CancelBtn(this),
      m_kontext(Kontext), m_icons(this) {
    SetCaption(L"Archivinhalt anzeigen");
    BorderStyle = TBorderStyle::bsSizeable;
    TDialogLayout lay(*this);
    Dateiliste.SetViewStyle(TViewStyle::vsReport);
    Dateiliste.MultiSelect = true;
    Dateiliste.AddColumn({L"Name", 150});
    Dateiliste.AddColumn({L"Pfad", 275});
    lay.Place(Dateiliste, 6, 6, 288, 140);
    lay.Place(StatusLabel, 6, 152, 140, 9);
    SetUpButtons(OKBtn, CancelBtn);
    lay.Row(188, 150, 14, {{&OKBtn, 50}, {&CancelBtn, 50}});
    lay.SetClientSize(*this, 300, 170);
    OnShow = bind(this, &TArchivInhaltDlg::FormShow);
    Dateiliste.OnChange = bind(this, &TArchivInhaltDlg::DateiListeChange);
    Dateiliste.OnDblClick = bind(this, &TArchivInhaltDlg::DateiListeDblClick);
}

void TArchivInhaltDlg::FormShow(TObject*) {
    SetCaption(L"Inhalt von [" + SystemLower(ExtractFileName(m_archiv)) + L"]");
    // Closing from here is posted: the dialog goes once it has shown.
    if (!ArchivLaden()) Close();
}

int TArchivInhaltDlg::IconIndex(const std::wstring& Name) {
    const std::wstring ext = SystemLower(ExtractFileExt(Name));
    auto known = m_iconCache.find(ext);
    if (known != m_iconCache.end()) return known->second;
    const int index = IconRoutinen->GetIconIndex(Name);
    m_iconCache.emplace(ext, index);
    return index;
}

bool TArchivInhaltDlg::ArchivLaden() {
    Fehlercode = fc::ArchivInhaltLaden;
    THourGlass hourglass;
    Dateiliste.Clear();
    std::uint8_t kind = 0;
    TZipRoutinen* routinen = m_kontext.ZipRoutinen;
    if (!routinen || !routinen->GetArchiveType(m_archiv, kind)) {
        MessageDlg(L"Die Datei\r" + SystemLower(m_archiv) + L"\rist kein Archiv.\rBitte überprüfen Sie Ihre Angaben.",
                   TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
        Fehlercode = 0;
        return false;
    }
    std::wstring name = m_archiv;
    TArchivDaten daten;
    TDateiListe entries;
    routinen->OpenArchive(kind, name, daten, entries);
    ZeilenFuellen(entries);
    DateiListeChange(this, nullptr);
    Fehlercode = 0;
    return true;
}

void TArchivInhaltDlg::ZeilenFuellen(const TDateiListe& Entries) {
    const bool icons = IconRoutinen && m_kontext.GetShowIcons && m_kontext.GetShowIcons();
    if (icons && !Dateiliste.SmallImages) {
        m_icons.SetHandle(IconRoutinen->SmallImages, true);
        Dateiliste.SmallImages = &m_icons;
        // The view is made before the dialog shows: it learns of the list now.
        if (Dateiliste.HandleAllocated())
            SendMessageW(Dateiliste.Handle(), LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(m_icons.Handle()));
    }
    Dateiliste.BeginUpdate();
    Dateiliste.Clear();
    Dateiliste.Reserve(static_cast<int>(Entries.size()));
    for (const auto& entry : Entries) {
        const std::wstring path = SystemLower(entry->Name);
        const size_t start = path.starts_with(L"\\") ? 1 : 0;
        const size_t slash = path.rfind(L'\\');
        const size_t cut = slash == std::wstring::npos || slash < start ? start : slash + 1;
        TListItem* item = Dateiliste.AddItem(path.substr(cut));
        item->AddSubItem(path.substr(start, cut - start));
        if (icons) item->SetImageIndex(IconIndex(item->Caption()));
    }
    Dateiliste.EndUpdate();
}

void TArchivInhaltDlg::DateiListeChange(TObject*, TListItem*) {
    StatusLabel.SetCaption(L" " + std::to_wstring(Dateiliste.SelCount()) + L" Datei(en) ausgewählt.");
}

void TArchivInhaltDlg::DateiListeDblClick(TObject*) { SetModalResult(mrOk); }

void TArchivInhaltDlg::AuswahlHolen(TStringList& Liste) const {
    for (TListItem* item = Dateiliste.NextSelected(); item; item = Dateiliste.NextSelected(item)) {
        const std::wstring folder = item->SubItems().Count() > 0 ? item->SubItems()[0] : L"";
        const std::wstring name = SystemLower(item->Caption());
        if (folder.empty())
            Liste.Add(name);
        else
            Liste.Add(SystemLower(folder) + (EndsWith(folder, L"\\") ? L"" : L"\\") + name);
    }
}

// ---- The extract dialog -------------------------------------------------------

TExtractArcDlg::TExtractArcDlg(TComponent* Owner, const TDateiDialogKontext& Kontext)
    : TArcDialogBasis(Owner, Kontext, L"ExArcDlg", L"Pfadangaben", 18), ZielLabel(this), Dateien(this),
      Zielverzeichnis(this), SammelkorbBtn(this), DateiSuchenBtn2(this), BitBtn1(this), OrdnerSuchenBtn(this),
      CheckBox1(this), CheckBox2(this), CheckBox3(this), CheckBox4(this), CheckBox5(this), RadioGroup1(this),
      m_eintraege(Dateien, BitBtn1, [](size_t n) { return AktuelleAuswahl(n); }) {
    SetCaption(L"Dateien aus einem Archiv extrahieren");
    TDialogLayout lay(*this);
    lay.Place(Seiten, 4, 4, 252, 176);

    KopfAnlegen(SammelkorbBtn, Dateien);
    for (TControl* c : std::initializer_list<TControl*>{&DateiSuchenBtn2, &BitBtn1, &ZielLabel, &Zielverzeichnis,
                                                        &OrdnerSuchenBtn, &CheckBox1, &CheckBox2, &CheckBox3,
                                                        &CheckBox4, &CheckBox5})
        c->SetParent(&Allgemein);
    DateiSuchenBtn2.SetCaption(L"Aus&wählen...");
    BitBtn1.SetCaption(L"&Liste...");
    lay.Row(48, 55, 14, {{&DateiSuchenBtn2, 66}, {&BitBtn1, 66}});
    ZielLabel.SetCaption(L"&Nach:");
    ZielLabel.SetFocusControl(&Zielverzeichnis);
    lay.Place(ZielLabel, 6, 78, 40, 9);
    lay.Place(Zielverzeichnis, 48, 76, 136, 12);
    OrdnerSuchenBtn.SetCaption(L"&Ordner...");
    lay.Place(OrdnerSuchenBtn, 188, 75, 50, 14);
    CheckBox1.SetCaption(L"Bereits bestehende Dateien &immer überschreiben");
    CheckBox2.SetCaption(L"Extrahierte Dateien aus Archiv &löschen");
    CheckBox3.SetCaption(L"Bereits bestehende Dateien &niemals überschreiben");
    CheckBox4.SetCaption(L"Nur neuere Dateien &extrahieren");
    CheckBox5.SetCaption(L"Nur neuere Dateien, und nur, wenn schon &vorhanden");
    lay.Column(6, 94, 236, {{&CheckBox1, 10}, {&CheckBox2, 10}, {&CheckBox3, 10}, {&CheckBox4, 10}, {&CheckBox5, 10}},
               3);

    RadioGroup1.SetParent(&Seite2);
    RadioGroup1.SetCaption(L"Pfadangaben");
    RadioGroup1.SetItems(TStringList{L"&Gespeicherte Pfade ignorieren", L"&Relative Pfade verwenden",
                                     L"&Vollständige Pfade verwenden"});
    lay.Place(RadioGroup1, 6, 6, 236, 60);

    lay.Row(104, 184, 14, {{&OKBtn, 48}, {&CancelBtn, 48}, {&Button2, 48}});
    lay.SetClientSize(*this, 260, 204);
    Zielverzeichnis.PopupMenu = &MyPopup;
    SetHelpContextAll(18);
    Button1.HelpContext = 5;

    OnShow = bind(this, &TExtractArcDlg::FormShow);
    m_schliessCode = fc::ExtractArcDlgFormClose;
    OKBtn.OnClick = bind(this, &TExtractArcDlg::OKBtnClick);
    ArchivName.OnExit = bind(this, &TExtractArcDlg::ArchivNameExit);
    Zielverzeichnis.OnKeyPress = [](TObject*, wchar_t& key) { KleinGetippt(key); };
    Dateien.OnExit = bind(this, &TExtractArcDlg::DateienExit);
    Dateien.OnKeyUp = bind(this, &TExtractArcDlg::DateienKeyUp);
    CheckBox1.OnClick = bind(this, &TExtractArcDlg::CheckBox1Click);
    CheckBox3.OnClick = bind(this, &TExtractArcDlg::CheckBox3Click);
    CheckBox4.OnClick = bind(this, &TExtractArcDlg::CheckBox4Click);
    CheckBox5.OnClick = bind(this, &TExtractArcDlg::CheckBox5Click);
    DateiSuchenBtn1.OnClick = bind(this, &TExtractArcDlg::DateiSuchenBtn1Click);
    DateiSuchenBtn2.OnClick = bind(this, &TExtractArcDlg::DateiSuchenBtn2Click);
    OrdnerSuchenBtn.OnClick = bind(this, &TExtractArcDlg::OrdnerSuchenBtnClick);
    BitBtn1.OnClick = bind(this, &TExtractArcDlg::BitBtn1Click);
    SammelkorbBtn.OnClick = bind(this, &TExtractArcDlg::SammelkorbBtnClick);

    // The stored options, set without their exclusion (which acts on clicks only).
    std::wstring data = Lesen(L"Data");
    if (data.size() != 5) data = L"00000";
    TCheckBox* boxes[] = {&CheckBox1, &CheckBox2, &CheckBox3, &CheckBox4, &CheckBox5};
    for (size_t i = 0; i < 5; ++i) {
        TNotifyEvent click = std::move(boxes[i]->OnClick);
        boxes[i]->SetChecked(data[i] == L'1');
        boxes[i]->OnClick = std::move(click);
    }
    const long long pfade = StrToIntDef(Lesen(L"Pfade"), 0);
    RadioGroup1.SetItemIndex(pfade >= 0 && pfade <= 2 ? static_cast<int>(pfade) : 0);
}

void TExtractArcDlg::DoDestroy() {
    std::wstring data;
    for (TCheckBox* box : {&CheckBox1, &CheckBox2, &CheckBox3, &CheckBox4, &CheckBox5})
        data += box->Checked() ? L'1' : L'0';
    Schreiben(L"Data", data);
    Schreiben(L"Pfade", std::to_wstring(std::max(0, RadioGroup1.ItemIndex())));
    TArcDialogBasis::DoDestroy();
}

TArchivInhaltDlg* TExtractArcDlg::InhaltDlg() {
    if (!m_inhalt) m_inhalt = Create<TArchivInhaltDlg>(this, Kontext());
    return m_inhalt;
}

void TExtractArcDlg::SetDateiliste(TDateiListe* Liste) {
    m_eintraege.SetListe(Liste);
    m_eintraege.Archiv = Trim(ArchivName.Text());
    m_eintraege.Anzeigen();
}

void TExtractArcDlg::SetListenModus(bool An) {
    m_listenModus = An;
    m_eintraege.Gesperrt = An;
    if (An) {
        ArchivName.SetStyle(TComboBoxStyle::csDropDownList);
        ArchivName.SetItems(TStringList{kAusgewaehlteArchive});
        ArchivName.SetItemIndex(0);
    } else if (ArchivName.Style() != TComboBoxStyle::csDropDown) {
        ArchivName.SetStyle(TComboBoxStyle::csDropDown);
        ArchivName.SetItems(NewestFirst(Kontext().RecentArcs));
        ArchivName.SetText(L"");
    }
    DateiSuchenBtn1.SetEnabled(!An);
    DateiSuchenBtn2.SetEnabled(!An);
    m_eintraege.Anzeigen();
}

void TExtractArcDlg::ArchivNameExit(TObject*) {
    if (m_listenModus) return;
    const std::wstring name = Trim(ArchivName.Text());
    if (name.empty()) return;
    Fehlercode = fc::ExtractArcDlgArchivName;
    m_eintraege.Archiv = name;
    std::uint8_t kind = ArchivArt(name);
    if (kind != 0) {
        if (!FileExists(name)) {
            MessageDlg(L"Die gewählte Datei existiert nicht!", TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
            ArchivName.SetText(L"");
        } else {
            const bool aussen = kind == ftLzh || kind == ftArj || kind == ftArjExe || kind == ftArc ||
                                kind == ftArcExe || kind == ftZoo;
            CheckBox3.SetEnabled(!aussen || EntpacktImProzess(*Routinen(), kind));
            RadioGroup1.SetEnabled(kind != ftArc && kind != ftArcExe);
            const bool passwort = kind != ftLzh && kind != ftZoo;
            Passwort.SetEnabled(passwort);
            PasswortLabel.SetEnabled(passwort);
        }
    } else {
        const std::wstring root = name.substr(0, 3);
        const unsigned type = Routinen() && Routinen()->DriveType ? Routinen()->DriveType(root)
                                                                  : GetDriveTypeW(root.c_str());
        if (type != DRIVE_REMOVABLE) {
            MessageDlg(L"Die ausgewählte Datei ist kein Archiv! Bitte wählen Sie eine andere.", TMsgDlgType::mtError,
                       {TMsgDlgBtn::mbOK});
            ArchivName.SetText(L"");
        }
    }
    Fehlercode = 0;
}

void TExtractArcDlg::DateienExit(TObject*) {
    if (Visible()) m_eintraege.Uebernehmen();
}

void TExtractArcDlg::DateienKeyUp(TObject*, WORD& Key, TShiftState Shift) { m_eintraege.KeyUp(Key, Shift); }

void TExtractArcDlg::CheckBox1Click(TObject*) {
    if (CheckBox1.Checked()) CheckBox3.SetChecked(false);
}

void TExtractArcDlg::CheckBox3Click(TObject*) {
    if (CheckBox3.Checked()) CheckBox1.SetChecked(false);
}

void TExtractArcDlg::CheckBox4Click(TObject*) {
    if (CheckBox4.Checked()) CheckBox5.SetChecked(false);
}

void TExtractArcDlg::CheckBox5Click(TObject*) {
    if (CheckBox5.Checked()) CheckBox4.SetChecked(false);
}

void TExtractArcDlg::DateiSuchenBtn1Click(TObject*) {
    std::wstring file;
    if (!ArchivWaehlen(file) || SystemLower(file) == SystemLower(Trim(ArchivName.Text()))) return;
    ArchivName.SetText(SystemLower(file));
    if (m_eintraege.Liste()) m_eintraege.Liste()->clear();
    m_eintraege.Anzeigen();
    ArchivNameExit(this);
}

void TExtractArcDlg::DateiSuchenBtn2Click(TObject*) {
    Fehlercode = fc::ExtractArcDlgEintraege;
    const std::wstring name = Trim(ArchivName.Text());
    if (name.empty()) {
        Verweigern(L"Sie haben noch keinen Archivnamen angegeben.", TMsgDlgType::mtError, 0, ArchivName);
        Fehlercode = 0;
        return;
    }
    if (!FileExists(name) || ArchivArt(name) == 0) {
        const std::wstring lower = SystemLower(name);
        Verweigern(TZipRoutinen::IsArchiveExtension(ExtractFileExt(name))
                       ? L"Das angegeben Archiv\r" + lower + L"\rexistiert leider nicht.\rBitte überprüfen Sie Ihre "
                                                             L"Eingabe."
                       : lower + L"\rist kein Archiv!\rBitte überprüfen Sie Ihre Eingabe.",
                   TMsgDlgType::mtError, 0, ArchivName);
        Fehlercode = 0;
        return;
    }
    TArchivInhaltDlg* inhalt = InhaltDlg();
    inhalt->SetArchivName(name);
    if (inhalt->ShowModal() == mrOk) {
        TStringList chosen;
        inhalt->AuswahlHolen(chosen);
        m_eintraege.Archiv = name;
        m_eintraege.Ersetzen(chosen);
    }
    Fehlercode = 0;
}

void TExtractArcDlg::OrdnerSuchenBtnClick(TObject*) {
    std::wstring folder;
    if (OrdnerWaehlen && OrdnerWaehlen(L"", Zielverzeichnis.Text(), folder) && !folder.empty())
        Zielverzeichnis.SetText(SystemLower(folder));
}

void TExtractArcDlg::BitBtn1Click(TObject*) {
    m_eintraege.Archiv = Trim(ArchivName.Text());
    m_eintraege.Bearbeiten(*ListEditor(), L"Folgende Dateien sollen aus dem Archiv extrahiert werden:");
}

void TExtractArcDlg::SammelkorbBtnClick(TObject*) {
    std::wstring file;
    if (ArchivAusSammelkorb(L"Deshalb können keine Dateien aus ihr extrahiert werden.", file)) {
        ArchivName.SetText(file);
        m_eintraege.Archiv = file;
    }
}

void TExtractArcDlg::MRUClick(TObject*, const std::wstring& Path) { Zielverzeichnis.SetText(SystemLower(Path)); }

void TExtractArcDlg::FormShow(TObject*) {
    Fehlercode = fc::ExtractArcDlgFormShow;
    MenuLeihen();
    SammelkorbBtn.SetEnabled(!m_listenModus && Kontext().Sammelkorb && !Kontext().Sammelkorb->empty());
    if (m_listenModus) {
        ArchivName.SetItems(TStringList{kAusgewaehlteArchive});
        ArchivName.SetItemIndex(0);
    } else {
        const std::wstring archive = ArchivName.Text();
        ArchivName.SetItems(NewestFirst(Kontext().RecentArcs));
        ArchivName.SetText(archive);
    }
    const std::wstring target = Zielverzeichnis.Text();
    Zielverzeichnis.SetItems(NewestFirst(Kontext().RecentDirs));
    Zielverzeichnis.SetText(target);
    m_ok = false;
    m_zielordner.clear();
    ArchivNameExit(this);
    m_eintraege.Uebernehmen();
    Fehlercode = 0;
}

void TExtractArcDlg::OKBtnClick(TObject*) {
    m_eintraege.Uebernehmen();
    m_ok = true;
}


bool TExtractArcDlg::ZielAnlegen(const std::wstring& Folder) {
    const int answer = MessageDlg(L"Das von Ihnen angegebene Zielverzeichnis \r\"" + SystemLower(Folder) +
                                      L"\"\rexistiert nicht! Möchten Sie, daß es erstellt wird?",
                                  TMsgDlgType::mtConfirmation, {TMsgDlgBtn::mbYes, TMsgDlgBtn::mbNo});
    if (answer != mrYes) return false;
    if (Kontext().Routinen)
        Kontext().Routinen->CreateDirectory(Folder);
    else
        ForceDirectories(Folder);
    return DirectoryExists(Folder);
}

bool TExtractArcDlg::MusterAufloesen(const std::wstring& Archiv, std::uint8_t Kind) {
    TDateiListe* liste = m_eintraege.Liste();
    bool muster = false;
    for (const auto& record : *liste) muster = muster || HatMuster(record->Name);
    if (!muster) return true;
    std::wstring name = Archiv;
    TArchivDaten daten;
    TDateiListe listing;
    Routinen()->OpenArchive(Kind, name, daten, listing);
    if (listing.empty()) {
        // The routines have told why the archive gave no entries.
        Seiten.ShowPageOf(&ArchivName);
        ArchivName.SetFocus();
        return false;
    }
    // Each entry's path lower-cased once, and a mask's folder compared before
    // the whole mask: 200 marked folders over 20,000 entries stay quick.
    std::vector<std::wstring> pfade;
    pfade.reserve(listing.size());
    for (const auto& entry : listing) pfade.push_back(TZipRoutinen::ArchivePathForm(entry->Name));
    std::vector<bool> vergeben(listing.size(), false);
    TDateiListe result;
    for (auto& record : *liste) {
        if (!HatMuster(record->Name)) {
            result.push_back(std::move(record));
            continue;
        }
        // The archive's own matcher: a mask's folder must be the entry's folder.
        const std::wstring pattern = TZipRoutinen::ArchivePathForm(record->Name);
        const std::wstring ordner = ExtractFilePath(pattern);
        for (size_t i = 0; i < listing.size(); ++i) {
            if (vergeben[i] || !StartsWith(pfade[i], ordner) || !TZipRoutinen::MatchesArchivePath(pfade[i], pattern))
                continue;
            vergeben[i] = true;
            auto taken = std::make_unique<TEineDatei>(*listing[i]);
            taken->Name = pfade[i];
            taken->InArchive = true;
            taken->ArchivPfad = Archiv;
            result.push_back(std::move(taken));
        }
    }
    *liste = std::move(result);
    m_eintraege.Anzeigen();
    return true;
}

bool TExtractArcDlg::Pruefen() {
    std::wstring name = Trim(ArchivName.Text());
    if (name.empty())
        return Verweigern(L"Sie haben noch nicht das Archiv angegeben,\raus dem die Dateien extrahiert werden "
                          L"sollen.\rBitte holen Sie dies nach.",
                          TMsgDlgType::mtError, 0, ArchivName);
    TDateiListe* liste = m_eintraege.Liste();
    if (!liste || liste->empty())
        return Verweigern(L"Sie haben keine Dateien angegeben,\rdie aus dem Archiv extrahiert werden sollen.\rBitte "
                          L"holen Sie dies nach.",
                          TMsgDlgType::mtError, 0, Dateien);
    std::wstring target = Trim(Zielverzeichnis.Text());
    if (target.empty())
        return Verweigern(L"Sie haben noch nicht den Zielordner angegeben,\rin den die Dateien extrahiert werden "
                          L"sollen.\rBitte holen Sie dies nach.",
                          TMsgDlgType::mtError, 0, Zielverzeichnis);
    TDateiRoutinen::NormalizePath(target);
    target = ExcludeTrailingBackslash(target);
    if (target.size() == 2 && target[1] == L':') target += L'\\';
    Zielverzeichnis.SetText(target);
    if (!DirectoryExists(target) && !ZielAnlegen(target)) {
        Seiten.ShowPageOf(&Zielverzeichnis);
        Zielverzeichnis.SetFocus();
        return false;
    }
    if (!m_listenModus) {
        name = SystemLower(name);
        TDateiRoutinen::NormalizePath(name);
        ArchivName.SetText(name);
        if (!FileExists(name))
            return Verweigern(L"Das von Ihnen angegebene Archiv existiert nicht!\rBitte überprüfen Sie Ihre Eingabe.",
                              TMsgDlgType::mtError, 0, ArchivName);
        const std::uint8_t kind = ArchivArt(name);
        const int pfade = RadioGroup1.ItemIndex();
        const bool zip = kind == ftZip;
        if (kind != 0 && ((zip && pfade == 1) || (!zip && pfade != 0) || EntpacktImProzess(*Routinen(), kind)) &&
            !MusterAufloesen(name, kind))
            return false;
    }
    // The folder the dialog checked is the target, whole.
    m_zielordner = IncludeTrailingBackslash(target);
    if (!m_listenModus && Kontext().AddArchiveHistory) Kontext().AddArchiveHistory(name);
    if (Kontext().AddDirHistory) Kontext().AddDirHistory(ExcludeTrailingBackslash(target));
    return true;
}

}  // namespace velmora::archive
