#include "DateiSuchenDlg.h"

#include <commctrl.h>

#include "AttributDialog.h"
#include "DateiRoutinen.h"
#include "FileToolsCodes.h"
#include "LaufDialog.h"
#include "foundation/DefaultUserStore.h"
#include "foundation/IconRoutinen.h"
#include "foundation/ShellRoutinen.h"
#include "foundation/controls/BrowseDr.h"
#include "platform/gui/Application.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Layout.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/LocaleTexts.h"
#include "platform/rtl/PathNames.h"
#include "platform/rtl/Strings.h"

namespace velmora {

using namespace gui;

namespace {

constexpr ULONGLONG kZeilenIntervall = 100;  // ms between two batches of rows
const wchar_t kSpaltenWert[] = L"SuchfortColumns";
const std::vector<int> kSpaltenStandard{310, 60, 120};

TDateTime Heute() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return TryEncodeDateTime({now.wYear, now.wMonth, now.wDay}).value_or(0);
}

std::wstring OhneLeerzeichen(const std::wstring& Text) {
    std::wstring result;
    for (wchar_t c : Text)
        if (c != L' ') result += c;
    return result;
}

std::wstring OhneBackslash(const std::wstring& Name) {
    return !Name.empty() && Name[0] == L'\\' ? Name.substr(1) : Name;
}

std::wstring DatumUndZeit(TDateTime Time) { return LocaleDateText(Time) + L" " + LocaleTimeText(Time); }

bool SystemOrdner(TComponent* Owner, const std::wstring& Title, std::wstring& Folder) {
    TBrowseDirectoryDlg browser(Owner);
    browser.Title = Title;
    if (!browser.Execute()) return false;
    Folder = browser.Selection();
    return true;
}

}  // namespace

// ---- The search dialog ------------------------------------------------------

