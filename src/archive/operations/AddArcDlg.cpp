#include "AddArcDlg.h"

#include <algorithm>
#include <array>

#include "ArchiveCodes.h"
#include "ZipRoutinen.h"
#include "filetools/DateiRoutinen.h"
#include "foundation/DMChild_Typen.h"
#include "platform/gui/Application.h"
#include "platform/gui/Layout.h"
#include "platform/gui/OpenDialog.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/PathNames.h"
#include "platform/rtl/Strings.h"

namespace velmora::archive {

using namespace gui;

namespace {

const wchar_t* const kEndungen[] = {L".zip", L".arj", L".rar", L".lzh", L".arc", L".zoo"};
constexpr int kZip = 0, kArj = 1, kRar = 2, kLha = 3, kArc = 4, kZoo = 5;

// The format index of an archive kind that can take files, or -1.
int FormatDerArt(std::uint8_t kind) {
    switch (kind) {
    case ftZip: return kZip;
    case ftArj: return kArj;
    case ftLzh: return kLha;
    case ftRar: return kRar;
    case ftArc: return kArc;
    case ftZoo: return kZoo;
    default: return -1;
    }
}

int FormatDerEndung(const std::wstring& name) {
    const std::wstring ext = SystemLower(ExtractFileExt(name));
    for (int i = 0; i < 6; ++i)
        if (ext == kEndungen[i]) return i;
    return -1;
}

int Index(const std::wstring& text, int fallback) {
    const long long value = StrToIntDef(text, -1);
    return value >= 0 && value <= 5 ? static_cast<int>(value) : fallback;
}

}  // namespace

bool AltesArchivFormat(const std::wstring& FileName) {
    const size_t dot = FileName.find(L'.');
    if (dot == std::wstring::npos) return FileName.size() < 4;
    return dot + 1 <= 9 && FileName.size() - dot - 1 < 4;
}

TAddArcDlg::TAddArcDlg(TComponent* Owner, const TDateiDialogKontext& Kontext)
    : TArcDialogBasis(Owner, Kontext, L"AddArcDlg", L"Weiteres", 3), FormatLabel(this), MethodeLabel(this),
      Dateien(this), ArcFormat(this), Methode(this), SammelkorbBtn2(this), BitBtn1(this), DateiSuchenBtn2(this),
      OrdnerSuchenBtn(this), SammelkorbBtn(this), QuelldateienLoeschen(this), NurWennAktueller(this),
      NurWennAktuellerUndVorhanden(this), CheckBox1(this), Unterverzeichnisse(this), DosDateiNamenBenutzen(this),
      Multidiskmode(this), ClearDisks(this), m_quelle(Dateien, BitBtn1) {
    SetCaption(L"Dateien zu einem Archiv hinzufügen");
    TDialogLayout lay(*this);
    lay.Place(Seiten, 4, 4, 252, 132);

    KopfAnlegen(SammelkorbBtn2, Dateien);
    for (TControl* c : std::initializer_list<TControl*>{&BitBtn1, &DateiSuchenBtn2, &OrdnerSuchenBtn, &SammelkorbBtn,
                                                        &FormatLabel, &ArcFormat, &MethodeLabel, &Methode})
        c->SetParent(&Allgemein);
    BitBtn1.SetCaption(L"&Liste...");
    DateiSuchenBtn2.SetCaption(L"Da&teien...");
    OrdnerSuchenBtn.SetCaption(L"&Ordner...");
    SammelkorbBtn.SetCaption(L"&Sammelkorb...");
    lay.Row(48, 55, 14, {{&BitBtn1, 40}, {&DateiSuchenBtn2, 42}, {&OrdnerSuchenBtn, 42}, {&SammelkorbBtn, 54}});
    FormatLabel.SetCaption(L"&Format:");
    FormatLabel.SetFocusControl(&ArcFormat);
    lay.Place(FormatLabel, 6, 78, 40, 9);
    ArcFormat.SetStyle(TComboBoxStyle::csDropDownList);
    for (const wchar_t* item : {L"ZIP: PK-Zip 2 kompatibel", L"ARJ: Arj/ Ice kompatibel", L"RAR: Rar kompatibel",
                                L"LHA: Lha kompatibel", L"ARC: Arc/ Pak kompatibel", L"ZOO: Zoo komaptibel"})
        ArcFormat.AddItem(item);
    lay.Place(ArcFormat, 48, 76, 190, 80);
    MethodeLabel.SetCaption(L"&Methode:");
    MethodeLabel.SetFocusControl(&Methode);
    lay.Place(MethodeLabel, 6, 96, 40, 9);
    Methode.SetStyle(TComboBoxStyle::csDropDownList);
    for (const wchar_t* item : {L"Maximal", L"Sehr gut", L"Normal", L"Schnell", L"Sehr schnell", L"Gar Nicht"})
        Methode.AddItem(item);
    lay.Place(Methode, 48, 94, 190, 80);

    QuelldateienLoeschen.SetCaption(L"&Quelldateien löschen");
    NurWennAktueller.SetCaption(L"Datei(en) nur komprimieren, wenn akt&ueller");
    NurWennAktuellerUndVorhanden.SetCaption(L"Nur komprimieren, wenn aktueller und bereits &vorhanden");
    CheckBox1.SetCaption(L"Datei&pfade speichern");
    Unterverzeichnisse.SetCaption(L"&Unterverzeichnisse einschließen");
    DosDateiNamenBenutzen.SetCaption(L"DOS-Datei&namen benutzen (8.3-Format)");
    Multidiskmode.SetCaption(L"Archiv auf &mehrere Datenträger verteilen");
    ClearDisks.SetCaption(L"Datenträger vor Beschreiben &löschen");
    int y = 6;
    for (TCheckBox* box : {&QuelldateienLoeschen, &NurWennAktueller, &NurWennAktuellerUndVorhanden, &CheckBox1,
                           &Unterverzeichnisse, &DosDateiNamenBenutzen, &Multidiskmode}) {
        box->SetParent(&Seite2);
        lay.Place(*box, 6, y, 236, 10);
        y += 13;
    }
    ClearDisks.SetParent(&Seite2);
    lay.Place(ClearDisks, 16, y, 226, 10);

    lay.Row(104, 140, 14, {{&OKBtn, 48}, {&CancelBtn, 48}, {&Button2, 48}});
    lay.SetClientSize(*this, 260, 160);
    Dateien.PopupMenu = &MyPopup;
    SetHelpContextAll(3);
    Button1.HelpContext = 5;

    OnShow = bind(this, &TAddArcDlg::FormShow);
    m_schliessCode = fc::AddArcDlgFormClose;
    OKBtn.OnClick = bind(this, &TAddArcDlg::OKBtnClick);
    ArcFormat.OnChange = bind(this, &TAddArcDlg::ArcFormatChange);
    ArchivName.OnExit = bind(this, &TAddArcDlg::ArchivNameExit);
    Dateien.OnKeyPress = [](TObject*, wchar_t& key) { KleinGetippt(key); };
    Dateien.OnExit = bind(this, &TAddArcDlg::DateienExit);
    Dateien.OnChange = [this](TObject*) { m_quelle.Change(); };
    Dateien.OnDropDown = [this](TObject*) { m_quelle.DropDown(); };
    Dateien.OnKeyUp = [this](TObject*, WORD& key, TShiftState shift) { m_quelle.KeyUp(key, shift); };
    NurWennAktueller.OnClick = bind(this, &TAddArcDlg::NurWennAktuellerClick);
    NurWennAktuellerUndVorhanden.OnClick = bind(this, &TAddArcDlg::NurWennAktuellerUndVorhandenClick);
    Multidiskmode.OnClick = bind(this, &TAddArcDlg::MultidiskmodeClick);
    DateiSuchenBtn1.OnClick = bind(this, &TAddArcDlg::DateiSuchenBtn1Click);
    DateiSuchenBtn2.OnClick = bind(this, &TAddArcDlg::DateiSuchenBtn2Click);
    OrdnerSuchenBtn.OnClick = bind(this, &TAddArcDlg::OrdnerSuchenBtnClick);
    BitBtn1.OnClick = bind(this, &TAddArcDlg::BitBtn1Click);
    SammelkorbBtn.OnClick = bind(this, &TAddArcDlg::SammelkorbBtnClick);
    SammelkorbBtn2.OnClick = bind(this, &TAddArcDlg::SammelkorbBtn2Click);

    // The stored options; any text but eight characters gives the defaults.
    std::wstring data = Lesen(L"Data");
    if (data.size() != 8) data = L"00010000";
    const auto boxes = Optionen();
    for (int i = 0; i < 8; ++i) boxes[i]->SetChecked(data[static_cast<size_t>(i)] == L'1');
    Methode.SetItemIndex(Index(Lesen(L"Methode"), 1));
    FormatAnwenden(Index(Lesen(L"ArcFormat"), 0));
}

std::array<TCheckBox*, 8> TAddArcDlg::Optionen() {
    return {&QuelldateienLoeschen, &NurWennAktueller, &NurWennAktuellerUndVorhanden, &CheckBox1,
            &Unterverzeichnisse,   &DosDateiNamenBenutzen, &Multidiskmode, &ClearDisks};
}

void TAddArcDlg::DoDestroy() {
    std::wstring data;
    const auto boxes = Optionen();
    for (int i = 0; i < 8; ++i) data += boxes[i]->Checked() ? L'1' : L'0';
    Schreiben(L"Data", data);
    Schreiben(L"Methode", std::to_wstring(std::max(0, Methode.ItemIndex())));
    Schreiben(L"ArcFormat", std::to_wstring(std::max(0, ArcFormat.ItemIndex())));
    TArcDialogBasis::DoDestroy();
}

void TAddArcDlg::SetDateiliste(TDateiListe* Liste) {
    m_quelle.SetListe(Liste);
    m_quelle.Rebuild();
}

void TAddArcDlg::FormatAnwenden(int Index) {
    if (Index < 0 || Index > 5) Index = kZip;
    ArcFormat.SetItemIndex(Index);
    m_endung = kEndungen[Index];
    const bool methode = Index == kZip || Index == kArj || Index == kRar || Index == kZoo;
    Methode.SetEnabled(methode);
    MethodeLabel.SetEnabled(methode);
    const bool intern = Index == kZip && Routinen() && Routinen()->Packer.UseInternZip;
    DosDateiNamenBenutzen.SetEnabled(intern);
    Multidiskmode.SetEnabled(intern);
    ClearDisks.SetEnabled(intern && Multidiskmode.Checked());
    const bool passwort = Index == kZip || Index == kArj || Index == kRar || Index == kArc;
    Passwort.SetEnabled(passwort);
    PasswortLabel.SetEnabled(passwort);
    CheckBox1.SetEnabled(Index != kArc);
    Unterverzeichnisse.SetEnabled(Index != kArc && Index != kZoo);
}

void TAddArcDlg::ArcFormatChange(TObject*) {
    FormatAnwenden(ArcFormat.ItemIndex());
    std::wstring name = Trim(ArchivName.Text());
    if (name.empty()) return;
    name.resize(name.size() - ExtractFileExt(name).size());
    ArchivName.SetText(SystemLower(name + m_endung));
}

void TAddArcDlg::ArchivNameExit(TObject*) {
    Fehlercode = fc::AddArcDlgArchivName;
    std::wstring name = Trim(ArchivName.Text());
    if (name.empty()) {
        Fehlercode = 0;
        return;
    }
    if (ExtractFileExt(name).empty()) {
        name = SystemLower(name + m_endung);
        ArchivName.SetText(name);
    }
    if (FileExists(name)) {
        std::uint8_t kind = 0;
        const bool archive = Routinen() && Routinen()->GetArchiveType(name, kind);
        const int format = archive ? FormatDerArt(kind) : -1;
        if (format >= 0) {
            FormatAnwenden(format);
        } else {
            MessageDlg(archive ? L"Zu diesem Archiv können leider keine Dateien hinzugefügt werden! Bitte wählen Sie "
                                 L"ein anderes aus."
                               : L"Die ausgewählte Datei ist kein Archiv! Bitte wählen Sie eine andere.",
                       TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
            ArchivName.SetText(L"");
        }
    } else if (const int format = FormatDerEndung(name); format >= 0) {
        FormatAnwenden(format);
    } else if (!m_nichtFragen) {
        const int answer =
            MessageDlg(L"Die Dateiendung Ihres Archives ist keine Standard-\rdateiendung eines der Archivformate! Dies "
                       L"kann zu Problemen\rbeim Archivviewer führen. Soll eine Standardendung eingesetzt werden?",
                       TMsgDlgType::mtConfirmation, {TMsgDlgBtn::mbYes, TMsgDlgBtn::mbNo}, 84);
        if (answer == mrYes) {
            name.resize(name.size() - ExtractFileExt(name).size());
            ArchivName.SetText(SystemLower(name + m_endung));
        } else {
            m_nichtFragen = true;
        }
    }
    Fehlercode = 0;
}

void TAddArcDlg::DateienExit(TObject*) {
    if (Visible()) m_quelle.Commit();
}

void TAddArcDlg::NurWennAktuellerClick(TObject*) {
    if (NurWennAktueller.Checked()) NurWennAktuellerUndVorhanden.SetChecked(false);
}

void TAddArcDlg::NurWennAktuellerUndVorhandenClick(TObject*) {
    if (NurWennAktuellerUndVorhanden.Checked()) NurWennAktueller.SetChecked(false);
}

void TAddArcDlg::MultidiskmodeClick(TObject*) {
    ClearDisks.SetEnabled(Multidiskmode.Enabled() && Multidiskmode.Checked());
}

void TAddArcDlg::BeginAdding() {
    if (Kontext().ClearLists) m_quelle.Clear();
}

void TAddArcDlg::DateiSuchenBtn1Click(TObject*) {
    std::wstring file;
    if (!ArchivWaehlen(file)) return;
    ArchivName.SetText(SystemLower(file));
    ArchivNameExit(this);
}

void TAddArcDlg::DateiSuchenBtn2Click(TObject*) {
    TOpenDialog dialog(this);
    dialog.Title = L"Hinzuzufügende Datei(en) auswählen";
    dialog.Filter = L"Alle Dateien (*.*)|*.*|";
    dialog.FilterIndex = 1;
    dialog.AllowMultiSelect = true;
    dialog.FileMustExist = true;
    if (!dialog.Execute()) return;
    THourGlass hourglass;
    BeginAdding();
    TStringList files = dialog.Files;
    if (files.Count() == 0 && !dialog.FileName.empty()) files.Add(dialog.FileName);
    for (const std::wstring& file : files) m_quelle.AddName(file);
    m_quelle.Rebuild();
}

void TAddArcDlg::OrdnerSuchenBtnClick(TObject*) {
    std::wstring folder;
    if (!OrdnerWaehlen || !OrdnerWaehlen(L"", L"", folder) || folder.empty()) return;
    folder = SystemLower(folder);
    BeginAdding();
    m_quelle.AddName(folder + (EndsWith(folder, L"\\") ? L"*.*" : L"\\*.*"));
    m_quelle.Rebuild();
}

void TAddArcDlg::BitBtn1Click(TObject*) {
    TDateiListe* liste = m_quelle.Liste();
    if (!liste) return;
    TDateienBearbeitenDlg* editor = ListEditor();
    editor->NamenMuessenExistieren = true;
    editor->SetListe(L"Folgende Dateien sollen dem Archiv hinzugefügt werden:", *liste);
    if (editor->ShowModal() == mrOk) {
        editor->DateilisteAbgleichen(*liste, false);
        m_quelle.Rebuild();
    }
}

void TAddArcDlg::SammelkorbBtnClick(TObject*) {
    if (!Kontext().Sammelkorb || Kontext().Sammelkorb->empty()) return;
    TSammelkorbInhaltDlg* chooser = SammelkorbDlg();
    if (chooser->ShowModal() != mrOk) return;
    TDateiListe chosen;
    chooser->AuswahlHolen(chosen);
    THourGlass hourglass;
    BeginAdding();
    bool told = false;
    for (auto& record : chosen) {
        if (record->InArchive) {
            if (!told)
                MessageDlg(L"Ihre Auswahl enthält komprimierte Dateien.\rDiese sind bereits Bestandteil eines "
                           L"Archives und werden deshalb nicht hinzugefügt.",
                           TMsgDlgType::mtInformation, {TMsgDlgBtn::mbOK});
            told = true;
            continue;
        }
        if (!m_quelle.Contains(record->Name)) m_quelle.Add(std::move(record));
    }
    m_quelle.Rebuild();
}

void TAddArcDlg::SammelkorbBtn2Click(TObject*) {
    std::wstring file;
    if (ArchivAusSammelkorb(L"Deshalb können keine Dateien zu ihr hinzugefügt werden.", file))
        ArchivName.SetText(file);
}

void TAddArcDlg::MRUClick(TObject*, const std::wstring& Path) {
    if (HasFocus(Dateien)) {
        BeginAdding();
        m_quelle.AddName(ExcludeTrailingBackslash(Path));
        m_quelle.Rebuild();
    } else if (HasFocus(ArchivName)) {
        ArchivName.SetText(SystemLower(Path));
    }
}

void TAddArcDlg::FormShow(TObject*) {
    Fehlercode = fc::AddArcDlgFormShow;
    MenuLeihen();
    const bool korb = Kontext().Sammelkorb && !Kontext().Sammelkorb->empty();
    SammelkorbBtn.SetEnabled(korb);
    SammelkorbBtn2.SetEnabled(korb);
    const std::wstring archive = ArchivName.Text();
    ArchivName.SetItems(NewestFirst(Kontext().RecentArcs));
    ArchivName.SetText(archive);
    m_quelle.SetRecent(NewestFirst(Kontext().RecentFiles));
    m_ok = false;
    m_nichtFragen = false;
    m_quelle.Rebuild();
    MultidiskmodeClick(this);
    ArchivNameExit(this);
    m_quelle.Commit();
    Fehlercode = 0;
}

void TAddArcDlg::OKBtnClick(TObject*) {
    ArchivNameExit(this);
    m_quelle.Commit();
    m_ok = true;
}


bool TAddArcDlg::Pruefen() {
    std::wstring name = Trim(ArchivName.Text());
    if (name.empty())
        return Verweigern(L"Sie haben noch nicht das Archiv angegeben,\rdem die Dateien hinzugefügt werden "
                          L"sollen.\rBitte holen Sie dies nach.",
                          TMsgDlgType::mtError, 0, ArchivName);
    if (ArcFormat.ItemIndex() != kZip && !AltesArchivFormat(ExtractFileName(name)))
        return Verweigern(L"Das gewählte Komprimierungsformat unterstützt für den Archivnamen\rnur das alte "
                          L"8.3-Format. Bitte ändern Sie ihn entsprechend.",
                          TMsgDlgType::mtWarning, 83, ArchivName);
    TDateiListe* liste = m_quelle.Liste();
    const std::wstring keine = L"Sie haben keine Dateien angegeben,\rdie dem Archiv hinzugefügt werden sollen.\rBitte "
                               L"holen Sie dies nach.";
    if (!liste || liste->empty()) return Verweigern(keine, TMsgDlgType::mtError, 0, Dateien);
    name = SystemLower(name);
    TDateiRoutinen::NormalizePath(name);
    ArchivName.SetText(name);
    for (auto& record : *liste) TDateiRoutinen::NormalizePath(record->Name);
    std::erase_if(*liste, [&](const std::unique_ptr<TEineDatei>& r) { return SystemLower(r->Name) == name; });
    if (liste->empty()) {
        // The archive was the only source: nothing is left to add.
        m_quelle.Rebuild();
        return Verweigern(keine, TMsgDlgType::mtError, 0, Dateien);
    }
    if (Multidiskmode.Checked() && Multidiskmode.Enabled() &&
        (NurWennAktueller.Checked() || NurWennAktuellerUndVorhanden.Checked()))
        return Verweigern(L"Im Multidiskmode können die Optionen \"Nur wenn aktueller...\" nicht verwendet werden!",
                          TMsgDlgType::mtError, 0,
                          NurWennAktueller.Checked() ? NurWennAktueller : NurWennAktuellerUndVorhanden);
    if (!FileExists(name) &&
        MessageDlg(L"Das von Ihnen angegebene Archiv\r" + name + L"\rexistiert nicht!\rSoll es neu erstellt werden?",
                   TMsgDlgType::mtConfirmation, {TMsgDlgBtn::mbYes, TMsgDlgBtn::mbCancel}) != mrYes) {
        Seiten.ShowPageOf(&ArchivName);
        ArchivName.SetFocus();
        return false;
    }
    if (liste->size() > 1) SortiereNachName(*liste);
    m_quelle.Rebuild();
    if (Kontext().AddArchiveHistory) Kontext().AddArchiveHistory(name);
    if (liste->size() == 1 && Kontext().AddPathHistory) Kontext().AddPathHistory(Trim(Dateien.Text()));
    return true;
}

}  // namespace velmora::archive
