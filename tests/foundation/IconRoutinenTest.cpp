#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>

#include <vector>

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

namespace {

// The image at Index as drawn on white.
std::vector<DWORD> Drawn(HIMAGELIST List, int Index) {
    int cx = 0, cy = 0;
    ImageList_GetIconSize(List, &cx, &cy);
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), cx, -cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT all{0, 0, cx, cy};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    ImageList_Draw(List, Index, dc, 0, 0, ILD_NORMAL);
    GdiFlush();
    std::vector<DWORD> pixels(static_cast<const DWORD*>(bits), static_cast<const DWORD*>(bits) + cx * cy);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return pixels;
}

}  // namespace

// The program's start builds the lists and appends the six icons on a thread:
// the first routines take what it built, and find each icon where its index
// says, in both lists; any later routines append their own again.
TEST(IconRoutinen, TheFirstRoutinesTakeWhatThePreparationBuilt) {
    CoInitialize(nullptr);
    SystemImageListsVorbereiten();
    TIconRoutinen prepared;
    ASSERT_TRUE(prepared.SmallImages && prepared.LargeImages);
    const int small = ImageList_GetImageCount(prepared.SmallImages);
    const int large = ImageList_GetImageCount(prepared.LargeImages);
    EXPECT_EQ(prepared.UpDirIndex, small - 6);
    EXPECT_EQ(prepared.OpenArchiveIndex, small - 1);

    TIconRoutinen own;
    EXPECT_EQ(ImageList_GetImageCount(prepared.SmallImages), small + 6);
    EXPECT_EQ(ImageList_GetImageCount(prepared.LargeImages), large + 6);
    EXPECT_EQ(own.UpDirIndex, small);
    const int TIconRoutinen::*const indexes[] = {&TIconRoutinen::UpDirIndex,   &TIconRoutinen::FolderIndex,
                                                 &TIconRoutinen::ProgramIndex, &TIconRoutinen::UnknownIndex,
                                                 &TIconRoutinen::ArchiveIndex, &TIconRoutinen::OpenArchiveIndex};
    for (HIMAGELIST list : {prepared.SmallImages, prepared.LargeImages}) {
        for (auto index : indexes)
            EXPECT_EQ(Drawn(list, prepared.*index), Drawn(list, own.*index)) << prepared.*index;
        EXPECT_NE(Drawn(list, prepared.UpDirIndex), Drawn(list, prepared.FolderIndex));
    }
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
