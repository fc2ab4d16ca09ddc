// Pane management: which pane stands on which side, where the panes and the
// splitter are placed, which folder a side shows, and the drive bars that
// follow the panes.

#include <algorithm>
#include <cwctype>

#include "FensterWerte.h"
#include "MainForm.h"
#include "panes/DateiListe.h"
#include "panes/Vbaum.h"
#include "panes/Suchergebnis.h"
#include "panes/ZipView.h"
#include "MainWindowCodes.h"
#include "PaneRules.h"
#include "foundation/Pidl.h"
#include "platform/gui/Dialogs.h"
#include "platform/rtl/PathNames.h"
#include "platform/rtl/Strings.h"

namespace velmora {

using namespace gui;

namespace {

constexpr int kSplitterWidth = 4;

const wchar_t kFolderMissingText[] =
    L"Das ausgewählte Verzeichnis konnte nicht angezeigt werden. Stellen Sie sicher, daß sich ein Datenträger im "
    L"Laufwerk befindet.";
const wchar_t kOneBarHint[] = L"Laufwerk|Wählen Sie hier das Laufwerk, das in beiden Fenstern angezeigt werden soll.";
const wchar_t kLeftBarHint[] =
    L"Linkes Laufwerk|Wählen Sie hier das Laufwerk, das im linken Fenster angezeigt werden soll.";

std::wstring DriveRoot(wchar_t drive) { return std::wstring(1, drive) + L":\\"; }

bool IsTree(TDMChildForm* pane) { return pane && pane->GetPaneKind() == ftVerzeichnisbaum; }
bool IsFileList(TDMChildForm* pane) { return pane && IsFileListKind(pane->GetPaneKind()); }
bool ShowsArchive(TDMChildForm* pane) { return pane && ZeigtArchiv(pane->GetPaneKind()); }

std::wstring CurrentFolder() {
    wchar_t current[MAX_PATH] = L"";
    GetCurrentDirectoryW(MAX_PATH, current);
    return IncludeTrailingBackslash(current);
}

// The view menu's item of each kind, left and right.
struct TKindItems {
    const wchar_t* Left;
    const wchar_t* Right;
};
TKindItems ViewItemsOf(TFensterTyp Kind) {
    switch (Kind) {
    case ftVerzeichnisbaum: return {L"AnsichtVbaumL", L"AnsichtVbaumR"};
    case ftDateiliste: return {L"AnsichtDListeL", L"AnsichtDListeR"};
    case ftAusfDateiliste: return {L"AnsichtAusDlisteL", L"AnsichtAusDListeR"};
    case ftSuchergebnis: return {L"AnsichtSuchergebnisL", L"AnsichtSuchergebnisR"};
    case ftSammelkorb: return {L"AnsichtSammelKorbL", L"AnsichtSammelkorbR"};
    default: return {L"AnsichtFileViewL", L"AnsichtFileViewR"};
    }
}
const wchar_t* ViewItemOf(int Side, TFensterTyp Kind) {
    const TKindItems items = ViewItemsOf(Kind);
    return Side == 0 ? items.Left : items.Right;
}
const wchar_t* SearchItemOf(int Side) {
    return Side == 0 ? L"SuchergebnisAnzeigenLinkesFenster" : L"SuchergebnisAnzeigenRechtesFenster";
}
const wchar_t* BasketItemOf(int Side) { return Side == 0 ? L"SammelkorbLinks" : L"SammelkorbRechts"; }

const wchar_t* const kRemoveFromBasketItems[] = {L"MarkierteDateienausSammelkorbentfernen1",
                                                 L"MarkierteDateienausSammelkorbentfernen2"};
const wchar_t* const kPutIntoBasketItems[] = {L"MarkierteDateieninSammelkorblegen1", L"DateieninSammelkorblegen1"};

TMenuItem* FindItemIn(const TComponent& owner, const wchar_t* name) {
    for (int i = 0; i < owner.ComponentCount(); ++i) {
        TComponent* c = owner.Components(i);
        if (auto* item = dynamic_cast<TMenuItem*>(c); item && item->Name() == name)
            return item;
        if (dynamic_cast<TMenu*>(c) || dynamic_cast<TMenuItem*>(c))
            if (TMenuItem* found = FindItemIn(*c, name))
                return found;
    }
    return nullptr;
}

}  // namespace

TDMChildForm* THauptform::BasePaneFactory(TFensterTyp Kind, THauptform& Host) {
    if (Kind == ftDateiliste || Kind == ftAusfDateiliste)
        return Create<TDateiListeForm>(&Host, static_cast<TPaneHost*>(&Host));
    if (Kind == ftVerzeichnisbaum)
        return Create<TVbaumForm>(&Host, static_cast<TPaneHost*>(&Host));
    // One archive pane serves every archive kind.
    if (ZeigtArchiv(Kind))
        return Create<TZipViewForm>(&Host, static_cast<TPaneHost*>(&Host), Host.ZipRoutinen.get());
    if (Kind == ftSuchergebnis || Kind == ftSammelkorb)
        return Create<TSuchergebnisForm>(&Host, static_cast<TPaneHost*>(&Host), Kind);
    return Create<TDMChildForm>(&Host);
}

void THauptform::BindPaneHandlers() {
    SizePanel.OnMouseDown = bind(this, &THauptform::SizePanelMouseDown);
    SizePanel.OnMouseMove = bind(this, &THauptform::SizePanelMouseMove);
    SizePanel.OnMouseUp = bind(this, &THauptform::SizePanelMouseUp);
    for (TDriveComboBox* box : {&LWAuswahl, &LWAuswahl2}) {
        box->OnChange = bind(this, &THauptform::LWAuswahlChange);
        box->OnKeyDown = bind(this, &THauptform::LWAuswahlKeyDown);
        box->OnKeyPress = bind(this, &THauptform::LWAuswahlKeyPress);
    }
    LWAuswahl.SetName(L"LWAuswahl");
    LWAuswahl2.SetName(L"LWAuswahl2");
    SetUpTimers();
}

// ---- Menu items by name

TMenuItem* THauptform::MenuItem(const wchar_t* Name) const { return FindItemIn(*this, Name); }

void THauptform::SetItemChecked(const wchar_t* Name, bool Checked) {
    if (TMenuItem* item = MenuItem(Name))
        item->SetChecked(Checked);
}

void THauptform::SetItemEnabled(const wchar_t* Name, bool Enabled) {
    if (TMenuItem* item = MenuItem(Name))
        item->SetEnabled(Enabled);
}

bool THauptform::ItemChecked(const wchar_t* Name) const {
    TMenuItem* item = MenuItem(Name);
    return item && item->Checked();
}

void THauptform::SetSortItemsEnabled(bool Enabled) {
    for (const wchar_t* name : {L"NachTyp", L"NachTyp1", L"NachAttributen", L"NachAttributen1"})
        SetItemEnabled(name, Enabled);
}

// ---- Replacing a side's pane

void THauptform::FreePane(TDMChildForm*& Pane) {
    TDMChildForm* old = Pane;
    Pane = nullptr;
    if (!old)
        return;
    old->Close();
    old->CleanUp();
    old->Free();
}

void THauptform::ReplacePane(TDMChildForm*& Pane, TFensterTyp Kind) {
    FreePane(Pane);
    TDMChildForm* made = PaneFactory(Kind, *this);
    FreeNotification(made);
    // The window decides the panes' sizes: the splitter may leave a pane a few
    // pixels wide, narrower than the system lets a framed window be.
    made->MinWidth = 1;
    made->MinHeight = 1;
    Pane = made;
    ArrangePanes();
    made->Show();
}

// The pane that goes stops carrying its side's search or basket marks, and
// the other side may show them again.
void THauptform::UntickPaneKind(int Side, TFensterTyp Kind) {
    const int other = Side == 0 ? 1 : 0;
    if (Kind == ftSuchergebnis) {
        SetItemChecked(SearchItemOf(Side), false);
        SetItemEnabled(SearchItemOf(other), true);
        SetItemEnabled(ViewItemOf(other, ftSuchergebnis), true);
        SetItemEnabled(L"LetztesSuchergebnis1", true);
    } else if (Kind == ftSammelkorb) {
        SetItemChecked(BasketItemOf(Side), false);
        for (const wchar_t* name : kRemoveFromBasketItems)
            SetItemEnabled(name, false);
        SetItemEnabled(BasketItemOf(other), true);
        SetItemEnabled(ViewItemOf(other, ftSammelkorb), true);
        SetItemEnabled(L"InhaltdesSammelkorbes1", true);
    }
}

void THauptform::TickPaneKind(int Side, TFensterTyp Kind) {
    for (TFensterTyp kind : {ftVerzeichnisbaum, ftDateiliste, ftAusfDateiliste, ftSuchergebnis, ftSammelkorb, ftZip})
        SetItemChecked(ViewItemOf(Side, kind), ZeigtArchiv(Kind) ? ZeigtArchiv(kind) : kind == Kind);
    SetItemChecked(SearchItemOf(Side), Kind == ftSuchergebnis);
    SetItemChecked(BasketItemOf(Side), Kind == ftSammelkorb);
}

void THauptform::ShowPaneKind(int Side, TFensterTyp Kind) {
    const std::uint16_t code = PaneKindCode(Side, Kind);
    Fehlercode = code;
    TDMChildForm*& pane = Side == 0 ? LeftPane : RightPane;
    const int other = Side == 0 ? 1 : 0;
    bool replace = true;
    if (pane) {
        UntickPaneKind(Side, pane->GetPaneKind());
        replace = !KeepsPaneObject(pane->GetPaneKind(), Kind);
    }
    if (replace)
        ReplacePane(pane, Kind);
    Fehlercode = code;
    if (Kind != ftVerzeichnisbaum)
        pane->SetPaneKind(Kind);
    if (Kind == ftSuchergebnis || Kind == ftSammelkorb)
        PaneActivated(pane);
    Fehlercode = code;
    pane->ApplyOptions(OptionsForKind(*Settings, Kind));
    SetSortItemsEnabled(Kind != ftVerzeichnisbaum && !ZeigtArchiv(Kind));
    FollowDriveBars(Side, Kind);
    Fehlercode = code;
    TickPaneKind(Side, Kind);
    if (Kind == ftSuchergebnis) {
        SetItemEnabled(SearchItemOf(other), false);
        SetItemEnabled(ViewItemOf(other, ftSuchergebnis), false);
        SetItemEnabled(L"LetztesSuchergebnis1", false);
    } else if (Kind == ftSammelkorb) {
        for (const wchar_t* name : kRemoveFromBasketItems)
            SetItemEnabled(name, Basket && !Basket->empty());
        SetItemEnabled(BasketItemOf(other), false);
        SetItemEnabled(ViewItemOf(other, ftSammelkorb), false);
        SetItemEnabled(L"InhaltdesSammelkorbes1", false);
    }
    if (!KeepFolders)
        ChooseSideFolder(Side, pane, Side == 0 ? RightPane : LeftPane, Kind);
    Fehlercode = 0;
}

// A drive bar takes another drive without acting on it as the user's choice.
void THauptform::SetBarDrive(TDriveComboBox& Box, TDiscMonitor& Monitor, wchar_t Drive) {
    const bool saved = velmora::LaufwerkWirdGewechselt;
    velmora::LaufwerkWirdGewechselt = true;
    Box.SetDrive(Drive);
    velmora::LaufwerkWirdGewechselt = saved;
    Monitor.SetDirectory(DriveRoot(Box.Drive()));
}

// Two drive bars stand exactly over two trees or two file lists; otherwise the
// first bar serves both panes.
void THauptform::FollowDriveBars(int Side, TFensterTyp Kind) {
    TDMChildForm* other = Side == 0 ? RightPane : LeftPane;
    auto keepFolder = [](TDMChildForm* pane, const std::wstring& folder) {
        if (pane && !folder.empty() && pane->GetDirectory() != folder)
            pane->SetDirectory(folder);
    };
    if (!IstVerzeichnisFenster(Kind)) {
        if (LWPanel2.Visible()) {
            SetBarDrive(LWAuswahl, LWAuswahlMonitor, LWAuswahl2.Drive());
            HideSecondDriveBar();
        }
        return;
    }
    const bool twoBars = Kind == ftVerzeichnisbaum ? IsTree(other) : IsFileList(other);
    if (twoBars) {
        // Two bars already: each keeps its pane's drive (a list that only
        // changes its kind must not take the other side's drive).
        if (LWPanel2.Visible())
            return;
        const std::wstring folder = other->GetDirectory();
        ShowSecondDriveBar();
        SetBarDrive(LWAuswahl2, LWAuswahlMonitor2, LWAuswahl.Drive());
        keepFolder(other, folder);
        return;
    }
    if (Side == 0) {
        if (!LWPanel2.Visible())
            return;
        const std::wstring folder = other ? other->GetDirectory() : std::wstring();
        SetBarDrive(LWAuswahl, LWAuswahlMonitor, LWAuswahl2.Drive());
        HideSecondDriveBar();
        keepFolder(other, folder);
        if (Kind == ftVerzeichnisbaum && IsFileList(other))
            ListKind = other->GetPaneKind();
        else if (Kind != ftVerzeichnisbaum && IsTree(other))
            ListKind = Kind;
        return;
    }
    HideSecondDriveBar();
    if (Kind == ftVerzeichnisbaum && IsFileList(LeftPane))
        ListKind = LeftPane->GetPaneKind();
    else if (Kind != ftVerzeichnisbaum && IsTree(LeftPane))
        ListKind = Kind;
}

// A stored start folder that is gone gives way to the current one.
std::wstring THauptform::StoredStartFolder(int Side) const {
    const std::wstring& start = Side == 0 ? StartFolderLeft : StartFolderRight;
    return DirectoryExists(start) ? IncludeTrailingBackslash(start) : CurrentFolder();
}

// The folders the start's file lists will show, as ChooseSideFolder will choose
// them (a right pane without a start folder of its own takes the left one's),
// read on a thread until the panes take the passes.
void THauptform::ReadStartFoldersAhead() {
    if (ArchiveArgument)
        return;
    const TPaneKindRequest kinds = ParsePaneKinds(PaneKinds, false);
    const std::wstring left = UseStartFolderLeft ? StoredStartFolder(0) : CurrentFolder();
    const std::wstring right = UseStartFolderRight ? StoredStartFolder(1) : left;
    if (IsFileListKind(kinds.Left))
        m_startFolderPasses.push_back(TOrdnerVorauslesen::Fuer(left));
    if (IsFileListKind(kinds.Right))
        m_startFolderPasses.push_back(TOrdnerVorauslesen::Fuer(right));
}

void THauptform::ChooseSideFolder(int Side, TDMChildForm* Pane, TDMChildForm* Other, TFensterTyp Kind) {
    Fehlercode = PaneFolderCode(Side);
    bool& useStart = Side == 0 ? UseStartFolderLeft : UseStartFolderRight;
    const TFensterTyp otherKind = Other ? Other->GetPaneKind() : ftVerzeichnisbaum;
    auto showAndNote = [&](const std::wstring& folder) {
        Pane->SetDirectory(folder);
        StartPathInfoThread(folder);
        AddRecentDir(folder);
    };
    if (Side == 0 && ArchiveArgument) {
        Pane->SetDirectory(CommandLineArgument);
    } else if (useStart) {
        showAndNote(StoredStartFolder(Side));
        useStart = false;
    } else if (!Other || (Other->GetDirectory().empty() && !(otherKind >= ftSuchergebnis && otherKind <= 15))) {
        std::wstring folder = CurrentFolder();
        if (Side != 0 && Settings->Sonst.AktPfadSichern && DirectoryExists(StartFolderRight)) {
            folder = IncludeTrailingBackslash(StartFolderRight);
            StartFolderRight.clear();
        }
        showAndNote(folder);
    } else if (otherKind == ftSuchergebnis || otherKind == ftSammelkorb) {
        std::wstring folder = DateiRoutinen ? DateiRoutinen->GetCurrentPath() : std::wstring();
        if (folder.empty()) {
            folder = CurrentFolder();
            if (SameTextAscii(folder, L"X:\\"))
                folder = L"C:\\";
        }
        Pane->SetDirectory(folder);
    } else if (ZeigtArchiv(otherKind)) {
        const std::wstring archive = Other->GetArchiveFile();
        Pane->SetDirectory(Kind == ftVerzeichnisbaum ? archive : ExtractFilePath(archive));
    } else {
        const std::wstring folder = Other->GetDirectory();
        Pane->SetDirectory(IsTree(Other) && !DirectoryExists(folder) ? ExtractFilePath(folder) : folder);
    }
}

// ---- Layout

void THauptform::ArrangePanes() {
    if (m_closing)
        return;
    Fehlercode = fc::ArrangePanes;
    int used = Symbolleiste.Height();
    for (TControl* bar : {static_cast<TControl*>(&HauptStatusZeile), static_cast<TControl*>(&ButtonPanel),
                          static_cast<TControl*>(&DOSZeilenPanel)})
        if (bar->Visible())
            used += bar->Height();
    const int height = std::max(0, ClientHeight() - used);
    if (LeftPane)
        LeftPane->SetBounds(0, 0, LeftPaneWidth, height);
    SizePanel.SetBounds(LeftPaneWidth, Symbolleiste.Height(), kSplitterWidth, height);
    SizePanel.BringToFront();
    if (RightPane) {
        const int x = LeftPaneWidth + kSplitterWidth;
        RightPane->SetBounds(x, 0, ClientWidth() - x, height);
    }
    if (ButtonPanel.Visible()) {
        const int width = ButtonPanel.Width();
        const int section = (width - 4) / 10;
        for (int i = 0; i < 9; ++i)
            ButtonPanel.SetPanelWidth(i, section);
        ButtonPanel.SetPanelWidth(9, width - 9 * section);
    }
    if (DOSZeilenPanel.Visible()) {
        const int third = DOSZeilenPanel.Width() / 3;
        DOSPfadPanel.SetWidth(third);
        DOSPfad.SetWidth(third - 8);
        DOSBefehlszeile.SetBounds(third + 3, 3, DOSZeilenPanel.Width() - third - 4, DOSBefehlszeile.Height());
    }
    Fehlercode = 0;
}

// The splitter follows the left pane's right edge; the right pane fills the rest.
void THauptform::PlacePanes(int LeftWidth) {
    if (LeftPane)
        LeftPane->SetWidth(LeftWidth);
    SizePanel.SetLeft(LeftWidth);
    if (RightPane) {
        const int x = LeftWidth + kSplitterWidth;
        RightPane->SetBounds(x, RightPane->Top(), ClientWidth() - x, RightPane->Height());
    }
}

void THauptform::SizePanelMouseDown(TObject*, TMouseButton Button, TShiftState, int X, int) {
    if (Button != TMouseButton::mbLeft)
        return;
    SplitterDragging = true;
    SplitterStartX = X;
    for (TDMChildForm* pane : {LeftPane, RightPane})
        if (pane)
            pane->BeginUpdate();
}

void THauptform::SizePanelMouseMove(TObject*, TShiftState, int X, int) {
    if (!SplitterDragging)
        return;
    Fehlercode = fc::SplitterDrag;
    const int current = LeftPane ? LeftPane->Width() : SizePanel.Left();
    PlacePanes(SplitterWidth(current + X - SplitterStartX, ClientWidth()));
    Fehlercode = 0;
}

void THauptform::SizePanelMouseUp(TObject*, TMouseButton, TShiftState, int, int) {
    if (!SplitterDragging)
        return;
    SplitterDragging = false;
    for (TDMChildForm* pane : {LeftPane, RightPane})
        if (pane)
            pane->EndUpdate();
    LeftPaneWidth = LeftPane ? LeftPane->Width() : SizePanel.Left();
}

void THauptform::ShowSecondDriveBar() {
    if (LWPanel2.Visible())
        return;
    Fehlercode = fc::ShowSecondDriveBar;
    DriveBarsChanging = true;
    Symbolleiste.SetHeight(Symbolleiste.Height() + LWPanel2.Height());
    LWPanel2.Show();
    // The left drive's bar stands above the right one's.
    if (LWPanel2.Top() < LWPanel.Top()) {
        LWPanel.BringToFront();
        Symbolleiste.AlignControls();
    }
    LWFreeSpace2.SetWidth(Symbolleiste.Width() - LWAuswahl2.Width() - 8);
    ArrangePanes();
    ShowFreeSpace();
    LWAuswahl.Hint = kLeftBarHint;
    LWAuswahlMonitor2.SetDirectory(DriveRoot(LWAuswahl2.Drive()));
    LWAuswahlMonitor2.SetActive(true);
    DriveBarsChanging = false;
    Fehlercode = 0;
}

void THauptform::HideSecondDriveBar() {
    if (!LWPanel2.Visible())
        return;
    Fehlercode = fc::HideSecondDriveBar;
    DriveBarsChanging = true;
    SetSortItemsEnabled(true);
    Symbolleiste.SetHeight(Symbolleiste.Height() - LWPanel2.Height());
    LWPanel2.Hide();
    ArrangePanes();
    LWAuswahl.Hint = kOneBarHint;
    LWAuswahlMonitor2.SetActive(false);
    DriveBarsChanging = false;
    Fehlercode = 0;
}

// ---- Showing a folder

bool THauptform::IsLeftSender(TObject* Sender) const {
    return Sender && (Sender == LeftPane || Sender == &LWAuswahl);
}

bool THauptform::IsRightSender(TObject* Sender) const {
    return Sender && (Sender == RightPane || Sender == &LWAuswahl2);
}

bool THauptform::ShowDirectory(TDMChildForm* Pane, const std::wstring& Path) {
    return ShowDirectory(static_cast<TObject*>(Pane), Path);
}

// A folder that cannot be shown warns and falls back to the file routines'
// current path, then the path of the other drive, then "C:\", each tried once:
// two missing fallbacks would otherwise hand the request back and forth.
bool THauptform::ShowDirectory(TObject* Sender, const std::wstring& Path) {
    if (TryShowDirectory(Sender, Path))
        return true;
    std::vector<std::wstring> tried{Path};
    auto untried = [&](const std::wstring& candidate) {
        return !candidate.empty() &&
               std::none_of(tried.begin(), tried.end(), [&](const std::wstring& t) { return SameTextAscii(t, candidate); });
    };
    const std::wstring current = DateiRoutinen ? DateiRoutinen->GetCurrentPath() : std::wstring();
    const std::wstring otherDrive = DateiRoutinen ? DateiRoutinen->GetOtherDrivePath() : std::wstring();
    for (const std::wstring& fallback : {current, otherDrive, std::wstring(L"C:\\")}) {
        if (!untried(fallback))
            continue;
        tried.push_back(fallback);
        if (TryShowDirectory(Sender, fallback)) {
            StartQuickViewThread(fallback);
            break;
        }
    }
    Fehlercode = 0;
    return false;
}

bool THauptform::TryShowDirectory(TObject* Sender, const std::wstring& Path) {
    Fehlercode = fc::ShowDirectory;
    if (!FolderExists(Path)) {
        MessageDlg(kFolderMissingText, TMsgDlgType::mtWarning, {TMsgDlgBtn::mbOK}, 66);
        Fehlercode = 0;
        return false;
    }
    const bool left = IsLeftSender(Sender);
    if (left || IsRightSender(Sender)) {
        const int side = left ? 0 : 1;
        TDMChildForm* pane = left ? LeftPane : RightPane;
        TDMChildForm* other = left ? RightPane : LeftPane;
        bool otherReplaced = false;
        if (!velmora::LaufwerkWirdGewechselt && IsTree(pane)) {
            if (!Path.starts_with(L"\\\\"))
                SelectDrive(side, Path[0]);
            if (ShowsArchive(other)) {
                ShowPaneKind(side == 0 ? 1 : 0, ListKind);
                otherReplaced = true;
            }
            Fehlercode = fc::ShowDirectory;
        } else if (!velmora::LaufwerkWirdGewechselt && Path.size() >= 2 && Path[1] == L':') {
            // A list's folder change moves its drive bar as the tree's does.
            SelectDrive(side, Path[0]);
            Fehlercode = fc::ShowDirectory;
        }
        other = left ? RightPane : LeftPane;
        if (pane)
            pane->SetDirectory(Path);
        if (!LWPanel2.Visible() && !otherReplaced && other)
            other->SetDirectory(Path);
        StartPathInfoThread(Path);
        SetDOSPfad(Path);
        AddRecentDir(Path);
    }
    if (DateiRoutinen)
        DateiRoutinen->SetCurrentPath(Path);
    Fehlercode = 0;
    return true;
}

void THauptform::SelectDrive(int Side, wchar_t Drive) {
    Fehlercode = fc::SelectDrive;
    const bool second = Side != 0 && LWPanel2.Visible();
    TDriveComboBox& box = second ? LWAuswahl2 : LWAuswahl;
    TDiscMonitor& monitor = second ? LWAuswahlMonitor2 : LWAuswahlMonitor;
    const wchar_t wanted = static_cast<wchar_t>(std::towupper(Drive));
    const bool listed = std::any_of(box.Items().Items().begin(), box.Items().Items().end(), [&](const std::wstring& e) {
        return !e.empty() && std::towupper(e[0]) == wanted;
    });
    if (std::towupper(box.Drive()) != wanted && listed) {
        SetBarDrive(box, monitor, Drive);
        ShowFreeSpace();
    }
    Fehlercode = 0;
}

void THauptform::GoToParentDir(TDMChildForm* Pane) {
    if (!Pane)
        return;
    Fehlercode = fc::GoToParentDir;
    const TFensterTyp kind = Pane->GetPaneKind();
    std::wstring shown;
    if (kind == ftDateiliste || kind == ftAusfDateiliste)
        shown = Pane->GetDirectory();
    else if (ZeigtArchiv(kind))
        shown = Pane->GetArchiveFile();
    const TParentStep step = ParentStepOf(shown, !shown.empty() && DirectoryExists(shown));
    TDMChildForm* other = Pane == LeftPane ? RightPane : LeftPane;
    // The focus is asked for only when a folder will be read after this.
    auto focusAfterRead = [&] {
        NachLesenFokusName = step.FocusName;
        NachLesenFokussieren = true;
    };
    if (IsTree(other)) {
        if (!shown.empty())
            focusAfterRead();
        if (HWND tree = other->GetControlHandle())
            PostMessageW(tree, WM_KEYDOWN, VK_BACK, 0);
        TreeKeepInactive = true;
    } else if (ZeigtArchiv(kind)) {
        focusAfterRead();
        ArmArcTimer(1, Pane, step.Folder);
    } else if (step.Parent.empty()) {
        MessageBeep(MB_OK);
    } else {
        focusAfterRead();
        if (ShowDirectory(Pane, step.Parent))
            StartQuickViewThread(step.Parent);
    }
    Fehlercode = 0;
}

// Each pane takes a copy of the list it keeps: the list handed on here is one
// of our own, alive until both panes have had it, so a pane that frees its old
// list (the caller's, perhaps) never frees or reads the one the other pane gets.
void THauptform::SyncPanes(TDMChildForm* Pane, PCIDLIST_ABSOLUTE Pidl) {
    if (!Pane || (Pane != LeftPane && Pane != RightPane))
        return;
    Fehlercode = fc::SyncPanes;
    const TPidl copy = PidlVerketten(nullptr, Pidl);
    if (!copy) {
        Fehlercode = 0;
        return;
    }
    const int otherSide = Pane == LeftPane ? 1 : 0;
    TDMChildForm* other = otherSide == 1 ? RightPane : LeftPane;
    if (IsFileList(Pane)) {
        if (IsTree(other))
            other->ShowVirtualFolder(copy.get());
        Pane->ShowVirtualFolder(copy.get());
    } else if (IsTree(Pane)) {
        if (ShowsArchive(other)) {
            KeepFolders = true;
            ShowPaneKind(otherSide, ListKind);
            KeepFolders = false;
            Fehlercode = fc::SyncPanes;
            other = otherSide == 1 ? RightPane : LeftPane;
        }
        if (IsFileList(other))
            other->ShowVirtualFolder(copy.get());
    }
    StartPathInfoThread(L"");
    Fehlercode = 0;
}

void THauptform::PaneActivated(TDMChildForm* Pane) {
    if (!Pane)
        return;
    Fehlercode = fc::PaneActivated;
    CheckSortMenu(Pane->GetSortOrder());
    const TFensterTyp kind = Pane->GetPaneKind();
    const bool basketFilled = Basket && !Basket->empty();
    if (IstVerzeichnisFenster(kind)) {
        SetSortItemsEnabled(kind != ftVerzeichnisbaum);
        const std::wstring folder = Pane->GetDirectory();
        StartPathInfoThread(folder);
        SetDOSPfad(DirectoryExists(folder) ? folder : ExtractFilePath(folder));
        for (const wchar_t* name : kRemoveFromBasketItems)
            SetItemEnabled(name, false);
        for (const wchar_t* name : kPutIntoBasketItems)
            SetItemEnabled(name, true);
        SetItemEnabled(L"Dateiauswahl", true);
    } else if (kind == ftSuchergebnis || kind == ftSammelkorb) {
        StartQuickViewThread(L"");
        StartPathInfoThread(L"");
        SetSortItemsEnabled(true);
        for (const wchar_t* name : kRemoveFromBasketItems)
            SetItemEnabled(name, kind == ftSammelkorb && basketFilled);
        for (const wchar_t* name : kPutIntoBasketItems)
            SetItemEnabled(name, kind == ftSuchergebnis);
        SetItemEnabled(L"Dateiauswahl", false);
    } else {
        const std::wstring archive = Pane->GetArchiveFile();
        UpdatePaneStatus(archive);
        SetDOSPfad(ExtractFilePath(archive));
        SetSortItemsEnabled(false);
        SetItemEnabled(L"NachTyp", true);
        for (const wchar_t* name : kRemoveFromBasketItems)
            SetItemEnabled(name, false);
        for (const wchar_t* name : kPutIntoBasketItems)
            SetItemEnabled(name, true);
        SetItemEnabled(L"Dateiauswahl", false);
    }
    Fehlercode = 0;
}

// ---- The view menu and the pane commands

void THauptform::AnsichtLinksRechtsClick(TObject* Sender) {
    auto* item = dynamic_cast<TComponent*>(Sender);
    if (!item)
        return;
    Fehlercode = fc::AnsichtLinksRechtsClick;
    TDMChildForm* active = ActivePane();
    if (item->Name() == L"Archivinhalt1" && IsTree(active))
        ArchiveContentsFromTree = true;
    const std::wstring name = ViewItemForPopupItem(item->Name(), active == LeftPane);
    const TViewChoice choice = ViewItemChoice(name, [this](const wchar_t* n) { return ItemChecked(n); });
    if (choice.Action == TViewAction::ShowKind)
        ShowPaneKind(choice.Side, choice.Kind);
    else if (choice.Action == TViewAction::ShowMarked)
        ShowMarkedInPane(choice.Side);
    Fehlercode = 0;
}

void THauptform::BringPanesToFront() {
    TDMChildForm* active = ActivePane();
    TDMChildForm* inactive = InactivePane();
    if (!active || !ActiveMDIChild())
        return;
    if (inactive)
        inactive->BringToFront();
    active->BringToFront();
}

void THauptform::Fenstertauschen1Click(TObject*) {
    Fehlercode = fc::Fenstertauschen1Click;
    std::swap(LeftPane, RightPane);
    BringPanesToFront();
    ArrangePanes();
    Fehlercode = fc::Fenstertauschen1Click;
    for (int side : {0, 1})
        if (TDMChildForm* pane = side == 0 ? LeftPane : RightPane)
            TickPaneKind(side, pane->GetPaneKind());
    Fehlercode = 0;
}

void THauptform::Aktualisieren1Click(TObject*) {
    for (TDMChildForm* pane : {LeftPane, RightPane})
        if (pane)
            pane->ReadContents();
}

// The tree has nothing to mark: the other pane is meant, unless it is a tree too.
void THauptform::MarkierungAllesAuswaehlenClick(TObject*) {
    TDMChildForm* pane = IsTree(ActivePane()) ? InactivePane() : ActivePane();
    if (pane && !IsTree(pane))
        pane->SelectAll();
}

void THauptform::MarkierungUmkehrenClick(TObject*) {
    TDMChildForm* pane = IsTree(ActivePane()) ? InactivePane() : ActivePane();
    if (pane && !IsTree(pane))
        pane->InvertSelection();
}

void THauptform::UpdateBasketIcon() {
    Fehlercode = fc::UpdateBasketIcon;
    const bool empty = !Basket || Basket->empty();
    if (empty != BasketShownEmpty) {
        auto icon = std::make_unique<TIcon>();
        icon->Assign(CopyIcon((empty ? BasketEmptyIcon : BasketFullIcon).Handle()));
        SammelImage.Picture.SetGraphic(std::move(icon));
        BasketShownEmpty = empty;
    }
    for (const wchar_t* name : {L"AlleEintrgeausListeentfernen", L"Sammelkorbleeren1", L"Sammelkorbleeren2"})
        SetItemEnabled(name, !empty);
    if (empty)
        for (const wchar_t* name : kRemoveFromBasketItems)
            SetItemEnabled(name, false);
    Fehlercode = 0;
}

// ---- The drive bars

// Arrow keys only step through the box; Enter, Space or a pick with the mouse
// chooses the drive. The box reports every pick as a change, so the change
// handler is the pick: while the user steps with the arrows it only ends the step.
void THauptform::LWAuswahlKeyDown(TObject*, WORD& Key, TShiftState) { DriveBrowsing = Key == VK_UP || Key == VK_DOWN; }

void THauptform::LWAuswahlKeyPress(TObject* Sender, wchar_t& Key) {
    if (Key == L'\r' || Key == L' ')
        LWAuswahlChange(Sender);
}

void THauptform::LWAuswahlChange(TObject* Sender) {
    if (velmora::LaufwerkWirdGewechselt || DriveBarsChanging || DriveBrowsing || DriveListsRefreshing) {
        DriveBrowsing = false;
        return;
    }
    Fehlercode = fc::DriveBoxChange;
    velmora::LaufwerkWirdGewechselt = true;
    try {
        if (Sender == &LWAuswahl) {
            LWAuswahlMonitor.SetDirectory(DriveRoot(LWAuswahl.Drive()));
            if (LeftPane)
                ShowDirectory(&LWAuswahl, DriveRoot(LWAuswahl.Drive()));
        } else if (Sender == &LWAuswahl2) {
            LWAuswahlMonitor2.SetDirectory(DriveRoot(LWAuswahl2.Drive()));
            if (RightPane)
                ShowDirectory(&LWAuswahl2, DriveRoot(LWAuswahl2.Drive()));
        }
        ShowFreeSpace();
        BringPanesToFront();
    } catch (...) {
        velmora::LaufwerkWirdGewechselt = false;
        throw;
    }
    velmora::LaufwerkWirdGewechselt = false;
    Fehlercode = 0;
}

// The open command's shortcut is Enter, found before the box sees the key; the
// key goes on to the box as it came (a dropped-down list closes on it), so
// that the box's own handlers choose the drive. A click on the menu item while
// a box has the focus is no Enter and stays the open command.
bool THauptform::PassEnterToDriveBox() {
    if (GetKeyState(VK_RETURN) >= 0)
        return false;
    const HWND focus = GetFocus();
    for (TDriveComboBox* box : {&LWAuswahl, &LWAuswahl2}) {
        if (!focus || !box->HandleAllocated() || (focus != box->Handle() && !IsChild(box->Handle(), focus)))
            continue;
        SendMessageW(box->Handle(), WM_KEYDOWN, VK_RETURN, 1);
        SendMessageW(box->Handle(), WM_CHAR, L'\r', 1);
        return true;
    }
    return false;
}

void THauptform::LinkesLaufwerk1Click(TObject* Sender) {
    const auto* item = dynamic_cast<TComponent*>(Sender);
    const bool right = item && item->Name() == L"RechtesLaufwerk1" && LWPanel2.Visible();
    TDriveComboBox& box = right ? LWAuswahl2 : LWAuswahl;
    box.SetFocus();
    box.SetDroppedDown(true);
}

// ---- First showing and close

void THauptform::RestorePaneSorts() {
    for (auto [pane, stored] : {std::pair{LeftPane, &SortLeft}, std::pair{RightPane, &SortRight}}) {
        if (!pane)
            continue;
        pane->SetSortOrder(10);
        pane->SetSortOrder(static_cast<std::uint8_t>(SortRequestFromText(*stored)));
    }
}

void THauptform::SavePaneStates(TZuSpeicherndeFensterWerte& Werte) {
    auto state = [](TDMChildForm* pane) -> std::optional<TPaneZustand> {
        if (!pane)
            return std::nullopt;
        return TPaneZustand{pane->GetPaneKind(), pane->GetDirectory(), pane->GetSortOrder()};
    };
    Werte.LeftPane = state(LeftPane);
    Werte.RightPane = state(RightPane);
}

void THauptform::FreePanes() {
    FreePane(LeftPane);
    FreePane(RightPane);
}

void THauptform::Notification(TComponent* Component, TOperation Operation) {
    TForm::Notification(Component, Operation);
    if (Operation != TOperation::opRemove)
        return;
    if (Component == LeftPane)
        LeftPane = nullptr;
    if (Component == RightPane)
        RightPane = nullptr;
    if (Component == ArchiveTimerPane) {
        ArchiveTimerPane = nullptr;
        ArcTimer.SetEnabled(false);
    }
}

}  // namespace velmora
