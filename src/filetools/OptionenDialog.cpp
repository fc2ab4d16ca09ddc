#include "OptionenDialog.h"

#include "FileToolsCodes.h"
#include "foundation/controls/BrowseDr.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Layout.h"
#include "platform/gui/OpenDialog.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/PathNames.h"
#include "platform/rtl/Strings.h"

namespace velmora {

using namespace gui;

namespace {

const TStringList kSchreibweisen{L"Kleinbuchstaben", L"Großbuchstaben", L"Normal"};

struct TSuche {
    const wchar_t* Titel;
    const wchar_t* Filter;
    int Index;
};

const TSuche kZipPacker{L"Zip-Packer suchen",
                        L"Alle Exe-Dateien (*.exe)|*.exe|Alle Dateien (*.*)|*.*|Zip-Packer (pkzip.exe)|pkzip.exe", 3};
const TSuche kZipEntpacker{
    L"Zip-Entpacker suchen",
    L"Alle Exe-Dateien (*.exe)|*.exe|Alle Dateien (*.*)|*.*|Zip-Entpacker (pkunzip.exe)|pkunzip.exe", 3};
const TSuche kZip2Exe{
    L"Zip-nach-Exe-Konverter suchen",
    L"Alle Exe-Dateien (*.exe)|*.exe|Alle Dateien (*.*)|*.*|Zip-nach-Exe-Konverter (zip2exe.exe)|zip2exe.exe", 3};
const TSuche kEditor{L"Editor suchen",
                     L"Ausführbare Dateien (*.exe, *.com, *.pif, *.bat)|*.exe;*.com;*.pif;*.bat|Alle Dateien (*.*)|*.*",
                     0};

const wchar_t kBitteEingabe[] = L"\rBitte überprüfen Sie Ihre Eingabe.";

void Kleinschrift(TEdit& Edit, bool Klein) {
    Edit.CharCase = Klein ? TEditCharCase::ecLowerCase : TEditCharCase::ecNormal;
    if (!Edit.HandleAllocated()) return;
    const LONG_PTR style = GetWindowLongPtrW(Edit.Handle(), GWL_STYLE);
    SetWindowLongPtrW(Edit.Handle(), GWL_STYLE, Klein ? (style | ES_LOWERCASE) : (style & ~LONG_PTR(ES_LOWERCASE)));
}

std::unique_ptr<TEineDatei> Ordner(const std::wstring& Name) {
    auto record = std::make_unique<TEineDatei>();
    record->Name = Name;
    record->Attr = 16;
    return record;
}

}  // namespace

bool NormalisiereEndungen(const std::wstring& Text, std::wstring& Result) {
    std::wstring text = Text;
    if (text.empty() || text.back() != L';') text += L';';
    std::wstring joined;
    size_t start = 0;
    for (size_t end = text.find(L';'); end != std::wstring::npos; start = end + 1, end = text.find(L';', start)) {
        std::wstring piece = text.substr(start, end - start);
        const size_t first = piece.find_first_not_of(L' ');
        piece = first == std::wstring::npos ? L"" : piece.substr(first);
        while (!piece.empty() && piece.back() == L' ') piece.pop_back();
        if (!piece.empty() && piece[0] == L'*') piece.erase(0, 1);
        if (!piece.empty() && piece[0] == L'.') piece.erase(0, 1);
        if (piece.size() > 3) return false;
        if (!joined.empty()) joined += L';';
        joined += L"." + piece;
    }
    Result = joined;
    return true;
}

TOptionenDlg::TOptionenDlg(TComponent* Owner, TWeiterePacker WeiterePacker)
    : TPositionsDialog(Owner, L"Op"), Seiten(this), SeiteAnsicht(this), SeiteDateiliste(this),
      SeiteArchivviewer(this), SeiteBestaetigungen(this), SeiteArchiv(this), SeiteArcDrop(this),
      SeiteSonstiges(this), GroupBox1(this), GroupBox2(this), SymbolleisteAnzeigen(this), DOSZeileAnzeigen(this),
      FTastenAnzeigen(this), StatuszeileAnzeigen(this), SuchergSimpleIcons(this), CheckArchive(this), Label1(this),
      Label2(this), Label3(this), DLDateiSchreibweise(this), DLVSchreibweise(this), GroupBox3(this),
      GroupBox4(this), GroupBox5(this), GroupBox6(this), DLVEinfassen(this), DLVEinfZeichen(this),
      IconsAnzeigen(this), DLStandardIcons(this), DLStatuszeile(this), ADLStatuszeile(this),
      ADLDOSNameAnzeigen(this), ADLAttrAnzeigen(this), ADLDatumAnzeigen(this), ADLTypAnzeigen(this),
      ADLGroesseAnzeigen(this), Label4(this), Label5(this), Label6(this), AVDateiSchreibweise(this),
      AVVSchreibweise(this), AVVEinfassen(this), AVVEinfZeichen(this), AVIconsAnzeigen(this), AVStandardIcons(this),
      AVStatuszeile(this), GroupBox7(this), GroupBox8(this), OeffnenMitParametern(this),
      AuswahlDlgVorLoeschen(this), Loeschabfrage(this), NichtAlleUeberschreiben(this), KopierDlgZeigen(this),
      VerschiebDlgZeigen(this), LinkDlgZeigen(this), ArcDlgZeigen(this), UseTempFile(this), Label7(this),
      StoredExtensions(this), AskBeforeOpen(this), ExtraNachfragen(this), ExternePackerImHintergrund(this),
      ShowOnDoubleClick(this), GroupBox9(this), Label8(this), Label9(this), Label10(this), ZipPath(this),
      UnZipPath(this), Zip2ExePath(this), PkZipSuchenBtn(this), PkUnZipSuchenBtn(this), Zip2ExeSuchenBtn(this),
      UseInternZip(this), UseInternUnZip(this), Button1(this), DropPfadangaben(this), VerschiebenBestaetigen(this),
      GroupBox10(this), NurWennAktueller(this), NurWennAktuellerUndVorhanden(this), PfadeSpeichern(this),
      Unterverzeichnisse(this), DosDateiNamenBenutzen(this), Label11(this), Methode(this), LoeschGroup(this),
      Label12(this), Editor(this), EditorSuchenBtn(this), ClearLists(this), GroupBox11(this),
      Lieblingsverzeichnisse(this), BitBtn1(this), OrdnerSuchenBtn(this), Label13(this), WeitereMRUEintraege(this),
      AktPfadSichern(this), OKBtn(this), CancelBtn(this), HilfeBtn(this), m_weiterePacker(std::move(WeiterePacker)) {
    SetCaption(L"Optionen und Einstellungen");
    TDialogLayout lay(*this);
    lay.Place(Seiten, 4, 4, 292, 200);
    struct {
        TTabSheet* Seite;
        const wchar_t* Titel;
    } const seiten[] = {{&SeiteAnsicht, L"Ansicht"},
                        {&SeiteDateiliste, L"Ansicht Dateiliste"},
                        {&SeiteArchivviewer, L"Archivviewer"},
                        {&SeiteBestaetigungen, L"Bestätigungen"},
                        {&SeiteArchiv, L"Archiveinstellungen"},
                        {&SeiteArcDrop, L"Archiv-Drag 'n' Drop"},
                        {&SeiteSonstiges, L"Sonstiges"}};
    for (const auto& s : seiten) {
        s.Seite->SetCaption(s.Titel);
        s.Seite->SetPageControl(&Seiten);
    }
    auto box = [&](TCheckBox& c, TWinControl& parent, const wchar_t* caption, int x, int y, int w = 260) {
        c.SetParent(&parent);
        c.SetCaption(caption);
        lay.Place(c, x, y, w, 10);
    };
    auto group = [&](TGroupBox& g, TWinControl& parent, const wchar_t* caption, int x, int y, int w, int h) {
        g.SetParent(&parent);
        g.SetCaption(caption);
        lay.Place(g, x, y, w, h);
    };
    auto label = [&](TLabel& l, TWinControl& parent, const wchar_t* caption, TWinControl* focus, int x, int y, int w) {
        l.SetParent(&parent);
        l.SetCaption(caption);
        l.SetFocusControl(focus);
        lay.Place(l, x, y, w, 10);
    };
    auto liste = [&](TComboBox& c, TWinControl& parent, const TStringList& items, int x, int y, int w) {
        c.SetParent(&parent);
        c.SetStyle(TComboBoxStyle::csDropDownList);
        c.SetItems(items);
        lay.Place(c, x, y, w, 80);
    };

    // "Ansicht"
    group(GroupBox1, SeiteAnsicht, L"Im Hauptfenster anzuzeigende Elemente", 6, 6, 276, 66);
    box(SymbolleisteAnzeigen, GroupBox1, L"&Symbolleiste", 8, 12);
    box(DOSZeileAnzeigen, GroupBox1, L"&DOS - Befehlszeile", 8, 24);
    box(FTastenAnzeigen, GroupBox1, L"&F - Tasten-Leiste", 8, 36);
    box(StatuszeileAnzeigen, GroupBox1, L"Status&zeile", 8, 48);
    for (TCheckBox* c : {&SymbolleisteAnzeigen, &DOSZeileAnzeigen, &FTastenAnzeigen, &StatuszeileAnzeigen})
        c->SetChecked(true);
    group(GroupBox2, SeiteAnsicht, L"Anzeige von Sammelkorb und Suchergebnis", 6, 78, 276, 42);
    box(SuchergSimpleIcons, GroupBox2, L"Standard&icons anzeigen", 8, 12);
    box(CheckArchive, GroupBox2, L"Beim &Ansicht-Aktualisieren auch archivierte Dateien überprüfen", 8, 24);

    // "Ansicht Dateiliste"
    label(Label1, SeiteDateiliste, L"Schreibweise der &Dateien:", &DLDateiSchreibweise, 6, 8, 90);
    liste(DLDateiSchreibweise, SeiteDateiliste, kSchreibweisen, 98, 6, 80);
    label(Label2, SeiteDateiliste, L"S&chreibweise", &DLVSchreibweise, 6, 24, 90);
    liste(DLVSchreibweise, SeiteDateiliste, kSchreibweisen, 98, 22, 80);
    group(GroupBox3, SeiteDateiliste, L"Verzeichnisdarstellung", 6, 40, 134, 44);
    box(DLVEinfassen, GroupBox3, L"&Einfassen", 8, 12, 100);
    label(Label3, GroupBox3, L"Ein&fassungszeichen", &DLVEinfZeichen, 8, 28, 70);
    DLVEinfZeichen.SetParent(&GroupBox3);
    DLVEinfZeichen.SetMaxLength(2);
    lay.Place(DLVEinfZeichen, 82, 26, 24, 12);
    group(GroupBox4, SeiteDateiliste, L"Allgemeine Einstellungen", 146, 40, 136, 44);
    box(IconsAnzeigen, GroupBox4, L"&Icons anzeigen", 8, 12, 120);
    box(DLStandardIcons, GroupBox4, L"&Standard-Icons anzeigen", 16, 26, 112);
    group(GroupBox5, SeiteDateiliste, L"Statuszeile", 6, 90, 276, 36);
    box(DLStatuszeile, GroupBox5, L"Status&zeile für Dateiliste", 8, 12);
    box(ADLStatuszeile, GroupBox5, L"Statuszeile f&ür ausf. Dateiliste", 8, 22);
    group(GroupBox6, SeiteDateiliste, L"Anzuzeigende Spalten", 6, 130, 276, 44);
    box(ADLDOSNameAnzeigen, GroupBox6, L"DOS-&Name anzeigen", 8, 12, 84);
    box(ADLAttrAnzeigen, GroupBox6, L"&Attribute anzeigen", 96, 12, 84);
    box(ADLDatumAnzeigen, GroupBox6, L"Dat&um anzeigen", 184, 12, 84);
    box(ADLTypAnzeigen, GroupBox6, L"Dateit&yp anzeigen", 8, 26, 84);
    box(ADLGroesseAnzeigen, GroupBox6, L"Dateigr&öße anzeigen", 96, 26, 84);

    // "Archivviewer"
    label(Label4, SeiteArchivviewer, L"Schreibweise der &Dateien:", &AVDateiSchreibweise, 6, 8, 90);
    liste(AVDateiSchreibweise, SeiteArchivviewer, kSchreibweisen, 98, 6, 80);
    label(Label5, SeiteArchivviewer, L"S&chreibweise", &AVVSchreibweise, 6, 24, 90);
    liste(AVVSchreibweise, SeiteArchivviewer, kSchreibweisen, 98, 22, 80);
    box(AVVEinfassen, SeiteArchivviewer, L"&Einfassen", 6, 44, 100);
    label(Label6, SeiteArchivviewer, L"Ein&fassungszeichen", &AVVEinfZeichen, 6, 60, 70);
    AVVEinfZeichen.SetParent(&SeiteArchivviewer);
    AVVEinfZeichen.SetMaxLength(2);
    lay.Place(AVVEinfZeichen, 80, 58, 24, 12);
    box(AVIconsAnzeigen, SeiteArchivviewer, L"&Icons anzeigen", 6, 80);
    box(AVStandardIcons, SeiteArchivviewer, L"&Standard-Icons anzeigen", 14, 94);
    box(AVStatuszeile, SeiteArchivviewer, L"Status&zeile anzeigen", 6, 110);

    // "Bestätigungen"
    group(GroupBox7, SeiteBestaetigungen, L"Sicherheitsbestätigungen", 6, 6, 276, 66);
    box(OeffnenMitParametern, GroupBox7, L"Vor dem Öffnen von Dateien nach &Parametern fragen", 8, 12);
    box(AuswahlDlgVorLoeschen, GroupBox7, L"Bevor Dateien gelöscht werden, noch mal den Aus&wahldialog anzeigen", 8,
        24);
    box(Loeschabfrage, GroupBox7, L"Sicherheitsnachfrage vor dem Löschen von &Dateien", 8, 36);
    box(NichtAlleUeberschreiben, GroupBox7,
        L"Sicherheitsnachfrage vor dem Überschreiben bereits e&xistierender Dateien", 8, 48);
    Loeschabfrage.SetChecked(true);
    NichtAlleUeberschreiben.SetChecked(true);
    group(GroupBox8, SeiteBestaetigungen, L"Bestätigungen bei Drag and Drop Aktionen", 6, 78, 276, 66);
    box(KopierDlgZeigen, GroupBox8, L"Bei &Kopieraktion Dialog anzeigen", 8, 12);
    box(VerschiebDlgZeigen, GroupBox8, L"Bei &Verschiebeaktion Dialog anzeigen", 8, 24);
    box(LinkDlgZeigen, GroupBox8, L"Bei Verkn&üpfungsaktion Dialog anzeigen", 8, 36);
    box(ArcDlgZeigen, GroupBox8, L"Bei &Archivierungsaktion Dialog anzeigen", 8, 48);

    // "Archiveinstellungen"
    box(UseTempFile, SeiteArchiv, L"&Temporäre Datei benutzen", 6, 6, 130);
    UseTempFile.SetChecked(true);
    label(Label7, SeiteArchiv, L"&Nicht zu komprimierende Dateitypen:", &StoredExtensions, 6, 20, 130);
    StoredExtensions.SetParent(&SeiteArchiv);
    lay.Place(StoredExtensions, 140, 18, 140, 12);
    box(AskBeforeOpen, SeiteArchiv, L"Vor &Öffnen gepackter Dateien nachfragen", 6, 34);
    box(ExtraNachfragen, SeiteArchiv, L"Vor Öffnen gepackter &Archive extra nachfragen", 14, 46, 252);
    box(ExternePackerImHintergrund, SeiteArchiv, L"Externe &Packer im Hintergrund laufen lassen", 6, 58);
    box(ShowOnDoubleClick, SeiteArchiv, L"&Doppelklick zeigt Archivinhalt", 6, 70);
    group(GroupBox9, SeiteArchiv, L"Packerkonfiguration", 6, 84, 276, 94);
    struct {
        TLabel* Label;
        const wchar_t* Titel;
        TEdit* Pfad;
        TButton* Suchen;
        int Y;
    } const pfade[] = {{&Label8, L"Zip-Pa&cker:", &ZipPath, &PkZipSuchenBtn, 12},
                       {&Label9, L"Z&ip-Entpacker:", &UnZipPath, &PkUnZipSuchenBtn, 28},
                       {&Label10, L"Zip nach E&xe:", &Zip2ExePath, &Zip2ExeSuchenBtn, 44}};
    for (const auto& p : pfade) {
        label(*p.Label, GroupBox9, p.Titel, p.Pfad, 8, p.Y + 2, 56);
        p.Pfad->SetParent(&GroupBox9);
        lay.Place(*p.Pfad, 66, p.Y, 180, 12);
        p.Suchen->SetParent(&GroupBox9);
        p.Suchen->SetCaption(L"...");
        p.Suchen->Hint = L"Nach Datei(en) suchen";
        p.Suchen->ShowHint = true;
        lay.Place(*p.Suchen, 250, p.Y, 16, 12);
        p.Suchen->OnClick = bind(this, &TOptionenDlg::SuchenBtnClick);
    }
    box(UseInternZip, GroupBox9, L"Benutze internen &Zip-Packer", 8, 62, 186);
    box(UseInternUnZip, GroupBox9, L"Benutze, wenn möglich, internen Zip-&Entpacker", 8, 76, 186);
    Button1.SetParent(&GroupBox9);
    Button1.SetCaption(L"&Weitere Packer");
    lay.Place(Button1, 200, 72, 66, 14);

    // "Archiv-Drag 'n' Drop"
    DropPfadangaben.SetParent(&SeiteArcDrop);
    DropPfadangaben.SetCaption(L"Pfadangaben beim Extrahieren gedropter Dateien");
    DropPfadangaben.SetItems({L"Gespeicherte Pfade &ignorieren", L"&Relative Pfade verwenden",
                              L"Vollst&ändige Pfade verwenden", L"Vor E&xtrahieren nachfragen"});
    DropPfadangaben.SetItemIndex(3);
    lay.Place(DropPfadangaben, 6, 6, 276, 60);
    box(VerschiebenBestaetigen, SeiteArcDrop, L"&Verschieben aus Archiven extra bestätigen", 6, 70);
    group(GroupBox10, SeiteArcDrop, L"Standardeinstellungen beim Ziehen von Dateien in ein Archiv", 6, 84, 276, 96);
    box(NurWennAktueller, GroupBox10, L"Datei(en) nur &komprimieren, wenn aktueller", 8, 12);
    box(NurWennAktuellerUndVorhanden, GroupBox10, L"&Nur komprimieren, wenn aktueller und bereits vorhanden", 8, 24);
    box(PfadeSpeichern, GroupBox10, L"Datei&pfade speichern", 8, 36);
    box(Unterverzeichnisse, GroupBox10, L"&Unterverzeichnisse einschließen", 8, 48);
    box(DosDateiNamenBenutzen, GroupBox10, L"&DOS-Dateinamen benutzen (8.3-Format)", 8, 60);
    label(Label11, GroupBox10, L"Kompressions&methode:", &Methode, 8, 78, 80);
    liste(Methode, GroupBox10, {L"Maximal", L"Sehr gut", L"Normal", L"Schnell", L"Sehr schnell", L"Gar Nicht"}, 90,
          76, 80);

    // "Sonstiges"
    LoeschGroup.SetParent(&SeiteSonstiges);
    LoeschGroup.SetCaption(L"Zu löschende Dateien ...");
    LoeschGroup.SetItems({L"... in den &Papierkorb verschieben", L"... &wirklich löschen",
                          L"... löschen und vorher mit &Nullbytes überschreiben"});
    LoeschGroup.SetItemIndex(0);
    lay.Place(LoeschGroup, 6, 6, 276, 48);
    label(Label12, SeiteSonstiges, L"&Editor, der nach F4 gestartet werden soll:", &Editor, 6, 60, 200);
    Editor.SetParent(&SeiteSonstiges);
    Editor.CharCase = TEditCharCase::ecLowerCase;
    lay.Place(Editor, 6, 72, 256, 12);
    EditorSuchenBtn.SetParent(&SeiteSonstiges);
    EditorSuchenBtn.SetCaption(L"...");
    EditorSuchenBtn.Hint = L"Nach Datei(en) suchen";
    EditorSuchenBtn.ShowHint = true;
    lay.Place(EditorSuchenBtn, 266, 72, 16, 12);
    EditorSuchenBtn.OnClick = bind(this, &TOptionenDlg::SuchenBtnClick);
    box(ClearLists, SeiteSonstiges, L"Dateiauswahlfelder bei Neueingabe vorher &zurücksetzen", 6, 90);
    group(GroupBox11, SeiteSonstiges, L"Oft benutzte Verzeichnisse", 6, 104, 276, 50);
    Lieblingsverzeichnisse.SetParent(&GroupBox11);
    Lieblingsverzeichnisse.CharCase = TEditCharCase::ecLowerCase;
    lay.Place(Lieblingsverzeichnisse, 8, 12, 212, 12);
    BitBtn1.SetParent(&GroupBox11);
    BitBtn1.SetCaption(L"&Liste...");
    lay.Place(BitBtn1, 224, 12, 44, 12);
    OrdnerSuchenBtn.SetParent(&GroupBox11);
    OrdnerSuchenBtn.SetCaption(L"&Ordner...");
    lay.Place(OrdnerSuchenBtn, 224, 28, 44, 12);
    label(Label13, GroupBox11, L"Weitere Eintr&äge:", &WeitereMRUEintraege, 8, 32, 60);
    WeitereMRUEintraege.SetParent(&GroupBox11);
    WeitereMRUEintraege.SetValueType(TValueType::vtInteger);
    WeitereMRUEintraege.Decimal = 0;
    WeitereMRUEintraege.MinValue = 0;
    WeitereMRUEintraege.MaxValue = 20;
    WeitereMRUEintraege.Increment = 1;
    WeitereMRUEintraege.SetMaxLength(2);
    lay.Place(WeitereMRUEintraege, 70, 30, 30, 12);
    box(AktPfadSichern, SeiteSonstiges, L"&Aktuellen Pfad beim Verlassen speichern", 6, 160);

    SetUpButtons(OKBtn, CancelBtn, HilfeBtn);
    lay.Row(144, 208, 14, {{&OKBtn, 48}, {&CancelBtn, 48}, {&HilfeBtn, 48}});
    lay.SetClientSize(*this, 300, 226);
    SetHelpContextAll(6);

    // The changed flags, one per group.
    auto merkt = [](bool& flag) { return [&flag](TObject*) { flag = true; }; };
    for (TCheckBox* c : {&SymbolleisteAnzeigen, &DOSZeileAnzeigen, &FTastenAnzeigen, &StatuszeileAnzeigen})
        c->OnClick = merkt(Geaendert.Hauptfenster);
    for (TCheckBox* c : {&DLVEinfassen, &DLStandardIcons}) c->OnClick = merkt(Geaendert.Dateiliste);
    for (TComboBox* c : {&DLDateiSchreibweise, &DLVSchreibweise}) c->OnChange = merkt(Geaendert.Dateiliste);
    DLVEinfZeichen.OnChange = merkt(Geaendert.Dateiliste);
    IconsAnzeigen.OnClick = [this](TObject*) {
        Geaendert.Dateiliste = true;
        Abhaengige();
    };
    for (TCheckBox* c :
         {&ADLDOSNameAnzeigen, &ADLAttrAnzeigen, &ADLDatumAnzeigen, &ADLTypAnzeigen, &ADLGroesseAnzeigen})
        c->OnClick = merkt(Geaendert.Spalten);
    for (TCheckBox* c : {&SuchergSimpleIcons, &CheckArchive}) c->OnClick = merkt(Geaendert.Sucherg);
    for (TComboBox* c : {&AVDateiSchreibweise, &AVVSchreibweise}) c->OnChange = merkt(Geaendert.ArcView);
    // Typed brackets count as much as clicked ones.
    AVVEinfZeichen.OnChange = merkt(Geaendert.ArcView);
    for (TCheckBox* c : {&AVVEinfassen, &AVStandardIcons}) c->OnClick = merkt(Geaendert.ArcView);
    AVIconsAnzeigen.OnClick = [this](TObject*) {
        Geaendert.ArcView = true;
        Abhaengige();
    };
    for (TCheckBox* c : {&OeffnenMitParametern, &AuswahlDlgVorLoeschen, &Loeschabfrage, &NichtAlleUeberschreiben,
                         &KopierDlgZeigen, &VerschiebDlgZeigen, &LinkDlgZeigen, &ArcDlgZeigen})
        c->OnClick = merkt(Geaendert.Bestaetigungen);
    for (TCheckBox* c : {&UseTempFile, &ExtraNachfragen, &ExternePackerImHintergrund, &UseInternZip,
                         &UseInternUnZip, &ShowOnDoubleClick})
        c->OnClick = merkt(Geaendert.Archiv);
    for (TEdit* e : {&StoredExtensions, &ZipPath, &UnZipPath, &Zip2ExePath}) e->OnChange = merkt(Geaendert.Archiv);
    AskBeforeOpen.OnClick = [this](TObject*) {
        Geaendert.Archiv = true;
        Abhaengige();
    };
    Button1.OnClick = bind(this, &TOptionenDlg::Button1Click);
    Methode.OnChange = merkt(Geaendert.ArcDragDrop);
    DropPfadangaben.OnClick = merkt(Geaendert.ArcDragDrop);
    for (TCheckBox* c : {&VerschiebenBestaetigen, &PfadeSpeichern, &Unterverzeichnisse, &DosDateiNamenBenutzen})
        c->OnClick = merkt(Geaendert.ArcDragDrop);
    NurWennAktueller.OnClick = [this](TObject*) {
        Geaendert.ArcDragDrop = true;
        if (NurWennAktueller.Checked()) NurWennAktuellerUndVorhanden.SetChecked(false);
    };
    NurWennAktuellerUndVorhanden.OnClick = [this](TObject*) {
        Geaendert.ArcDragDrop = true;
        if (NurWennAktuellerUndVorhanden.Checked()) NurWennAktueller.SetChecked(false);
    };
    LoeschGroup.OnClick = merkt(Geaendert.Sonstiges);
    for (TCheckBox* c : {&ClearLists, &AktPfadSichern}) c->OnClick = merkt(Geaendert.Sonstiges);
    Editor.OnChange = merkt(Geaendert.Sonstiges);
    WeitereMRUEintraege.OnChange = merkt(Geaendert.Sonstiges);
    Lieblingsverzeichnisse.OnChange = [this](TObject*) {
        if (!m_fuellt) Geaendert.Sonstiges = true;
    };
    Lieblingsverzeichnisse.OnExit = bind(this, &TOptionenDlg::LieblingsverzeichnisseExit);
    Lieblingsverzeichnisse.OnKeyUp = bind(this, &TOptionenDlg::LieblingsverzeichnisseKeyUp);
    BitBtn1.OnClick = bind(this, &TOptionenDlg::BitBtn1Click);
    OrdnerSuchenBtn.OnClick = bind(this, &TOptionenDlg::OrdnerSuchenBtnClick);

    OrdnerWaehlen = [this](std::wstring& folder) {
        TBrowseDirectoryDlg browser(this);
        if (!browser.Execute()) return false;
        folder = browser.Selection();
        return true;
    };
    OnShow = bind(this, &TOptionenDlg::FormShow);
    OnClose = bind(this, &TOptionenDlg::FormClose);
    OKBtn.OnClick = bind(this, &TOptionenDlg::OKBtnClick);
    Abhaengige();
    OrdnerfeldZeigen();
}

void TOptionenDlg::Abhaengige() {
    DLStandardIcons.SetEnabled(IconsAnzeigen.Checked());
    AVStandardIcons.SetEnabled(AVIconsAnzeigen.Checked());
    ExtraNachfragen.SetEnabled(AskBeforeOpen.Checked());
}

void TOptionenDlg::FormShow(TObject*) {
    Fehlercode = fc::OptionenFormShow;
    Geaendert = {};
    m_ok = false;
    Abhaengige();
    // The archive group is always written back and applied.
    Geaendert.Archiv = true;
    OrdnerfeldZeigen();
    Fehlercode = 0;
}

void TOptionenDlg::OKBtnClick(TObject*) {
    m_ok = true;
    if (!Lieblingsverzeichnisse.ReadOnly()) LieblingsverzeichnisseExit(this);
}

void TOptionenDlg::FormClose(TObject*, TCloseAction& Action) {
    Fehlercode = fc::OptionenFormClose;
    if (m_ok && !Pruefen()) {
        m_ok = false;
        Action = TCloseAction::caNone;
    }
    Fehlercode = 0;
}

bool TOptionenDlg::Fehler(TWinControl& Control, const std::wstring& Text) {
    MessageDlg(Text, TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
    Seiten.ShowPageOf(&Control);
    Control.SetFocus();
    return false;
}

bool TOptionenDlg::Pruefen() {
    const std::wstring endungen = StoredExtensions.Text();
    if (!endungen.empty()) {
        std::wstring normal;
        if (!NormalisiereEndungen(endungen, normal))
            return Fehler(StoredExtensions, L"Ihre Eingabe im Feld der Dateitypen enthält unerlaubte Werte!\rBitte "
                                            L"überprüfen Sie Ihre Eingaben.");
        if (normal != endungen) StoredExtensions.SetText(normal);
    }
    struct {
        TEdit* Feld;
        const wchar_t* Text;
    } const dateien[] = {
        {&ZipPath, L"Die von Ihnen angegebene Zip-Packer-Datei existiert leider nicht."},
        {&UnZipPath, L"Die von Ihnen angegebene Zip-Entpacker-Datei existiert leider nicht."},
        {&Zip2ExePath, L"Die von Ihnen angegebene Zip-nach-Exe-Datei existiert leider nicht."},
        {&Editor, L"Der von Ihnen angegebene externe Editor existiert leider nicht."},
    };
    for (const auto& d : dateien) {
        const std::wstring name = Trim(d.Feld->Text());
        if (name != d.Feld->Text()) d.Feld->SetText(name);
        if (!name.empty() && !FileExists(name)) return Fehler(*d.Feld, std::wstring(d.Text) + kBitteEingabe);
    }
    if (!Lieblingsverzeichnisse.ReadOnly()) {
        const std::wstring ordner = Trim(Lieblingsverzeichnisse.Text());
        if (ordner != Lieblingsverzeichnisse.Text()) Lieblingsverzeichnisse.SetText(ordner);
        if (!ordner.empty() && !DirectoryExists(ordner))
            return Fehler(Lieblingsverzeichnisse,
                          std::wstring(L"Das von Ihnen angegebene häufig benutzte Verzeichnis existiert leider nicht.") +
                              kBitteEingabe);
    }
    return true;
}

void TOptionenDlg::SuchenBtnClick(TObject* Sender) {
    Fehlercode = fc::OptionenDateiSuchen;
    const TSuche* suche = nullptr;
    TEdit* feld = nullptr;
    if (Sender == &PkZipSuchenBtn) suche = &kZipPacker, feld = &ZipPath;
    else if (Sender == &PkUnZipSuchenBtn) suche = &kZipEntpacker, feld = &UnZipPath;
    else if (Sender == &Zip2ExeSuchenBtn) suche = &kZip2Exe, feld = &Zip2ExePath;
    else if (Sender == &EditorSuchenBtn) suche = &kEditor, feld = &Editor;
    if (suche) {
        TOpenDialog dialog(nullptr);
        dialog.Title = suche->Titel;
        dialog.Filter = suche->Filter;
        dialog.FilterIndex = suche->Index;
        dialog.FileName = feld->Text();
        if (dialog.Execute()) feld->SetText(dialog.FileName);
    }
    Fehlercode = 0;
}

void TOptionenDlg::Button1Click(TObject*) {
    Fehlercode = fc::OptionenWeiterePacker;
    if (m_weiterePacker && m_weiterePacker()) Geaendert.WeiterePacker = true;
    Fehlercode = 0;
}

// ---- The favourite folders --------------------------------------------------

void TOptionenDlg::SetLieblingsverzeichnisse(const TStringList& Folders) {
    m_ordner.clear();
    for (const auto& folder : Folders) m_ordner.push_back(Ordner(folder));
    OrdnerfeldZeigen();
}

void TOptionenDlg::GetLieblingsverzeichnisse(TStringList& Folders) const {
    Folders.Clear();
    for (const auto& record : m_ordner) {
        const std::wstring folder = ExcludeTrailingBackslash(record->Name);
        if (!folder.empty() && DirectoryExists(folder)) Folders.Add(folder);
    }
}

void TOptionenDlg::OrdnerfeldZeigen() {
    m_fuellt = true;
    const bool liste = m_ordner.size() > 1;
    Kleinschrift(Lieblingsverzeichnisse, !liste);
    Lieblingsverzeichnisse.SetReadOnly(liste);
    BitBtn1.SetEnabled(liste);
    if (liste)
        Lieblingsverzeichnisse.SetText(L"(" + IntToStr(static_cast<long long>(m_ordner.size())) +
                                       L" Verzeichnisse ausgewählt)");
    else
        Lieblingsverzeichnisse.SetText(m_ordner.empty() ? L"" : SystemLower(m_ordner.front()->Name));
    m_fuellt = false;
}

// The field may show the same text after a change of the list (the count of a
// list that changed), so each change marks the group itself.
void TOptionenDlg::OrdnerGeaendert() {
    Geaendert.Sonstiges = true;
    OrdnerfeldZeigen();
}

void TOptionenDlg::LieblingsverzeichnisseExit(TObject*) {
    if (Lieblingsverzeichnisse.ReadOnly()) return;
    const std::wstring text = ExcludeTrailingBackslash(Trim(Lieblingsverzeichnisse.Text()));
    if (text.empty()) {
        if (m_ordner.empty()) return;
        m_ordner.clear();
    } else if (m_ordner.size() == 1) {
        if (SystemLower(m_ordner.front()->Name) == SystemLower(text)) return;
        m_ordner.front()->Name = SystemLower(text);
    } else {
        m_ordner.push_back(Ordner(SystemLower(text)));
    }
    OrdnerGeaendert();
}

void TOptionenDlg::LieblingsverzeichnisseKeyUp(TObject*, WORD& Key, TShiftState Shift) {
    if (Key != VK_DELETE || (Shift & (ssShift | ssAlt | ssCtrl)) || !Lieblingsverzeichnisse.ReadOnly()) return;
    m_ordner.clear();
    OrdnerGeaendert();
}

void TOptionenDlg::OrdnerSuchenBtnClick(TObject*) {
    Fehlercode = fc::OptionenOrdnerSuchen;
    if (!Lieblingsverzeichnisse.ReadOnly()) LieblingsverzeichnisseExit(this);
    std::wstring folder;
    if (OrdnerWaehlen && OrdnerWaehlen(folder) && !folder.empty()) {
        folder = SystemLower(ExcludeTrailingBackslash(folder));
        bool listed = false;
        for (const auto& record : m_ordner) listed = listed || SystemLower(record->Name) == folder;
        if (!listed) {
            m_ordner.push_back(Ordner(folder));
            OrdnerGeaendert();
        }
    }
    Fehlercode = 0;
}

void TOptionenDlg::BitBtn1Click(TObject*) {
    Fehlercode = fc::OptionenListEditor;
    if (!m_editor) m_editor = Create<TDateienBearbeitenDlg>(this);
    SortiereNachName(m_ordner);
    m_editor->SetListe(L"Folgende Verzeichnisse werden häufig benutzt:", m_ordner);
    if (m_editor->ShowModal() == mrOk) {
        m_editor->DateilisteAbgleichen(m_ordner, true);
        for (size_t i = m_ordner.size(); i-- > 0;) {
            if (!DirectoryExists(m_ordner[i]->Name)) m_ordner.erase(m_ordner.begin() + static_cast<std::ptrdiff_t>(i));
            else {
                m_ordner[i]->Name = ExcludeTrailingBackslash(m_ordner[i]->Name);
                m_ordner[i]->Attr = 16;
            }
        }
        OrdnerGeaendert();
    }
    Fehlercode = 0;
}

}  // namespace velmora
