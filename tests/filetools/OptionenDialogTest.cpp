// The options dialog and its packer dialog inside their modal loops, over a
// settings object: every control against the field it stands for, the group
// flags the user's changes set, and the checks of OK.

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <functional>
#include <sstream>

#include "archive/operations/ExtArcKonfigDlg.h"
#include "filetools/OptionenTransfer.h"
#include "foundation/DefaultUserStore.h"
#include "foundation/TestFiles.h"
#include "platform/gui/Testing.h"
#include "platform/rtl/Registry.h"
#include "platform/rtl/Strings.h"

using namespace velmora;
using namespace velmora::test;
using namespace velmora::gui;

namespace {

const std::wstring kOptionenPfad = L".default\\Software\\Quorin Ashvale\\Velmora\\1.0\\Optionen";

// Every field of every group as text, the mask lists by content.
std::wstring Abbild(const TEinstellungen& E) {
    std::wostringstream out;
    auto masken = [&](const TMaskenListe& m) { out << L"{" << (m ? m->Text() : L"-") << L"}"; };
    auto filter = [&](const TDateiFilterDatenFuerDateiListe& f) {
        masken(f.Masken);
        out << f.Datumbeachten << f.Aelteste << L"|" << f.Juengste << L"|" << f.Groessebeachten << f.Groessenbereich
            << L"|" << f.DateiGroesse << f.ReadOnly << f.Hidden << f.System << f.Normale << L"\n";
    };
    auto optionen = [&](const wchar_t* name, const TOptionen& o) {
        out << name << L": " << int(o.Ansicht) << o.IconsAnzeigen << o.StandardIcons << int(o.VSchreibweise)
            << o.VEinfassen << o.VEinfZeichen << L"|" << int(o.DateiSchreibweise) << o.GroesseAnzeigen
            << o.TypAnzeigen << o.DatumAnzeigen << o.AttrAnzeigen << o.DOSNameAnzeigen << int(o.Sortierung)
            << o.Statuszeile << o.CheckArchive << L" ";
        filter(o.Filter);
    };
    optionen(L"Dateiliste", E.Dateiliste);
    optionen(L"ADateiliste", E.ADateiliste);
    optionen(L"ZusatzOptionen", E.ZusatzOptionen);
    optionen(L"Sucherg", E.Sucherg);
    optionen(L"ArcView", E.ArcView);
    out << L"MarkierFilter: ";
    filter(E.MarkierFilter);
    const TAnsichtEinstellungen& a = E.Ansicht;
    out << L"Ansicht: " << a.StatuszeileAnzeigen << a.DOSZeileAnzeigen << a.FTastenAnzeigen << a.SymbolleisteAnzeigen
        << L"\n";
    const TBestaetigungen& b = E.Best;
    out << L"Best: " << b.Loeschabfrage << b.NichtAlleUeberschreiben << b.AuswahlDlgVorLoeschen
        << b.OeffnenMitParametern << L"\n";
    const TArchivEinstellungen& r = E.Arc;
    out << L"Arc: " << r.UseTempFile << r.StoredExt << L"|" << r.ExternePackerImHintergrund << r.ArcViewStatuszeile
        << r.AskBeforeOpen << r.ExtraNachfragen << r.UseInternZip << r.UseInternUnZip << r.ZipPath << L"|"
        << r.UnZipPath << L"|" << r.Zip2ExePath << L"|" << r.UseInternUnArj << r.ArjPath << L"|" << r.UseInternUnRar
        << r.RarPath << L"|" << r.UseInternUnLha << r.LhaPath << L"|" << r.UseInternUnZoo << r.ZooPath << L"|"
        << r.UseInternUnArc << r.PkPakPath << L"|" << r.PkUnPakPath << L"|" << r.ShowOnDoubleClick << L"\n";
    const TArcDragDropEinstellungen& d = E.ArcDragDrop;
    out << L"ArcDragDrop: " << int(d.DropPfadangaben) << d.VerschiebenBestaetigen << d.NurWennAktueller
        << d.NurWennAktuellerUndVorhanden << d.PfadeSpeichern << d.Unterverzeichnisse << d.DosDateiNamenBenutzen
        << int(d.Methode) << L"\n";
    out << L"Sonst: " << int(E.Sonst.LoeschGroup) << E.Sonst.ExtEdit << L"|" << E.Sonst.ClearLists
        << E.Sonst.AktPfadSichern << L"\n";
    const TDragDropEinstellungen& g = E.DragDrop;
    out << L"DragDrop: " << g.KopierDlgZeigen << g.VerschiebDlgZeigen << g.LinkDlgZeigen << g.ArcDlgZeigen << L"\n";
    out << L"OftBenVerz: " << E.OftBenVerz << L" OBV: " << E.OBV.Text();
    return out.str();
}

// The flags as letters, for readable failures.
std::wstring Flaggen(const TOptionenGeaendert& g) {
    std::wstring s;
    const std::pair<bool, wchar_t> all[] = {{g.Hauptfenster, L'H'}, {g.Dateiliste, L'D'},   {g.Spalten, L'S'},
                                            {g.Sucherg, L'E'},      {g.ArcView, L'V'},      {g.Bestaetigungen, L'B'},
                                            {g.Archiv, L'A'},       {g.WeiterePacker, L'W'}, {g.ArcDragDrop, L'R'},
                                            {g.Sonstiges, L'M'}};
    for (auto [on, letter] : all)
        if (on) s += letter;
    return s;
}

void Klick(TControl& c) { MouseClick(ScreenPoint(c, 6, c.Height() / 2)); }
void Taste(TWinControl& c, WORD key) {
    c.SetFocus();
    PressKey(key);
}
void Leeren(TCustomEdit& e) {
    e.SetFocus();
    e.SelectAll();
    PressKey(VK_DELETE);
}

enum Dialog { Optionen, Packer };

// One control: the non-default value set in the settings, whether the control
// shows it, the user's change, and the fields as they must read after OK.
struct Zeile {
    const char* Name;
    Dialog In;
    int Seite;
    std::wstring Flagge;  // the group letter (as Flaggen), empty for none
    std::function<void(TEinstellungen&)> Setzen;
    std::function<bool(TOptionenDlg&, TExtArcKonfigDlg&)> Gezeigt;
    std::function<void(TOptionenDlg&, TExtArcKonfigDlg&)> Aendern;
    std::function<void(TEinstellungen&)> Erwartet;
};

using Feld = bool& (*)(TEinstellungen&);

// A check box of the options dialog set on in the settings; the click clears
// its field (and the doubles that follow it).
Zeile Box(const char* name, TCheckBox TOptionenDlg::*box, int seite, std::wstring flagge, Feld feld,
          Feld doppel = nullptr) {
    return {name,
            Optionen,
            seite,
            flagge,
            [=](TEinstellungen& e) {
                feld(e) = true;
                if (doppel) doppel(e) = true;
            },
            [=](TOptionenDlg& d, TExtArcKonfigDlg&) { return (d.*box).Checked(); },
            [=](TOptionenDlg& d, TExtArcKonfigDlg&) { Klick(d.*box); },
            [=](TEinstellungen& e) {
                feld(e) = false;
                if (doppel) doppel(e) = false;
            }};
}

Zeile PackerBox(const char* name, TCheckBox TExtArcKonfigDlg::*box, Feld feld) {
    return {name,
            Packer,
            4,
            L"W",
            [=](TEinstellungen& e) { feld(e) = true; },
            [=](TOptionenDlg&, TExtArcKonfigDlg& p) { return (p.*box).Checked(); },
            [=](TOptionenDlg&, TExtArcKonfigDlg& p) { Klick(p.*box); },
            [=](TEinstellungen& e) { feld(e) = false; }};
}

using Text = std::wstring& (*)(TEinstellungen&);

// A path edit holding an existing file; emptied by the Delete key.
template <class D>
Zeile Pfad(const char* name, Dialog in, int seite, std::wstring flagge, TEdit D::*edit, Text feld,
           std::wstring datei) {
    auto control = [=](TOptionenDlg& d, TExtArcKonfigDlg& p) -> TEdit& {
        if constexpr (std::is_same_v<D, TOptionenDlg>) return d.*edit;
        else return p.*edit;
    };
    return {name,
            in,
            seite,
            flagge,
            [=](TEinstellungen& e) { feld(e) = datei; },
            [=](TOptionenDlg& d, TExtArcKonfigDlg& p) { return control(d, p).Text() == datei; },
            [=](TOptionenDlg& d, TExtArcKonfigDlg& p) { Leeren(control(d, p)); },
            [=](TEinstellungen& e) { feld(e).clear(); }};
}

// A letter-case list set to "as stored" (index 2); the Up key picks upper case.
Zeile Schreibweise(const char* name, TComboBox TOptionenDlg::*box, int seite, std::wstring flagge,
                   std::uint8_t& (*feld)(TEinstellungen&), std::uint8_t& (*doppel)(TEinstellungen&) = nullptr) {
    return {name,
            Optionen,
            seite,
            flagge,
            [=](TEinstellungen& e) {
                feld(e) = 2;
                if (doppel) doppel(e) = 2;
            },
            [=](TOptionenDlg& d, TExtArcKonfigDlg&) { return (d.*box).ItemIndex() == 2; },
            [=](TOptionenDlg& d, TExtArcKonfigDlg&) { Taste(d.*box, VK_UP); },
            [=](TEinstellungen& e) {
                feld(e) = 0;
                if (doppel) doppel(e) = 0;
            }};
}

class OptionenDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        DeleteRegistryTree(HKEY_USERS, kOptionenPfad);
        einstellungen = std::make_unique<TEinstellungen>();
        einstellungen->SaveOnFree = false;
        dlg = Create<TOptionenDlg>(Application, [this] {
            return WeiterePackerKonfigurieren(Application, packer, einstellungen->Arc);
        });
        dlg->OrdnerWaehlen = [this](std::wstring& folder) {
            folder = naechsterOrdner;
            return true;
        };
    }
    void TearDown() override {
        dlg->Free();
        if (packer) packer->Free();
    }
    std::wstring Lower(const std::wstring& name) { return SystemLower(name); }
    std::wstring Datei(const std::wstring& name) { return Lower(ordner.MakeFile(name, 1)); }
    std::wstring Ordner(const std::wstring& name) {
        const std::wstring path = ordner.Path() + name;
        CreateDirectoryW(path.c_str(), nullptr);
        return Lower(path);
    }
    // Loads, shows, runs the steps inside the dialog and answers with the result.
    TModalResult Zeigen(std::vector<std::function<void(TForm&)>> steps) {
        OptionenLaden(*einstellungen, *dlg);
        TModalScript script(15000);
        for (auto& s : steps) script.Step(s);
        const TModalResult result = dlg->ShowModal();
        EXPECT_FALSE(script.Failed());
        EXPECT_EQ(script.StepsLeft(), 0);
        return result;
    }
    void Uebernehmen() {
        TOptionenAnwendung w;
        w.ApplyOptionsDialog = [this] { SonstigesSpeichern(*einstellungen, *dlg); };
        OptionenUebernehmen(*einstellungen, *dlg, w);
    }

    TTempFolder ordner{L"optionen"};
    TMessageBoxRecorder boxes;
    std::unique_ptr<TEinstellungen> einstellungen;
    TOptionenDlg* dlg = nullptr;
    TExtArcKonfigDlg* packer = nullptr;
    std::wstring naechsterOrdner;
};

}  // namespace