TDateiSuchenDlg::TDateiSuchenDlg(TComponent* Owner, const TDateiDialogKontext& Kontext)
    : TPositionsDialog(Owner, L"DSuchen"), Seiten(this), Parameter(this), Optionen(this), Label1(this),
      Label2(this), DateiFilter(this), Unterverzeichnisse(this), InclArchive(this), Verzeichnisse(this),
      BitBtn1(this), OrdnerSuchenBtn(this), MyPopup(this), Eigenschaftenbeachten(this), Datumbeachten(this),
      Groessebeachten(this), Label3(this), Aelteste(this), Juengste(this), Groessenbereich(this),
      DateiGroesse(this), Label4(this), TextSuchen(this), Text(this), OnlyTextdateien(this),
      Schreibweisebeachten(this), OKBtn(this), CancelBtn(this), HilfeBtn(this), m_kontext(Kontext),
      m_quelle(Verzeichnisse, BitBtn1) {
    SetCaption(L"Datei suchen");
    TDialogLayout lay(*this);
    lay.Place(Seiten, 4, 4, 240, 136);
    Parameter.SetCaption(L"Parameter");
    Optionen.SetCaption(L"Optionen");
    Parameter.SetPageControl(&Seiten);
    Optionen.SetPageControl(&Seiten);

    for (TControl* c : std::initializer_list<TControl*>{&Label1, &DateiFilter, &Unterverzeichnisse, &InclArchive,
                                                        &Label2, &Verzeichnisse, &BitBtn1, &OrdnerSuchenBtn})
        c->SetParent(&Parameter);
    Label1.SetCaption(L"&Dateifilter:");
    Label1.SetFocusControl(&DateiFilter);
    lay.Place(Label1, 6, 8, 60, 10);
    DateiFilter.SetText(L"*.*");
    lay.Place(DateiFilter, 70, 6, 158, 12);
    Unterverzeichnisse.SetCaption(L"&Unterverzeichnisse einschließen");
    Unterverzeichnisse.SetChecked(true);
    lay.Place(Unterverzeichnisse, 6, 24, 220, 10);
    InclArchive.SetCaption(L"Auch in &Archiven suchen");
    lay.Place(InclArchive, 6, 38, 220, 10);
    Label2.SetCaption(L"&Verzeichnisse:");
    Label2.SetFocusControl(&Verzeichnisse);
    lay.Place(Label2, 6, 56, 100, 10);
    lay.Place(Verzeichnisse, 6, 68, 222, 12);
    Verzeichnisse.PopupMenu = &MyPopup;
    BitBtn1.SetCaption(L"&Liste...");
    OrdnerSuchenBtn.SetCaption(L"&Ordner...");
    lay.Row(118, 86, 14, {{&BitBtn1, 52}, {&OrdnerSuchenBtn, 52}});

    for (TControl* c : std::initializer_list<TControl*>{&Eigenschaftenbeachten, &Datumbeachten, &Aelteste, &Label3,
                                                        &Juengste, &Groessebeachten, &Groessenbereich, &DateiGroesse,
                                                        &Label4, &TextSuchen, &Text, &OnlyTextdateien,
                                                        &Schreibweisebeachten})
        c->SetParent(&Optionen);
    Eigenschaftenbeachten.SetCaption(L"Datei - &Eigenschaften beachten");
    lay.Place(Eigenschaftenbeachten, 6, 6, 200, 10);
    Datumbeachten.SetCaption(L"&Änderungsdatum zwischen");
    lay.Place(Datumbeachten, 14, 20, 100, 10);
    Aelteste.SetEditMask(L"!90/90/9900;1; ");
    lay.Place(Aelteste, 116, 19, 48, 12);
    Label3.SetCaption(L"und");
    lay.Place(Label3, 168, 21, 16, 10);
    Juengste.SetEditMask(L"!90/90/9900;1; ");
    lay.Place(Juengste, 186, 19, 48, 12);
    Groessebeachten.SetCaption(L"Dateigr&öße");
    lay.Place(Groessebeachten, 14, 36, 60, 10);
    Groessenbereich.SetStyle(TComboBoxStyle::csDropDownList);
    for (const wchar_t* item : {L"Genau", L"Mindestens", L"Höchstens"}) Groessenbereich.AddItem(item);
    lay.Place(Groessenbereich, 76, 35, 60, 60);
    DateiGroesse.SetValueType(TValueType::vtInteger);
    DateiGroesse.Decimal = 0;
    DateiGroesse.MaxValue = 999999999;
    DateiGroesse.SetMaxLength(9);
    lay.Place(DateiGroesse, 140, 35, 56, 12);
    Label4.SetCaption(L"KB");
    lay.Place(Label4, 200, 37, 20, 10);
    TextSuchen.SetCaption(L"Nach enthaltenem &Text suchen");
    lay.Place(TextSuchen, 6, 56, 200, 10);
    lay.Place(Text, 14, 70, 214, 12);
    OnlyTextdateien.SetCaption(L"&Nur in Textdateien suchen");
    OnlyTextdateien.SetChecked(true);
    lay.Place(OnlyTextdateien, 14, 88, 200, 10);
    Schreibweisebeachten.SetCaption(L"&Groß-/ Kleinschreibung beachten");
    lay.Place(Schreibweisebeachten, 14, 100, 200, 10);

    SetUpButtons(OKBtn, CancelBtn, HilfeBtn);
    OKBtn.SetCaption(L"&Suchen");
    lay.Row(86, 146, 14, {{&OKBtn, 50}, {&CancelBtn, 50}, {&HilfeBtn, 50}});
    lay.SetClientSize(*this, 248, 166);
    SetHelpContextAll(29);

    OrdnerWaehlen = [this](const std::wstring& title, std::wstring& folder) {
        return SystemOrdner(this, title, folder);
    };
    OnShow = bind(this, &TDateiSuchenDlg::FormShow);
    OnClose = bind(this, &TDateiSuchenDlg::FormClose);
    OKBtn.OnClick = bind(this, &TDateiSuchenDlg::OKBtnClick);
    CancelBtn.OnClick = bind(this, &TDateiSuchenDlg::CancelBtnClick);
    HilfeBtn.OnClick = bind(this, &TDateiSuchenDlg::HilfeButtonClick);
    Eigenschaftenbeachten.OnClick = bind(this, &TDateiSuchenDlg::EigenschaftenbeachtenClick);
    TextSuchen.OnClick = bind(this, &TDateiSuchenDlg::TextSuchenClick);
    Aelteste.OnChange = bind(this, &TDateiSuchenDlg::JuengsteChange);
    Juengste.OnChange = bind(this, &TDateiSuchenDlg::JuengsteChange);
    Aelteste.OnExit = bind(this, &TDateiSuchenDlg::JuengsteExit);
    Juengste.OnExit = bind(this, &TDateiSuchenDlg::JuengsteExit);
    Groessenbereich.OnChange = bind(this, &TDateiSuchenDlg::GroessenbereichChange);
    DateiGroesse.OnChange = bind(this, &TDateiSuchenDlg::DateiGroesseChange);
    Verzeichnisse.OnExit = bind(this, &TDateiSuchenDlg::VerzeichnisseExit);
    Verzeichnisse.OnChange = bind(this, &TDateiSuchenDlg::VerzeichnisseChange);
    Verzeichnisse.OnDropDown = bind(this, &TDateiSuchenDlg::VerzeichnisseDropDown);
    Verzeichnisse.OnKeyPress = bind(this, &TDateiSuchenDlg::VerzeichnisseKeyPress);
    Verzeichnisse.OnKeyUp = bind(this, &TDateiSuchenDlg::VerzeichnisseKeyUp);
    OrdnerSuchenBtn.OnClick = bind(this, &TDateiSuchenDlg::Button1Click);
    BitBtn1.OnClick = bind(this, &TDateiSuchenDlg::BitBtn1Click);
    m_quelle.SetListe(&m_ordner);
    AbhaengigeSchalten();
}

