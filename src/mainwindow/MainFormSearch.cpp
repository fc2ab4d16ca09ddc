// THauptform: the file search command, the basket commands, and what the
// search-result and basket panes ask of the window.

#include "MainForm.h"
#include "filetools/DateiSuchenDlg.h"
#include "panes/Suchergebnis.h"

namespace velmora {

using namespace gui;

TDateiListe* THauptform::PaneRecords(TFensterTyp Kind) {
    if (Kind == ftSuchergebnis) return SearchResult.get();
    if (Kind == ftSammelkorb) return Basket.get();
    return nullptr;
}

bool THauptform::ArchiveKind(const std::wstring& Archive, std::uint8_t& Kind) {
    return ZipRoutinen && ZipRoutinen->GetArchiveType(Archive, Kind);
}

bool THauptform::ListArchive(std::uint8_t Kind, const std::wstring& Archive, TDateiListe& Entries) {
    if (!ZipRoutinen) return false;
    const bool before = std::exchange(SearchReadsArchives, true);
    std::wstring name = Archive;
    TArchivDaten daten;
    const bool listed = ZipRoutinen->OpenArchive(Kind, name, daten, Entries);
    SearchReadsArchives = before;
    return listed;
}

TDateiSuchenDlg* THauptform::SuchenDialog() {
    if (!m_suchenDlg) m_suchenDlg = Create<TDateiSuchenDlg>(this, DialogKontext);
    return m_suchenDlg;
}

TSuchFortschritt* THauptform::SuchFortschritt() {
    if (!m_suchFortschritt) m_suchFortschritt = Create<TSuchFortschritt>(this, DialogKontext, *SuchenDialog());
    return m_suchFortschritt;
}

void THauptform::DateiSuchenClick(TObject*) {
    RefreshDialogKontext();
    DialogKontext.Suchergebnis = SearchResult.get();
    DialogKontext.ArchivTyp = [this](const std::wstring& Archive, std::uint8_t& Kind) {
        return ArchiveKind(Archive, Kind);
    };
    DialogKontext.ArchivLesen = [this](std::uint8_t Kind, const std::wstring& Archive, TDateiListe& Entries) {
        return ListArchive(Kind, Archive, Entries);
    };
    DialogKontext.SucheLiestArchive = [this](bool Laeuft) { SearchReadsArchives = Laeuft; };
    TDateiSuchenDlg* dialog = SuchenDialog();
    dialog->Seiten.SetActivePageIndex(0);
    if (dialog->ShowModal() != mrOk) return;
    FoundIndex = -1;
    if (SearchResult) SearchResult->clear();
    TSuchFortschritt* progress = SuchFortschritt();
    progress->ShowModal();
    if (LeftPane && LeftPane->GetPaneKind() == ftSuchergebnis)
        LeftPane->ReadContents();
    else if (RightPane && RightPane->GetPaneKind() == ftSuchergebnis)
        RightPane->ReadContents();
    else if (progress->LinkesFenster.Checked())
        ShowPaneKind(0, ftSuchergebnis);
    else if (progress->RechtesFenster.Checked())
        ShowPaneKind(1, ftSuchergebnis);
}

// Empties the basket: every basket pane reads again, and the icon follows.
void THauptform::AlleEintrgeausListeentfernenClick(TObject*) {
    if (!Basket || Basket->empty()) return;
    Basket->clear();
    for (TDMChildForm* pane : {LeftPane, RightPane})
        if (pane && pane->GetPaneKind() == ftSammelkorb) pane->ReadContents();
    UpdateBasketIcon();
}

void THauptform::MarkierteDateienausSammelkorbentfernen1Click(TObject*) {
    TDMChildForm* pane = ActivePane();
    if (pane && pane->GetPaneKind() == ftSammelkorb) pane->RemoveMarkedFromBasket();
}

}  // namespace velmora
