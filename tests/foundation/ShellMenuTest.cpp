#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include "TestFiles.h"
#include "foundation/ComPtr.h"
#include "foundation/ShellRoutinen.h"
#include "platform/rtl/PathNames.h"

using namespace velmora;

namespace {

bool g_menuWasOpen = false;
bool g_flagWhileOpen = false;

// Fires inside the menu's own loop: notes what it sees and cancels the menu.
void CALLBACK CancelMenu(HWND window, UINT, UINT_PTR id, DWORD) {
    KillTimer(window, id);
    g_menuWasOpen = true;
    g_flagWhileOpen = KontextmenueOffen;
    EndMenu();
}

class ShellMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
        m_owner = CreateWindowExW(0, L"STATIC", L"Besitzer", WS_OVERLAPPEDWINDOW, 0, 0, 200, 200, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(m_owner, nullptr);
        ShowWindow(m_owner, SW_SHOW);
        // A pop-up menu of a window that is not in front may close at once.
        SetForegroundWindow(m_owner);
        g_menuWasOpen = g_flagWhileOpen = false;
        SetTimer(m_owner, 1, 300, CancelMenu);
    }
    void TearDown() override {
        DestroyWindow(m_owner);
        OleUninitialize();
    }
    HWND m_owner = nullptr;
    velmora::test::TTempFolder m_folder{L"velmora shell menu"};
};

}  // namespace

TEST_F(ShellMenuTest, CancellingTheMenuOfAPathRunsNothing) {
    const std::wstring path = m_folder.MakeFile(L"bleibt.txt", 4);
    EXPECT_TRUE(KontextmenueZeigen(path, m_owner, POINT{20, 20}));
    EXPECT_TRUE(g_menuWasOpen);
    EXPECT_TRUE(FileExists(path));
    EXPECT_FALSE(KontextmenueOffen);
}

TEST_F(ShellMenuTest, TheMenuOfAnItemSetsTheFlagWhileItIsOpen) {
    const std::wstring path = m_folder.MakeFile(L"auch.txt", 4);
    TComPtr<IShellFolder> desktop, folder;
    ASSERT_TRUE(SUCCEEDED(SHGetDesktopFolder(desktop.Put())));
    TPidl folderPidl, item;
    ASSERT_TRUE(PfadZuPidl(desktop.Get(), ExtractFileDir(path), folderPidl, m_owner));
    ASSERT_TRUE(SUCCEEDED(desktop->BindToObject(folderPidl.get(), nullptr, IID_IShellFolder, folder.PutVoid())));
    ASSERT_TRUE(PfadZuPidl(folder.Get(), L"auch.txt", item, m_owner));
    PidlKontextmenue(m_owner, folder.Get(), item.get(), POINT{20, 20});
    EXPECT_TRUE(g_menuWasOpen);
    EXPECT_TRUE(g_flagWhileOpen);
    EXPECT_FALSE(KontextmenueOffen);
    EXPECT_TRUE(FileExists(path));
}
