#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "autostart/manager/StarterLink.h"
#include "foundation/ShellLink.h"
#include "platform/rtl/FileSystem.h"
#include "../ShortcutDescription.h"

using namespace velmora;

namespace {

// Uses the prefix's real Startup folder, which the tests with the same lock share.
class StarterLinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
        m_startup = StartupFolder();
        ASSERT_FALSE(m_startup.empty());
        m_link = m_startup + L"Drommel.lnk";
        DeleteFileW(m_link.c_str());
        m_own = TempDirectory() + L"Kelvane Ordner\\";
        ForceDirectories(m_own);
    }
    void TearDown() override {
        DeleteFileW(m_link.c_str());
        DeleteFileW((m_own + L"Drommel.exe").c_str());
        RemoveDirectoryW(m_own.c_str());
        CoUninitialize();
    }
    void PutStarter() {
        HANDLE h = CreateFileW((m_own + L"Drommel.exe").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        CloseHandle(h);
    }
    TConfirm Answer(bool yes) {
        return [this, yes](const std::wstring& q) {
            questions.push_back(q);
            return yes;
        };
    }

    std::wstring m_startup, m_link, m_own;
    std::vector<std::wstring> questions;
};

}  // namespace

TEST_F(StarterLinkTest, StartupFolderEndsWithBackslash) {
    EXPECT_EQ(m_startup.back(), L'\\');
    EXPECT_TRUE(DirectoryExists(m_startup));
}

TEST_F(StarterLinkTest, AnEmptyListOffersNothing) {
    PutStarter();
    EnsureStarterLink(true, m_own, Answer(true));
    EXPECT_TRUE(questions.empty());
    EXPECT_FALSE(FileExists(m_link));
}

TEST_F(StarterLinkTest, YesMakesTheShortcutToTheStarterBesideTheManager) {
    PutStarter();
    EnsureStarterLink(false, m_own, Answer(true));
    EXPECT_EQ(questions, std::vector<std::wstring>{
                             L"Der Autostarter befindet sich nicht in Ihrer Autostartgruppe.\rSoll er hinzugefügt werden?"});
    ASSERT_TRUE(FileExists(m_link));
    std::wstring target;
    ReadShellLink(m_link, target);
    EXPECT_EQ(target, ShortPathName(m_own + L"Drommel.exe"));
    EXPECT_EQ(LinkDescription(m_link), L"Autostarter");
}

TEST_F(StarterLinkTest, AnExistingShortcutAsksNothingAndIsKept) {
    PutStarter();
    EnsureStarterLink(false, m_own, Answer(true));
    questions.clear();
    EnsureStarterLink(false, m_own, Answer(true));
    EXPECT_TRUE(questions.empty());
    EXPECT_TRUE(FileExists(m_link));
}

TEST_F(StarterLinkTest, NoAndAMissingStarterCreateNothing) {
    PutStarter();
    EnsureStarterLink(false, m_own, Answer(false));
    EXPECT_EQ(questions.size(), 1u);
    EXPECT_FALSE(FileExists(m_link));

    DeleteFileW((m_own + L"Drommel.exe").c_str());
    EnsureStarterLink(false, m_own, Answer(true));
    EXPECT_EQ(questions.size(), 2u);
    EXPECT_FALSE(FileExists(m_link));
}