TEST_F(OptionenDialogTest, EveryControlShowsItsFieldAndItsChangeReachesOnlyThatField) {
    const std::wstring exe = Datei(L"Prog.exe"), fav = Ordner(L"Fav");
    using E = TEinstellungen;
    using O = TOptionenDlg;
    using P = TExtArcKonfigDlg;
    std::vector<Zeile> zeilen = {
        Box("Symbolleiste", &O::SymbolleisteAnzeigen, 0, L"H", [](E& e) -> bool& { return e.Ansicht.SymbolleisteAnzeigen; }),
        Box("DOSZeile", &O::DOSZeileAnzeigen, 0, L"H", [](E& e) -> bool& { return e.Ansicht.DOSZeileAnzeigen; }),
        Box("FTasten", &O::FTastenAnzeigen, 0, L"H", [](E& e) -> bool& { return e.Ansicht.FTastenAnzeigen; }),
        Box("Statuszeile", &O::StatuszeileAnzeigen, 0, L"H", [](E& e) -> bool& { return e.Ansicht.StatuszeileAnzeigen; }),
        Box("SuchergSimpleIcons", &O::SuchergSimpleIcons, 0, L"E", [](E& e) -> bool& { return e.Sucherg.StandardIcons; }),
        Box("CheckArchive", &O::CheckArchive, 0, L"E", [](E& e) -> bool& { return e.Sucherg.CheckArchive; }),
        Schreibweise("DLDateiSchreibweise", &O::DLDateiSchreibweise, 1, L"D",
                     [](E& e) -> std::uint8_t& { return e.Dateiliste.DateiSchreibweise; },
                     [](E& e) -> std::uint8_t& { return e.ADateiliste.DateiSchreibweise; }),
        Schreibweise("DLVSchreibweise", &O::DLVSchreibweise, 1, L"D",
                     [](E& e) -> std::uint8_t& { return e.Dateiliste.VSchreibweise; },
                     [](E& e) -> std::uint8_t& { return e.ADateiliste.VSchreibweise; }),
        Box("DLVEinfassen", &O::DLVEinfassen, 1, L"D", [](E& e) -> bool& { return e.Dateiliste.VEinfassen; },
            [](E& e) -> bool& { return e.ADateiliste.VEinfassen; }),
        {"DLVEinfZeichen", Optionen, 1, L"D",
         [](E& e) { e.Dateiliste.VEinfZeichen = e.ADateiliste.VEinfZeichen = L"<>"; },
         [](O& d, P&) { return d.DLVEinfZeichen.Text() == L"<>"; },
         [](O& d, P&) {
             Leeren(d.DLVEinfZeichen);
             PressKey('K');
         },
         [](E& e) { e.Dateiliste.VEinfZeichen = e.ADateiliste.VEinfZeichen = L"k"; }},
        Box("IconsAnzeigen", &O::IconsAnzeigen, 1, L"D", [](E& e) -> bool& { return e.Dateiliste.IconsAnzeigen; },
            [](E& e) -> bool& { return e.ADateiliste.IconsAnzeigen; }),
        Box("DLStandardIcons", &O::DLStandardIcons, 1, L"D", [](E& e) -> bool& { return e.Dateiliste.StandardIcons; },
            [](E& e) -> bool& { return e.ADateiliste.StandardIcons; }),
        Box("DLStatuszeile", &O::DLStatuszeile, 1, L"", [](E& e) -> bool& { return e.Dateiliste.Statuszeile; }),
        Box("ADLStatuszeile", &O::ADLStatuszeile, 1, L"", [](E& e) -> bool& { return e.ADateiliste.Statuszeile; }),
        Box("ADLDOSName", &O::ADLDOSNameAnzeigen, 1, L"S", [](E& e) -> bool& { return e.ADateiliste.DOSNameAnzeigen; }),
        Box("ADLAttr", &O::ADLAttrAnzeigen, 1, L"S", [](E& e) -> bool& { return e.ADateiliste.AttrAnzeigen; }),
        Box("ADLDatum", &O::ADLDatumAnzeigen, 1, L"S", [](E& e) -> bool& { return e.ADateiliste.DatumAnzeigen; }),
        Box("ADLTyp", &O::ADLTypAnzeigen, 1, L"S", [](E& e) -> bool& { return e.ADateiliste.TypAnzeigen; }),
        Box("ADLGroesse", &O::ADLGroesseAnzeigen, 1, L"S", [](E& e) -> bool& { return e.ADateiliste.GroesseAnzeigen; }),
        Schreibweise("AVDateiSchreibweise", &O::AVDateiSchreibweise, 2, L"V",
                     [](E& e) -> std::uint8_t& { return e.ArcView.DateiSchreibweise; }),
        Schreibweise("AVVSchreibweise", &O::AVVSchreibweise, 2, L"V",
                     [](E& e) -> std::uint8_t& { return e.ArcView.VSchreibweise; }),
        Box("AVVEinfassen", &O::AVVEinfassen, 2, L"V", [](E& e) -> bool& { return e.ArcView.VEinfassen; }),
        {"AVVEinfZeichen", Optionen, 2, L"V", [](E& e) { e.ArcView.VEinfZeichen = L"<>"; },
         [](O& d, P&) { return d.AVVEinfZeichen.Text() == L"<>"; },
         [](O& d, P&) {
             Leeren(d.AVVEinfZeichen);
             PressKey('K');
         },
         [](E& e) { e.ArcView.VEinfZeichen = L"k"; }},
        Box("AVIconsAnzeigen", &O::AVIconsAnzeigen, 2, L"V", [](E& e) -> bool& { return e.ArcView.IconsAnzeigen; }),
        Box("AVStandardIcons", &O::AVStandardIcons, 2, L"V", [](E& e) -> bool& { return e.ArcView.StandardIcons; }),
        Box("AVStatuszeile", &O::AVStatuszeile, 2, L"", [](E& e) -> bool& { return e.ArcView.Statuszeile; },
            [](E& e) -> bool& { return e.Arc.ArcViewStatuszeile; }),
        Box("OeffnenMitParametern", &O::OeffnenMitParametern, 3, L"B", [](E& e) -> bool& { return e.Best.OeffnenMitParametern; }),
        Box("AuswahlDlgVorLoeschen", &O::AuswahlDlgVorLoeschen, 3, L"B", [](E& e) -> bool& { return e.Best.AuswahlDlgVorLoeschen; }),
        Box("Loeschabfrage", &O::Loeschabfrage, 3, L"B", [](E& e) -> bool& { return e.Best.Loeschabfrage; }),
        Box("NichtAlleUeberschreiben", &O::NichtAlleUeberschreiben, 3, L"B", [](E& e) -> bool& { return e.Best.NichtAlleUeberschreiben; }),
        Box("KopierDlgZeigen", &O::KopierDlgZeigen, 3, L"B", [](E& e) -> bool& { return e.DragDrop.KopierDlgZeigen; }),
        Box("VerschiebDlgZeigen", &O::VerschiebDlgZeigen, 3, L"B", [](E& e) -> bool& { return e.DragDrop.VerschiebDlgZeigen; }),
        Box("LinkDlgZeigen", &O::LinkDlgZeigen, 3, L"B", [](E& e) -> bool& { return e.DragDrop.LinkDlgZeigen; }),
        Box("ArcDlgZeigen", &O::ArcDlgZeigen, 3, L"B", [](E& e) -> bool& { return e.DragDrop.ArcDlgZeigen; }),
        Box("UseTempFile", &O::UseTempFile, 4, L"A", [](E& e) -> bool& { return e.Arc.UseTempFile; }),
        {"StoredExtensions", Optionen, 4, L"A", [](E& e) { e.Arc.StoredExt = L".zip;.arj"; },
         [](O& d, P&) { return d.StoredExtensions.Text() == L".zip;.arj"; },
         [](O& d, P&) {
             Leeren(d.StoredExtensions);
             PressKey('K');
         },
         [](E& e) { e.Arc.StoredExt = L".k"; }},
        Box("ExtraNachfragen", &O::ExtraNachfragen, 4, L"A", [](E& e) -> bool& { return e.Arc.ExtraNachfragen; }),
        Box("ExternePackerImHintergrund", &O::ExternePackerImHintergrund, 4, L"A",
            [](E& e) -> bool& { return e.Arc.ExternePackerImHintergrund; }),
        Box("ShowOnDoubleClick", &O::ShowOnDoubleClick, 4, L"A", [](E& e) -> bool& { return e.Arc.ShowOnDoubleClick; }),
        Pfad("ZipPath", Optionen, 4, L"A", &O::ZipPath, [](E& e) -> std::wstring& { return e.Arc.ZipPath; }, exe),
        Pfad("UnZipPath", Optionen, 4, L"A", &O::UnZipPath, [](E& e) -> std::wstring& { return e.Arc.UnZipPath; }, exe),
        Pfad("Zip2ExePath", Optionen, 4, L"A", &O::Zip2ExePath, [](E& e) -> std::wstring& { return e.Arc.Zip2ExePath; }, exe),
        Box("UseInternZip", &O::UseInternZip, 4, L"A", [](E& e) -> bool& { return e.Arc.UseInternZip; }),
        Box("UseInternUnZip", &O::UseInternUnZip, 4, L"A", [](E& e) -> bool& { return e.Arc.UseInternUnZip; }),
        // Last of its page: unticking it greys the box above.
        Box("AskBeforeOpen", &O::AskBeforeOpen, 4, L"A", [](E& e) -> bool& { return e.Arc.AskBeforeOpen; }),
        Pfad("ArjPath", Packer, 4, L"W", &P::UnArjPath, [](E& e) -> std::wstring& { return e.Arc.ArjPath; }, exe),
        Pfad("RarPath", Packer, 4, L"W", &P::UnRarPath, [](E& e) -> std::wstring& { return e.Arc.RarPath; }, exe),
        Pfad("LhaPath", Packer, 4, L"W", &P::UnLhaPath, [](E& e) -> std::wstring& { return e.Arc.LhaPath; }, exe),
        Pfad("ZooPath", Packer, 4, L"W", &P::UnZooPath, [](E& e) -> std::wstring& { return e.Arc.ZooPath; }, exe),
        Pfad("PkPakPath", Packer, 4, L"W", &P::ArcPath, [](E& e) -> std::wstring& { return e.Arc.PkPakPath; }, exe),
        Pfad("PkUnPakPath", Packer, 4, L"W", &P::UnArcPath, [](E& e) -> std::wstring& { return e.Arc.PkUnPakPath; }, exe),
        PackerBox("UseInternUnArj", &P::UseInternUnArj, [](E& e) -> bool& { return e.Arc.UseInternUnArj; }),
        PackerBox("UseInternUnRar", &P::UseInternUnRar, [](E& e) -> bool& { return e.Arc.UseInternUnRar; }),
        PackerBox("UseInternUnLha", &P::UseInternUnLha, [](E& e) -> bool& { return e.Arc.UseInternUnLha; }),
        PackerBox("UseInternUnZoo", &P::UseInternUnZoo, [](E& e) -> bool& { return e.Arc.UseInternUnZoo; }),
        PackerBox("UseInternUnArc", &P::UseInternUnArc, [](E& e) -> bool& { return e.Arc.UseInternUnArc; }),
        {"DropPfadangaben", Optionen, 5, L"R", [](E& e) { e.ArcDragDrop.DropPfadangaben = 1; },
         [](O& d, P&) { return d.DropPfadangaben.ItemIndex() == 1; },
         [](O& d, P&) { Klick(*d.DropPfadangaben.Buttons(2)); }, [](E& e) { e.ArcDragDrop.DropPfadangaben = 2; }},
        Box("VerschiebenBestaetigen", &O::VerschiebenBestaetigen, 5, L"R",
            [](E& e) -> bool& { return e.ArcDragDrop.VerschiebenBestaetigen; }),
        // The two "only newer" boxes exclude each other.
        Box("NurWennAktueller", &O::NurWennAktueller, 5, L"R", [](E& e) -> bool& { return e.ArcDragDrop.NurWennAktueller; }),
        {"NurWennAktuellerUndVorhanden", Optionen, 5, L"R", [](E& e) { e.ArcDragDrop.NurWennAktuellerUndVorhanden = false; },
         [](O& d, P&) { return !d.NurWennAktuellerUndVorhanden.Checked(); },
         [](O& d, P&) { Klick(d.NurWennAktuellerUndVorhanden); },
         [](E& e) {
             e.ArcDragDrop.NurWennAktuellerUndVorhanden = true;
             e.ArcDragDrop.NurWennAktueller = false;
         }},
        Box("PfadeSpeichern", &O::PfadeSpeichern, 5, L"R", [](E& e) -> bool& { return e.ArcDragDrop.PfadeSpeichern; }),
        Box("Unterverzeichnisse", &O::Unterverzeichnisse, 5, L"R", [](E& e) -> bool& { return e.ArcDragDrop.Unterverzeichnisse; }),
        Box("DosDateiNamenBenutzen", &O::DosDateiNamenBenutzen, 5, L"R",
            [](E& e) -> bool& { return e.ArcDragDrop.DosDateiNamenBenutzen; }),
        {"Methode", Optionen, 5, L"R", [](E& e) { e.ArcDragDrop.Methode = 3; },
         [](O& d, P&) { return d.Methode.ItemIndex() == 3; }, [](O& d, P&) { Taste(d.Methode, VK_UP); },
         [](E& e) { e.ArcDragDrop.Methode = 2; }},
        {"LoeschGroup", Optionen, 6, L"M", [](E& e) { e.Sonst.LoeschGroup = 1; },
         [](O& d, P&) { return d.LoeschGroup.ItemIndex() == 1; },
         [](O& d, P&) { Klick(*d.LoeschGroup.Buttons(2)); }, [](E& e) { e.Sonst.LoeschGroup = 2; }},
        Pfad("Editor", Optionen, 6, L"M", &O::Editor, [](E& e) -> std::wstring& { return e.Sonst.ExtEdit; }, exe),
        Box("ClearLists", &O::ClearLists, 6, L"M", [](E& e) -> bool& { return e.Sonst.ClearLists; }),
        {"Lieblingsverzeichnisse", Optionen, 6, L"M", [fav](E& e) { e.OBV = TStringList{fav}; },
         [fav](O& d, P&) { return d.Lieblingsverzeichnisse.Text() == fav; },
         [](O& d, P&) { Leeren(d.Lieblingsverzeichnisse); }, [](E& e) { e.OBV.Clear(); }},
        {"WeitereMRUEintraege", Optionen, 6, L"M", [](E& e) { e.OftBenVerz = 7; },
         [](O& d, P&) { return d.WeitereMRUEintraege.Text() == L"7"; },
         [](O& d, P&) { Taste(d.WeitereMRUEintraege, VK_UP); }, [](E& e) { e.OftBenVerz = 8; }},
        Box("AktPfadSichern", &O::AktPfadSichern, 6, L"M", [](E& e) -> bool& { return e.Sonst.AktPfadSichern; }),
    };
    TEinstellungen& e = *einstellungen;
    // Fields without a control must come through unchanged too.
    e.Dateiliste.Filter.Masken = std::make_shared<TStringList>(TStringList{L"*.txt", L"*.doc"});
    e.MarkierFilter.Masken = std::make_shared<TStringList>(TStringList{L"*.bak"});
    e.ADateiliste.Sortierung = 4;
    for (auto& z : zeilen) z.Setzen(e);
    const std::wstring basis = Abbild(e);

    // Loading shows every value; OK with nothing touched changes nothing.
    EXPECT_EQ(Zeigen({[&](TForm&) {
                  for (auto& z : zeilen) {
                      if (z.In == Packer) continue;
                      EXPECT_TRUE(z.Gezeigt(*dlg, *packer)) << z.Name;
                  }
                  dlg->OKBtn.Click();
              }}),
              mrOk);
    EXPECT_EQ(Flaggen(dlg->Geaendert), L"A");
    Uebernehmen();
    EXPECT_EQ(Abbild(e), basis);

    for (auto& z : zeilen) {
        SCOPED_TRACE(z.Name);
        std::vector<std::function<void(TForm&)>> steps;
        if (z.In == Packer) {
            steps.push_back([&](TForm&) {
                dlg->Seiten.SetActivePageIndex(z.Seite);
                dlg->Button1.Click();
            });
            steps.push_back([&](TForm&) {
                EXPECT_TRUE(z.Gezeigt(*dlg, *packer));
                z.Aendern(*dlg, *packer);
                packer->OKBtn.Click();
            });
        } else {
            steps.push_back([&](TForm&) {
                dlg->Seiten.SetActivePageIndex(z.Seite);
                z.Aendern(*dlg, *packer);
            });
        }
        steps.push_back([&](TForm&) { dlg->OKBtn.Click(); });
        ASSERT_EQ(Zeigen(steps), mrOk);
        std::wstring flaggen = L"A" + z.Flagge;
        if (z.Flagge == L"A" || z.Flagge.empty()) flaggen = L"A";
        std::wstring gesetzt = Flaggen(dlg->Geaendert);
        std::sort(flaggen.begin(), flaggen.end());
        std::sort(gesetzt.begin(), gesetzt.end());
        EXPECT_EQ(gesetzt, flaggen);
        Uebernehmen();
        // What the change must have done, on the state before it.
        const std::wstring ist = Abbild(e);
        for (auto& s : zeilen) s.Setzen(e);
        z.Erwartet(e);
        EXPECT_EQ(ist, Abbild(e));
        EXPECT_TRUE(boxes.Calls().empty());
        for (auto& s : zeilen) s.Setzen(e);
        ASSERT_EQ(Abbild(e), basis);
    }
}

