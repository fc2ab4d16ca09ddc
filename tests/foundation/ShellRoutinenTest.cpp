#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <cstring>
#include <vector>

#include "TestFiles.h"
#include "foundation/ComPtr.h"
#include "foundation/ShellRoutinen.h"
#include "platform/rtl/PathNames.h"
#include "platform/rtl/Strings.h"

using namespace velmora;
using velmora::test::TTempFolder;

namespace {

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
        ASSERT_TRUE(SUCCEEDED(SHGetDesktopFolder(m_desktop.Put())));
    }
    void TearDown() override {
        m_desktop.Reset();
        CoUninitialize();
    }
    TPidl Parse(const std::wstring& path) {
        TPidl pidl;
        EXPECT_TRUE(PfadZuPidl(m_desktop.Get(), path, pidl, nullptr)) << ToUtf8(path);
        return pidl;
    }
    void Point(TItemData& item, const std::wstring& path) { item.AbsPidl = Parse(path); }

    TComPtr<IShellFolder> m_desktop;
    TTempFolder m_folder{L"velmora shell test"};
};

// Two items of 3 and 5 bytes in a hand-made list.
std::vector<BYTE> TwoItems() { return {5, 0, 'a', 'b', 'c', 7, 0, 1, 2, 3, 4, 5, 0, 0}; }

}  // namespace

