// The main window's tools: the volume dialogs, space needed, split and join,
// comparing the two panes' folders, go to, and the outside programs (the disk
// tools, the quick viewer, the editor, command.com and the product's own
// helpers). Every outside program goes through ShellStart with "open", no
// folder and the normal window; a failed start shows its box and nothing else.

#include <windows.h>

#include <cmath>
#include <memory>

#include "MainForm.h"
#include "MainWindowCodes.h"
#include "filetools/DOSZeilenDialog.h"
#include "filetools/DTeilenVorDlg.h"
#include "filetools/DateiAktionFortschrittDlg.h"
#include "filetools/DiskNameDlg.h"
#include "filetools/DocListDialog.h"
#include "filetools/ExittoolsDialog.h"
#include "filetools/GoToDirDialog.h"
#include "filetools/SpeicherbedarfDlg.h"
#include "filetools/VolumeInfo.h"
#include "platform/gui/Dialogs.h"
#include "platform/rtl/PathNames.h"
#include "platform/rtl/Strings.h"

namespace velmora {

using namespace gui;

namespace {

const wchar_t kFormatError[] =
    L"Dialog zum Formatieren von Datenträgern konnte nicht aufgerufen\r"
    L"werden. Stellen Sie sicher, daß sich die Dateien \"rundll32.exe\"\r"
    L"und \"shell32.dll\" in Ihrem Windows-System-Verzeichnis befinden.";
const wchar_t kDiskCopyError[] =
    L"Dialog zum Kopieren von Datenträgern konnte nicht aufgerufen\r"
    L"werden. Stellen Sie sicher, daß sich die Dateien \"rundll32.exe\"\r"
    L"und \"diskcopy.dll\" in Ihrem Windows-System-Verzeichnis befinden.";
const wchar_t kScanDiskError[] =
    L"Dialog zum Prüfen von Datenträgern konnte nicht aufgerufen\r"
    L"werden. Stellen Sie sicher, daß sich die Datei \"scandskw.exe\"\r"
    L"in Ihrem Windows-System-Verzeichnis befindet.";
const wchar_t kDefragError[] =
    L"Dialog zum Optimieren von Datenträgern konnte nicht aufgerufen\r"
    L"werden. Stellen Sie sicher, daß sich die Datei \"defrag.exe\"\r"
    L"in Ihrem Windows-System-Verzeichnis befindet.";
const wchar_t kJoinError[] =
    L"Dialog zum Zusammenfügen von Dateien konnte nicht aufgerufen\r"
    L"werden. Stellen Sie sicher, daß sich die Datei \"Grenlo.exe\"\r"
    L"in Ihrem Programm-Verzeichnis befindet.";
const wchar_t kAutostartError[] =
    L"Der Autostartmanager konnte nicht aufgerufen werden.\r"
    L"Stellen Sie sicher, daß sich die Datei \"Kelvane.exe\"\r"
    L"in Ihrem Programm-Verzeichnis befindet.";
const wchar_t kTwoListsInfo[] = L"Für diesen Befehl müssen beiden Fenster eine Dateiliste darstellen.";
const wchar_t kIdenticalInfo[] = L"Die Dateien in beiden Verzeichnissen sind identisch.";
const wchar_t kNoQuickViewer[] = L"Kann Windows-Schnellansicht nicht finden.";
const wchar_t kQuickViewerError[] =
    L"Die Windows-Schnellansicht konnte nicht aufgerufen werden.\r"
    L"Stellen Sie sicher, daß Sie sie installiert haben.";
const wchar_t kEditorError[] =
    L"Der externe Editor konnte nicht aufgerufen werden.\r"
    L"Bitte überprüfen Sie Ihre Einstellungen im Optionen-Dialog (Menü: Extras-Optionen).";
const wchar_t kNoEditor[] =
    L"Sie haben noch keinen externen Editor angegeben. Wenn Sie Dateien bearbeiten wollen, holen Sie dies bitte "
    L"im Optionen-Dialog (Menü: Extras-Optionen) nach.";
const wchar_t kEditorMissing[] =
    L"Der angegebene externe Editor existiert nicht. Bitte überprüfen Sie Ihre Einstellungen im Optionen-Dialog "
    L"(Menü: Extras-Optionen).";

bool IsFileList(TDMChildForm* Pane) {
    const TFensterTyp kind = Pane ? Pane->GetPaneKind() : ftVerzeichnisbaum;
    return kind == ftDateiliste || kind == ftAusfDateiliste;
}

// A record that names an existing plain file by its full name: archive
// entries and relative names (which the current folder would resolve) are not.
bool IsPlainFile(const TEineDatei& Record) {
    const std::wstring& name = Record.Name;
    const bool absolute = (name.size() >= 3 && name[1] == L':' && name[2] == L'\\') || name.starts_with(L"\\\\");
    if (Record.InArchive || !absolute)
        return false;
    const DWORD attributes = GetFileAttributesW(name.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring Quoted(const std::wstring& Name) { return L"\"" + Name + L"\""; }

}  // namespace

void THauptform::BindToolHandlers() {
    LWAuswahlMonitor.OnChange = bind(this, &THauptform::LWAuswahlMonitorChange);
    LWAuswahlMonitor2.OnChange = bind(this, &THauptform::LWAuswahlMonitorChange);
}

void THauptform::LWAuswahlMonitorChange(TObject*) { ShowFreeSpace(); }

bool THauptform::StartOutside(const std::wstring& File, const std::wstring& Parameters, const wchar_t* Error,
                              int HelpContext) {
    if (ShellStart(Handle(), {File, L"open", Parameters, L""}) > 32)
        return true;
    MessageDlg(Error, TMsgDlgType::mtError, {TMsgDlgBtn::mbOK}, HelpContext);
    return false;
}

std::wstring THauptform::ProgramFile(const std::wstring& Name) { return ExtractFilePath(ParamStr(0)) + Name; }

TDMChildForm* THauptform::NonArchivePane() const {
    TDMChildForm* pane = ActivePane();
    return pane && !ZeigtArchiv(pane->GetPaneKind()) ? pane : nullptr;
}

// ---- The disk tools of the system

void THauptform::DiskFormatierenClick(TObject*) {
    StartOutside(L"rundll32.exe", L"shell32.dll,SHFormatDrive", kFormatError, 78);
}

void THauptform::DiskKopierenClick(TObject*) {
    StartOutside(L"rundll32.exe", L"diskcopy.dll,DiskCopyRunDll", kDiskCopyError, 79);
}

void THauptform::Prfen1Click(TObject*) { StartOutside(L"SCANDSKW.EXE", L"", kScanDiskError, 80); }

void THauptform::Optimieren1Click(TObject*) { StartOutside(L"DEFRAG.EXE", L"", kDefragError, 81); }

// ---- Volume information and label

void THauptform::Datentrgeinfo1Click(TObject*) { KeptDialog<TVolumeInfoDlg>().ShowModal(); }

// A new label shows in every drive list: both bars, the volume information and
// the label dialog itself. The flag keeps the bars' rebuilt lists from moving
// a pane.
void THauptform::Benennen1Click(TObject*) {
    TNameDiskDlg& dlg = KeptDialog<TNameDiskDlg>();
    if (dlg.ShowModal() != mrOk)
        return;
    DriveListsRefreshing = true;
    try {
        for (TDriveComboBox* box :
             {&LWAuswahl, &LWAuswahl2, &KeptDialog<TVolumeInfoDlg>().DriveComboBox1, &dlg.Datentraeger})
            box->BuildList();
    } catch (...) {
        DriveListsRefreshing = false;
        throw;
    }
    DriveListsRefreshing = false;
}

// ---- Space needed, split and join

void THauptform::TatschlichenSpeicherbedarfermitteln1Click(TObject*) {
    TDMChildForm* pane = NonArchivePane();
    if (!pane)
        return;
    TDateiListe list;
    pane->GetSelection(list);
    TSpeicherbedarfDlg& dlg = KeptDialog<TSpeicherbedarfDlg>();
    if (dlg.Ermitteln(list))
        dlg.ShowModal();
}

// The dialog starts on the pane's folder, or on the one marked file; the
// progress window cuts the file into pieces of the size asked, rounded.
void THauptform::TeilenClick(TObject*) {
    TDMChildForm* pane = NonArchivePane();
    if (!pane || !DateiRoutinen)
        return;
    Fehlercode = fc::TeilenClick;
    RefreshDialogKontext();
    auto& dlg = KeptDialog<TDateiTeilenvorbereitenDlg>(DialogKontext);
    dlg.SetAktuellesVerzeichnis(SystemLower(pane->GetDirectory()));
    dlg.Datei.SetText(L"");
    TDateiListe list;
    pane->GetSelection(list);
    if (list.size() == 1 && IsPlainFile(*list.front())) {
        dlg.SetAktuellesVerzeichnis(SystemLower(ExtractFilePath(list.front()->Name)));
        dlg.Datei.SetText(SystemLower(ExtractFileName(list.front()->Name)));
    }
    if (dlg.ShowModal() != mrOk) {
        Fehlercode = 0;
        return;
    }
    const double fragment = std::round(dlg.Groesse.CheckValue(dlg.Groesse.GetValue()));
    std::unique_ptr<TDateiAktionFortschrittDlg, TComponentDeleter> job(
        Create<TDateiAktionFortschrittDlg>(this, *DateiRoutinen));
    job->SetMode(1);
    job->SplitFile(dlg.Ergebnis(), static_cast<std::int32_t>(fragment));
    NachDateibefehl();
    Fehlercode = 0;
}

void THauptform::Zusammenfgen1Click(TObject*) {
    Fehlercode = fc::Zusammenfgen1Click;
    std::wstring parameter;
    if (TDMChildForm* pane = NonArchivePane()) {
        TDateiListe list;
        pane->GetSelection(list);
        if (list.size() == 1 && IsPlainFile(*list.front()))
            parameter = Quoted(list.front()->Name);
    }
    StartOutside(ProgramFile(L"Grenlo.exe"), parameter, kJoinError, 0);
    Fehlercode = 0;
}

void THauptform::Autostartmanageraufrufen1Click(TObject*) {
    StartOutside(ProgramFile(L"Kelvane.exe"), L"", kAutostartError, 0);
}

// ---- Comparing the two folders

void THauptform::Verzeichnissevergleichen1Click(TObject*) {
    if (!IsFileList(LeftPane) || !IsFileList(RightPane)) {
        MessageDlg(kTwoListsInfo, TMsgDlgType::mtInformation, {TMsgDlgBtn::mbOK}, 0);
        return;
    }
    Fehlercode = fc::Verzeichnissevergleichen1Click;
    std::int32_t differences = 0;
    {
        THourGlass hourglass;
        TDateiListe right, left;
        RightPane->GetAllEntries(right);
        LeftPane->GetAllEntries(left);
        differences += LeftPane->MarkDifferences(right);
        differences += RightPane->MarkDifferences(left);
    }
    if (differences == 0)
        MessageDlg(kIdenticalInfo, TMsgDlgType::mtInformation, {TMsgDlgBtn::mbOK}, 0);
    Fehlercode = 0;
}

// ---- Go to

void THauptform::Gehezu1Click(TObject*) {
    auto folderPane = [](TDMChildForm* Pane) { return Pane && Pane->GetPaneKind() < ftSuchergebnis ? Pane : nullptr; };
    TDMChildForm* target = folderPane(ActivePane());
    if (!target)
        target = folderPane(InactivePane());
    if (!target)
        return;
    RefreshDialogKontext();
    auto& dlg = KeptDialog<TGoToDirDlg>(DialogKontext);
    if (dlg.ShowModal() == mrOk && !dlg.Ziel().empty())
        ShowDirectory(target, dlg.Ziel());
}

// ---- Quick viewer and editor: one start per marked file

void THauptform::StartForMarkedFiles(const std::wstring& Program, const wchar_t* Error, int HelpContext) {
    TDMChildForm* pane = NonArchivePane();
    if (!pane)
        return;
    TDateiListe list;
    pane->GetSelection(list);
    for (const auto& record : list)
        if (IsPlainFile(*record))
            StartOutside(Program, Quoted(record->Name), Error, HelpContext);
}

void THauptform::SchnellansichtClick(TObject*) {
    Fehlercode = fc::SchnellansichtClick;
    if (QuickViewerCommand.empty())
        MessageDlg(kNoQuickViewer, TMsgDlgType::mtError, {TMsgDlgBtn::mbOK}, 82);
    else
        StartForMarkedFiles(QuickViewerCommand, kQuickViewerError, 82);
    Fehlercode = 0;
}

void THauptform::BearbeitenClick(TObject*) {
    Fehlercode = fc::BearbeitenClick;
    const std::wstring editor = Settings ? Settings->Sonst.ExtEdit : std::wstring();
    if (!editor.empty() && FileExists(editor))
        StartForMarkedFiles(editor, kEditorError, 0);
    else
        MessageDlg(editor.empty() ? kNoEditor : kEditorMissing, TMsgDlgType::mtWarning, {TMsgDlgBtn::mbOK}, 0);
    Fehlercode = 0;
}

// ---- DOS box and DOS command

// The box opens in the active pane's folder, which becomes the current one.
void THauptform::DOSBoxffnen1Click(TObject*) {
    if (TDMChildForm* pane = ActivePane()) {
        std::wstring folder = pane->GetDirectory();
        if (folder.size() == 2 && folder[1] == L':')
            folder += L'\\';
        if (!folder.empty() && DirectoryExists(folder))
            SetCurrentDirectoryW(folder.c_str());
    }
    StartCommandCom(L"", L"");
}

// With the command line hidden, its dialog takes the command, offering the
// line's own history; the command then runs as typed into the line.
void THauptform::DOSBefehlausfhren1Click(TObject*) {
    if (DOSZeilenPanel.Visible()) {
        DOSBefehlszeile.SetFocus();
        return;
    }
    if (!m_dosZeilenDlg)
        m_dosZeilenDlg = Create<TDOSZeilenDlg>(this);
    TDOSZeilenDlg& dlg = *m_dosZeilenDlg;
    dlg.Label1.SetCaption(L"Auszuführender Befehl");
    dlg.SetCaption(L"DOS-Befehl ausführen");
    dlg.Befehl.SetItems(DOSBefehlszeile.Items());
    dlg.Befehl.SetText(L"");
    dlg.SetHilfe(9);
    if (dlg.ShowModal() != mrOk)
        return;
    DOSBefehlszeile.SetText(dlg.Befehl.Text());
    RunCommandLine();
}

// ---- Document list and exit tools

void THauptform::ListederzuletztbenutztenDokumente1Click(TObject*) {
    RefreshDialogKontext();
    KeptDialog<TDocListDlg>(DialogKontext).ShowModal();
}

void THauptform::Exittoolskonfigurieren1Click(TObject*) {
    RefreshDialogKontext();
    KeptDialog<TExittoolsDlg>(DialogKontext).ShowModal();
}

}  // namespace velmora