TEST_F(OptionenDialogTest, EachCheckOfOkShowsItsBoxOnTheControlsPageAndKeepsTheDialogOpen) {
    const std::wstring fehlt = Lower(ordner.Path() + L"fehlt.exe");
    auto gemeldet = [&](const std::wstring& text, int seite, TWinControl& feld) {
        ASSERT_FALSE(boxes.Calls().empty());
        EXPECT_EQ(boxes.Calls().back().Text, text);
        EXPECT_EQ(dlg->Seiten.ActivePageIndex(), seite);
        EXPECT_TRUE(HasFocus(feld));
        EXPECT_TRUE(dlg->Visible());
        boxes.Clear();
    };
    const std::wstring eingabe = L"\rBitte überprüfen Sie Ihre Eingabe.";
    ASSERT_EQ(Zeigen({[&](TForm&) {
                          dlg->Seiten.SetActivePageIndex(0);
                          dlg->StoredExtensions.SetText(L"zip;*.html");
                          dlg->OKBtn.Click();
                      },
                      [&](TForm&) {
                          gemeldet(L"Ihre Eingabe im Feld der Dateitypen enthält unerlaubte Werte!\rBitte überprüfen "
                                   L"Sie Ihre Eingaben.",
                                   4, dlg->StoredExtensions);
                          dlg->StoredExtensions.SetText(L" zip; *.ARJ ; .lzh");
                          dlg->ZipPath.SetText(L"  " + fehlt);
                          dlg->Seiten.SetActivePageIndex(0);
                          dlg->OKBtn.Click();
                      },
                      [&](TForm&) {
                          gemeldet(L"Die von Ihnen angegebene Zip-Packer-Datei existiert leider nicht." + eingabe, 4,
                                   dlg->ZipPath);
                          EXPECT_EQ(dlg->ZipPath.Text(), fehlt);
                          dlg->ZipPath.SetText(L"   ");
                          dlg->Editor.SetText(fehlt);
                          dlg->OKBtn.Click();
                      },
                      [&](TForm&) {
                          gemeldet(L"Der von Ihnen angegebene externe Editor existiert leider nicht." + eingabe, 6,
                                   dlg->Editor);
                          dlg->Editor.SetText(L"");
                          dlg->Lieblingsverzeichnisse.SetText(Lower(ordner.Path() + L"nirgends"));
                          dlg->Seiten.SetActivePageIndex(0);
                          dlg->OKBtn.Click();
                      },
                      [&](TForm&) {
                          gemeldet(L"Das von Ihnen angegebene häufig benutzte Verzeichnis existiert leider nicht." +
                                       eingabe,
                                   6, dlg->Lieblingsverzeichnisse);
                          dlg->Lieblingsverzeichnisse.SetText(L"");
                          dlg->OKBtn.Click();
                      }}),
              mrOk);
    // Blanks alone count as empty; the pieces keep their letter case.
    EXPECT_EQ(dlg->ZipPath.Text(), L"");
    Uebernehmen();
    EXPECT_EQ(einstellungen->Arc.StoredExt, L".zip;.ARJ;.lzh");
    EXPECT_TRUE(einstellungen->OBV.Empty());
}

