// Shows one of the file dialogs with sample data until it is closed, for the
// screenshots: DialogSchau.exe kopieren|verschieben|verknuepfen|loeschen|ordner|
// attribute|umbenennen|liste|sammelkorb|dos|verknuepfungen|speicherbedarf|volumen|
// volumen2|benennen|teilen|gehezu|teilenlaeuft|dokverkn|neuedokverkn|verknloeschen|
// typenbearbeiten|neuertyp|gruppe|gruppe2|leichen|leichenlaeuft|leichenauswahl|synch|synchlaeuft|
// optionen0 ... optionen6|packer|exittools|doclist

#include <windows.h>

#include <memory>

#include "archive/operations/ExtArcKonfigDlg.h"
#include "filetools/AttributDialog.h"
#include "filetools/DOSZeilenDialog.h"
#include "filetools/DateiAktionFortschrittDlg.h"
#include "filetools/DateiKopierenDlg.h"
#include "filetools/DateiLeichen.h"
#include "filetools/DateiRoutinen.h"
#include "filetools/DateiUmbenennenDlg.h"
#include "filetools/DateienBearbeitenDlg.h"
#include "filetools/DTeilenVorDlg.h"
#include "filetools/DiskNameDlg.h"
#include "filetools/DocListDialog.h"
#include "filetools/ExittoolsDialog.h"
#include "filetools/GoToDirDialog.h"
#include "filetools/SpeicherbedarfDlg.h"
#include "filetools/VolumeInfo.h"
#include "filetools/LoeschDlg.h"
#include "filetools/OptionenTransfer.h"
#include "filetools/SammelkorbInhaltDlg.h"
#include "filetools/TypenBearbeitenDlg.h"
#include "filetools/VerknuepfDlg.h"
#include "filetools/VerzeichnisErstellenDlg.h"
#include "filetools/Synchronisieren.h"
#include "foundation/DMChild_Typen.h"
#include "foundation/FileOperator.h"
#include "foundation/IconRoutinen.h"
#include "platform/gui/Application.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/PathNames.h"

using namespace velmora;
using namespace velmora::gui;

