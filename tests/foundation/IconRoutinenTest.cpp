#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>

#include "TestFiles.h"
#include "foundation/ArchiveExtension.h"
#include "foundation/IconRoutinen.h"

using namespace velmora;

TEST(IconRoutinen, AppendsItsSixIconsToBothSystemListsInOrder) {
    CoInitialize(nullptr);
    SHFILEINFOW info{};
    auto small = reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoW(L"", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    auto large = reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoW(L"", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_LARGEICON));
    ASSERT_TRUE(small && large);
    const int smallBefore = ImageList_GetImageCount(small);
    const int largeBefore = ImageList_GetImageCount(large);

    TIconRoutinen icons;
    EXPECT_EQ(icons.SmallImages, small);
    EXPECT_EQ(icons.LargeImages, large);
    EXPECT_EQ(ImageList_GetImageCount(small), smallBefore + 6);
    EXPECT_EQ(ImageList_GetImageCount(large), largeBefore + 6);
    EXPECT_EQ(icons.UpDirIndex, smallBefore);
    EXPECT_EQ(icons.FolderIndex, smallBefore + 1);
    EXPECT_EQ(icons.ProgramIndex, smallBefore + 2);
    EXPECT_EQ(icons.UnknownIndex, smallBefore + 3);
    EXPECT_EQ(icons.ArchiveIndex, smallBefore + 4);
    EXPECT_EQ(icons.OpenArchiveIndex, smallBefore + 5);
    EXPECT_EQ(icons.GetArchiveIconIndex(), icons.ArchiveIndex);
    EXPECT_EQ(icons.GetOpenArchiveIconIndex(), icons.OpenArchiveIndex);

    const struct {
        const wchar_t* name;
        int expected;
    } cases[] = {
        {L"", icons.FolderIndex},
        {L"setup.exe", icons.ProgramIndex},
        {L"setup.exe1", icons.ProgramIndex},  // cut to three characters first
        {L"C:\\DOS\\EDIT.COM", icons.ProgramIndex},
        {L"autoexec.Bat", icons.ProgramIndex},
        {L"readme", icons.UnknownIndex},
        {L"brief.txt", icons.UnknownIndex},
        {L"paket.ZIP", icons.ArchiveIndex},
        {L"x.lzh", icons.ArchiveIndex},
        {L"x.ice", icons.ArchiveIndex},
        {L"x.zoo", icons.ArchiveIndex},
        {L"x.pak", icons.ArchiveIndex},
        {L"x.zipper", icons.ArchiveIndex},
        {L"C:\\alt.zip\\liesmich", icons.UnknownIndex},  // the dot belongs to a folder
        {L"a:b", icons.UnknownIndex},
    };
    for (const auto& c : cases)
        EXPECT_EQ(icons.GetIconIndex(c.name), c.expected) << std::string(c.name, c.name + wcslen(c.name));
    CoUninitialize();
}

TEST(IconRoutinen, ShellTypeNameAndIconOfANameThatDoesNotExist) {
    CoInitialize(nullptr);
    velmora::test::TRegisteredFileType type(L"vlmzi", L"Velmora-Archiveintrag");
    TIconRoutinen icons;
    std::wstring typeName = L"alt";
    icons.GetFileTypeName(L"Z:\\gibt es nicht.zip\\unter\\eintrag.vlmzi", typeName);
    EXPECT_EQ(typeName, L"Velmora-Archiveintrag");

    SHFILEINFOW info{};
    SHGetFileInfoW(L"eintrag.vlmzi", FILE_ATTRIBUTE_NORMAL, &info, sizeof info,
                   SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES);
    EXPECT_EQ(icons.GetSystemIconIndex(L"Z:\\nirgends\\eintrag.vlmzi", FILE_ATTRIBUTE_NORMAL), info.iIcon);
    CoUninitialize();
}

TEST(ArchiveExtension, TheEightExtensionsWithOrWithoutDotInAnyCase) {
    for (const wchar_t* ext : {L"zip", L".ZIP", L"arj", L"lzh", L".Ice", L"rar", L"arc", L"pak", L"zoo"})
        EXPECT_TRUE(IsArchiveExtension(ext)) << std::string(ext, ext + wcslen(ext));
    for (const wchar_t* ext : {L"", L".", L"zi", L"zipx", L"cab", L"tar", L"..zip", L"exe"})
        EXPECT_FALSE(IsArchiveExtension(ext)) << std::string(ext, ext + wcslen(ext));
}
