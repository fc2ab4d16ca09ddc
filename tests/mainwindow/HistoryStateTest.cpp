// The lists of one session as the registry holds them after the close, read
// back with the system's own calls: the path lists oldest first, parameters and
// command lines newest first.

#include <algorithm>

#include "MainWindowFixture.h"
#include "mainwindow/HistoryRules.h"

using namespace velmora;
using namespace velmora::gui;

namespace {

// The string values of one key below the program's key, as sorted "name=value".
std::vector<std::wstring> StoredValues(const std::wstring& key) {
    std::vector<std::wstring> out;
    HKEY h;
    if (RegOpenKeyExW(HKEY_USERS, (L".default\\Software\\Quorin Ashvale\\Velmora\\1.0\\" + key).c_str(), 0, KEY_READ,
                      &h) != ERROR_SUCCESS)
        return out;
    for (DWORD i = 0;; ++i) {
        wchar_t name[256], data[1024] = {};
        DWORD nameSize = 256, type = 0, size = sizeof data - sizeof(wchar_t);
        if (RegEnumValueW(h, i, name, &nameSize, nullptr, &type, reinterpret_cast<BYTE*>(data), &size) != ERROR_SUCCESS)
            break;
        if (type == REG_SZ) out.push_back(std::wstring(name) + L"=" + data);
    }
    RegCloseKey(h);
    std::sort(out.begin(), out.end());
    return out;
}

}  // namespace

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
    using V = std::vector<std::wstring>;
    EXPECT_EQ(StoredValues(L"RecentDirs"), (V{L"0=c:\\eins", L"1=c:\\zwei"}));
    EXPECT_EQ(StoredValues(L"RecentFiles"), (V{L"0=c:\\eins", L"1=c:\\zwei", L"2=c:\\a.zip", L"3=c:\\datei.txt"}));
    EXPECT_EQ(StoredValues(L"RecentArcs"), (V{L"0=c:\\a.zip"}));
    EXPECT_EQ(StoredValues(L"RecentParameters"), (V{L"0=-B", L"1=-a"}));
    EXPECT_EQ(StoredValues(L"Mainform\\DOSBefehlszeile"), (V{L"0=CLS", L"1=dir"}));
}