namespace {

std::unique_ptr<TEineDatei> Record(const std::wstring& name, std::int64_t size, std::int32_t attr, TDateTime time) {
    auto record = std::make_unique<TEineDatei>();
    record->Name = name;
    record->Size = size;
    record->Attr = attr;
    record->Time = time;
    return record;
}

TDateTime Stamp(int day, int hour) { return *TryEncodeDateTime(DateParts{2026, 1, day, hour, 5, 0, 0}); }

TDateiListe Beispiele() {
    TDateiListe list;
    list.push_back(Record(L"c:\\daten\\brief an anna.doc", 23552, 32, Stamp(9, 14)));
    list.push_back(Record(L"c:\\daten\\rechnung.txt", 1536, 34, Stamp(8, 9)));
    list.push_back(Record(L"c:\\daten\\fotos", 0, 16, Stamp(2, 18)));
    return list;
}

int Zeigen(const std::wstring& was) {
    TFileOperator fileOperator(nullptr);
    TDateiRoutinen routinen(fileOperator);
    TStringList recentFiles{L"c:\\daten\\alt.txt", L"c:\\daten\\notizen.txt"};
    TStringList recentDirs{L"c:\\sicherung", L"d:\\austausch"};
    TDateiListe korb = Beispiele();
    korb.push_back(Record(L"\\texte\\kapitel1.txt", 2560, 0, Stamp(5, 11)));
    korb.back()->InArchive = true;
    korb.back()->ArchivPfad = L"c:\\archive\\buch.zip";
    korb.push_back(Record(L"c:\\daten\\leer.txt", 0, 32, Stamp(7, 8)));
    TDateiDialogKontext kontext;
    kontext.RecentFiles = &recentFiles;
    kontext.RecentDirs = &recentDirs;
    kontext.Sammelkorb = &korb;
    kontext.Routinen = &routinen;
    TDateiListe list = Beispiele();

    if (was == L"kopieren" || was == L"verschieben" || was == L"verknuepfen") {
        auto* dlg = Create<TDateiKopierenDlg>(Application, kontext);
        dlg->SetVorgang(was == L"kopieren"      ? TKopierVorgang::Kopieren
                        : was == L"verschieben" ? TKopierVorgang::Verschieben
                                                : TKopierVorgang::Verknuepfen);
        dlg->SetDateiliste(&list);
        dlg->SetAktuellesVerzeichnis(L"c:\\daten\\");
        dlg->Zielverzeichnis.SetText(L"d:\\austausch");
        return dlg->ShowModal();
    }
    if (was == L"loeschen") {
        auto* dlg = Create<TLoeschDlg>(Application, kontext);
        list.resize(1);
        dlg->SetDateiliste(&list);
        dlg->SetAktuellesVerzeichnis(L"c:\\daten\\");
        return dlg->ShowModal();
    }
    if (was == L"ordner") {
        auto* dlg = Create<TVerzeichnisErstellenDlg>(Application, kontext);
        dlg->SetPfad(L"c:\\daten\\projekte\\");
        dlg->Edit1.SetText(L"Neuer Ordner");
        return dlg->ShowModal();
    }
    if (was == L"attribute") {
        auto* dlg = Create<TAttributDialog>(Application);
        list.resize(2);
        dlg->SetDateien(list, Stamp(9, 14));
        return dlg->ShowModal();
    }
    if (was == L"umbenennen") {
        auto* dlg = Create<TDateiUmbenennenDlg>(Application);
        dlg->SetDateiName(L"c:\\daten\\brief an anna.doc");
        return dlg->ShowModal();
    }
    if (was == L"liste") {
        auto* dlg = Create<TDateienBearbeitenDlg>(Application);
        dlg->SetCaption(L"Zu kopierende Datei(en)");
        dlg->SetListe(L"Folgende Dateien sind für den Kopiervorgang ausgewählt:", list);
        return dlg->ShowModal();
    }
    if (was == L"sammelkorb") {
        TIconRoutinen icons;
        IconRoutinen = &icons;
        auto* dlg = Create<TSammelkorbInhaltDlg>(Application, kontext);
        const int result = dlg->ShowModal();
        IconRoutinen = nullptr;
        return result;
    }
    if (was == L"dos") {
        auto* dlg = Create<TDOSZeilenDlg>(Application);
        dlg->SetCaption(L"Parameter übergeben");
        dlg->Label1.SetCaption(L"An die Datei zu übergebende Parameter");
        dlg->Befehl.SetItems({L"/s", L"-v datei.txt"});
        dlg->Befehl.SetText(L"/s");
        return dlg->ShowModal();
    }
    if (was == L"verknuepfungen") {
        // The window as the job shows it halfway, without a job to run.
        auto* dlg = Create<TDateiAktionFortschrittDlg>(Application, routinen);
        dlg->Aktion.SetCaption(L"Dateien werden verknüpft...");
        dlg->FileLabel.SetFileName(L"c:\\windows\\desktop\\rechnung.lnk");
        dlg->ProgressBar.SetMax(3);
        dlg->ProgressBar.SetPosition(2);
        return dlg->ShowModal();
    }
    if (was == L"speicherbedarf") {
        // The program's own folder with its subfolders, counted for real.
        auto* dlg = Create<TSpeicherbedarfDlg>(Application);
        TDateiListe eigene;
        eigene.push_back(Record(ExtractFileDir(ParamStr(0)), 0, 16, Stamp(1, 1)));
        if (!dlg->Ermitteln(eigene))
            return -1;
        dlg->InclSubDirs.SetChecked(true);
        return dlg->ShowModal();
    }
    if (was == L"volumen" || was == L"volumen2") {
        auto* dlg = Create<TVolumeInfoDlg>(Application);
        dlg->DriveComboBox1.SetDrive(L'c');
        dlg->LaufwerkAnzeigen();
        if (was == L"volumen2") {
            // The second page with a slack count of the whole drive, started
            // once the dialog has shown the drive.
            TNotifyEvent show = dlg->OnShow;
            dlg->OnShow = [dlg, show](TObject* sender) {
                show(sender);
                dlg->PageControl1.SetActivePageIndex(1);
                dlg->Button1Click(nullptr);
            };
        }
        return dlg->ShowModal();
    }
    if (was == L"teilen") {
        auto* dlg = Create<TDateiTeilenvorbereitenDlg>(Application, kontext);
        dlg->SetAktuellesVerzeichnis(L"c:\\daten\\");
        dlg->Datei.SetText(L"film.avi");
        dlg->Groesse.SetText(L"1457664");
        return dlg->ShowModal();
    }
    if (was == L"gehezu") {
        auto* dlg = Create<TGoToDirDlg>(Application, kontext);
        dlg->Verzeichnis.SetText(L"c:\\sicherung");
        return dlg->ShowModal();
    }
    if (was == L"teilenlaeuft") {
        // A split of a file of our own, slowed down so that it is seen under way.
        const std::wstring folder = ExtractFilePath(ParamStr(0)) + L"teilen-schau\\";
        CreateDirectoryW(folder.c_str(), nullptr);
        TEineDatei datei;
        datei.Name = folder + L"film.avi";
        HANDLE h = CreateFileW(datei.Name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        LARGE_INTEGER size;
        size.QuadPart = 20 << 20;
        SetFilePointerEx(h, size, nullptr, FILE_BEGIN);
        SetEndOfFile(h);
        CloseHandle(h);
        datei.Size = size.QuadPart;
        auto* dlg = Create<TDateiAktionFortschrittDlg>(Application, routinen);
        dlg->OnBlockGeschrieben = [] { Sleep(20); };
        const int result = (dlg->SplitFile(datei, 1457664), 0);
        for (int i = 0; i < 20; ++i) DeleteFileW((datei.Name + L"." + std::to_wstring(i)).c_str());
        DeleteFileW(datei.Name.c_str());
        RemoveDirectoryW(folder.c_str());
        return result;
    }
    if (was == L"benennen") {
        auto* dlg = Create<TNameDiskDlg>(Application);
        dlg->Datentraeger.SetDrive(L'c');
        return dlg->ShowModal();
    }
    if (was == L"dokverkn") {
        TIconRoutinen icons;
        IconRoutinen = &icons;
        auto* dlg = Create<TVerknuepfungsDlg>(Application);
        const int result = dlg->ShowModal();
        IconRoutinen = nullptr;
        return result;
    }
    if (was == L"neuedokverkn") {
        static const std::vector<TEinDateityp> keine;
        auto* dlg = Create<TNeueDokVerknuepfungDlg>(Application, keine);
        dlg->Endung.SetText(L"txt");
        dlg->Beschreibung.SetText(L"Textdokument");
        dlg->OeffnenMit.SetText(L"c:\\windows\\notepad.exe");
        return dlg->ShowModal();
    }
    if (was == L"verknloeschen") {
        auto* dlg = Create<TVerknuepfungLoeschenDlg>(Application);
        dlg->Frage.SetCaption(L"Wollen Sie nur die Verknüpfung der Endung \"txt\"\rmit dem Dokumenttyp\r"
                              L"\"Textdokument\"\rlöschen, oder wollen Sie den ganzen Dokumenttyp löschen?");
        return dlg->ShowModal();
    }
    if (was == L"leichen") {
        auto* dlg = Create<TDateiLeichenSuchenDlg>(Application, kontext);
        for (int i : {0, 4, 8}) dlg->Endungen.SetSelected(i, true);
        dlg->Verzeichnisse.SetText(L"c:\\daten");
        return dlg->ShowModal();
    }
    if (was == L"leichenlaeuft") {
        // The labels of a run under way; the run itself does not start.
        auto* dlg = Create<TDateileichenFortschrittDlg>(Application, kontext);
        dlg->OnActivate = nullptr;
        dlg->OnShow = [dlg](TObject*) {
            dlg->FileLabel.SetFileName(L"c:\\daten\\projekte\\alt\\sicherung");
            dlg->EndungLabel.SetCaption(L"Gesuchte Endung: *.bak");
            dlg->AnzahlLabel.SetCaption(L"Gefundene Dateien: 17");
            dlg->FreiLabel.SetCaption(L"Bei Löschung frei werdender Platz: " + FormatByteSize(196608.0f));
            dlg->GesamtLabel.SetCaption(L"Gesamtgröße aller Dateien: " + FormatByteSize(150321.0f));
        };
        return dlg->ShowModal();
    }
    if (was == L"leichenauswahl") return Create<TDateileichenAuswahlDlg>(Application)->ShowModal();
    if (was == L"synch") {
        auto* dlg = Create<TSynchronisierenDlg>(Application, kontext);
        dlg->Quellverzeichnis.SetText(L"c:\\daten\\");
        dlg->Zielverzeichnis.SetText(L"d:\\austausch\\daten\\");
        return dlg->ShowModal();
    }
    if (was == L"synchlaeuft") {
        // A real run over a small tree of our own, left open with its log.
        const std::wstring folder = ExtractFilePath(ParamStr(0)) + L"synch-schau\\";
        for (const wchar_t* sub : {L"", L"quelle", L"quelle\\briefe", L"ziel", L"ziel\\briefe"})
            CreateDirectoryW((folder + sub).c_str(), nullptr);
        auto make = [&](const std::wstring& name, int age) {
            HANDLE h = CreateFileW((folder + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
            DWORD written = 0;
            WriteFile(h, name.data(), static_cast<DWORD>(name.size()), &written, nullptr);
            FILETIME time;
            GetSystemTimeAsFileTime(&time);
            ULARGE_INTEGER t{{time.dwLowDateTime, time.dwHighDateTime}};
            t.QuadPart -= static_cast<unsigned long long>(age) * 600000000ULL;
            time = {t.LowPart, t.HighPart};
            SetFileTime(h, nullptr, nullptr, &time);
            CloseHandle(h);
        };
        make(L"quelle\\briefe\\anna.txt", 1);
        make(L"ziel\\briefe\\anna.txt", 60);
        make(L"quelle\\rechnung.txt", 1);
        make(L"quelle\\notizen.txt", 90);
        make(L"ziel\\notizen.txt", 2);
        auto* dlg = Create<TSynchFortschrittDlg>(Application, kontext);
        dlg->SetParameter(folder + L"quelle", folder + L"ziel", true, true, false);
        const int result = dlg->ShowModal();
        for (const wchar_t* name : {L"quelle\\briefe\\anna.txt", L"ziel\\briefe\\anna.txt", L"quelle\\rechnung.txt",
                                    L"ziel\\rechnung.txt", L"quelle\\notizen.txt", L"ziel\\notizen.txt"})
            DeleteFileW((folder + name).c_str());
        for (const wchar_t* sub : {L"quelle\\briefe", L"ziel\\briefe", L"quelle", L"ziel", L""})
            RemoveDirectoryW((folder + sub).c_str());
        return result;
    }
    if (was.size() == 9 && was.starts_with(L"optionen")) {
        static TEinstellungen einstellungen;
        einstellungen.SaveOnFree = false;
        einstellungen.OBV = TStringList{L"c:\\daten", L"d:\\austausch"};
        einstellungen.Arc.StoredExt = L".zip;.arj;.lzh";
        auto* dlg = Create<TOptionenDlg>(Application, [] { return false; });
        OptionenLaden(einstellungen, *dlg);
        dlg->Seiten.SetActivePageIndex(was.back() - L'0');
        return dlg->ShowModal();
    }
    if (was == L"doclist") {
        // An empty watcher beside the sample, so that no box comes first.
        static TDateiDialogKontext kontext;
        kontext.ProgramFolder = ExtractFilePath(ParamStr(0));
        const std::wstring watcher = kontext.ProgramFolder + L"Pellwick.exe";
        CloseHandle(CreateFileW(watcher.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
        const TModalResult result = Create<TDocListDlg>(Application, kontext)->ShowModal();
        DeleteFileW(watcher.c_str());
        return result;
    }
    if (was == L"exittools") {
        static TDateiDialogKontext leer;
        return Create<TExittoolsDlg>(Application, leer)->ShowModal();
    }
    if (was == L"packer") {
        TArchivEinstellungen arc;
        arc.ArjPath = L"c:\\packer\\arj.exe";
        arc.RarPath = L"c:\\packer\\rar.exe";
        arc.UseInternUnArj = arc.UseInternUnLha = true;
        TExtArcKonfigDlg* dlg = nullptr;
        WeiterePackerKonfigurieren(Application, dlg, arc);
        return 0;
    }
    static TDateiTypListe typen;
    DateiTypenLaden(typen);
    if (was == L"typenbearbeiten") return Create<TTypenBearbeitenDlg>(Application, typen)->ShowModal();
    if (was == L"neuertyp") return Create<TNeuerDateiTypDlg>(Application)->ShowModal();
    if (was == L"gruppe" || was == L"gruppe2") {
        auto* dlg = Create<TFilterAuswahlDlg>(Application, typen);
        if (was == L"gruppe2") dlg->Seiten.SetActivePageIndex(1);
        return dlg->ShowModal();
    }
    return -1;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    TApplication application;
    const std::wstring was = ParamCount() >= 1 ? ParamStr(1) : L"kopieren";
    return Zeigen(was) < 0 ? 2 : 0;
}
