// The main window's archive listing: the zip component, the lister and the
// archive routines it owns, the progress panel with its Abort button, and the
// commands that open an archive (or a marked folder) in a side.

#include <algorithm>
#include <iterator>

#include "FlagScope.h"
#include "foundation/DMChild_Typen.h"
#include "MainForm.h"
#include "MainWindowCodes.h"
#include "PaneRules.h"
#include "platform/gui/Dialogs.h"
#include "platform/rtl/PathNames.h"
#include "platform/rtl/Strings.h"
#include "platform/rtl/LocaleTexts.h"
#include "foundation/ShellRoutinen.h"
#include "panes/ZipView.h"

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
    int AskReplace(const std::wstring& FileName) override { return m_form.UnarjFileExists(FileName); }
    int AskReplaceOrRename(const std::wstring& FileName, std::wstring& NewName) override {
        return m_form.XZipReplace(FileName, &NewName);
    }
    int AskPassword(const std::wstring& FileName, std::wstring& Password) override {
        return m_form.XZipPwdQuery(FileName, Password);
    }
    bool AskNewDisk(int Disk) override { return m_form.XZipNewdisk(Disk); }
    void UnpackerBegins(const std::wstring& FileName) override { m_form.UnarjBegin(FileName); }

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
    // The questions (replace, password, new disk) the routines bind themselves.
    XZip->OnStatus = [this](archive::TZipLib*, const archive::TZlFileStats& Stats) { ArchiveBar(Stats.Bytes[1]); };
    auto fileEvent = [this](const wchar_t* suffix) {
        return [this, suffix](archive::TZipLib*, const archive::TZlFileStats& Stats) {
            XZipFileEvent(Stats.FileName, suffix);
        };
    };
    XZip->OnExtracting = fileEvent(L" wird entpackt.");
    XZip->OnAdding = fileEvent(L" wird dem Archiv hinzugefügt.");
    XZip->OnUpdating = fileEvent(L" wird aktualisiert.");
    XZip->OnTesting = fileEvent(L" wird getested.");
    XZip->OnDeleting = [this](archive::TZipLib*, const std::wstring& Name) {
        XZipFileEvent(Name, L" wird aus dem Archiv gelöscht.");
    };
    XZip->OnFixing = [this](archive::TZipLib*, const std::wstring& Name) { XZipFileEvent(Name, L" wird repariert."); };
    XZip->OnSkippingFile = [this](archive::TZipLib*, const archive::TZlSkipping& Skipping) {
        static const wchar_t* const reasons[] = {L"Datei nicht gefunden.", L"Unbekannte Kompressionsart.",
                                                 L"Checksumme fehlerhaft.", L"Datei ist bereits aktualisiert.",
                                                 L"Datei konnte nicht geöffnet werden.",
                                                 L"Falsches oder kein Passwort, um Datei zu entschlüsseln.",
                                                 L"Datei ist beschädigt."};
        const std::wstring reason = Skipping.Reason < std::size(reasons) ? reasons[Skipping.Reason] : L"";
        const std::wstring text = m_archiveTesting
                                      ? L"Fehler beim Testen von " + Skipping.FileName + L": " + reason
                                      : Skipping.FileName + L" wurde übersprungen. Grund: " + reason;
        MessageDlg(text, TMsgDlgType::mtWarning, {TMsgDlgBtn::mbOK}, 75);
        ProgressBar1.SetPosition(0);
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
    if (!Show)
        FlushArchiveStatus();
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

// ---- The archive commands

namespace {

bool PlainArchiveKind(std::uint8_t Kind) { return Kind >= ftZip && Kind <= ftZoo; }

std::wstring Lower(const std::wstring& Text) { return SystemLower(Text); }

// Records of the archive pane as entries of Archive; a folder means all below it.
void AlsEintraege(TDateiListe& List, const std::wstring& Archive) {
    for (auto& record : List) {
        record->InArchive = true;
        record->ArchivPfad = Archive;
        if (record->Attr & FILE_ATTRIBUTE_DIRECTORY)
            record->Name = IncludeTrailingBackslash(record->Name) + L"*.*";
    }
}

// The names handed to the routines, lower-cased.
TStringList Namen(const TDateiListe& List) {
    TStringList names;
    for (const auto& record : List)
        names.Add(SystemLower(record->Name));
    return names;
}

}  // namespace

TDMChildForm* THauptform::ArchiveCommandPane() {
    if (ArchiveBusy()) {
        MessageBeep(MB_OK);
        return nullptr;
    }
    return ZipRoutinen ? ActivePane() : nullptr;
}

bool THauptform::ArchiveBusy() const { return m_archiveCommand || ArchiveRoutineRunning(); }

bool THauptform::ArchiveRoutineRunning() const {
    if (ArchiveRunning)
        return true;
    const archive::TZipRoutinen* r = ZipRoutinen.get();
    return r && (r->ListingRunning() || r->AddRunning || r->ExtractRunning || r->DeleteRunning);
}

archive::TAddArcDlg* THauptform::AddArcDialog() {
    RefreshDialogKontext();
    if (!m_addArcDlg)
        m_addArcDlg = Create<archive::TAddArcDlg>(this, DialogKontext);
    return m_addArcDlg;
}

archive::TExtractArcDlg* THauptform::ExtractArcDialog() {
    RefreshDialogKontext();
    if (!m_extractArcDlg)
        m_extractArcDlg = Create<archive::TExtractArcDlg>(this, DialogKontext);
    return m_extractArcDlg;
}

archive::TDeleteFromArcDlg* THauptform::DeleteFromArcDialog() {
    RefreshDialogKontext();
    if (!m_deleteFromArcDlg)
        m_deleteFromArcDlg = Create<archive::TDeleteFromArcDlg>(this, DialogKontext);
    return m_deleteFromArcDlg;
}

archive::TZipReplaceDlg* THauptform::ZipReplaceDialog() {
    if (!m_zipReplaceDlg)
        m_zipReplaceDlg = Create<archive::TZipReplaceDlg>(this);
    return m_zipReplaceDlg;
}

archive::TArcPassWortEingebenDlg* THauptform::PasswortDialog() {
    if (!m_passwortDlg)
        m_passwortDlg = Create<archive::TArcPassWortEingebenDlg>(this);
    return m_passwortDlg;
}

void THauptform::RereadArchivePanes(const std::wstring& Archive) {
    for (TDMChildForm* pane : {LeftPane, RightPane})
        if (ShowsArchive(pane) && Lower(pane->GetArchiveFile()) == Lower(Archive)) {
            pane->ReadContents();
            // The status line's totals were the old contents'.
            if (pane == ActivePane())
                UpdatePaneStatus(pane->GetArchiveFile());
        }
}

void THauptform::XZipFileEvent(const std::wstring& FileName, const wchar_t* Suffix) {
    ArchiveStatus(FileName + Suffix);
    ArchiveBar(0);
}

void THauptform::UnarjBegin(const std::wstring& FileName) {
    if (!HauptStatusZeile.Visible())
        return;
    ArchiveStatus(Lower(FileName) + L" wird entpackt...");
    const int step = ProgressBar1.Step;
    const int position = m_pendingArchiveBar.value_or(ProgressBar1.Position()) + step;
    ArchiveBar(position > ProgressBar1.Max() ? position - ProgressBar1.Max() : position);
}

namespace {
constexpr DWORD kArchiveStatusSpacing = 20;
bool Due(DWORD& last) {
    const DWORD now = GetTickCount();
    if (last != 0 && now - last < kArchiveStatusSpacing)
        return false;
    last = now;
    return true;
}
}  // namespace

void THauptform::ArchiveStatus(const std::wstring& Text) {
    if (!Due(m_lastArchiveStatus)) {
        m_pendingArchiveStatus = Text;
        return;
    }
    m_pendingArchiveStatus.reset();
    HauptStatusZeile.SetPanelText(0, Text);
    HauptStatusZeile.Update();
    LastArchiveStatus = Text;
    ++ArchiveStatusTexts;
}

void THauptform::ArchiveBar(int Position) {
    if (!Due(m_lastArchiveBar)) {
        m_pendingArchiveBar = Position;
        return;
    }
    m_pendingArchiveBar.reset();
    ProgressBar1.SetPosition(Position);
}

void THauptform::FlushArchiveStatus() {
    // Taken out first: showing a text empties the place it was held in.
    if (m_pendingArchiveStatus) {
        const std::wstring text = std::move(*m_pendingArchiveStatus);
        m_lastArchiveStatus = 0;
        ArchiveStatus(text);
    }
    if (m_pendingArchiveBar) {
        const int position = *m_pendingArchiveBar;
        m_lastArchiveBar = 0;
        ArchiveBar(position);
    }
}

int THauptform::XZipReplace(const std::wstring& FileName, std::wstring* NewName) {
    archive::TZipReplaceDlg& dlg = *ZipReplaceDialog();
    const std::wstring folder = XZip ? IncludeTrailingBackslash(Lower(XZip->ExtractDirectory)) : std::wstring();
    std::wstring shown = Lower(FileName);
    if (!folder.empty() && folder != L"\\" && shown.starts_with(folder))
        shown.erase(0, folder.size());
    dlg.FileLabel.SetFileName(shown);
    dlg.NeuerName.SetText(shown);
    dlg.NeuerNameErlaubt = NewName != nullptr;
    dlg.AbbrechenErlaubt = true;
    if (dlg.ShowModal() != mrOk)
        return -1;
    switch (dlg.RadioGroup1.ItemIndex()) {
    case 1: return 1;
    case 2: return 3;
    case 3: return 4;
    case 4: {
        // A new name the file routines refuse, or one that climbs out of the
        // folder, skips the file: it never overwrites one.
        std::wstring name = Trim(dlg.NeuerName.Text());
        const bool climbs = name.find(L"..") != std::wstring::npos || name.starts_with(L"\\");
        if (!NewName || !TDateiRoutinen::IsValidFileName(name) || climbs)
            return 0;
        // A bare name lands beside the file that is there.
        *NewName = (name.find(L'\\') == std::wstring::npos ? ExtractFilePath(FileName) : folder) + name;
        return 2;
    }
    default: return 0;
    }
}

int THauptform::UnarjFileExists(const std::wstring& FileName) {
    Fehlercode = fc::UnarjFileExists;
    archive::TZipReplaceDlg& dlg = *ZipReplaceDialog();
    dlg.FileLabel.SetFileName(Lower(FileName));
    dlg.NeuerName.SetText(Lower(FileName));
    dlg.NeuerNameErlaubt = false;
    dlg.AbbrechenErlaubt = false;
    const int result = dlg.ShowModal();
    Fehlercode = 0;
    if (result != mrOk)
        return 0;
    static const int answers[] = {0, 1, 3, 4};
    const int index = dlg.RadioGroup1.ItemIndex();
    return index >= 0 && index < 4 ? answers[index] : 0;
}

int THauptform::XZipPwdQuery(const std::wstring& FileName, std::wstring& Password) {
    archive::TArcPassWortEingebenDlg& dlg = *PasswortDialog();
    dlg.FileNameLabel.SetFileName(FileName);
    dlg.Passwort.SetText(L"");
    dlg.SetActiveControl(&dlg.Passwort);
    const int result = dlg.ShowModal();
    if (result == 1) {
        Password = dlg.Passwort.Text().substr(0, 80);
        dlg.Passwort.SetText(L"");
        return 2;
    }
    dlg.Passwort.SetText(L"");
    return result == 3 ? 1 : 0;
}

bool THauptform::XZipNewdisk(int Disk) {
    const std::wstring text = Disk != 0 ? L"Bitte legen Sie Datenträger Nr. " + std::to_wstring(Disk) + L" ein."
                                        : std::wstring(L"Bitte legen Sie den letzten Datenträger ein.");
    return MessageDlg(text, TMsgDlgType::mtConfirmation, {TMsgDlgBtn::mbOK, TMsgDlgBtn::mbCancel}, 0) == mrOk;
}

std::wstring THauptform::ExtractFolder() {
    if (m_extractFolder.empty()) {
        const std::wstring temp = XZip && !XZip->TempPath.empty() ? IncludeTrailingBackslash(XZip->TempPath)
                                                                  : TempDirectory();
        m_extractFolder = temp + L"Velmora-" + std::to_wstring(GetCurrentProcessId()) + L"\\";
    }
    ForceDirectories(m_extractFolder);
    return m_extractFolder;
}

bool THauptform::PrepareArchiveTarget(TStringList& Names, std::uint8_t& Format, int& Level, int& Mode) {
    Fehlercode = fc::PrepareArchiveTarget;
    archive::TAddArcDlg& dlg = *AddArcDialog();
    const int format = std::max(0, dlg.ArcFormat.ItemIndex());
    const bool shortNames = dlg.DosDateiNamenBenutzen.Checked() || format != 0 ||
                            !(ZipRoutinen && ZipRoutinen->Packer.UseInternZip);
    Names.Clear();
    for (const auto& record : *dlg.Dateiliste()) {
        const std::wstring name = record->Name;
        if (!shortNames) {
            Names.Add(Lower(name));
            continue;
        }
        const std::wstring shortName = ShortPathName(name);
        if (!shortName.empty() && (FileExists(name) || DirectoryExists(name))) {
            Names.Add(Lower(shortName));
            continue;
        }
        if (name.find_first_of(L"*?") == std::wstring::npos)
            continue;
        const std::wstring folder = ExtractFilePath(name);
        if (folder.empty() || folder.find_first_of(L"*?") != std::wstring::npos) {
            Names.Add(Lower(name));
            continue;
        }
        const std::wstring shortFolder = DirectoryExists(folder) ? ShortPathName(folder) : std::wstring();
        if (!shortFolder.empty())
            Names.Add(Lower(IncludeTrailingBackslash(shortFolder) + ExtractFileName(name)));
    }
    if (Names.Count() == 0) {
        MessageDlg(L"Fehler bei Archivoperation: Übergebene Dateien sind ungültig!", TMsgDlgType::mtError,
                   {TMsgDlgBtn::mbOK}, 73);
        Fehlercode = 0;
        return false;
    }
    const std::wstring folder = ExtractFilePath(Trim(dlg.ArchivName.Text()));
    if (!folder.empty() && !DirectoryExists(folder)) {
        if (MessageDlg(L"Der Pfad des Archivfiles existiert nicht.\rMöchten Sie, daß der Pfad erstellt wird?",
                       TMsgDlgType::mtConfirmation, {TMsgDlgBtn::mbYes, TMsgDlgBtn::mbNo}, 0) != mrYes) {
            Fehlercode = 0;
            return false;
        }
        ForceDirectories(folder);
    }
    Mode = dlg.NurWennAktueller.Checked() ? 2 : dlg.NurWennAktuellerUndVorhanden.Checked() ? 1 : 0;
    static const int levels[] = {9, 8, 6, 3, 1, 0};
    const int method = dlg.Methode.ItemIndex();
    Level = levels[method >= 0 && method < 6 ? method : 1];
    static const std::uint8_t formats[] = {ftZip, ftArj, ftRar, ftLzh, ftArc, ftZoo};
    Format = formats[format < 6 ? format : 0];
    Fehlercode = 0;
    return true;
}

void THauptform::ZuArchivhinzufgen1Click(TObject* Sender) {
    TDMChildForm* pane = ArchiveCommandPane();
    if (!pane)
        return;
    Fehlercode = fc::ZuArchivhinzufgen1Click;
    const TFensterTyp kind = pane->GetPaneKind();
    TDateiListe list;
    if (ShowsArchive(pane)) {
        if (PlainArchiveKind(kind)) {
            list.push_back(std::make_unique<TEineDatei>());
            list.back()->Name = pane->GetArchiveFile();
        }
    } else {
        if (Sender == &ZuArchivhinzufgen2 && IsTree(pane)) {
            list.push_back(std::make_unique<TEineDatei>());
            list.back()->Name = ExcludeTrailingBackslash(ContextFolder);
            list.back()->Attr = FILE_ATTRIBUTE_DIRECTORY;
        } else {
            pane->GetSelection(list);
        }
        if (kind == ftSuchergebnis || kind == ftSammelkorb) {
            const size_t before = list.size();
            std::erase_if(list, [](const auto& record) { return record->InArchive; });
            if (list.size() != before)
                MessageDlg(L"Einige der ausgewählten Dateien können nicht zu einem Archiv hinzugefügt werden,\rda es "
                           L"sich bereits um archivierte Dateien handelt.\rDiese werden bei der folgenden Dateiaktion "
                           L"ignoriert.",
                           TMsgDlgType::mtInformation, {TMsgDlgBtn::mbOK}, 74);
        }
        if (IsTree(pane)) {
            std::uint8_t k = 0;
            const bool archive = list.size() == 1 && FileExists(list[0]->Name) &&
                                 ZipRoutinen->GetArchiveType(list[0]->Name, k) && PlainArchiveKind(k);
            if (!archive && !(Sender == &ZuArchivhinzufgen2))
                list.clear();
        }
    }
    for (auto& record : list)
        if (record->Attr & (FILE_ATTRIBUTE_DIRECTORY | 8))
            record->Name = IncludeTrailingBackslash(record->Name) + L"*.*";
    archive::TAddArcDlg& dlg = *AddArcDialog();
    std::uint8_t first = 0;
    if (list.size() == 1 && !list[0]->InArchive && FileExists(list[0]->Name) &&
        ZipRoutinen->GetArchiveType(list[0]->Name, first) && PlainArchiveKind(first)) {
        dlg.ArchivName.SetText(Sender == &Archiv1 || Sender == &Archiv2 ? L"" : Lower(list[0]->Name));
        list.clear();
    } else if (list.size() > 1) {
        dlg.ArchivName.SetText(L"");
    }
    dlg.SetDateiliste(&list);
    dlg.Passwort.SetText(L"");
    dlg.SetActiveControl(&dlg.ArchivName);
    const bool ok = dlg.ShowModal() == mrOk;
    Fehlercode = fc::ZuArchivhinzufgen1Click;
    TStringList names;
    std::uint8_t format = ftZip;
    int level = 8, mode = 0;
    if (ok && PrepareArchiveTarget(names, format, level, mode)) {
        Fehlercode = fc::ZuArchivhinzufgen1Click;
        AddAsTheDialogSays(names, format, level, mode);
    }
    dlg.SetDateiliste(nullptr);
    dlg.Passwort.SetText(L"");
    Fehlercode = 0;
}

void THauptform::AddAsTheDialogSays(const TStringList& Names, std::uint8_t Format, int Level, int Mode) {
    archive::TAddArcDlg& dlg = *AddArcDialog();
    const std::wstring archive = Trim(dlg.ArchivName.Text());
    const std::wstring password = dlg.Passwort.Text();
    dlg.Passwort.SetText(L"");
    {
        TFlagScope running(m_archiveCommand);
        ZipRoutinen->AddToArchive(archive, Names, Format, password, dlg.ClearDisks.Checked() && dlg.ClearDisks.Enabled(),
                                  dlg.Multidiskmode.Checked(), Level, dlg.Unterverzeichnisse.Checked(),
                                  dlg.CheckBox1.Checked(), dlg.QuelldateienLoeschen.Checked(), Mode);
    }
    RereadArchivePanes(archive);
}

void THauptform::AusArchivextrahieren1Click(TObject* Sender) {
    TDMChildForm* pane = ArchiveCommandPane();
    if (!pane)
        return;
    Fehlercode = fc::AusArchivextrahieren1Click;
    const TFensterTyp kind = pane->GetPaneKind();
    archive::TExtractArcDlg& dlg = *ExtractArcDialog();
    TDateiListe list;
    bool listMode = false;
    if (ShowsArchive(pane)) {
        pane->GetSelection(list);
        dlg.ArchivName.SetText(Lower(pane->GetArchiveFile()));
        AlsEintraege(list, pane->GetArchiveFile());
    } else {
        if (Sender == &AusArchivextrahieren2 && IsTree(pane)) {
            list.push_back(std::make_unique<TEineDatei>());
            list.back()->Name = ExcludeTrailingBackslash(ContextFolder);
            list.back()->Attr = FILE_ATTRIBUTE_DIRECTORY;
        } else {
            pane->GetSelection(list);
        }
        const bool listPane = kind == ftSuchergebnis || kind == ftSammelkorb;
        if (list.size() > 1) {
            if (listPane) {
                std::erase_if(list, [](const auto& record) { return !record->InArchive; });
                listMode = !list.empty();
            } else {
                list.clear();
            }
        } else if (list.size() == 1) {
            std::uint8_t k = 0;
            const TEineDatei& one = *list[0];
            if (listPane && one.InArchive) {
                dlg.ArchivName.SetText(Lower(one.ArchivPfad));
            } else {
                const bool archive = !(one.Attr & FILE_ATTRIBUTE_DIRECTORY) && !one.InArchive &&
                                     ZipRoutinen->GetArchiveType(one.Name, k);
                dlg.ArchivName.SetText(archive && FileExists(one.Name) ? Lower(one.Name) : L"");
                list.clear();
            }
        }
    }
    // The locked controls of list mode come back however the command ends.
    struct TListModus {
        archive::TExtractArcDlg& Dlg;
        ~TListModus() {
            Dlg.SetDateiliste(nullptr);
            Dlg.SetListenModus(false);
        }
    } listModus{dlg};
    dlg.SetListenModus(listMode);
    dlg.SetDateiliste(&list);
    dlg.Passwort.SetText(L"");
    dlg.SetActiveControl(&dlg.ArchivName);
    if (dlg.ShowModal() != mrOk) {
        dlg.Passwort.SetText(L"");
        Fehlercode = 0;
        return;
    }
    Fehlercode = fc::AusArchivextrahieren1Click;
    const std::wstring target = dlg.Zielordner();
    if (!DirectoryExists(target)) {
        if (MessageDlg(L"Das angegebene Zielverzeichnis existiert nicht.\rMöchten Sie, daß es erstellt wird?",
                       TMsgDlgType::mtConfirmation, {TMsgDlgBtn::mbYes, TMsgDlgBtn::mbNo}, 0) != mrYes) {
            Fehlercode = 0;
            return;
        }
        ForceDirectories(target);
    }
    const archive::TZlOverwrite overwrite = dlg.CheckBox1.Checked()   ? archive::TZlOverwrite::zowAlways
                                            : dlg.CheckBox3.Checked() ? archive::TZlOverwrite::zowNever
                                                                      : archive::TZlOverwrite::zowAsk;
    const int newer = dlg.CheckBox4.Checked() ? 2 : dlg.CheckBox5.Checked() ? 1 : 0;
    const int pathMode = std::max(0, dlg.RadioGroup1.ItemIndex());
    std::wstring base;
    if (pathMode == 1)
        TDateiRoutinen::CommonPathOfList(list, base);
    const std::wstring password = dlg.Passwort.Text();
    dlg.Passwort.SetText(L"");
    const bool move = dlg.CheckBox2.Checked();
    TFlagScope running(m_archiveCommand);
    if (listMode) {
        std::vector<std::wstring> archives;
        for (const auto& record : list) {
            ZipRoutinen->ExtractFromArchive(record->ArchivPfad, TStringList{Lower(record->Name)}, move, target,
                                            password, pathMode, overwrite, newer, base);
            archives.push_back(record->ArchivPfad);
        }
        for (const std::wstring& archive : archives)
            RereadArchivePanes(archive);
    } else {
        const TStringList names = Namen(list);
        const std::wstring archive = Trim(dlg.ArchivName.Text());
        ZipRoutinen->ExtractFromArchive(archive, names, move, target, password, pathMode, overwrite, newer, base);
        if (move)
            RereadArchivePanes(archive);
    }
    Fehlercode = 0;
}

void THauptform::Testen1Click(TObject*) {
    TDMChildForm* pane = ArchiveCommandPane();
    if (!pane)
        return;
    Fehlercode = fc::Testen1Click;
    TDateiListe list;
    std::wstring archive;
    std::uint8_t kind = 0;
    if (ShowsArchive(pane)) {
        archive = pane->GetArchiveFile();
        kind = pane->GetPaneKind();
        pane->GetSelection(list);
    } else {
        pane->GetSelection(list);
        if (list.size() == 1 && !list[0]->InArchive && FileExists(list[0]->Name) &&
            ZipRoutinen->GetArchiveType(list[0]->Name, kind))
            archive = list[0]->Name;
        list.clear();
    }
    if (archive.empty()) {
        Fehlercode = 0;
        return;
    }
    if (kind == ftZoo) {
        MessageDlg(L"Zoo-kompatible Archive können leider nicht getestet werden!", TMsgDlgType::mtWarning,
                   {TMsgDlgBtn::mbOK}, 0);
        Fehlercode = 0;
        return;
    }
    AlsEintraege(list, archive);
    archive::TDeleteFromArcDlg& dlg = *DeleteFromArcDialog();
    dlg.SetTexte(L"Parameter für Testoperation", L"&Testen", L"Datei(en) in Archiv testen",
                 L"Folgende Dateien im Archiv sollen getestet werden:", 19);
    dlg.FileLabel.SetFileName(Lower(archive));
    dlg.SetDateiliste(&list);
    if (list.empty())
        dlg.Dateien.SetText(L"*.*");
    dlg.SetActiveControl(&dlg.Dateien);
    const bool ok = dlg.ShowModal() == mrOk;
    dlg.SetDateiliste(nullptr);
    if (ok && !list.empty()) {
        const TStringList names = Namen(list);
        TFlagScope running(m_archiveCommand);
        TFlagScope testing(m_archiveTesting);
        // No password: the zip component asks for one where an entry needs it.
        ZipRoutinen->TestArchive(archive, names, L"");
    }
    Fehlercode = 0;
}

void THauptform::DeleteFromArchivePane(TDMChildForm* Pane, TDateiListe& List) {
    if (ArchiveBusy()) {
        MessageBeep(MB_OK);
        return;
    }
    const std::wstring archive = Pane->GetArchiveFile();
    AlsEintraege(List, archive);
    archive::TDeleteFromArcDlg& dlg = *DeleteFromArcDialog();
    dlg.SetTexte(L"Parameter für Löschaktion", L"&Löschen", L"Aus Archiv löschen",
                 L"Folgende Dateien sollen aus dem Archiv gelöscht werden:", 14);
    dlg.FileLabel.SetFileName(Lower(archive));
    dlg.SetDateiliste(&List);
    dlg.SetActiveControl(&dlg.Dateien);
    const bool go = !(Settings && Settings->Best.AuswahlDlgVorLoeschen) || dlg.ShowModal() == mrOk;
    dlg.SetDateiliste(nullptr);
    if (!go || List.empty() || !ZipRoutinen)
        return;
    const TStringList names = Namen(List);
    {
        TFlagScope running(m_archiveCommand);
        ZipRoutinen->DeleteFromArchive(dlg.FileLabel.FileName(), names);
    }
    RereadArchivePanes(archive);
}

void THauptform::OpenArchivedFile(TDMChildForm* Pane, const std::wstring& Archive, const std::wstring& Entry) {
    if (ArchiveBusy()) {
        MessageBeep(MB_OK);
        return;
    }
    if (!ZipRoutinen)
        return;
    Fehlercode = fc::OpenArchivedFile;
    const bool isArchive = archive::TZipRoutinen::IsArchiveExtension(ExtractFileExt(Entry));
    const bool ask = Settings && (Settings->Arc.AskBeforeOpen || (isArchive && Settings->Arc.ExtraNachfragen));
    if (ask) {
        const std::wstring text =
            isArchive ? L"Diese Archivdatei muß vor dem Anzeigen dekomprimiert werden.\rMöchten Sie sie dekomprimieren "
                        L"und anzeigen?"
                      : L"Diese Datei muß vor dem Öffnen dekomprimiert werden.\rMöchten Sie sie dekomprimieren und "
                        L"öffnen?";
        if (MessageDlg(text, TMsgDlgType::mtConfirmation, {TMsgDlgBtn::mbYes, TMsgDlgBtn::mbNo},
                       isArchive ? 76 : 77) != mrYes) {
            Fehlercode = 0;
            return;
        }
    }
    // A folder of this program's own: a file of the entry's name in the
    // temporary folder is never touched.
    const std::wstring folder = ExtractFolder();
    std::wstring name = Entry;
    if (name.starts_with(L"\\"))
        name.erase(0, 1);
    const std::wstring file = folder + ExtractFileName(name);
    // Only a file this extraction writes is opened and listed.
    DeleteFileW(file.c_str());
    {
        TFlagScope running(m_archiveCommand);
        ZipRoutinen->ExtractFromArchive(Archive, TStringList{Lower(name)}, false, folder, L"", 0,
                                        archive::TZlOverwrite::zowAlways, 0, L"");
    }
    Fehlercode = fc::OpenArchivedFile;
    if (!FileExists(file)) {
        Fehlercode = 0;
        return;
    }
    if (ExtractedFiles && ExtractedFiles->IndexOf(file, true) < 0)
        ExtractedFiles->Add(file);
    if (isArchive)
        OpenPathInPane(Pane == LeftPane ? 0 : 1, file);
    else
        OpenFile(file);
    Fehlercode = 0;
}

// ---- Date, repair and the conversions share one scheme

namespace {

struct TListenBefehl {
    int Code;
    const wchar_t* Gemischt;
    const wchar_t* Keine;
    // The kinds refused, each with its warning.
    std::vector<std::pair<std::vector<std::uint8_t>, const wchar_t*>> Verweigert;
};

const TListenBefehl& ListenBefehl(int Befehl) {
    static const TListenBefehl befehle[] = {
        {fc::Archivdatumaktualisieren1Click,
         L"Bei einigen der ausgewählten Dateien kann das Archivdatum nicht,\raktualisiert werden, da es sich entweder "
         L"nicht um Archive\rhandelt oder die Dateien sich in einem Archiv befinden.",
         L"Es ist kein Archiv markiert, dessen Datum aktualisiert werden könnte!",
         {{{ftLzh}, L"Datum von Lha-kompatiblen Archiven kann leider nicht aktualisiert werden!"},
          {{ftRar, ftRarExe}, L"Datum von Rar-kompatiblen Archiven kann leider nicht aktualisiert werden!"},
          {{ftArc, ftArcExe}, L"Datum von Arc-kompatiblen Archiven kann leider nicht aktualisiert werden!"}}},
        {fc::Fix1Click,
         L"Einige der ausgewählten Dateien können nicht repariert werden,\rda es sich um keine Archivdateien (*.zip, "
         L"*.arj...) handelt.\rDiese werden bei der folgenden Dateiaktion ignoriert.",
         L"Es ist kein Archiv markiert, das repariert werden könnte!",
         {{{ftLzh}, L"Lha-kompatible Archive können leider nicht repariert werden!"},
          {{ftArj, ftArjExe}, L"Arj-kompatible Archive können leider nicht repariert werden!"},
          {{ftArc, ftArcExe}, L"Arc-kompatible Archive können leider nicht repariert werden!"},
          {{ftZoo}, L"Zoo-kompatible Archive können leider nicht repariert werden!"},
          {{ftZipExe}, L"Selbstextrahierende Zip-Archive können leider nicht repariert werden!"}}},
        {fc::InEXEDateiumwandeln1Click,
         L"Einige der ausgewählten Dateien können nicht in EXE-Archive\rumgewandelt werden, da es sich um keine "
         L"Archive handelt.\rDiese werden bei der folgenden Dateiaktion ignoriert.",
         L"Es ist kein Archiv markiert, das in eine Exe-Datei umgewandelt werden könnte!",
         {{{ftArc}, L"Arc-kompatible Archive können leider nicht in EXE-Dateien umgewandelt werden!"},
          {{ftZoo}, L"Zoo-kompatible Archive können leider nicht in EXE-Dateien umgewandelt werden!"}}},
        {fc::EXEArchivzurckumwandeln1Click,
         L"Einige der ausgewählten Dateien können nicht in normale\rArchive zurückgewandelt werden, da es sich um "
         L"keine EXE-Archive handelt.\rDiese werden bei der folgenden Dateiaktion ignoriert.",
         L"Es ist keine Exe-Datei markiert, die in ein Archiv umgewandelt werden könnte!",
         {}},
    };
    return befehle[Befehl];
}

}  // namespace

void THauptform::ArchivListenBefehl(int Befehl) {
    // The conversions too: a second archive call beside a running one would
    // nest the zip component.
    TDMChildForm* pane = ArchiveCommandPane();
    if (!pane)
        return;
    const TListenBefehl& befehl = ListenBefehl(Befehl);
    Fehlercode = befehl.Code;
    auto qualifies = [&](const std::wstring& name, std::uint8_t& kind) {
        kind = 0;
        if (Befehl == 3)
            return Lower(ExtractFileExt(name)) == L".exe" && FileExists(name);
        if (!FileExists(name) || !ZipRoutinen->GetArchiveType(name, kind))
            return false;
        return Befehl != 2 || PlainArchiveKind(kind);
    };
    std::vector<std::pair<std::wstring, std::uint8_t>> names;
    bool foreign = false;
    if (ShowsArchive(pane)) {
        const std::uint8_t kind = pane->GetPaneKind();
        if (Befehl < 2 || (Befehl == 2 && PlainArchiveKind(kind)))
            names.emplace_back(pane->GetArchiveFile(), kind);
    } else {
        TDateiListe list;
        pane->GetSelection(list);
        for (const auto& record : list) {
            std::uint8_t kind = 0;
            if (!record->InArchive && qualifies(record->Name, kind))
                names.emplace_back(record->Name, kind);
            else
                foreign = true;
        }
    }
    // Asking each file's kind ran routines of their own.
    Fehlercode = befehl.Code;
    if (foreign && !names.empty())
        MessageDlg(befehl.Gemischt, TMsgDlgType::mtInformation, {TMsgDlgBtn::mbOK}, 0);
    for (const auto& [kinds, warning] : befehl.Verweigert) {
        const size_t before = names.size();
        std::erase_if(names, [&](const auto& n) {
            return std::find(kinds.begin(), kinds.end(), n.second) != kinds.end();
        });
        if (names.size() != before)
            MessageDlg(warning, TMsgDlgType::mtWarning, {TMsgDlgBtn::mbOK}, 0);
    }
    if (names.empty()) {
        MessageDlg(befehl.Keine, TMsgDlgType::mtWarning, {TMsgDlgBtn::mbOK}, 0);
        Fehlercode = 0;
        return;
    }
    TStringList files;
    for (const auto& n : names)
        files.Add(n.first);
    {
        TFlagScope running(m_archiveCommand);
        switch (Befehl) {
        case 0: ZipRoutinen->UpdateArchiveDate(files); break;
        case 1: ZipRoutinen->RepairArchive(files); break;
        case 2: ZipRoutinen->ConvertToSfx(files); break;
        default: ZipRoutinen->SfxToArchive(files); break;
        }
    }
    Fehlercode = befehl.Code;
    if (Befehl >= 2)
        for (TDMChildForm* side : {LeftPane, RightPane})
            if (IsFileList(side))
                for (const std::wstring& file : files.Items())
                    if (Lower(IncludeTrailingBackslash(side->GetDirectory())) == Lower(ExtractFilePath(file))) {
                        side->ReadContents();
                        break;
                    }
    Fehlercode = 0;
}

void THauptform::Archivdatumaktualisieren1Click(TObject*) { ArchivListenBefehl(0); }
void THauptform::Fix1Click(TObject*) { ArchivListenBefehl(1); }
void THauptform::InEXEDateiumwandeln1Click(TObject*) { ArchivListenBefehl(2); }
void THauptform::EXEArchivzurckumwandeln1Click(TObject*) { ArchivListenBefehl(3); }

// ---- Properties

std::wstring THauptform::PackedText(std::int64_t Original, std::int64_t Packed) {
    return FormatByteSize(static_cast<float>(Packed)) + L" (" + TZipViewForm::SavingText(Original, Packed) + L")";
}

void THauptform::DateiEigenschaftenClick(TObject*) {
    TDMChildForm* pane = ActivePane();
    if (!pane)
        return;
    Fehlercode = fc::DateiEigenschaftenClick;
    const TFensterTyp kind = pane->GetPaneKind();
    if (kind <= ftAusfDateiliste) {
        IShellFolder* folder = nullptr;
        PITEMID_CHILD pidl = nullptr;
        SFGAOF attributes = 0;
        pane->GetSelectedShellItem(folder, pidl, attributes);
        if (folder && pidl)
            PidlEigenschaften(Handle(), folder, pidl, attributes);
        Fehlercode = 0;
        return;
    }
    TDateiListe list;
    pane->GetSelection(list);
    if (list.size() != 1) {
        Fehlercode = 0;
        return;
    }
    const TEineDatei& record = *list[0];
    if (!record.InArchive) {
        DateiEigenschaftenZeigen(ExcludeTrailingBackslash(record.Name), Handle());
        Fehlercode = 0;
        return;
    }
    if (record.Attr & FILE_ATTRIBUTE_DIRECTORY) {
        Fehlercode = 0;
        return;
    }
    if (ArchiveBusy()) {
        MessageBeep(MB_OK);
        Fehlercode = 0;
        return;
    }
    auto* dlg = Create<archive::TZippedFileEigenschaftenDlg>(this);
    std::unique_ptr<archive::TZippedFileEigenschaftenDlg, TComponentDeleter> owner(dlg);
    std::wstring name = record.Name;
    if (name.starts_with(L"\\"))
        name.erase(0, 1);
    dlg->SetCaption(L"Eigenschaften von " + Lower(record.Name));
    dlg->DateiName.SetFileName(name);
    std::wstring type;
    if (IconRoutinen)
        IconRoutinen->GetFileTypeName(name, type);
    dlg->Dateityp.SetCaption(type);
    dlg->Originalgroesse.SetCaption(FormatByteSize(static_cast<float>(record.Size)));
    dlg->PackedSize.SetCaption(PackedText(record.Size, record.CompressedSize));
    dlg->Datum.SetCaption(LocaleDateTimeText(record.Time));
    if (!record.Kommentar.empty())
        dlg->Dateikommentar.AddLine(record.Kommentar);
    dlg->ArchivName.SetFileName(Lower(record.ArchivPfad));
    if (ShowsArchive(pane)) {
        TArchivDaten totals;
        pane->GetArchivDaten(totals);
        dlg->Archivgroesse.SetCaption(FormatByteSize(static_cast<float>(totals.OrigGroesse)));
        dlg->ArcPackedSize.SetCaption(PackedText(totals.OrigGroesse, totals.KompGroesse));
        dlg->AnzahlDateien.SetCaption(std::to_wstring(totals.Anzahl));
        if (!totals.Kommentar.empty())
            dlg->Archivkommentar.AddLine(totals.Kommentar);
    } else {
        for (TLabel* label : {&dlg->Archivgroesse, &dlg->ArcPackedSize, &dlg->AnzahlDateien})
            label->SetCaption(L"unbekannt");
    }
    dlg->ShowModal();
    Fehlercode = 0;
}

}  // namespace velmora