std::vector<std::wstring> TDateiSuchenDlg::GetVerzeichnisse() const {
    std::vector<std::wstring> folders;
    for (const auto& record : m_ordner) folders.push_back(record->Name);
    return folders;
}

TDatumGroesseTest TDateiSuchenDlg::Pruefung() const {
    if (!Eigenschaftenbeachten.Checked()) return {};
    const int range = Groessenbereich.ItemIndex();
    const std::wstring vergleich = range >= 0 ? Groessenbereich.Items()[static_cast<size_t>(range)] : L"";
    return TDatumGroesseTest::Aus(Datumbeachten.Checked(), OhneLeerzeichen(Aelteste.Text()),
                                  OhneLeerzeichen(Juengste.Text()), Groessebeachten.Checked(), vergleich,
                                  static_cast<std::int32_t>(DateiGroesse.GetValue()));
}

void TDateiSuchenDlg::AbhaengigeSchalten() {
    const bool eigenschaften = Eigenschaftenbeachten.Checked();
    for (TControl* c : std::initializer_list<TControl*>{&Datumbeachten, &Aelteste, &Label3, &Juengste,
                                                        &Groessebeachten, &Groessenbereich, &DateiGroesse, &Label4})
        c->SetEnabled(eigenschaften);
    for (TControl* c : std::initializer_list<TControl*>{&Text, &OnlyTextdateien, &Schreibweisebeachten})
        c->SetEnabled(TextSuchen.Checked());
}

void TDateiSuchenDlg::FormShow(TObject*) {
    Fehlercode = fc::DateiSuchenFormShow;
    m_ok = false;
    m_mru.Borrow(m_kontext.MRUList, &MyPopup.Items(), bind(this, &TDateiSuchenDlg::MRUClick));
    m_quelle.SetRecent(NewestFirst(m_kontext.RecentDirs));
    // Today's date goes into both edits without ticking the date test.
    const bool datum = Datumbeachten.Checked();
    Aelteste.SetText(LocaleDateText(Heute()));
    Juengste.SetText(LocaleDateText(Heute()));
    Datumbeachten.SetChecked(datum);
    m_ordner.clear();
    m_quelle.Rebuild();
    AbhaengigeSchalten();
    Fehlercode = 0;
}