TEST(GroesseInKB, RoundsToTheNearestWithTiesToEvenAndAtLeastOne) {
    const struct {
        std::int64_t bytes;
        const wchar_t* text;
    } cases[] = {
        {0, L"0 KB"},       {1, L"1 KB"},           {512, L"1 KB"},    {1023, L"1 KB"},
        {1024, L"1 KB"},    {1535, L"1 KB"},        {1536, L"2 KB"},   {2560, L"2 KB"},
        {2561, L"3 KB"},    {3584, L"4 KB"},        {2147483647LL, L"2097152 KB"},
        {4294967296LL + 1536, L"4194306 KB"},       {5LL << 30, L"5242880 KB"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GroesseInKB(c.bytes), c.text) << c.bytes;
}

TEST(AttributString, LettersInOrderArchiveReadOnlyHiddenSystem) {
    EXPECT_EQ(AttributString(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN), L"-rv-");
    EXPECT_EQ(AttributString(FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                             FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY),
              L"arvs");
    EXPECT_EQ(AttributString(0), L"----");
    EXPECT_EQ(AttributString(FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_SYSTEM), L"a--s");
}

TEST(Pidl, SizeCountsEveryItemAndTheTerminator) {
    std::vector<BYTE> two = TwoItems();
    EXPECT_EQ(PidlGroesse(reinterpret_cast<LPCITEMIDLIST>(two.data())), 14u);
    BYTE empty[2] = {0, 0};
    EXPECT_EQ(PidlGroesse(reinterpret_cast<LPCITEMIDLIST>(empty)), 2u);
    EXPECT_EQ(PidlGroesse(nullptr), 0u);
}

TEST(Pidl, CreatedBufferIsZeroFilled) {
    TPidl p = PidlAnlegen(40);
    ASSERT_TRUE(p);
    auto bytes = reinterpret_cast<const BYTE*>(p.get());
    for (int i = 0; i < 40; ++i)
        EXPECT_EQ(bytes[i], 0) << i;
}

TEST(Pidl, ConcatenationDropsTheFirstTerminator) {
    std::vector<BYTE> two = TwoItems();
    auto list = reinterpret_cast<LPCITEMIDLIST>(two.data());

    TPidl copy = PidlVerketten(nullptr, list);
    ASSERT_TRUE(copy);
    EXPECT_EQ(std::memcmp(copy.get(), two.data(), two.size()), 0);

    TPidl both = PidlVerketten(list, list);
    ASSERT_EQ(PidlGroesse(both.get()), 26u);
    auto bytes = reinterpret_cast<const BYTE*>(both.get());
    EXPECT_EQ(std::memcmp(bytes, two.data(), 12), 0);
    EXPECT_EQ(std::memcmp(bytes + 12, two.data(), 14), 0);
}

TEST_F(ShellTest, ParsedPathGivesItsDisplayNames) {
    const std::wstring path = m_folder.MakeFile(L"Ein langer Name.text");
    TPidl abs = Parse(path);
    std::wstring name;
    ASSERT_TRUE(PidlAnzeigename(m_desktop.Get(), abs.get(), SHGDN_FORPARSING, name));
    EXPECT_EQ(AsciiLower(name), AsciiLower(path));

    TComPtr<IShellFolder> folder;
    TPidl folderPidl = Parse(ExtractFileDir(path));
    ASSERT_TRUE(SUCCEEDED(m_desktop->BindToObject(folderPidl.get(), nullptr, IID_IShellFolder, folder.PutVoid())));
    TPidl rel;
    ASSERT_TRUE(PfadZuPidl(folder.Get(), L"Ein langer Name.text", rel, nullptr));
    ASSERT_TRUE(PidlAnzeigename(folder.Get(), rel.get(), SHGDN_INFOLDER | SHGDN_FORPARSING, name));
    EXPECT_EQ(name, L"Ein langer Name.text");
}

TEST_F(ShellTest, PathsAtTheShellLimitAreRefusedNotCut) {
    TPidl pidl;
    std::wstring tooLong = m_folder.Path() + std::wstring(MAX_PATH, L'x');
    EXPECT_FALSE(PfadZuPidl(m_desktop.Get(), tooLong, pidl, nullptr));
    EXPECT_FALSE(pidl);
    // The cut-down form names an existing folder, which a truncating parse would find.
    const std::wstring cut = tooLong.substr(0, m_folder.Path().size() - 1);
    EXPECT_TRUE(PfadZuPidl(m_desktop.Get(), cut, pidl, nullptr));
}

TEST_F(ShellTest, FileInfoOfALongNameGivesSizeAttributesLocalDateAndShortName) {
    const std::wstring path = m_folder.MakeFile(L"Langer Dateiname Nummer eins.text", 3000);
    // 14 March 2021, 15:26:08 local time.
    SYSTEMTIME st{2021, 3, 0, 14, 15, 26, 8, 0};
    FILETIME local, utc;
    ASSERT_TRUE(SystemTimeToFileTime(&st, &local) && LocalFileTimeToFileTime(&local, &utc));
    HANDLE h = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    SetFileTime(h, nullptr, nullptr, &utc);
    CloseHandle(h);
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);

    TItemData item;
    Point(item, path);
    ASSERT_TRUE(DateiInfoAusPidl(item));
    EXPECT_TRUE(item.DatenGeladen);
    EXPECT_EQ(item.Groesse, 3000);
    EXPECT_EQ(item.Attr, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);
    const DateParts d = DecodeDateTime(item.Datum);
    EXPECT_EQ(d.year, 2021);
    EXPECT_EQ(d.month, 3);
    EXPECT_EQ(d.day, 14);
    EXPECT_EQ(d.hour, 15);
    EXPECT_EQ(d.minute, 26);
    EXPECT_EQ(d.second, 8);
    // Wine hashes its short names; the system's own answer is the reference.
    const std::wstring shortName = ExtractFileName(ShortPathName(path));
    ASSERT_FALSE(shortName.empty());
    EXPECT_NE(shortName, L"Langer Dateiname Nummer eins.text");
    EXPECT_EQ(item.DosName, shortName);
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(ShellTest, AnEightDotThreeNameHasNoDosName) {
    TItemData item;
    Point(item, m_folder.MakeFile(L"KURZ.TXT", 1));
    ASSERT_TRUE(DateiInfoAusPidl(item));
    EXPECT_EQ(item.DosName, L"");
    EXPECT_EQ(item.Groesse, 1);
}

TEST_F(ShellTest, VirtualOrVanishedItemsLeaveTheRecordAlone) {
    TItemData item;
    LPITEMIDLIST drives = nullptr;
    ASSERT_TRUE(SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &drives)));
    item.AbsPidl.reset(drives);
    item.Groesse = 77;
    EXPECT_FALSE(DateiInfoAusPidl(item));
    EXPECT_FALSE(item.DatenGeladen);
    EXPECT_EQ(item.Groesse, 77);

    const std::wstring path = m_folder.MakeFile(L"weg.txt", 10);
    TItemData gone;
    Point(gone, path);
    DeleteFileW(path.c_str());
    EXPECT_FALSE(DateiInfoAusPidl(gone));
    EXPECT_FALSE(gone.DatenGeladen);
}

TEST_F(ShellTest, TypeNameOfARegisteredExtension) {
    velmora::test::TRegisteredFileType type(L"vlmzt", L"Velmora-Testdatei");
    TPidl abs = Parse(m_folder.MakeFile(L"probe.vlmzt"));
    std::wstring typeName;
    DateiTypNameOhneZugriff(abs.get(), typeName);
    EXPECT_EQ(typeName, L"Velmora-Testdatei");
    typeName.clear();
    DateiTypName(abs.get(), SHGFI_SYSICONINDEX | SHGFI_SMALLICON, typeName);
    EXPECT_EQ(typeName, L"Velmora-Testdatei");
}

TEST_F(ShellTest, ContextMenuOfADriveRootDoesNothing) {
    EXPECT_FALSE(KontextmenueZeigen(L"C:\\", nullptr, POINT{0, 0}));
    EXPECT_FALSE(DateiEigenschaftenZeigen(L"", nullptr));
    EXPECT_FALSE(KontextmenueOffen);
}
