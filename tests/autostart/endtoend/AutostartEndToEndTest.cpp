#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>
#include <shobjidl.h>

#include <fstream>
#include <sstream>

#include "../starter/StartRecorder.h"
#include "OtherProcess.h"
#include "autostart/common/AutostartList.h"
#include "autostart/manager/StarterLink.h"
#include "foundation/ShellLink.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/Registry.h"
#include "../ShortcutDescription.h"

using namespace velmora;

namespace {

const std::wstring kListKey = L".default\\Software\\Quorin Ashvale\\Autostartman";

std::string ReadAll(const std::wstring& path) {
    std::ifstream in(std::string(path.begin(), path.end()), std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string Joined(const std::vector<std::wstring>& texts) {
    std::string all;
    for (const auto& t : texts) all += std::string(t.begin(), t.end()) + " | ";
    return all;
}

// Both programs installed side by side in a folder with a long name, as a user
// would have them; the list holds one entry for the recorder that starts at once.
class AutostartEndToEndTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
        m_folder = TempDirectory() + L"Velmora Autostart Programme\\";
        ForceDirectories(m_folder);
        ASSERT_TRUE(CopyFileW(HostPathToWindows(VELMORA_KELVANE).c_str(), (m_folder + L"Kelvane.exe").c_str(), FALSE));
        ASSERT_TRUE(CopyFileW(HostPathToWindows(VELMORA_DROMMEL).c_str(), (m_folder + L"Drommel.exe").c_str(), FALSE));
        m_log = m_folder + L"rekorder.log";
        DeleteFileW(m_log.c_str());
        m_link = StartupFolder() + L"Drommel.lnk";
        DeleteFileW(m_link.c_str());
        DeleteRegistryTree(HKEY_USERS, kListKey);
        m_list = {TEintrag{L"Rekorder", HostPathToWindows(VELMORA_STARTREC), L"\"" + m_log + L"\" beim Anmelden", 0, 0}};
        SaveAutostartList(m_list);
    }
    void TearDown() override {
        DeleteFileW(m_link.c_str());
        DeleteRegistryTree(HKEY_USERS, kListKey);
        for (auto name : {L"Kelvane.exe", L"Drommel.exe", L"rekorder.log"}) DeleteFileW((m_folder + name).c_str());
        RemoveDirectoryW(m_folder.c_str());
        CoUninitialize();
    }

    std::wstring m_folder, m_log, m_link;
    TEintragList m_list;
};

}  // namespace

TEST_F(AutostartEndToEndTest, KelvaneOffersTheShortcutAndDrommelStartsTheList) {
    {
        TOtherProcess kelvane(m_folder + L"Kelvane.exe", m_folder);
        ASSERT_TRUE(kelvane.Started());
        HWND main = kelvane.WaitForWindow(L"Autostartmanager");
        ASSERT_NE(main, nullptr);
        HWND ok = FindChildByText(main, L"OK");
        ASSERT_NE(ok, nullptr) << Joined(ChildTexts(main));
        PressButton(ok);

        HWND question = kelvane.WaitForWindow(L"Bestätigen");
        ASSERT_NE(question, nullptr) << "no question whether to add the autostarter";
        HWND yes = FindChildByText(question, L"&Ja");
        ASSERT_NE(yes, nullptr) << Joined(ChildTexts(question));
        PressButton(yes);
        ASSERT_TRUE(kelvane.WaitForExit());
    }
    ASSERT_TRUE(FileExists(m_link));
    std::wstring target;
    ReadShellLink(m_link, target);
    EXPECT_EQ(target, ShortPathName(m_folder + L"Drommel.exe"));
    EXPECT_EQ(LinkDescription(m_link), L"Autostarter");
    EXPECT_EQ(LoadAutostartList(), m_list) << "OK saves the list as it was loaded";

    HANDLE ran = CreateEventW(nullptr, TRUE, FALSE, kRecorderEvent);
    ASSERT_NE(ran, nullptr);
    {
        TOtherProcess drommel(m_folder + L"Drommel.exe", m_folder);
        ASSERT_TRUE(drommel.Started());
        EXPECT_EQ(WaitForSingleObject(ran, 30000), WAIT_OBJECT_0);
        EXPECT_TRUE(drommel.WaitForExit());
    }
    CloseHandle(ran);
    EXPECT_EQ(ReadAll(m_log), "gestartet beim Anmelden\r\n");
}
