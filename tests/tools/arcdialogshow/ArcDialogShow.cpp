// Shows one archive dialog with sample data until it is closed, for the
// screenshots: arcdialogshow.exe hinzufuegen|hinzufuegen2|hinzufuegen3|
// extrahieren|extrahieren2|extrahieren3|inhalt|ersetzen|passwort|loeschen|
// testen|eigenschaften|pfade

#include <windows.h>

#include <memory>

#include "archive/operations/AddArcDlg.h"
#include "archive/operations/ArcKleineDialoge.h"
#include "archive/operations/ExtractArcDlg.h"
#include "archive/operations/StilleHost.h"
#include "archive/operations/StoredZip.h"
#include "archive/operations/ZipRoutinen.h"
#include "foundation/IconRoutinen.h"
#include "platform/gui/Application.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/PathNames.h"

using namespace velmora;
using namespace velmora::archive;
using namespace velmora::gui;

namespace {

// The routines' questions to a window that has no status line.

std::unique_ptr<TEineDatei> Record(const std::wstring& name, bool inArchive) {
    auto record = std::make_unique<TEineDatei>();
    record->Name = name;
    record->InArchive = inArchive;
    record->ArchivPfad = inArchive ? L"c:\\archive\\projekt.zip" : L"";
    return record;
}

std::wstring BeispielArchiv() {
    const std::wstring path = TempDirectory() + L"projekt.zip";
    const std::string data = test::StoredZip({{"Projekt/Liesmich.txt", "Hallo"},
                                              {"Projekt/Bilder/Titel.bmp", "BM"},
                                              {"Projekt/Bilder/Logo.ico", "ico"},
                                              {"Projekt/Quellen/Haupt.cpp", "int main() {}"},
                                              {"Projekt/Quellen/Haupt.h", "#pragma once"},
                                              {"Setup.exe", "MZ"}});
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(h, data.data(), static_cast<DWORD>(data.size()), &written, nullptr);
    CloseHandle(h);
    return path;
}

int Zeigen(const std::wstring& was) {
    SetDllDirectoryW(test::WineSicht(VELMORA_ZIPLIB_DIR).c_str());
    test::TStilleHost host;
    TZipLib zip(nullptr);
    arc::TArcLister lister;
    TZipRoutinen routinen(host, zip, lister);
    routinen.Packer.UseInternZip = true;
    zip.OnListing = [&](TZipLib*, const TZlFileStats& s) { routinen.AddXZipEntry(s); };
    TIconRoutinen icons;
    IconRoutinen = &icons;
    TStringList recentArcs{L"c:\\archive\\alt.zip", L"c:\\archive\\projekt.zip"};
    TStringList recentFiles{L"c:\\daten\\notizen.txt"};
    TStringList recentDirs{L"c:\\sicherung", L"d:\\austausch"};
    TDateiListe korb;
    korb.push_back(Record(L"c:\\daten\\brief.doc", false));
    TDateiDialogKontext kontext;
    kontext.RecentArcs = &recentArcs;
    kontext.RecentFiles = &recentFiles;
    kontext.RecentDirs = &recentDirs;
    kontext.Sammelkorb = &korb;
    kontext.ZipRoutinen = &routinen;
    kontext.GetShowIcons = [] { return true; };
    TDateiListe list;

    if (was.starts_with(L"hinzufuegen")) {
        list.push_back(Record(L"c:\\daten\\brief an anna.doc", false));
        list.push_back(Record(L"c:\\daten\\rechnung.txt", false));
        auto* dlg = Create<TAddArcDlg>(Application, kontext);
        dlg->ArchivName.SetText(L"c:\\archive\\briefe.zip");
        dlg->SetDateiliste(&list);
        dlg->Seiten.SetActivePageIndex(was == L"hinzufuegen2" ? 1 : was == L"hinzufuegen3" ? 2 : 0);
        return dlg->ShowModal();
    }
    if (was.starts_with(L"extrahieren")) {
        const std::wstring archive = BeispielArchiv();
        list.push_back(Record(L"projekt\\liesmich.txt", true));
        auto* dlg = Create<TExtractArcDlg>(Application, kontext);
        dlg->ArchivName.SetText(SystemLower(archive));
        dlg->Zielverzeichnis.SetText(L"c:\\sicherung");
        dlg->SetDateiliste(&list);
        dlg->Seiten.SetActivePageIndex(was == L"extrahieren2" ? 1 : was == L"extrahieren3" ? 2 : 0);
        const int result = dlg->ShowModal();
        DeleteFileW(archive.c_str());
        return result;
    }
    if (was == L"inhalt") {
        const std::wstring archive = BeispielArchiv();
        auto* dlg = Create<TArchivInhaltDlg>(Application, kontext);
        dlg->SetArchivName(archive);
        const int result = dlg->ShowModal();
        DeleteFileW(archive.c_str());
        return result;
    }
    if (was == L"ersetzen") {
        auto* dlg = Create<TZipReplaceDlg>(Application);
        dlg->FileLabel.SetFileName(L"projekt\\liesmich.txt");
        dlg->NeuerName.SetText(L"projekt\\liesmich.txt");
        return dlg->ShowModal();
    }
    if (was == L"passwort") {
        auto* dlg = Create<TArcPassWortEingebenDlg>(Application);
        dlg->FileNameLabel.SetFileName(L"projekt\\geheim.txt");
        return dlg->ShowModal();
    }
    if (was == L"loeschen" || was == L"testen") {
        for (const wchar_t* name : {L"projekt\\liesmich.txt", L"projekt\\bilder\\*.*", L"setup.exe"})
            list.push_back(Record(name, true));
        auto* dlg = Create<TDeleteFromArcDlg>(Application, kontext);
        if (was == L"testen")
            dlg->SetTexte(L"Parameter für Testoperation", L"&Testen", L"Datei(en) in Archiv testen",
                          L"Folgende Dateien im Archiv sollen getestet werden:", 19);
        dlg->FileLabel.SetFileName(L"c:\\archive\\projekt.zip");
        dlg->SetDateiliste(&list);
        return dlg->ShowModal();
    }
    if (was == L"eigenschaften") {
        auto* dlg = Create<TZippedFileEigenschaftenDlg>(Application);
        dlg->SetCaption(L"Eigenschaften von projekt\\liesmich.txt");
        dlg->ArchivName.SetFileName(L"c:\\archive\\projekt.zip");
        dlg->DateiName.SetFileName(L"projekt\\liesmich.txt");
        dlg->Dateityp.SetCaption(L"Textdokument");
        dlg->Originalgroesse.SetCaption(L"12.345 Bytes");
        dlg->PackedSize.SetCaption(L"3.086 Bytes (75%)");
        dlg->Datum.SetCaption(L"09.01.2026 14:05:00");
        dlg->Archivgroesse.SetCaption(L"1,2 MB");
        dlg->ArcPackedSize.SetCaption(L"512 KB (58%)");
        dlg->AnzahlDateien.SetCaption(L"42");
        dlg->Dateikommentar.AddLine(L"Bitte zuerst lesen.");
        dlg->Archivkommentar.AddLine(L"Projektstand Januar");
        return dlg->ShowModal();
    }
    if (was == L"pfade") return Create<TDropArcPfadeDlg>(Application)->ShowModal();
    return -1;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    TApplication application;
    const std::wstring was = ParamCount() >= 1 ? ParamStr(1) : L"hinzufuegen";
    const int result = Zeigen(was);
    IconRoutinen = nullptr;
    return result < 0 ? 2 : 0;
}
