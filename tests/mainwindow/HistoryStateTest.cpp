// Leaves the lists of one session in the registry for the system's own tool to
// list (history-regquery.sh): nothing is cleared afterwards.

#include "MainWindowFixture.h"
#include "mainwindow/HistoryRules.h"

using namespace velmora;
using namespace velmora::gui;

TEST(HistoryState, ASessionsAdditionsAreStoredAtClose) {
    for (auto list : {L"Mainform", L"RecentDirs", L"RecentFiles", L"RecentArcs", L"RecentParameters"})
        RegDeleteUserKey(ProgrammSchluessel, list);
    TMessageBoxRecorder boxes;
    auto* form = Create<THauptform>(nullptr);
    // The panes go into the application's main window.
    Application->SetMainForm(form);
    form->Show();
    Application->ProcessMessages();
    form->AddDirHistory(L"C:\\Eins\\");
    form->AddDirHistory(L"c:\\zwei");
    form->AddArchiveHistory(L"C:\\A.ZIP");
    form->AddPathHistory(L"c:\\Datei.txt");
    AddNewestFirst(form->History->RecentParameters, L"-a");
    AddNewestFirst(form->History->RecentParameters, L"-B");
    TStringList lines = form->DOSBefehlszeile.Items();
    AddNewestFirst(lines, L"dir");
    AddNewestFirst(lines, L"CLS");
    form->DOSBefehlszeile.SetItems(lines);
    Application->SetMainForm(nullptr);
    form->Close();
    Application->ProcessMessages();
    EXPECT_FALSE(form->Visible());
    form->Free();
    EXPECT_TRUE(boxes.Calls().empty());
}