TEST_F(OptionenDialogTest, FavouriteFoldersAreKeptOnceAndOnlyExistingOnesComeBack) {
    const std::wstring a = Ordner(L"Eins"), b = Ordner(L"Zwei");
    einstellungen->OBV = TStringList{a + L"\\", Lower(ordner.Path() + L"weg")};
    ASSERT_EQ(Zeigen({[&](TForm&) {
                          EXPECT_EQ(dlg->Lieblingsverzeichnisse.Text(), L"(2 Verzeichnisse ausgewählt)");
                          dlg->SetLieblingsverzeichnisse({});
                          naechsterOrdner = a;
                          dlg->OrdnerSuchenBtn.Click();
                          EXPECT_EQ(dlg->Lieblingsverzeichnisse.Text(), a);
                          EXPECT_FALSE(dlg->BitBtn1.Enabled());
                          naechsterOrdner = AsciiUpper(a) + L"\\";
                          dlg->OrdnerSuchenBtn.Click();
                          EXPECT_EQ(dlg->Lieblingsverzeichnisse.Text(), a);
                          naechsterOrdner = b;
                          dlg->OrdnerSuchenBtn.Click();
                          EXPECT_EQ(dlg->Lieblingsverzeichnisse.Text(), L"(2 Verzeichnisse ausgewählt)");
                          EXPECT_TRUE(dlg->Lieblingsverzeichnisse.ReadOnly());
                          EXPECT_TRUE(dlg->BitBtn1.Enabled());
                          dlg->OKBtn.Click();
                      }}),
              mrOk);
    EXPECT_TRUE(dlg->Geaendert.Sonstiges);
    Uebernehmen();
    EXPECT_EQ(einstellungen->OBV, (TStringList{a, b}));

    // The Delete key empties a list that shows as a count: the text stays
    // until then, so the change marks the group by itself.
    ASSERT_EQ(Zeigen({[&](TForm&) {
                          dlg->Seiten.SetActivePageIndex(6);
                          Taste(dlg->Lieblingsverzeichnisse, VK_DELETE);
                          EXPECT_EQ(dlg->Lieblingsverzeichnisse.Text(), L"");
                          dlg->OKBtn.Click();
                      }}),
              mrOk);
    EXPECT_TRUE(dlg->Geaendert.Sonstiges);
    Uebernehmen();
    EXPECT_TRUE(einstellungen->OBV.Empty());
}

