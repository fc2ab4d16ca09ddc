#include "OptionenTransfer.h"

#include <cmath>

#include "FileToolsCodes.h"

namespace velmora {

using namespace gui;

int SchreibweiseIndex(std::uint8_t Feld) {
    switch (Feld) {
    case 0: return 1;
    case 1: return 0;
    default: return 2;
    }
}

std::uint8_t SchreibweiseFeld(int Index) {
    switch (Index) {
    case 0: return 1;
    case 1: return 0;
    default: return 2;
    }
}

namespace {

std::uint8_t Index(const TComboBox& Box) { return static_cast<std::uint8_t>(Box.ItemIndex() < 0 ? 0 : Box.ItemIndex()); }
std::uint8_t Index(const TRadioGroup& Group) {
    return static_cast<std::uint8_t>(Group.ItemIndex() < 0 ? 0 : Group.ItemIndex());
}

// The letter case, bracket and icon controls of the file lists' page or of
// the archive viewer's.
struct TDarstellung {
    TComboBox TOptionenDlg::*Datei;
    TComboBox TOptionenDlg::*Verzeichnis;
    TCheckBox TOptionenDlg::*Einfassen;
    TEdit TOptionenDlg::*Zeichen;
    TCheckBox TOptionenDlg::*Icons;
    TCheckBox TOptionenDlg::*StandardIcons;
};

const TDarstellung kDateilisten{&TOptionenDlg::DLDateiSchreibweise, &TOptionenDlg::DLVSchreibweise,
                                &TOptionenDlg::DLVEinfassen,        &TOptionenDlg::DLVEinfZeichen,
                                &TOptionenDlg::IconsAnzeigen,       &TOptionenDlg::DLStandardIcons};
const TDarstellung kArchivfenster{&TOptionenDlg::AVDateiSchreibweise, &TOptionenDlg::AVVSchreibweise,
                                  &TOptionenDlg::AVVEinfassen,        &TOptionenDlg::AVVEinfZeichen,
                                  &TOptionenDlg::AVIconsAnzeigen,     &TOptionenDlg::AVStandardIcons};

void DarstellungLaden(const TOptionen& o, TOptionenDlg& D, const TDarstellung& C) {
    (D.*C.Datei).SetItemIndex(SchreibweiseIndex(o.DateiSchreibweise));
    (D.*C.Verzeichnis).SetItemIndex(SchreibweiseIndex(o.VSchreibweise));
    (D.*C.Einfassen).SetChecked(o.VEinfassen);
    (D.*C.Zeichen).SetText(o.VEinfZeichen.substr(0, 2));
    (D.*C.Icons).SetChecked(o.IconsAnzeigen);
    (D.*C.StandardIcons).SetChecked(o.StandardIcons);
}

void DarstellungSpeichern(TOptionen& o, const TOptionenDlg& D, const TDarstellung& C) {
    o.DateiSchreibweise = SchreibweiseFeld((D.*C.Datei).ItemIndex());
    o.VSchreibweise = SchreibweiseFeld((D.*C.Verzeichnis).ItemIndex());
    o.VEinfassen = (D.*C.Einfassen).Checked();
    o.VEinfZeichen = (D.*C.Zeichen).Text().substr(0, 2);
    o.IconsAnzeigen = (D.*C.Icons).Checked();
    o.StandardIcons = (D.*C.StandardIcons).Checked();
}

// ---- Loading, one page each

void AnsichtLaden(const TAnsichtEinstellungen& A, TOptionenDlg& D) {
    D.StatuszeileAnzeigen.SetChecked(A.StatuszeileAnzeigen);
    D.DOSZeileAnzeigen.SetChecked(A.DOSZeileAnzeigen);
    D.FTastenAnzeigen.SetChecked(A.FTastenAnzeigen);
    D.SymbolleisteAnzeigen.SetChecked(A.SymbolleisteAnzeigen);
}

void DateilisteLaden(const TEinstellungen& E, TOptionenDlg& D) {
    DarstellungLaden(E.Dateiliste, D, kDateilisten);
    D.DLStatuszeile.SetChecked(E.Dateiliste.Statuszeile);
    const TOptionen& a = E.ADateiliste;
    D.ADLStatuszeile.SetChecked(a.Statuszeile);
    D.ADLGroesseAnzeigen.SetChecked(a.GroesseAnzeigen);
    D.ADLTypAnzeigen.SetChecked(a.TypAnzeigen);
    D.ADLDatumAnzeigen.SetChecked(a.DatumAnzeigen);
    D.ADLAttrAnzeigen.SetChecked(a.AttrAnzeigen);
    D.ADLDOSNameAnzeigen.SetChecked(a.DOSNameAnzeigen);
}

void SuchergLaden(const TOptionen& S, TOptionenDlg& D) {
    D.SuchergSimpleIcons.SetChecked(S.StandardIcons);
    D.CheckArchive.SetChecked(S.CheckArchive);
}

void ArcViewLaden(const TOptionen& o, TOptionenDlg& D) {
    DarstellungLaden(o, D, kArchivfenster);
    D.AVStatuszeile.SetChecked(o.Statuszeile);
}

void BestaetigungenLaden(const TEinstellungen& E, TOptionenDlg& D) {
    D.Loeschabfrage.SetChecked(E.Best.Loeschabfrage);
    D.NichtAlleUeberschreiben.SetChecked(E.Best.NichtAlleUeberschreiben);
    D.AuswahlDlgVorLoeschen.SetChecked(E.Best.AuswahlDlgVorLoeschen);
    D.OeffnenMitParametern.SetChecked(E.Best.OeffnenMitParametern);
    D.KopierDlgZeigen.SetChecked(E.DragDrop.KopierDlgZeigen);
    D.VerschiebDlgZeigen.SetChecked(E.DragDrop.VerschiebDlgZeigen);
    D.LinkDlgZeigen.SetChecked(E.DragDrop.LinkDlgZeigen);
    D.ArcDlgZeigen.SetChecked(E.DragDrop.ArcDlgZeigen);
}

void ArchivLaden(const TArchivEinstellungen& A, TOptionenDlg& D) {
    D.UseTempFile.SetChecked(A.UseTempFile);
    D.StoredExtensions.SetText(A.StoredExt);
    D.ExternePackerImHintergrund.SetChecked(A.ExternePackerImHintergrund);
    D.AskBeforeOpen.SetChecked(A.AskBeforeOpen);
    D.ExtraNachfragen.SetChecked(A.ExtraNachfragen);
    D.ZipPath.SetText(A.ZipPath);
    D.UnZipPath.SetText(A.UnZipPath);
    D.Zip2ExePath.SetText(A.Zip2ExePath);
    D.UseInternZip.SetChecked(A.UseInternZip);
    D.UseInternUnZip.SetChecked(A.UseInternUnZip);
    D.ShowOnDoubleClick.SetChecked(A.ShowOnDoubleClick);
}

void ArcDragDropLaden(const TArcDragDropEinstellungen& A, TOptionenDlg& D) {
    D.DropPfadangaben.SetItemIndex(A.DropPfadangaben);
    D.VerschiebenBestaetigen.SetChecked(A.VerschiebenBestaetigen);
    D.NurWennAktueller.SetChecked(A.NurWennAktueller);
    D.NurWennAktuellerUndVorhanden.SetChecked(A.NurWennAktuellerUndVorhanden);
    D.PfadeSpeichern.SetChecked(A.PfadeSpeichern);
    D.Unterverzeichnisse.SetChecked(A.Unterverzeichnisse);
    D.DosDateiNamenBenutzen.SetChecked(A.DosDateiNamenBenutzen);
    D.Methode.SetItemIndex(A.Methode);
}

void SonstigesLaden(const TEinstellungen& E, TOptionenDlg& D) {
    D.LoeschGroup.SetItemIndex(E.Sonst.LoeschGroup);
    D.Editor.SetText(E.Sonst.ExtEdit);
    D.ClearLists.SetChecked(E.Sonst.ClearLists);
    D.AktPfadSichern.SetChecked(E.Sonst.AktPfadSichern);
    D.SetLieblingsverzeichnisse(E.OBV);
    D.WeitereMRUEintraege.SetValue(E.OftBenVerz);
}

// ---- Storing, one page each

void AnsichtSpeichern(TAnsichtEinstellungen& A, const TOptionenDlg& D) {
    A.StatuszeileAnzeigen = D.StatuszeileAnzeigen.Checked();
    A.DOSZeileAnzeigen = D.DOSZeileAnzeigen.Checked();
    A.FTastenAnzeigen = D.FTastenAnzeigen.Checked();
    A.SymbolleisteAnzeigen = D.SymbolleisteAnzeigen.Checked();
}

void SpaltenSpeichern(TOptionen& a, const TOptionenDlg& D) {
    a.GroesseAnzeigen = D.ADLGroesseAnzeigen.Checked();
    a.TypAnzeigen = D.ADLTypAnzeigen.Checked();
    a.DatumAnzeigen = D.ADLDatumAnzeigen.Checked();
    a.AttrAnzeigen = D.ADLAttrAnzeigen.Checked();
    a.DOSNameAnzeigen = D.ADLDOSNameAnzeigen.Checked();
}

void ArcViewSpeichern(TEinstellungen& E, const TOptionenDlg& D) {
    TOptionen& o = E.ArcView;
    DarstellungSpeichern(o, D, kArchivfenster);
    o.Statuszeile = D.AVStatuszeile.Checked();
    E.Arc.ArcViewStatuszeile = o.Statuszeile;
}

void BestaetigungenSpeichern(TEinstellungen& E, const TOptionenDlg& D) {
    E.Best.Loeschabfrage = D.Loeschabfrage.Checked();
    E.Best.NichtAlleUeberschreiben = D.NichtAlleUeberschreiben.Checked();
    E.Best.AuswahlDlgVorLoeschen = D.AuswahlDlgVorLoeschen.Checked();
    E.Best.OeffnenMitParametern = D.OeffnenMitParametern.Checked();
    E.DragDrop.KopierDlgZeigen = D.KopierDlgZeigen.Checked();
    E.DragDrop.VerschiebDlgZeigen = D.VerschiebDlgZeigen.Checked();
    E.DragDrop.LinkDlgZeigen = D.LinkDlgZeigen.Checked();
    E.DragDrop.ArcDlgZeigen = D.ArcDlgZeigen.Checked();
}

void ArchivSpeichern(TArchivEinstellungen& A, const TOptionenDlg& D) {
    A.UseTempFile = D.UseTempFile.Checked();
    A.StoredExt = D.StoredExtensions.Text();
    A.ExternePackerImHintergrund = D.ExternePackerImHintergrund.Checked();
    A.AskBeforeOpen = D.AskBeforeOpen.Checked();
    A.ExtraNachfragen = D.ExtraNachfragen.Checked();
    A.ZipPath = D.ZipPath.Text();
    A.UnZipPath = D.UnZipPath.Text();
    A.Zip2ExePath = D.Zip2ExePath.Text();
    A.UseInternZip = D.UseInternZip.Checked();
    A.UseInternUnZip = D.UseInternUnZip.Checked();
    A.ShowOnDoubleClick = D.ShowOnDoubleClick.Checked();
}

void ArcDragDropSpeichern(TArcDragDropEinstellungen& A, const TOptionenDlg& D) {
    A.DropPfadangaben = Index(D.DropPfadangaben);
    A.VerschiebenBestaetigen = D.VerschiebenBestaetigen.Checked();
    A.NurWennAktueller = D.NurWennAktueller.Checked();
    A.NurWennAktuellerUndVorhanden = D.NurWennAktuellerUndVorhanden.Checked();
    A.PfadeSpeichern = D.PfadeSpeichern.Checked();
    A.Unterverzeichnisse = D.Unterverzeichnisse.Checked();
    A.DosDateiNamenBenutzen = D.DosDateiNamenBenutzen.Checked();
    A.Methode = Index(D.Methode);
}

template <class F>
void Rufe(const F& f, auto... args) {
    if (f) f(args...);
}

}  // namespace

void OptionenLaden(const TEinstellungen& E, TOptionenDlg& D) {
    Fehlercode = fc::OptionenLaden;
    AnsichtLaden(E.Ansicht, D);
    DateilisteLaden(E, D);
    SuchergLaden(E.Sucherg, D);
    ArcViewLaden(E.ArcView, D);
    BestaetigungenLaden(E, D);
    ArchivLaden(E.Arc, D);
    ArcDragDropLaden(E.ArcDragDrop, D);
    SonstigesLaden(E, D);
    Fehlercode = 0;
}

void SonstigesSpeichern(TEinstellungen& E, const TOptionenDlg& D) {
    E.Sonst.LoeschGroup = Index(D.LoeschGroup);
    E.Sonst.ExtEdit = D.Editor.Text();
    E.Sonst.ClearLists = D.ClearLists.Checked();
    E.Sonst.AktPfadSichern = D.AktPfadSichern.Checked();
    D.GetLieblingsverzeichnisse(E.OBV);
    // A typed number beyond the range stands in the field; the setting takes it
    // into 0 to 20.
    const TNumSpinEdit& spin = D.WeitereMRUEintraege;
    E.OftBenVerz = static_cast<std::int32_t>(std::lround(spin.CheckValue(spin.GetValue())));
}

void OptionenUebernehmen(TEinstellungen& E, const TOptionenDlg& D, const TOptionenAnwendung& W) {
    const TOptionenGeaendert& g = D.Geaendert;
    if (g.Hauptfenster) {
        if (D.SymbolleisteAnzeigen.Checked() != E.Ansicht.SymbolleisteAnzeigen)
            Rufe(W.EnableToolbar, D.SymbolleisteAnzeigen.Checked());
        AnsichtSpeichern(E.Ansicht, D);
        Rufe(W.Hauptfenster);
    }
    if (!g.Dateiliste && !g.Spalten) {
        if (D.DLStatuszeile.Checked() != E.Dateiliste.Statuszeile) {
            E.Dateiliste.Statuszeile = D.DLStatuszeile.Checked();
            Rufe(W.Dateilisten, false);
        }
        if (D.ADLStatuszeile.Checked() != E.ADateiliste.Statuszeile) {
            E.ADateiliste.Statuszeile = D.ADLStatuszeile.Checked();
            Rufe(W.ADateilisten, false, false);
        }
    } else {
        if (g.Spalten) SpaltenSpeichern(E.ADateiliste, D);
        if (g.Dateiliste) {
            DarstellungSpeichern(E.Dateiliste, D, kDateilisten);
            DarstellungSpeichern(E.ADateiliste, D, kDateilisten);
        }
        E.Dateiliste.Statuszeile = D.DLStatuszeile.Checked();
        E.ADateiliste.Statuszeile = D.ADLStatuszeile.Checked();
        Rufe(W.Dateilisten, true);
        Rufe(W.ADateilisten, g.Spalten, true);
    }
    if (g.Sucherg) {
        E.Sucherg.StandardIcons = D.SuchergSimpleIcons.Checked();
        E.Sucherg.CheckArchive = D.CheckArchive.Checked();
        Rufe(W.Suchergebnisse);
    }
    if (g.ArcView) {
        ArcViewSpeichern(E, D);
        Rufe(W.Archivfenster, true);
    } else if (D.AVStatuszeile.Checked() != E.ArcView.Statuszeile) {
        E.ArcView.Statuszeile = D.AVStatuszeile.Checked();
        E.Arc.ArcViewStatuszeile = E.ArcView.Statuszeile;
        Rufe(W.Archivfenster, false);
    }
    if (g.Bestaetigungen) BestaetigungenSpeichern(E, D);
    if (g.Archiv) {
        ArchivSpeichern(E.Arc, D);
        Rufe(W.ApplyArchiverSettings);
    } else if (g.WeiterePacker) {
        Rufe(W.ApplyArchiverSettings);
    }
    if (g.ArcDragDrop) ArcDragDropSpeichern(E.ArcDragDrop, D);
    if (g.Sonstiges) Rufe(W.ApplyOptionsDialog);
}

}  // namespace velmora
