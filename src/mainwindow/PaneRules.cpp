#include "PaneRules.h"

#include "MainWindowCodes.h"
#include "platform/rtl/PathNames.h"

namespace velmora {

namespace {

bool IsListPane(TFensterTyp Kind) { return Kind == ftSuchergebnis || Kind == ftSammelkorb; }

}  // namespace

bool IsFileListKind(TFensterTyp Kind) { return Kind == ftDateiliste || Kind == ftAusfDateiliste; }

bool KeepsPaneObject(TFensterTyp Old, TFensterTyp New) {
    return Old == New || (IsFileListKind(Old) && IsFileListKind(New)) || (IsListPane(Old) && IsListPane(New));
}

std::uint16_t PaneKindCode(int Side, TFensterTyp Kind) {
    const int index = Kind <= ftSammelkorb ? Kind : 5;
    return static_cast<std::uint16_t>((Side == 0 ? fc::ShowPaneKindLeftTree : fc::ShowPaneKindRightTree) + index);
}

std::uint16_t PaneFolderCode(int Side) { return Side == 0 ? fc::ShowPaneKindLeftFolder : fc::ShowPaneKindRightFolder; }

const TOptionen& OptionsForKind(const TEinstellungen& Settings, TFensterTyp Kind) {
    switch (Kind) {
    case ftVerzeichnisbaum: return Settings.ZusatzOptionen;
    case ftDateiliste: return Settings.Dateiliste;
    case ftAusfDateiliste: return Settings.ADateiliste;
    case ftSuchergebnis:
    case ftSammelkorb: return Settings.Sucherg;
    default: return Settings.ArcView;
    }
}

TViewChoice ViewItemChoice(const std::wstring& Item, const std::function<bool(const wchar_t*)>& Ticked) {
    struct TRow {
        const wchar_t* Item;
        int Side;
        TFensterTyp Kind;
    };
    // Each of these acts unless the item itself is ticked.
    static const TRow kUnlessTicked[] = {
        {L"AnsichtVbaumL", 0, ftVerzeichnisbaum},  {L"AnsichtVbaumR", 1, ftVerzeichnisbaum},
        {L"AnsichtDListeL", 0, ftDateiliste},      {L"AnsichtDListeR", 1, ftDateiliste},
        {L"AnsichtAusDlisteL", 0, ftAusfDateiliste}, {L"AnsichtAusDListeR", 1, ftAusfDateiliste},
    };
    for (const TRow& row : kUnlessTicked)
        if (Item == row.Item)
            return Ticked(row.Item) ? TViewChoice{} : TViewChoice{TViewAction::ShowKind, row.Side, row.Kind};

    const bool searchShown = Ticked(L"AnsichtSuchergebnisL") || Ticked(L"AnsichtSuchergebnisR");
    if (Item == L"AnsichtSuchergebnisL" || Item == L"SuchergebnisAnzeigenLinkesFenster")
        return searchShown ? TViewChoice{} : TViewChoice{TViewAction::ShowKind, 0, ftSuchergebnis};
    if (Item == L"AnsichtSuchergebnisR" || Item == L"SuchergebnisAnzeigenRechtesFenster")
        return searchShown ? TViewChoice{} : TViewChoice{TViewAction::ShowKind, 1, ftSuchergebnis};

    // The view menu's basket items always act, so that a shown basket is refreshed.
    const bool basketShown = Ticked(L"AnsichtSammelKorbL") || Ticked(L"AnsichtSammelkorbR");
    if (Item == L"AnsichtSammelKorbL")
        return {TViewAction::ShowKind, 0, ftSammelkorb};
    if (Item == L"AnsichtSammelkorbR")
        return {TViewAction::ShowKind, 1, ftSammelkorb};
    if (Item == L"SammelkorbLinks")
        return basketShown ? TViewChoice{} : TViewChoice{TViewAction::ShowKind, 0, ftSammelkorb};
    if (Item == L"SammelkorbRechts")
        return basketShown ? TViewChoice{} : TViewChoice{TViewAction::ShowKind, 1, ftSammelkorb};

    if (Item == L"AnsichtFileViewL")
        return {TViewAction::ShowMarked, 0, ftZip};
    if (Item == L"AnsichtFileViewR")
        return {TViewAction::ShowMarked, 1, ftZip};
    return {};
}

std::wstring ViewItemForPopupItem(const std::wstring& Item, bool ActiveSideLeft) {
    static const std::pair<const wchar_t*, std::pair<const wchar_t*, const wchar_t*>> kPopup[] = {
        {L"Verzeichnisbaum1", {L"AnsichtVbaumL", L"AnsichtVbaumR"}},
        {L"Dateiliste1", {L"AnsichtDListeL", L"AnsichtDListeR"}},
        {L"AusfhrlicheDateiliste1", {L"AnsichtAusDlisteL", L"AnsichtAusDListeR"}},
        {L"InhaltdesSammelkorbes1", {L"AnsichtSammelKorbL", L"AnsichtSammelkorbR"}},
        {L"LetztesSuchergebnis1", {L"AnsichtSuchergebnisL", L"AnsichtSuchergebnisR"}},
        {L"Archivinhalt1", {L"AnsichtFileViewL", L"AnsichtFileViewR"}},
    };
    for (const auto& [popup, items] : kPopup)
        if (Item == popup)
            return ActiveSideLeft ? items.first : items.second;
    return Item;
}

TParentStep ParentStepOf(const std::wstring& Shown, bool IsFolder) {
    TParentStep step;
    if (Shown.empty())
        return step;
    if (!IsFolder) {
        step.FocusName = ExtractFileName(Shown);
        step.Folder = ExtractFilePath(Shown);
        step.Parent = step.Folder;
        return step;
    }
    const std::wstring folder = IncludeTrailingBackslash(Shown);
    step.Folder = folder;
    if (folder.size() < 2)
        return step;
    const size_t before = folder.find_last_of(L'\\', folder.size() - 2);
    if (before == std::wstring::npos) {
        // A root: its "name" is the drive itself and nothing lies above it.
        step.FocusName = folder.substr(0, folder.size() - 1);
        return step;
    }
    step.FocusName = folder.substr(before + 1, folder.size() - before - 2);
    step.Parent = folder.substr(0, before + 1);
    return step;
}

int SplitterWidth(int Wanted, int ClientWidth) {
    if (Wanted < 10)
        return 6;
    if (Wanted > ClientWidth - 10)
        return ClientWidth - 10;
    return Wanted;
}

}  // namespace velmora