TEST_F(OptionenDialogTest, TypedFurtherEntriesAreTakenIntoTheirRange) {
    for (auto [tasten, soll] : {std::pair{std::wstring(L"45"), 20}, std::pair{std::wstring(L"\xBD" L"5"), 0}}) {
        ASSERT_EQ(Zeigen({[&](TForm&) {
                              dlg->Seiten.SetActivePageIndex(6);
                              Leeren(dlg->WeitereMRUEintraege);
                              for (wchar_t t : tasten) PressKey(t == L'\xBD' ? VK_OEM_MINUS : t);
                              dlg->OKBtn.Click();
                          }}),
                  mrOk);
        Uebernehmen();
        EXPECT_EQ(einstellungen->OftBenVerz, soll) << tasten;
    }
}

TEST_F(OptionenDialogTest, BrowseButtonsHandTheirTitleFilterIndexAndTextAndTakeTheAnswer) {
    struct Fall {
        TButton* Knopf;
        TEdit* Feld;
        std::wstring Titel, Filter;
        int Index;
    };
    TOpenDialogRecorder recorder;
    const std::wstring alle = L"Alle Exe-Dateien (*.exe)|*.exe|Alle Dateien (*.*)|*.*|";
    auto pruefen = [&](const std::vector<Fall>& faelle) {
        for (const Fall& f : faelle) {
            f.Feld->SetText(L"c:\\alt.exe");
            recorder.Answer(L"c:\\neu.exe");
            f.Knopf->Click();
            ASSERT_FALSE(recorder.Calls().empty());
            const auto& call = recorder.Calls().back();
            EXPECT_EQ(call.Title, f.Titel);
            EXPECT_EQ(call.Filter, f.Filter);
            EXPECT_EQ(call.FilterIndex, f.Index);
            EXPECT_EQ(call.FileName, L"c:\\alt.exe");
            EXPECT_EQ(f.Feld->Text(), L"c:\\neu.exe");
        }
    };
    ASSERT_EQ(Zeigen({[&](TForm&) {
                          pruefen({{&dlg->PkZipSuchenBtn, &dlg->ZipPath, L"Zip-Packer suchen",
                                    alle + L"Zip-Packer (pkzip.exe)|pkzip.exe", 3},
                                   {&dlg->PkUnZipSuchenBtn, &dlg->UnZipPath, L"Zip-Entpacker suchen",
                                    alle + L"Zip-Entpacker (pkunzip.exe)|pkunzip.exe", 3},
                                   {&dlg->Zip2ExeSuchenBtn, &dlg->Zip2ExePath, L"Zip-nach-Exe-Konverter suchen",
                                    alle + L"Zip-nach-Exe-Konverter (zip2exe.exe)|zip2exe.exe", 3},
                                   {&dlg->EditorSuchenBtn, &dlg->Editor, L"Editor suchen",
                                    L"Ausführbare Dateien (*.exe, *.com, *.pif, *.bat)|*.exe;*.com;*.pif;*.bat|Alle "
                                    L"Dateien (*.*)|*.*",
                                    0}});
                          dlg->Button1.Click();
                      },
                      [&](TForm&) {
                          TExtArcKonfigDlg& p = *packer;
                          pruefen({{&p.ArjSuchenBtn, &p.UnArjPath, L"Arj-Entpacker suchen",
                                    alle + L"Arj-Entpacker (arj.exe)|arj.exe", 3},
                                   {&p.RarSuchenBtn, &p.UnRarPath, L"Rar-Entpacker suchen",
                                    alle + L"Rar-Entpacker (rar.exe)|rar.exe", 3},
                                   {&p.LhaSuchenBtn, &p.UnLhaPath, L"Lha-Entpacker suchen",
                                    alle + L"Lha-Entpacker (lha.exe)|lha.exe", 3},
                                   {&p.ZooSuchenBtn, &p.UnZooPath, L"Zoo-Entpacker suchen",
                                    alle + L"Zoo-Entpacker (zoo.exe)|zoo.exe", 3},
                                   {&p.ArcSuchenBtn, &p.ArcPath, L"Arc-Packer suchen",
                                    alle + L"Arc-Packer (pkpak.exe)|pkpak.exe", 3},
                                   {&p.UnArcSuchenBtn, &p.UnArcPath, L"Arc-Entpacker suchen",
                                    alle + L"Arc-Entpacker (pkunpak.exe)|pkunpak.exe", 3}});
                          p.CancelBtn.Click();
                      },
                      [&](TForm&) { dlg->CancelBtn.Click(); }}),
              mrCancel);
}

