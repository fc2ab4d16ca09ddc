// The main window's archive listing: the zip component, the lister and the
// archive routines it owns, the progress panel with its Abort button, and the
// commands that open an archive (or a marked folder) in a side.

#include <algorithm>
#include <iterator>

#include "foundation/DMChild_Typen.h"
#include "MainForm.h"
#include "MainWindowCodes.h"
#include "PaneRules.h"
#include "platform/gui/Dialogs.h"
#include "platform/rtl/PathNames.h"

namespace velmora {

using namespace gui;

namespace {

const wchar_t kAbortQuestion[] = L"Sind Sie sicher, daß Sie die momentane Aktion abbrechen möchten?";
constexpr int kIdleStatusWidth = 250;

bool IsTree(TDMChildForm* pane) { return pane && pane->GetPaneKind() == ftVerzeichnisbaum; }
bool IsFileList(TDMChildForm* pane) { return pane && IsFileListKind(pane->GetPaneKind()); }
bool ShowsArchive(TDMChildForm* pane) { return pane && ZeigtArchiv(pane->GetPaneKind()); }

// What the archive routines ask of the window while they read.
class TMainArchiveHost : public archive::TZipRoutinenHost {
public:
    explicit TMainArchiveHost(THauptform& Form) : m_form(Form) {}
    bool ArchiveWorkRunning() const override { return m_form.ArchiveRunning || m_form.SearchReadsArchives; }
    std::wstring StatusText(int Panel) const override {
        const TStatusBar& bar = m_form.HauptStatusZeile;
        return Panel < bar.PanelCount() ? bar.Panel(Panel).Text : std::wstring();
    }
    void SetStatusText(int Panel, const std::wstring& Text) override {
        TStatusBar& bar = m_form.HauptStatusZeile;
        if (Panel >= bar.PanelCount())
            return;
        bar.SetPanelText(Panel, Text);
        bar.Update();
    }
    void SetProgressMax(int Max) override { m_form.ProgressBar1.SetMax(Max); }
    void SetProgressPosition(int Position) override { m_form.ProgressBar1.SetPosition(Position); }
    void ShowProgressPanel(bool Show) override { m_form.ShowProgressPanel(Show); }
    void SetAbortEnabled(bool Enabled) override { m_form.AbortSb.SetEnabled(Enabled); }
    TCursor Cursor() const override { return Screen->Cursor(); }
    void SetCursor(TCursor Cursor) override { Screen->SetCursor(Cursor); }
    void Beep() override { MessageBeep(MB_OK); }

private:
    THauptform& m_form;
};

}  // namespace

void THauptform::CreateArchiveObjects() {
    m_archiveHost = std::make_unique<TMainArchiveHost>(*this);
    XZip = std::make_unique<archive::TZipLib>(nullptr);
    XZip->SetName(L"XZip");
    XZip->OnListing = [this](archive::TZipLib* Sender, const archive::TZlFileStats& Stats) {
        XZipListing(Sender, Stats);
    };
    ArcLister = std::make_unique<arc::TArcLister>();
    ArcLister->SetName(L"ArcLister");
    ArcLister->OnRead = [this](arc::TArcBase* Sender, int Filenum) { ArcListerRead(Sender, Filenum); };
    ArcLister->OnTotals = [this](arc::TArcBase* Sender, int NumFiles) { ArcListerTotals(Sender, NumFiles); };
    ZipRoutinen = std::make_unique<archive::TZipRoutinen>(*m_archiveHost, *XZip, *ArcLister);
    AppExec = std::make_unique<TAppExec>(nullptr);
    AppExec->SetName(L"AppExec");
    AppExec->Wait = true;
    AppExec->ChangeDir = false;
    ZipRoutinen->AppExec = AppExec.get();
    ZipRoutinen->DateiRoutinen = DateiRoutinen;
    AbortSb.OnClick = bind(this, &THauptform::AbortSbClick);
    ApplyArchiverSettings();
}

// The routines go before the components they use.
void THauptform::FreeArchiveObjects() {
    ZipRoutinen.reset();
    AppExec.reset();
    ArcLister.reset();
    XZip.reset();
}

void THauptform::XZipListing(archive::TZipLib*, const archive::TZlFileStats& FileStats) {
    if (ZipRoutinen)
        ZipRoutinen->AddXZipEntry(FileStats);
}

void THauptform::ArcListerRead(arc::TArcBase*, int) {
    if (ZipRoutinen && ArcLister)
        ZipRoutinen->AddArcListerEntry(*ArcLister);
}

void THauptform::ArcListerTotals(arc::TArcBase*, int) {
    if (ZipRoutinen && ArcLister)
        ZipRoutinen->SetArchiveComment(ArcLister->ArchiveComment);
}

void THauptform::ShowProgressPanel(bool Show) {
    if (SearchReadsArchives)
        return;
    m_progressShowings = Show ? m_progressShowings + 1 : std::max(0, m_progressShowings - 1);
    // Only the outermost showing shows and hides the panel.
    if (m_progressShowings > (Show ? 1 : 0))
        return;
    ArchiveRunning = Show;
    if (!HauptStatusZeile.Visible())
        return;
    Panel1.SetVisible(Show);
    Panel2.SetVisible(Show);
    HauptStatusZeile.SetSimplePanel(false);
    if (Show) {
        const int bar = HauptStatusZeile.Width();
        Panel2.SetLeft(bar - Panel2.Width());
        HauptStatusZeile.SetPanelWidth(0, bar - Panel1.Width() - Panel2.Width() - 5);
        Panel1.SetLeft(Panel2.Left() - Panel1.Width() - 1);
    } else {
        HauptStatusZeile.SetPanelWidth(0, kIdleStatusWidth);
    }
    HauptStatusZeile.SetPanelText(0, L"");
    HauptStatusZeile.SetPanelText(1, L"");
    HauptStatusZeile.Update();
}

void THauptform::AbortSbClick(TObject*) {
    if (MessageDlg(kAbortQuestion, TMsgDlgType::mtConfirmation, {TMsgDlgBtn::mbYes, TMsgDlgBtn::mbNo}, 0) == mrYes &&
        XZip)
        XZip->Abort = true;
}

void THauptform::ApplyArchiverSettings() {
    if (!Settings || !XZip || !ZipRoutinen)
        return;
    const TArchivEinstellungen& arc = Settings->Arc;
    XZip->UseTempFile = arc.UseTempFile;
    XZip->TempPath = ExcludeTrailingBackslash(XZip->TempPath);
    XZip->StoredExtensions = arc.StoredExt;
    archive::TPackerSettings& packer = ZipRoutinen->Packer;
    packer.ZipPath = arc.ZipPath;
    packer.UnZipPath = arc.UnZipPath;
    packer.Zip2ExePath = arc.Zip2ExePath;
    packer.ArjPath = arc.ArjPath;
    packer.RarPath = arc.RarPath;
    packer.LhaPath = arc.LhaPath;
    packer.ZooPath = arc.ZooPath;
    packer.PkPakPath = arc.PkPakPath;
    packer.PkUnPakPath = arc.PkUnPakPath;
    packer.UseInternZip = arc.UseInternZip;
    packer.UseInternUnZip = arc.UseInternUnZip;
    packer.ExternePackerImHintergrund = arc.ExternePackerImHintergrund;
    packer.UseInternUnArj = arc.UseInternUnArj;
    packer.UseInternUnRar = arc.UseInternUnRar;
    packer.UseInternUnLha = arc.UseInternUnLha;
    packer.UseInternUnZoo = arc.UseInternUnZoo;
    packer.UseInternUnArc = arc.UseInternUnArc;
}

// ---- Showing an archive or a marked folder in a side

bool THauptform::OpenPathInPane(int Side, const std::wstring& Path) {
    std::uint8_t kind = 0;
    if (Path.empty() || !ZipRoutinen || !FileExists(Path) || !ZipRoutinen->GetArchiveType(Path, kind))
        return false;
    Fehlercode = fc::OpenPathInPane;
    ShowPaneKind(Side, static_cast<TFensterTyp>(kind));
    Fehlercode = fc::OpenPathInPane;
    TDMChildForm* pane = Side == 0 ? LeftPane : RightPane;
    TDMChildForm* other = Side == 0 ? RightPane : LeftPane;
    if (!pane) {
        Fehlercode = 0;
        return false;
    }
    pane->SetArchiveFile(Path);
    pane->ReadContents();
    Fehlercode = fc::OpenPathInPane;
    if (IsTree(other)) {
        other->SetDirectory(Path);
        if (Path.size() > 1 && Path[1] == L':')
            SelectDrive(Side == 0 ? 1 : 0, Path[0]);
        StartQuickViewThread(ExtractFilePath(Path));
    }
    // The archive's totals come last: the folder count shares their panel
    // and would stand there until the first click in the pane.
    UpdatePaneStatus(pane->GetArchiveFile());
    Fehlercode = 0;
    return true;
}

// The tree on the left already stands on the archive; the right side shows its
// entries and the status line its totals.
bool THauptform::ShowArchiveArgument() {
    if (!ArchiveArgument)
        return false;
    ArchiveArgument = false;
    std::uint8_t kind = 0;
    if (!ZipRoutinen || !FileExists(CommandLineArgument) || !ZipRoutinen->GetArchiveType(CommandLineArgument, kind))
        return false;
    ShowPaneKind(1, static_cast<TFensterTyp>(kind));
    if (!RightPane)
        return false;
    RightPane->SetArchiveFile(CommandLineArgument);
    RightPane->ReadContents();
    UpdatePaneStatus(RightPane->GetArchiveFile());
    return true;
}

void THauptform::ShowMarkedInPane(int Side) {
    Fehlercode = fc::ShowMarkedInPane;
    TDMChildForm* active = ActivePane();
    std::wstring path;
    if (ArchiveContentsFromTree && IsTree(active)) {
        path = active->GetDirectory();
    } else if (active && !ShowsArchive(active)) {
        TDateiListe marked;
        active->GetSelection(marked);
        if (marked.size() == 1 && !marked[0]->InArchive)
            path = marked[0]->Name;
    }
    ArchiveContentsFromTree = false;
    if (!path.empty())
        OpenPathInPane(Side, path);
    Fehlercode = 0;
}

void THauptform::MarkierungAnzeigenClick(TObject* Sender) {
    TDMChildForm* active = ActivePane();
    if (!active || ShowsArchive(active))
        return;
    Fehlercode = fc::MarkierungAnzeigenClick;
    auto* item = dynamic_cast<TComponent*>(Sender);
    const int side = item && item->Name() == L"ImLinkesFensterAnzeigen1" ? 0 : 1;
    TDateiListe marked;
    active->GetSelection(marked);
    std::wstring path = marked.size() == 1 ? marked[0]->Name : std::wstring();
    std::uint8_t kind = 0;
    const bool archive = !path.empty() && FileExists(path) && ZipRoutinen && ZipRoutinen->GetArchiveType(path, kind);
    if (archive) {
        ShowMarkedInPane(side);
        Fehlercode = 0;
        return;
    }
    if (!DirectoryExists(path))
        path = active->GetDirectory();
    if (path.empty()) {
        Fehlercode = 0;
        return;
    }
    TDMChildForm* pane = side == 0 ? LeftPane : RightPane;
    if (!pane || pane->GetPaneKind() >= ftSuchergebnis) {
        ShowPaneKind(side, ListKind);
        Fehlercode = fc::MarkierungAnzeigenClick;
        pane = side == 0 ? LeftPane : RightPane;
    }
    if (pane)
        pane->SetDirectory(path);
    // The tree and a list side by side follow each other.
    TDMChildForm* other = side == 0 ? RightPane : LeftPane;
    if ((IsTree(LeftPane) && IsFileList(RightPane)) || (IsTree(RightPane) && IsFileList(LeftPane)))
        if (other)
            other->SetDirectory(path);
    Fehlercode = 0;
}

// A list pane opens the archive once its own event is over; the tree opens it
// in the other side at once.
void THauptform::PaneDirChanged(TDMChildForm* Pane, const std::wstring& Archive) {
    if (!Pane || (Pane != LeftPane && Pane != RightPane))
        return;
    if (!IsTree(Pane)) {
        ArmArcTimer(0, Pane == LeftPane ? &ImLinkesFensterAnzeigen1 : &MarkierungimRechtenFensterAnzeigen, L"");
        StartQuickViewThread(Pane->GetDirectory());
        return;
    }
    const int otherSide = Pane == LeftPane ? 1 : 0;
    TDMChildForm* other = otherSide == 0 ? LeftPane : RightPane;
    if (other && !IsTree(other) && other->GetPaneKind() != ftSuchergebnis && other->GetPaneKind() != ftSammelkorb)
        OpenPathInPane(otherSide, Archive);
    if (const std::wstring folder = ExtractFilePath(Archive); !folder.empty())
        AddRecentDir(folder);
    StartQuickViewThread(ExtractFilePath(Archive));
}

// The pane popup serves archive entries with what does not apply to them hidden
// for that time.
void THauptform::ShowArchivePopup(TDMChildForm*, POINT Screen) {
    TMenuItem* hidden[] = {&Neu1, &Kopieren1, &Verschieben1, &Umbenennen1, &Dateiauswahl1};
    bool wasVisible[std::size(hidden)];
    for (size_t i = 0; i < std::size(hidden); ++i) {
        wasVisible[i] = hidden[i]->Visible();
        hidden[i]->SetVisible(false);
    }
    StandardMDIPopUp.Popup(Screen.x, Screen.y, this);
    for (size_t i = 0; i < std::size(hidden); ++i)
        hidden[i]->SetVisible(wasVisible[i]);
}

}  // namespace velmora
