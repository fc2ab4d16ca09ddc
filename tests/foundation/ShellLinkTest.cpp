#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>

#include <fstream>

#include "foundation/ShellLink.h"
#include "platform/rtl/FileSystem.h"

using namespace velmora;

namespace {

class ShellLinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
        m_dir = TempDirectory() + L"velmora shelllink test\\";
        ForceDirectories(m_dir);
    }
    void TearDown() override {
        for (auto name : {L"Ein sehr langer Dateiname.text", L"Zweites Ziel.text", L"link.lnk", L"kein.lnk"})
            DeleteFileW((m_dir + name).c_str());
        RemoveDirectoryW(m_dir.c_str());
        CoUninitialize();
    }
    std::wstring MakeFile(const std::wstring& name) {
        std::wstring path = m_dir + name;
        HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        EXPECT_NE(h, INVALID_HANDLE_VALUE);
        CloseHandle(h);
        return path;
    }
    std::wstring m_dir;
};

}  // namespace

TEST_F(ShellLinkTest, TargetReadsBackInShortFormAndCanBeReplaced) {
    std::wstring first = MakeFile(L"Ein sehr langer Dateiname.text");
    std::wstring second = MakeFile(L"Zweites Ziel.text");
    std::wstring link = m_dir + L"link.lnk";

    ASSERT_TRUE(CreateShellLink(first, link, L"Erstes"));
    std::wstring target;
    ReadShellLink(link, target);
    ASSERT_FALSE(ShortPathName(first).empty());
    EXPECT_EQ(target, ShortPathName(first));

    ASSERT_TRUE(CreateShellLink(second, link, L"Zweites"));
    ReadShellLink(link, target);
    EXPECT_EQ(target, ShortPathName(second));
}

TEST_F(ShellLinkTest, AFileThatIsNoShortcutGivesAnEmptyTarget) {
    std::wstring fake = m_dir + L"kein.lnk";
    {
        std::ofstream out(std::string(fake.begin(), fake.end()));
        out << "kein Verweis";
    }
    std::wstring target = L"alt";
    ReadShellLink(fake, target);
    EXPECT_EQ(target, L"");
    ReadShellLink(m_dir + L"fehlt.lnk", target);
    EXPECT_EQ(target, L"");
}

TEST_F(ShellLinkTest, ATargetThatIsGoneReadsAsStored) {
    std::wstring gone = m_dir + L"Zweites Ziel.text";
    std::wstring link = m_dir + L"link.lnk";
    MakeFile(L"Zweites Ziel.text");
    ASSERT_TRUE(CreateShellLink(gone, link, L"weg"));
    DeleteFileW(gone.c_str());
    std::wstring target;
    ReadShellLink(link, target);
    EXPECT_EQ(target, gone);
}