TEST_F(OptionenDialogTest, PackerDialogReportsTheFirstMissingProgramAndStoresBlanksEmpty) {
    const std::wstring fehlt = ordner.Path() + L"fehlt.exe";
    const std::wstring text = L"-Datei existiert leider nicht.\rBitte überprüfen Sie Ihre Eingabe.";
    einstellungen->Arc.ArjPath = L"c:\\alt\\arj.exe";
    ASSERT_EQ(Zeigen({[&](TForm&) { dlg->Button1.Click(); },
                      [&](TForm&) {
                          packer->UnRarPath.SetText(fehlt);
                          packer->UnZooPath.SetText(fehlt);
                          packer->UnArjPath.SetText(L"   ");
                          packer->OKBtn.Click();
                      },
                      [&](TForm&) {
                          ASSERT_EQ(boxes.Calls().size(), 1u);
                          EXPECT_EQ(boxes.Calls()[0].Text, L"Die von Ihnen angegebene Rar-Entpacker" + text);
                          EXPECT_TRUE(HasFocus(packer->UnRarPath));
                          packer->UnRarPath.SetText(L"");
                          packer->OKBtn.Click();
                      },
                      [&](TForm&) {
                          ASSERT_EQ(boxes.Calls().size(), 2u);
                          EXPECT_EQ(boxes.Calls()[1].Text, L"Die von Ihnen angegebene Zoo-Entpacker" + text);
                          EXPECT_TRUE(HasFocus(packer->UnZooPath));
                          packer->UnZooPath.SetText(L"");
                          packer->OKBtn.Click();
                      },
                      // The packer values are written even when the options are cancelled.
                      [&](TForm&) { dlg->CancelBtn.Click(); }}),
              mrCancel);
    EXPECT_TRUE(dlg->Geaendert.WeiterePacker);
    EXPECT_EQ(einstellungen->Arc.ArjPath, L"");
}

// Run alone by options-regquery.sh, which then reads the stored values with the
// system's registry tool: the last test's state stays in the prefix.
TEST_F(OptionenDialogTest, RegistryWrittenOptionsReadBackEqual) {
    ASSERT_EQ(Zeigen({[&](TForm&) {
                  dlg->Seiten.SetActivePageIndex(1);
                  Klick(dlg->DLVEinfassen);
                  dlg->StoredExtensions.SetText(L" zip; *.ARJ");
                  dlg->OKBtn.Click();
              }}),
              mrOk);
    Uebernehmen();
    const std::wstring vorher = Abbild(*einstellungen);
    einstellungen->SaveOnFree = true;
    einstellungen.reset();
    einstellungen = std::make_unique<TEinstellungen>();
    einstellungen->SaveOnFree = false;
    EXPECT_EQ(Abbild(*einstellungen), vorher);
}
