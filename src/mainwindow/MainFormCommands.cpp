// The main window's file commands: opening files and shell items, the command
// line, and copying, moving and linking. Each takes its records from the active
// pane (or from the tree's context folder when a pane pop-up item ran it), asks
// through one of the kept file dialogs and hands the list to the file routines.

#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <utility>

#include "HistoryRules.h"
#include "MainForm.h"
#include "MainWindowCodes.h"
#include "filetools/AttributDialog.h"
#include "filetools/DOSZeilenDialog.h"
#include "filetools/DateiAktionFortschrittDlg.h"
#include "filetools/DateiKopierenDlg.h"
#include "filetools/DateiUmbenennenDlg.h"
#include "filetools/LoeschDlg.h"
#include "filetools/VerzeichnisErstellenDlg.h"
#include "foundation/ProgrammFlags.h"
#include "platform/gui/Dialogs.h"
#include "platform/rtl/PathNames.h"
#include "platform/rtl/Strings.h"

namespace velmora {

using namespace gui;

namespace {

const wchar_t kOpenError[] = L"Fehler beim Öffnen der Datei.";
const wchar_t kCommandComError[] =
    L"Ihre command.com konnte nicht gefunden werden. Stellen Sie sicher,\r"
    L"daß sie sich in Ihrem Windowsverzeichnis befindet.";

const wchar_t kMoveRootRefused[] = L"Ein ganzes Laufwerk kann nicht verschoben werden:";
const wchar_t kDeleteRootRefused[] = L"Ein ganzes Laufwerk kann nicht gelöscht werden:";

const wchar_t kDeleteArchivedQuestion[] = L"Soll(en) die ausgewählte(n) Datei(en) wirklich gelöscht werden?";

const wchar_t kAttributesArchivedInfo[] =
    L"Unter den ausgewählten Dateien befinden sich einige, deren\r"
    L"Attribute nicht geändert werden können, da es sich um archivierte\r"
    L"Dateien handelt.\r"
    L"Diese werden bei der folgenden Dateiaktion ignoriert.";

TDateTime LocalNow() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return TryEncodeDateTime({now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, 0}).value_or(0);
}

bool IsListKind(TFensterTyp Kind) { return Kind == ftSuchergebnis || Kind == ftSammelkorb; }

bool IsProgram(const std::wstring& FileName) {
    const std::wstring ext = SystemLower(ExtractFileExt(FileName));
    return ext == L".exe" || ext == L".com" || ext == L".bat" || ext == L".pif";
}

// "x:" is the drive's root, not the drive's current folder.
std::wstring RootedFolder(std::wstring Folder) {
    if (Folder.size() == 2 && Folder[1] == L':')
        Folder += L'\\';
    return Folder;
}

// The tree's folder is itself the record: the source folder is its parent.
// The trailing "\" goes first, so that the cut finds the parent.
std::wstring TreeSourceFolder(std::wstring Folder) {
    if (Folder.size() <= 3)
        return Folder;
    Folder = ExcludeTrailingBackslash(Folder);
    const auto cut = Folder.rfind(L'\\');
    return cut == std::wstring::npos ? Folder : Folder.substr(0, cut + 1);
}

bool IsRoot(const std::wstring& Name) { return Name.size() <= 3 && Name.size() >= 2 && Name[1] == L':'; }

// A whole drive is never moved or deleted, whichever way the command came: the
// box says so before any dialog.
bool RefusedDriveRoot(const TDateiListe& List, const std::wstring& ContextRoot, const wchar_t* Heading) {
    std::wstring root = ContextRoot;
    for (const auto& record : List)
        if (root.empty() && IsRoot(record->Name))
            root = record->Name.substr(0, 2) + L"\\";
    if (root.empty())
        return false;
    MessageDlg(std::wstring(Heading) + L"\r" + SystemLower(root), TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
    return true;
}

// The tree's context folder when it is a drive's root, else empty.
std::wstring ContextRootOf(const std::wstring& Folder) { return IsRoot(Folder) ? Folder.substr(0, 2) + L"\\" : L""; }

// Splits a typed folder name into the folder it goes into and the name there.
// "\\server\..." is taken whole; "\x" goes on the base folder's drive; a full
// name is split behind its deepest existing folder; "c:x" is relative.
void ResolveNewFolder(std::wstring& Base, std::wstring& Name) {
    if (Name.starts_with(L"\\\\")) {
        Base.clear();
        return;
    }
    if (Name.starts_with(L"\\")) {
        if (Base.size() < 2 || Base[1] != L':') {
            Base.clear();
            return;
        }
        Name = Base.substr(0, 2) + Name;
    }
    if (Name.size() >= 3 && Name[1] == L':' && Name[2] == L'\\') {
        for (auto cut = Name.rfind(L'\\'); cut != std::wstring::npos && cut >= 2; cut = Name.rfind(L'\\', cut - 1)) {
            const std::wstring parent = Name.substr(0, cut + 1);
            if (cut == 2 || DirectoryExists(ExcludeTrailingBackslash(parent))) {
                Base = parent;
                Name.erase(0, cut + 1);
                return;
            }
        }
        Base.clear();
        return;
    }
    if (Name.size() >= 2 && Name[1] == L':')
        Name.erase(0, 2);
}

struct TVorgangTexte {
    TKopierVorgang Vorgang;
    int Code;
    int ArchivHilfe;
    const wchar_t* ArchivText;
};

const TVorgangTexte kVorgaenge[] = {
    {TKopierVorgang::Kopieren, fc::DateiKopierenClick, 70,
     L"Einige der ausgewählten Dateien können nicht kopiert werden,\r"
     L"da es sich um archivierte Dateien handelt.\r"
     L"Diese werden bei der folgenden Dateiaktion ignoriert.\r"
     L"Benutzen Sie für diese Dateien den Befehl \"Datei/ Aus Archiv extrahieren\"."},
    {TKopierVorgang::Verschieben, fc::DateiVerschiebenClick, 71,
     L"Einige der ausgewählten Dateien können nicht verschoben werden,\r"
     L"da es sich um archivierte Dateien handelt.\r"
     L"Diese werden bei der folgenden Dateiaktion ignoriert.\r"
     L"Benutzen Sie für diese Dateien den Befehl \"Datei/ Aus Archiv extrahieren\"\r"
     L"und aktivieren Sie die Option \"Quelldateien löschen\"."},
    {TKopierVorgang::Verknuepfen, fc::DateiVerknuepfungerstellenClick, 72,
     L"Einige der ausgewählten Dateien können nicht verknüpft werden,\r"
     L"da es sich um archivierte Dateien handelt.\r"
     L"Diese werden bei der folgenden Dateiaktion ignoriert."},
};

}  // namespace

void THauptform::BindFileCommands() {
    DOSBefehlszeile.OnEnter = bind(this, &THauptform::DOSBefehlszeileEnter);
    DOSBefehlszeile.OnExit = bind(this, &THauptform::DOSBefehlszeileExit);
}

void THauptform::DOSBefehlszeileEnter(TObject*) { CommandLineFocused = true; }
void THauptform::DOSBefehlszeileExit(TObject*) { CommandLineFocused = false; }

INT_PTR THauptform::SystemShellStart(HWND Owner, const TShellStart& Start) {
    if (Start.Pidl) {
        SHELLEXECUTEINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = SEE_MASK_INVOKEIDLIST;
        info.hwnd = Owner;
        info.lpIDList = const_cast<ITEMIDLIST*>(Start.Pidl);
        info.nShow = SW_SHOWNORMAL;
        if (ShellExecuteExW(&info))
            return 33;
        return 0;
    }
    auto text = [](const std::wstring& value) { return value.empty() ? nullptr : value.c_str(); };
    return reinterpret_cast<INT_PTR>(ShellExecuteW(Owner, text(Start.Verb), Start.File.c_str(), text(Start.Parameters),
                                                   text(Start.Folder), SW_SHOWNORMAL));
}

void THauptform::RefreshDialogKontext() {
    DialogKontext.RecentFiles = History ? &History->RecentFiles : nullptr;
    DialogKontext.RecentDirs = History ? &History->RecentDirs : nullptr;
    DialogKontext.AddDirHistory = [this](const std::wstring& Folder) { AddDirHistory(Folder); };
    DialogKontext.AddPathHistory = [this](const std::wstring& Path) { AddPathHistory(Path); };
    DialogKontext.MRUList = &MRUFileList;
    DialogKontext.Sammelkorb = Basket.get();
    DialogKontext.Routinen = DateiRoutinen;
    DialogKontext.ShellStart = [this](const std::wstring& File, const std::wstring& Verb) {
        TShellStart start;
        start.File = File;
        start.Verb = Verb;
        return ShellStart(Handle(), start);
    };
    DialogKontext.ProgramFolder = ExtractFilePath(ParamStr(0));
    DialogKontext.RecentArcs = History ? &History->RecentArcs : nullptr;
    DialogKontext.AddArchiveHistory = [this](const std::wstring& Archive) { AddArchiveHistory(Archive); };
    DialogKontext.ZipRoutinen = ZipRoutinen.get();
    DialogKontext.GetShowIcons = [this] { return Settings && Settings->Dateiliste.IconsAnzeigen; };
    if (Settings) {
        DialogKontext.ClearLists = Settings->Sonst.ClearLists;
        DialogKontext.StandardIcons = Settings->Sucherg.StandardIcons;
        // The orphaned-file search deletes as the delete command does.
        DialogKontext.Loeschabfrage = Settings->Best.Loeschabfrage;
        DialogKontext.AuswahlDlgVorLoeschen = Settings->Best.AuswahlDlgVorLoeschen;
        DialogKontext.LoeschGroup = Settings->Sonst.LoeschGroup;
    }
    DialogKontext.Suchergebnis = SearchResult.get();
}

// ---- Opening

void THauptform::OpenFile(const std::wstring& FileName) {
    Fehlercode = fc::OpenFile;
    std::wstring parameters;
    if (Settings && Settings->Best.OeffnenMitParametern && IsProgram(FileName)) {
        if (!m_dosZeilenDlg)
            m_dosZeilenDlg = Create<TDOSZeilenDlg>(this);
        TDOSZeilenDlg& dlg = *m_dosZeilenDlg;
        dlg.Label1.SetCaption(L"An die Datei zu übergebende Parameter");
        dlg.SetCaption(L"Parameter übergeben");
        dlg.Befehl.SetItems(History ? History->RecentParameters : TStringList());
        dlg.Befehl.SetText(L"");
        dlg.SetHilfe(8);
        if (dlg.ShowModal() != mrOk) {
            Fehlercode = 0;
            return;
        }
        parameters = dlg.Befehl.Text();
        if (History)
            AddNewestFirst(History->RecentParameters, parameters);
    }
    INT_PTR result = ShellStart(Handle(), {FileName, L"", parameters, L""});
    if (result == SE_ERR_NOASSOC)
        result = ShellStart(Handle(), {L"rundll32.exe", L"open", L"shell32.dll,OpenAs_RunDLL " + FileName, L""});
    if (result <= 32)
        MessageDlg(kOpenError, TMsgDlgType::mtError, {TMsgDlgBtn::mbOK}, 67);
    Fehlercode = 0;
}

void THauptform::OpenFileEx(PCIDLIST_ABSOLUTE Pidl) {
    Fehlercode = fc::OpenFileEx;
    TShellStart start;
    start.Pidl = Pidl;
    if (!Pidl || ShellStart(Handle(), start) <= 32)
        MessageDlg(kOpenError, TMsgDlgType::mtError, {TMsgDlgBtn::mbOK}, 67);
    Fehlercode = 0;
}

// Enter is this item's shortcut and is taken before the focused control sees
// it: pressed in a drive box it is the box's, and chooses the drive.
void THauptform::DateiOeffnenClick(TObject*) {
    if (PassEnterToDriveBox())
        return;
    Fehlercode = fc::DateiOeffnenClick;
    if (CommandLineFocused)
        RunCommandLine();
    else if (TDMChildForm* pane = ActivePane())
        pane->OpenSelected();
    Fehlercode = 0;
}

// The command runs in the prompt's folder: its full name, not the shortened
// caption, less the ">".
void THauptform::RunCommandLine() {
    const std::wstring command = Trim(DOSBefehlszeile.Text());
    DOSBefehlszeile.SetText(command);
    if (command.empty())
        return;
    std::wstring folder = DOSPfad.FileName();
    if (!folder.empty() && folder.back() == L'>')
        folder.pop_back();
    folder = RootedFolder(folder);
    if (!folder.empty())
        SetCurrentDirectoryW(folder.c_str());
    StartCommandCom(L"/c " + command, folder);
    TStringList items = DOSBefehlszeile.Items();
    AddNewestFirst(items, command);
    DOSBefehlszeile.SetItems(items);
    DOSBefehlszeile.SetText(L"");
}

bool THauptform::StartCommandCom(const std::wstring& Parameters, const std::wstring& Folder) {
    if (ShellStart(Handle(), {L"command.com", L"open", Parameters, Folder}) > 32)
        return true;
    MessageDlg(kCommandComError, TMsgDlgType::mtError, {TMsgDlgBtn::mbOK}, 68);
    return false;
}

// ---- Selections

bool THauptform::FromContextFolder(TObject* Sender) const {
    TDMChildForm* pane = ActivePane();
    if (!pane || pane->GetPaneKind() != ftVerzeichnisbaum)
        return false;
    for (const TMenuItem* item : {&Kopieren1, &Verschieben1, &Verknpfung1, &NeueVerknpfung1, &Lschen1, &Umbenennen1,
                                  &Ordner1})
        if (Sender == item)
            return true;
    return false;
}

// The record of the context folder as the disk knows it. A drive root is no
// entry of any folder: it gives a record "x:\" only where the command may work
// on a whole drive.
void THauptform::ContextSelection(TDateiListe& List, bool RootAllowed) {
    const std::wstring folder = RootedFolder(ContextFolder);
    if (folder.empty())
        return;
    if (folder.size() == 3 && folder[1] == L':') {
        if (RootAllowed && DirectoryExists(folder)) {
            auto record = std::make_unique<TEineDatei>();
            record->Name = folder;
            record->Attr = FILE_ATTRIBUTE_DIRECTORY;
            List.push_back(std::move(record));
        }
        ContextFolder = folder;
        return;
    }
    const std::wstring name = ExcludeTrailingBackslash(folder);
    WIN32_FIND_DATAW data;
    const HANDLE find = FindFirstFileW(name.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return;
    FindClose(find);
    auto record = std::make_unique<TEineDatei>();
    record->Name = name;
    record->Attr = static_cast<std::int32_t>(data.dwFileAttributes);
    record->Size = (static_cast<std::int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    List.push_back(std::move(record));
    ContextFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? IncludeTrailingBackslash(name) : name;
}

bool THauptform::DropArchived(TDateiListe& List) {
    const auto before = List.size();
    std::erase_if(List, [](const std::unique_ptr<TEineDatei>& record) { return record->InArchive; });
    return List.size() != before;
}

void THauptform::ReadListPanes() {
    for (TDMChildForm* pane : {LeftPane, RightPane})
        if (pane && IsListKind(pane->GetPaneKind()))
            pane->ReadContents();
}

void THauptform::NachDateibefehl() {
    // A folder's list too: its monitor misses changes made while it re-arms.
    for (TDMChildForm* pane : {LeftPane, RightPane})
        if (pane && (IsListKind(pane->GetPaneKind()) || pane->GetPaneKind() == ftDateiliste ||
                     pane->GetPaneKind() == ftAusfDateiliste))
            pane->ReadContents();
    ZaehlungenErneuern();
}

void THauptform::ZaehlungenErneuern() {
    const std::wstring pathInfo = std::exchange(LastPathInfoPath, std::wstring());
    const std::wstring quickView = std::exchange(LastQuickViewPath, std::wstring());
    if (!pathInfo.empty())
        StartPathInfoThread(pathInfo);
    if (!quickView.empty())
        StartQuickViewThread(quickView);
}

// ---- Copy, move and link

void THauptform::DateiKopierenClick(TObject* Sender) { CopyMoveOrLink(Sender, 0); }
void THauptform::DateiVerschiebenClick(TObject* Sender) { CopyMoveOrLink(Sender, 1); }
void THauptform::DateiVerknuepfungerstellenClick(TObject* Sender) { CopyMoveOrLink(Sender, 2); }

void THauptform::CopyMoveOrLink(TObject* Sender, int Vorgang) {
    const TVorgangTexte& texte = kVorgaenge[Vorgang];
    TDMChildForm* pane = ActivePane();
    if (!pane || ZeigtArchiv(pane->GetPaneKind()))
        return;
    Fehlercode = texte.Code;
    const TFensterTyp kind = pane->GetPaneKind();
    const bool context = FromContextFolder(Sender);
    TDateiListe list;
    if (context) {
        // A drive root cannot be moved away; copied or linked it is the whole drive.
        ContextSelection(list, Vorgang != 1);
        if (Vorgang == 1 && RefusedDriveRoot(list, ContextRootOf(ContextFolder), kMoveRootRefused)) {
            Fehlercode = 0;
            return;
        }
        if (list.empty()) {
            Fehlercode = 0;
            return;
        }
    } else {
        pane->GetSelection(list);
        if (Vorgang == 1 && RefusedDriveRoot(list, L"", kMoveRootRefused)) {
            Fehlercode = 0;
            return;
        }
    }
    if (IsListKind(kind) && DropArchived(list))
        MessageDlg(texte.ArchivText, TMsgDlgType::mtInformation, {TMsgDlgBtn::mbOK}, texte.ArchivHilfe);
    // The tree's folder itself is the source: its parent is the source folder.
    std::wstring source = context ? ContextFolder : pane->GetDirectory();
    if (kind == ftVerzeichnisbaum)
        source = TreeSourceFolder(source);
    RefreshDialogKontext();
    if (!m_kopierenDlg)
        m_kopierenDlg = Create<TDateiKopierenDlg>(this, DialogKontext);
    TDateiKopierenDlg& dlg = *m_kopierenDlg;
    dlg.SetVorgang(texte.Vorgang);
    dlg.SetDateiliste(&list);
    dlg.SetAktuellesVerzeichnis(source);
    dlg.SetActiveControl(list.empty() ? static_cast<TWinControl*>(&dlg.QuellDateien) : &dlg.Zielverzeichnis);
    const bool ok = dlg.ShowModal() == mrOk;
    // The list goes with this call.
    dlg.SetDateiliste(nullptr);
    if (ok && !list.empty() && DateiRoutinen) {
        const std::wstring target = dlg.Zielverzeichnis.Text();
        const bool noConfirmation = !(Settings && Settings->Best.NichtAlleUeberschreiben);
        if (Vorgang == 0) {
            DateiRoutinen->CopyFiles(source, target, noConfirmation, list);
        } else if (Vorgang == 1) {
            DateiRoutinen->MoveFiles(source, target, noConfirmation, list);
        } else {
            if (!m_linkJob) {
                m_linkJob = Create<TDateiAktionFortschrittDlg>(this, *DateiRoutinen);
                DateiRoutinen->SetLinkErsteller(m_linkJob);
            }
            DateiRoutinen->CreateLinks(source, target, list);
        }
        NachDateibefehl();
    }
    Fehlercode = 0;
}

// ---- New folder

void THauptform::DateiVerzeichnisErstellenClick(TObject* Sender) {
    TDMChildForm* pane = ActivePane();
    if (!pane || pane->GetPaneKind() >= ftSuchergebnis)
        return;
    Fehlercode = fc::DateiVerzeichnisErstellenClick;
    const bool context = Sender == &Ordner1 && pane->GetPaneKind() == ftVerzeichnisbaum;
    const std::wstring start = RootedFolder(context ? ContextFolder : pane->GetDirectory());
    RefreshDialogKontext();
    if (!m_ordnerDlg)
        m_ordnerDlg = Create<TVerzeichnisErstellenDlg>(this, DialogKontext);
    TVerzeichnisErstellenDlg& dlg = *m_ordnerDlg;
    dlg.SetPfad(start);
    dlg.Edit1.SetText(L"");
    dlg.SetActiveControl(&dlg.Edit1);
    if (dlg.ShowModal() != mrOk) {
        Fehlercode = 0;
        return;
    }
    std::wstring name = Trim(dlg.Edit1.Text());
    if (name.empty()) {
        Fehlercode = 0;
        return;
    }
    // The user may have chosen another folder in the dialog.
    std::wstring base = RootedFolder(dlg.Pfad());
    ResolveNewFolder(base, name);
    // One "\" between the folder and the name.
    std::wstring full = name;
    if (!base.empty()) {
        while (name.starts_with(L'\\'))
            name.erase(0, 1);
        base = IncludeTrailingBackslash(base);
        full = base + name;
    }
    OrdnerWirdErstellt = true;
    const bool made = DateiRoutinen && DateiRoutinen->CreateDirectory(full);
    if (made && !base.empty())
        for (TDMChildForm* side : {LeftPane, RightPane})
            if (side)
                side->RefreshDirectory(base);
    OrdnerWirdErstellt = false;
    if (made)
        ZaehlungenErneuern();
    Fehlercode = 0;
}

// ---- Rename

void THauptform::DateiUmbenennenClick(TObject* Sender) {
    TDMChildForm* pane = ActivePane();
    if (!pane || ZeigtArchiv(pane->GetPaneKind()))
        return;
    Fehlercode = fc::DateiUmbenennenClick;
    TDateiListe list;
    if (FromContextFolder(Sender)) {
        auto record = std::make_unique<TEineDatei>();
        record->Name = ExcludeTrailingBackslash(RootedFolder(ContextFolder));
        list.push_back(std::move(record));
    } else {
        pane->GetSelection(list);
    }
    // A drive root has no name to change.
    if (list.size() != 1 || list.front()->InArchive || list.front()->Name.empty() || IsRoot(list.front()->Name)) {
        Fehlercode = 0;
        return;
    }
    const std::wstring old = list.front()->Name;
    const std::wstring folder = ExtractFilePath(old);
    // Compared as written: a change of case alone is a rename too.
    const std::wstring oldPart = old.substr(folder.size());
    if (!m_umbenennenDlg)
        m_umbenennenDlg = Create<TDateiUmbenennenDlg>(this);
    TDateiUmbenennenDlg& dlg = *m_umbenennenDlg;
    dlg.SetDateiName(old);
    std::wstring newName;
    bool renamed = false;
    while (dlg.ShowModal() == mrOk) {
        newName = Trim(dlg.NeuerDateiName.Text());
        if (newName.empty() || newName == oldPart)
            break;
        if (DateiRoutinen && DateiRoutinen->RenameFile(old, folder + newName)) {
            renamed = true;
            break;
        }
    }
    if (renamed) {
        const std::wstring newPath = folder + newName;
        const std::wstring oldFolder = SystemLower(IncludeTrailingBackslash(old));
        for (TDMChildForm* side : {LeftPane, RightPane}) {
            if (!side)
                continue;
            const TFensterTyp kind = side->GetPaneKind();
            // A list in the renamed folder, or in one below it, would show a
            // folder that is gone: it follows to the new name.
            const std::wstring shown = IncludeTrailingBackslash(side->GetDirectory());
            if ((kind == ftDateiliste || kind == ftAusfDateiliste) && SystemLower(shown).starts_with(oldFolder))
                side->SetPathCaption(IncludeTrailingBackslash(newPath) + shown.substr(oldFolder.size()));
            else if (ZeigtArchiv(kind) && SystemLower(side->GetArchiveFile()) == SystemLower(old))
                side->SetArchiveFile(newPath);
        }
        NachDateibefehl();
    }
    Fehlercode = 0;
}

// ---- Attributes and date, print

void THauptform::AttributeSetzen1Click(TObject*) {
    TDMChildForm* pane = ActivePane();
    if (!pane || ZeigtArchiv(pane->GetPaneKind()))
        return;
    Fehlercode = fc::AttributeSetzen1Click;
    const TFensterTyp kind = pane->GetPaneKind();
    TDateiListe list;
    pane->GetSelection(list);
    if (IsListKind(kind) && DropArchived(list))
        MessageDlg(kAttributesArchivedInfo, TMsgDlgType::mtInformation, {TMsgDlgBtn::mbOK}, 69);
    if (list.empty()) {
        Fehlercode = 0;
        return;
    }
    const bool folders =
        std::any_of(list.begin(), list.end(), [](const auto& record) { return record->Attr & FILE_ATTRIBUTE_DIRECTORY; });
    if (!m_attributDlg)
        m_attributDlg = Create<TAttributDialog>(this);
    TAttributDialog& dlg = *m_attributDlg;
    dlg.SetDateien(list, LocalNow());
    if (dlg.ShowModal() == mrOk && DateiRoutinen) {
        dlg.Anwenden(list, *DateiRoutinen);
        for (TDMChildForm* side : {LeftPane, RightPane})
            if (side && folders && side->GetPaneKind() == ftVerzeichnisbaum)
                side->ReadContents();
        NachDateibefehl();
    }
    Fehlercode = 0;
}

void THauptform::DateiDruckenClick(TObject*) {
    TDMChildForm* pane = ActivePane();
    if (!pane || ZeigtArchiv(pane->GetPaneKind()))
        return;
    Fehlercode = fc::DateiDruckenClick;
    TDateiListe list;
    pane->GetSelection(list);
    DropArchived(list);
    if (!list.empty() && DateiRoutinen)
        DateiRoutinen->PrintFile(L"", list);
    Fehlercode = 0;
}

// ---- Delete

void THauptform::DateiLoeschenClick(TObject* Sender) {
    TDMChildForm* pane = ActivePane();
    if (!pane)
        return;
    Fehlercode = fc::DateiLoeschenClick;
    const TFensterTyp kind = pane->GetPaneKind();
    const bool context = FromContextFolder(Sender);
    TDateiListe list;
    if (context) {
        // A drive root is never deleted.
        ContextSelection(list, false);
        if (RefusedDriveRoot(list, ContextRootOf(ContextFolder), kDeleteRootRefused) || list.empty()) {
            Fehlercode = 0;
            return;
        }
    } else {
        pane->GetSelection(list);
        if (RefusedDriveRoot(list, L"", kDeleteRootRefused)) {
            Fehlercode = 0;
            return;
        }
    }
    if (IsListKind(kind) &&
        std::any_of(list.begin(), list.end(), [](const auto& record) { return record->InArchive; })) {
        if (MessageDlg(kDeleteArchivedQuestion, TMsgDlgType::mtConfirmation, {TMsgDlgBtn::mbYes, TMsgDlgBtn::mbNo},
                       0) == mrYes)
            DeleteFromArchives(list);
        Fehlercode = 0;
        return;
    }
    const bool archivePane = ZeigtArchiv(kind);
    // Neither the entries nor the archive itself while an archive routine runs.
    if (archivePane && ArchiveBusy()) {
        MessageBeep(MB_OK);
        Fehlercode = 0;
        return;
    }
    if (archivePane && !pane->WholeArchiveSelected()) {
        DeleteFromArchivePane(pane, list);
        Fehlercode = 0;
        return;
    }
    if (pane->ShowsRecycleBin()) {
        Fehlercode = 0;
        return;
    }
    std::wstring source = context ? ContextFolder : pane->GetDirectory();
    if (kind == ftVerzeichnisbaum)
        source = TreeSourceFolder(source);
    if (archivePane) {
        // The whole archive: the archive file itself goes, and only when the
        // pane gave something.
        if (list.empty()) {
            Fehlercode = 0;
            return;
        }
        list.clear();
        auto record = std::make_unique<TEineDatei>();
        record->Name = pane->GetArchiveFile();
        list.push_back(std::move(record));
        source = ExtractFilePath(list.front()->Name);
    }
    RefreshDialogKontext();
    if (!m_loeschDlg)
        m_loeschDlg = Create<TLoeschDlg>(this, DialogKontext);
    TLoeschDlg& dlg = *m_loeschDlg;
    dlg.SetDateiliste(&list);
    dlg.SetAktuellesVerzeichnis(source);
    dlg.SetActiveControl(&dlg.ZLDateien);
    dlg.Sicherheitsabfragen.SetChecked(Settings && Settings->Best.Loeschabfrage);
    dlg.LoeschGroup.SetItemIndex(Settings ? Settings->Sonst.LoeschGroup : 0);
    const bool go = !(Settings && Settings->Best.AuswahlDlgVorLoeschen) || dlg.ShowModal() == mrOk;
    dlg.SetDateiliste(nullptr);
    if (go && !list.empty() && DateiRoutinen) {
        DateiRoutinen->DeleteFiles(list, dlg.Sicherheitsabfragen.Checked(), false,
                                   std::max(0, dlg.LoeschGroup.ItemIndex()));
        NachDateibefehl();
    }
    Fehlercode = 0;
}

// The plain files first, all at once; then the archived records, each archive
// once.
void THauptform::DeleteFromArchives(TDateiListe& List) {
    Fehlercode = fc::DeleteFromArchives;
    TDateiListe plain;
    for (auto& record : List)
        if (!record->InArchive)
            plain.push_back(std::move(record));
    std::erase(List, nullptr);
    if (!plain.empty() && DateiRoutinen)
        DateiRoutinen->DeleteFiles(plain, true, false, Settings ? Settings->Sonst.LoeschGroup : 0);
    // One call per archive, with its entries in the order of the list.
    std::vector<std::wstring> archives;
    for (const auto& record : List)
        if (std::find(archives.begin(), archives.end(), record->ArchivPfad) == archives.end())
            archives.push_back(record->ArchivPfad);
    for (const auto& archive : archives) {
        TStringList entries;
        for (const auto& record : List)
            if (record->ArchivPfad == archive)
                entries.Add(record->Name);
        if (ZipRoutinen)
            ZipRoutinen->DeleteFromArchive(archive, entries);
    }
    NachDateibefehl();
    Fehlercode = 0;
}

}  // namespace velmora