void TDateiSuchenDlg::OKBtnClick(TObject*) {
    m_ok = true;
    m_quelle.Commit();
}

void TDateiSuchenDlg::CancelBtnClick(TObject*) { m_ok = false; }

void TDateiSuchenDlg::FormClose(TObject*, TCloseAction& Action) {
    Fehlercode = fc::DateiSuchenFormClose;
    if (m_ok) {
        m_ok = false;
        m_checking = true;
        const bool gut = Pruefen();
        m_checking = false;
        if (!gut) {
            Action = TCloseAction::caNone;
            Fehlercode = 0;
            return;
        }
    }
    m_mru.GiveBack();
    Fehlercode = 0;
}

bool TDateiSuchenDlg::Pruefen() {
    const std::wstring filter = DateiFilter.Text();
    if (filter.empty() || ExtractFileName(filter) != filter) {
        MessageDlg(L"Das Dateifilter-Feld enthält eine unerlaubte Eingabe.\rBitte geben Sie einen Filter wie *.*, "
                   L"*.pas, ... ein.",
                   TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
        Seiten.ShowPageOf(&DateiFilter);
        DateiFilter.SetFocus();
        return false;
    }
    if (m_ordner.empty()) {
        MessageDlg(L"Sie haben vergessen, das zu durchsuchende Verzeichnis anzugeben.", TMsgDlgType::mtError,
                   {TMsgDlgBtn::mbOK});
        return false;
    }
    const size_t vorher = m_ordner.size();
    std::erase_if(m_ordner, [](const std::unique_ptr<TEineDatei>& record) { return !DirectoryExists(record->Name); });
    if (m_ordner.size() != vorher) {
        m_quelle.Rebuild();
        MessageDlg(L"Ein von Ihnen angegebenes Verzeichnis existiert nicht. Es wurde deshalb aus der Liste "
                   L"gelöscht.\rBitte überprüfen Sie, ob alle zu durchsuchenden Verzeichnisse noch in der Liste "
                   L"stehen.",
                   TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
        return false;
    }
    if (!DatenGueltig()) return false;
    if (m_ordner.size() == 1 && m_kontext.AddDirHistory) m_kontext.AddDirHistory(m_ordner.front()->Name);
    return true;
}

bool TDateiSuchenDlg::DatenGueltig() {
    for (TMaskEdit* edit : {&Aelteste, &Juengste})
        if (!MaskenDatum(edit->Text())) {
            MessageDlg(edit->Text() + L" ist kein gültiges Datum!", TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
            Seiten.ShowPageOf(edit);
            edit->SetFocus();
            return false;
        }
    return true;
}

void TDateiSuchenDlg::EigenschaftenbeachtenClick(TObject*) { AbhaengigeSchalten(); }
void TDateiSuchenDlg::TextSuchenClick(TObject*) { AbhaengigeSchalten(); }
void TDateiSuchenDlg::JuengsteChange(TObject*) { Datumbeachten.SetChecked(true); }
void TDateiSuchenDlg::GroessenbereichChange(TObject*) { Groessebeachten.SetChecked(true); }

void TDateiSuchenDlg::DateiGroesseChange(TObject*) {
    Groessebeachten.SetChecked(true);
    if (Groessenbereich.ItemIndex() < 0) Groessenbereich.SetItemIndex(0);
}

void TDateiSuchenDlg::JuengsteExit(TObject*) {
    // The box of a bad text and the focus it puts back leave the edit again:
    // those exits do not check once more.
    if (m_checking || !Visible()) return;
    m_checking = true;
    DatenGueltig();
    m_checking = false;
}

void TDateiSuchenDlg::VerzeichnisseExit(TObject*) {
    if (Visible()) m_quelle.Commit();
}

void TDateiSuchenDlg::VerzeichnisseChange(TObject*) { m_quelle.Change(); }
void TDateiSuchenDlg::VerzeichnisseDropDown(TObject*) { m_quelle.DropDown(); }

void TDateiSuchenDlg::VerzeichnisseKeyPress(TObject*, wchar_t& Key) {
    const std::wstring lower = SystemLower(std::wstring(1, Key));
    if (lower.size() == 1) Key = lower[0];
}

void TDateiSuchenDlg::VerzeichnisseKeyUp(TObject*, WORD& Key, TShiftState Shift) { m_quelle.KeyUp(Key, Shift); }

void TDateiSuchenDlg::Button1Click(TObject*) {
    Fehlercode = fc::DateiSuchenOrdnerSuchen;
    std::wstring folder;
    if (OrdnerWaehlen && OrdnerWaehlen(L"In welchem Verzeichnis soll gesucht werden?", folder) && !folder.empty()) {
        m_quelle.AddName(SystemLower(ExcludeTrailingBackslash(folder)));
        m_quelle.Rebuild();
    }
    Fehlercode = 0;
}

void TDateiSuchenDlg::BitBtn1Click(TObject*) {
    Fehlercode = fc::DateiSuchenListEditor;
    if (!m_editor) {
        m_editor = Create<TDateienBearbeitenDlg>(this);
        m_editor->NamenMuessenExistieren = true;
    }
    m_quelle.Commit();
    m_editor->SetListe(L"In folgenden Verzeichnissen soll gesucht werden:", m_ordner);
    if (m_editor->ShowModal() == mrOk) {
        m_editor->DateilisteAbgleichen(m_ordner, true);
        m_quelle.Rebuild();
    }
    Fehlercode = 0;
}

void TDateiSuchenDlg::HilfeButtonClick(TObject*) {
    if (Application) Application->HelpContext(HelpContext);
}

void TDateiSuchenDlg::MRUClick(TObject*, const std::wstring& Path) {
    m_quelle.AddName(SystemLower(ExcludeTrailingBackslash(Path)));
    m_quelle.Rebuild();
}

// ---- The progress dialog ----------------------------------------------------

const std::vector<std::wstring>& TSuchFortschritt::ArchivMasken() {
    static const std::vector<std::wstring> masks{L"*.zip", L"*.arj", L"*.lzh", L"*.rar", L"*.arc", L"*.zoo"};
    return masks;
}

TSuchFortschritt::TSuchFortschritt(TComponent* Owner, const TDateiDialogKontext& Kontext, TDateiSuchenDlg& Suchen)
    : TPositionsDialog(Owner, L"Suchfort"), Label1(this), Verzeichnis(this), Dateiliste(this), LinkesFenster(this),
      RechtesFenster(this), CancelBtn(this), SuchKomp(this), m_kontext(Kontext), m_suchen(Suchen), m_bilder(this) {
    SetCaption(L"Suchfortschritt");
    TDialogLayout lay(*this);
    lay.Place(Label1, 6, 6, 240, 10);
    lay.Place(Verzeichnis, 6, 18, 290, 10);
    lay.Place(Dateiliste, 6, 32, 290, 110);
    Dateiliste.SetViewStyle(TViewStyle::vsReport);
    Dateiliste.ReadOnly = true;
    Dateiliste.MultiSelect = true;
    // A search may list a hundred thousand files: the texts and icons of a row
    // are made when the window shows it.
    Dateiliste.DisplayCallbacks = true;
    Dateiliste.RowsOnly = true;
    Dateiliste.OnData = bind(this, &TSuchFortschritt::DateilisteData);
    std::vector<int> widths = ParseColumnWidths(RegReadUserValue(DialogeSchluessel, kSpaltenWert));
    if (widths.size() != kSpaltenStandard.size()) widths = kSpaltenStandard;
    // The header would take the "&" as the mark of a key: doubled, it shows.
    const wchar_t* captions[] = {L"Pfad && Name", L"Größe", L"Datum"};
    for (size_t i = 0; i < 3; ++i)
        Dateiliste.AddColumn({captions[i], widths[i], i == 1 ? TAlignment::taRightJustify : TAlignment::taLeftJustify});
    LinkesFenster.SetCaption(L"Suchergebnis im &linken Fenster anzeigen");
    lay.Place(LinkesFenster, 6, 148, 200, 10);
    RechtesFenster.SetCaption(L"Suchergebnis im &rechten Fenster anzeigen");
    lay.Place(RechtesFenster, 6, 160, 200, 10);
    CancelBtn.SetCaption(L"Abbrechen");
    CancelBtn.Cancel = true;
    CancelBtn.ModalResult = mrCancel;
    lay.Place(CancelBtn, 246, 152, 50, 14);
    lay.SetClientSize(*this, 302, 172);

    SuchKomp.OnFound = bind(this, &TSuchFortschritt::SuchKompFound);
    SuchKomp.OnSearchDirectory = bind(this, &TSuchFortschritt::SuchKompSearchDirectory);
    SuchKomp.Pump = [this] { Pumpen(); };
    OnShow = bind(this, &TSuchFortschritt::FormShow);
    OnActivate = bind(this, &TSuchFortschritt::FormActivate);
    OnDestroy = bind(this, &TSuchFortschritt::FormDestroy);
    CancelBtn.OnClick = bind(this, &TSuchFortschritt::CancelBtnClick);
    LinkesFenster.OnClick = bind(this, &TSuchFortschritt::LinkesFensterClick);
    RechtesFenster.OnClick = bind(this, &TSuchFortschritt::RechtesFensterClick);
}

TSuchFortschritt::~TSuchFortschritt() { Dateiliste.Clear(); }

void TSuchFortschritt::FormDestroy(TObject*) {
    std::vector<int> widths;
    for (int i = 0; i < Dateiliste.ColumnCount(); ++i) widths.push_back(Dateiliste.ColumnWidth(i));
    WriteColumnWidths(kSpaltenWert, widths);
}

void TSuchFortschritt::FormShow(TObject*) {
    Dateiliste.Clear();
    m_zeilen.clear();
    m_gezeigtBis = 0;
    m_ordnerGezeigt = 0;
    Label1.SetCaption(L"Durchsuche momentan das Verzeichnis");
    Verzeichnis.SetFileName(L"");
    CancelBtn.SetCaption(L"Abbrechen");
    m_stop = false;
    m_gestartet = false;
    LinkesFenster.SetVisible(false);
    RechtesFenster.SetVisible(false);
    TDialogLayout lay(*this);
    lay.Place(Dateiliste, 6, 32, 290, 110);
    m_standardIcons = m_kontext.StandardIcons;
    if (IconRoutinen && !Dateiliste.SmallImages) {
        m_bilder.SetHandle(IconRoutinen->SmallImages, true);
        Dateiliste.SmallImages = &m_bilder;
        if (Dateiliste.HandleAllocated())
            SendMessageW(Dateiliste.Handle(), LVM_SETIMAGELIST, LVSIL_SMALL,
                         reinterpret_cast<LPARAM>(m_bilder.Handle()));
    }
}

void TSuchFortschritt::FormActivate(TObject*) {
    EinmalProZeigen(*this, m_gestartet, [this] { SucheStarten(); });
}

void TSuchFortschritt::CancelBtnClick(TObject*) {
    m_stop = true;
    SuchKomp.Stop();
}

// Cancel, Esc and the close box all leave a modal result behind: each stops the
// search, and the dialog closes once it has returned.
void TSuchFortschritt::Pumpen() {
    if (Application) Application->ProcessMessages();
    if (ModalResult() != mrNone) {
        m_stop = true;
        SuchKomp.Stop();
    }
    ZeilenZeigen(false);
}

bool TSuchFortschritt::EigenschaftenPruefen(std::int64_t Size, TDateTime Date) const {
    return !m_pruefen || m_pruefung.Passt(Size, Date);
}

void TSuchFortschritt::SucheStarten() {
    Fehlercode = fc::SucheStarten;
    if (m_laeuft) return;
    m_laeuft = true;
    m_gelistet.clear();
    m_pruefen = m_suchen.Eigenschaftenbeachten.Checked();
    m_pruefung = m_suchen.Pruefung();
    m_maske = SystemLower(m_suchen.DateiFilter.Text());
    for (const std::wstring& folder : m_suchen.GetVerzeichnisse()) {
        if (m_stop) break;
        SuchKomp.FileMask = m_suchen.DateiFilter.Text();
        SuchKomp.SubDirectories = m_suchen.Unterverzeichnisse.Checked();
        SuchKomp.MatchCase = m_suchen.Schreibweisebeachten.Checked();
        SuchKomp.StartDirectory = folder;
        if (m_suchen.TextSuchen.Checked()) {
            SuchKomp.SearchText = m_suchen.Text.Text();
            SuchKomp.SearchType = m_suchen.OnlyTextdateien.Checked() ? TSearchType::stText : TSearchType::stAll;
        } else {
            SuchKomp.SearchText.clear();
        }
        m_archivLauf = false;
        try {
            SuchKomp.Execute();
        } catch (const EFindError&) {
            // The folder went away after the dialog checked it: the others are
            // still searched.
            continue;
        }
        if (!m_suchen.InclArchive.Checked()) continue;
        m_archivLauf = true;
        SuchKomp.SearchText.clear();
        if (m_kontext.SucheLiestArchive) m_kontext.SucheLiestArchive(true);
        for (const std::wstring& mask : ArchivMasken()) {
            if (m_stop) break;
            SuchKomp.FileMask = mask;
            try {
                SuchKomp.Execute();
            } catch (const EFindError&) {
                break;
            }
        }
        if (m_kontext.SucheLiestArchive) m_kontext.SucheLiestArchive(false);
        m_archivLauf = false;
    }
    ZeilenZeigen(true);
    Label1.SetCaption(L"Gefundene Dateien:");
    Verzeichnis.SetFileName(L"");
    LinkesFenster.SetVisible(true);
    RechtesFenster.SetVisible(true);
    TDialogLayout lay(*this);
    lay.Place(Dateiliste, 6, 6, 290, 136);
    CancelBtn.SetCaption(L"Schließen");
    m_laeuft = false;
    Fehlercode = 0;
}

void TSuchFortschritt::SuchKompFound(TObject*, const std::wstring& FileName, std::int64_t) {
    if (ModalResult() != mrNone) {
        m_stop = true;
        SuchKomp.Stop();
    }
    if (m_stop) return;
    if (m_archivLauf) {
        ArchivDurchsuchen(FileName);
        return;
    }
    auto record = std::make_unique<TEineDatei>();
    record->Name = FileName;
    // The search's own enumeration knows the file; a look-up only for a name
    // reported from elsewhere.
    if (const TIMLFindText::TEntry* found = SuchKomp.Current(); found && found->Name == FileName) {
        record->Size = found->Size;
        record->Time = LokaleDateiZeit(found->LastWrite);
        record->Attr = static_cast<std::int32_t>(found->Attributes);
    } else {
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (!GetFileAttributesExW(FileName.c_str(), GetFileExInfoStandard, &data)) return;
        record->Size = (static_cast<std::int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        record->Time = LokaleDateiZeit(data.ftLastWriteTime);
        record->Attr = static_cast<std::int32_t>(data.dwFileAttributes);
    }
    if (!EigenschaftenPruefen(record->Size, record->Time)) return;
    std::wstring lower = SystemLower(FileName);
    if (!m_gelistet.insert(lower).second) return;
    Hinzufuegen(std::move(record), std::move(lower));
}

void TSuchFortschritt::ArchivDurchsuchen(const std::wstring& Archive) {
    // An archive reached twice is listed once (and a damaged one says so once).
    if (!m_gelistet.insert(L"?" + SystemLower(Archive)).second) return;
    std::uint8_t kind = 0;
    if (!m_kontext.ArchivTyp || !m_kontext.ArchivLesen || !m_kontext.ArchivTyp(Archive, kind)) return;
    TDateiListe entries;
    m_kontext.ArchivLesen(kind, Archive, entries);
    for (auto& entry : entries) {
        const std::wstring name = SystemLower(OhneBackslash(entry->Name));
        if (!TDateiRoutinen::MatchesMask(SystemLower(ExtractFileName(name)), m_maske)) continue;
        if (!EigenschaftenPruefen(entry->Size, entry->Time)) continue;
        entry->InArchive = true;
        entry->ArchivPfad = Archive;
        Hinzufuegen(std::move(entry), name + L" in " + SystemLower(Archive));
    }
}

void TSuchFortschritt::Hinzufuegen(std::unique_ptr<TEineDatei> Record, std::wstring Caption) {
    m_zeilen.push_back({std::move(Caption), Record->InArchive ? OhneBackslash(Record->Name) : Record->Name, Record->Size,
                        Record->Time});
    if (m_kontext.Suchergebnis) m_kontext.Suchergebnis->push_back(std::move(Record));
    ZeilenZeigen(false);
}

void TSuchFortschritt::ZeilenZeigen(bool Jetzt) {
    if (m_gezeigtBis == m_zeilen.size()) return;
    const ULONGLONG now = GetTickCount64();
    if (!Jetzt && now - m_gezeigt < kZeilenIntervall) return;
    m_gezeigt = now;
    Dateiliste.BeginUpdate();
    for (; m_gezeigtBis < m_zeilen.size(); ++m_gezeigtBis)
        Dateiliste.AddItem(m_zeilen[m_gezeigtBis].Caption, &m_zeilen[m_gezeigtBis]);
    Dateiliste.EndUpdate();
}

void TSuchFortschritt::DateilisteData(TObject*, TListItem* Item) {
    const auto* zeile = static_cast<const TZeile*>(Item->Data);
    if (!zeile || !Item->SubItems().Empty()) return;
    TStringList texts;
    texts.Add(GroesseInKB(zeile->Size));
    texts.Add(DatumUndZeit(zeile->Time));
    Item->SetSubItems(texts);
    Item->SetImageIndex(Icon(zeile->IconName));
}

int TSuchFortschritt::Icon(const std::wstring& Name) {
    if (m_standardIcons && IconRoutinen) return IconRoutinen->GetIconIndex(Name);
    const std::wstring ext = SystemLower(ExtractFileExt(Name));
    if (auto found = m_icons.find(ext); found != m_icons.end()) return found->second;
    SHFILEINFOW info{};
    const int icon = SHGetFileInfoW((L"x" + ext).c_str(), FILE_ATTRIBUTE_NORMAL, &info, sizeof info,
                                    SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX | SHGFI_SMALLICON)
                         ? info.iIcon
                         : -1;
    m_icons.emplace(ext, icon);
    return icon;
}

// The folder label measures and paints its text, round trips under Wine: it
// follows the search at most every 100 ms.
void TSuchFortschritt::SuchKompSearchDirectory(TObject*, const std::wstring& DirName) {
    const ULONGLONG now = GetTickCount64();
    if (now - m_ordnerGezeigt < kZeilenIntervall) return;
    m_ordnerGezeigt = now;
    Verzeichnis.SetFileName(SystemLower(DirName));
}

void TSuchFortschritt::LinkesFensterClick(TObject*) {
    if (LinkesFenster.Checked()) RechtesFenster.SetChecked(false);
}

void TSuchFortschritt::RechtesFensterClick(TObject*) {
    if (RechtesFenster.Checked()) LinkesFenster.SetChecked(false);
}

}  // namespace velmora
