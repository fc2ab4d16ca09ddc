#include <gtest/gtest.h>

#include "../TestFiles.h"
#include "foundation/controls/BrowseDr.h"
#include "platform/rtl/PathNames.h"

using namespace velmora;
using namespace velmora::gui;

namespace {

int EightPixels(const std::wstring& text) { return 8 * static_cast<int>(text.size()); }

std::wstring Lower(std::wstring text) {
    CharLowerBuffW(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

std::wstring StatusLine(HWND browser) {
    wchar_t buffer[1024] = {};
    GetDlgItemTextW(browser, 14147, buffer, 1024);
    return buffer;
}

void Press(HWND browser, int id) { PostMessageW(browser, WM_COMMAND, id, 0); }

}  // namespace

TEST(BrowseStatusText, AFolderLosesItsFoldersThenItsDrive) {
    const std::wstring path = L"c:\\eins\\zwei\\name.txt";  // 21 characters
    struct Case {
        int chars;
        const wchar_t* fitted;
    } cases[] = {
        {21, L"c:\\eins\\zwei\\name.txt"},
        {20, L"c:\\...\\zwei\\name.txt"},
        {19, L"c:\\...\\name.txt"},
        {15, L"c:\\...\\name.txt"},
        {14, L"...\\name.txt"},
        {12, L"...\\name.txt"},
        {11, L"name.txt"},
        // The name alone is too wide: it stays, and fitting ends.
        {4, L"name.txt"},
        {0, L"name.txt"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FitBrowseStatusText(path, true, 8 * c.chars, EightPixels), c.fitted) << c.chars;
    EXPECT_EQ(FitBrowseStatusText(L"c:\\", true, 8, EightPixels), L"c:");
    EXPECT_EQ(FitBrowseStatusText(L"\\\\srv\\share\\a\\", true, 40, EightPixels), L"\\...\\");
}

TEST(BrowseStatusText, OtherTextIsAShortenedCopyWithDots) {
    EXPECT_EQ(FitBrowseStatusText(L"abcdefghij", false, 80, EightPixels), L"abcdefghij");
    EXPECT_EQ(FitBrowseStatusText(L"abcdefghij", false, 79, EightPixels), L"abcdef...");
    EXPECT_EQ(FitBrowseStatusText(L"abcdefghij", false, 48, EightPixels), L"abc...");
    // Not even the dots fit: they stand alone, and fitting ends.
    EXPECT_EQ(FitBrowseStatusText(L"abcdefghij", false, 8, EightPixels), L"...");
}

TEST(BrowseSelection, AnExistingFolderIsStoredWithItsBackslash) {
    test::TTempFolder folder(L"browsesel");
    const std::wstring path = ExcludeTrailingBackslash(folder.Path());
    TBrowseDirectoryDlg dlg(nullptr);
    dlg.SetSelection(path);
    EXPECT_EQ(dlg.Selection(), folder.Path());
    dlg.SetSelection(path + L"\\fehlt");
    EXPECT_EQ(dlg.Selection(), path + L"\\fehlt");
    // Wildcards name no folder, even where they would match one.
    dlg.SetSelection(path.substr(0, path.size() - 1) + L"?");
    EXPECT_EQ(dlg.Selection(), path.substr(0, path.size() - 1) + L"?");
    dlg.SetSelection(L"c:\\*");
    EXPECT_EQ(dlg.Selection(), L"c:\\*");
    dlg.SetSelection(L"c:");
    EXPECT_EQ(dlg.Selection(), L"c:\\");

    EXPECT_EQ(BrowseSelectionPath(L"c:"), L"c:\\");
    EXPECT_EQ(BrowseSelectionPath(L"c:\\"), L"c:\\");
    EXPECT_EQ(BrowseSelectionPath(L"c:\\a\\"), L"c:\\a");
}

// The real shell browser, driven from its OnCreate: every test presses a button there.
TEST(BrowseDirectoryDlg, OkGivesThePreselectedFolderWithItsBackslash) {
    test::TTempFolder folder(L"browseok");
    TBrowseDirectoryDlg dlg(nullptr);
    dlg.Options = bfDirectoriesOnly;
    dlg.Title = L"Bitte wählen Sie das anzuzeigende Verzeichnis:";
    dlg.SetSelection(ExcludeTrailingBackslash(folder.Path()));
    HWND shown = nullptr;
    bool okEnabled = false;
    dlg.OnCreate = [&](TObject*) {
        shown = dlg.Handle();
        okEnabled = IsWindowEnabled(GetDlgItem(shown, IDOK));
        Press(shown, IDOK);
    };
    ASSERT_TRUE(dlg.Execute());
    EXPECT_NE(shown, nullptr);
    EXPECT_TRUE(okEnabled);
    EXPECT_EQ(dlg.Handle(), nullptr);
    EXPECT_EQ(Lower(dlg.Selection()), Lower(folder.Path()));
    EXPECT_GE(dlg.ImageIndex(), 0);
}

TEST(BrowseDirectoryDlg, CancelEmptiesTheSelection) {
    test::TTempFolder folder(L"browsecancel");
    TBrowseDirectoryDlg dlg(nullptr);
    dlg.SetSelection(folder.Path());
    dlg.OnCreate = [&](TObject*) { Press(dlg.Handle(), IDCANCEL); };
    EXPECT_FALSE(dlg.Execute());
    EXPECT_EQ(dlg.Selection(), L"");
}

TEST(BrowseDirectoryDlg, TheShownBrowserTakesSelectionCaptionAndStatus) {
    test::TTempFolder first(L"browseshown");
    test::TTempFolder second(L"browseother");
    TBrowseDirectoryDlg dlg(nullptr);
    dlg.Options = bfDirectoriesOnly;
    dlg.SetFitStatusText(false);
    dlg.SetStatusText(L"Bitte wählen");
    dlg.SetCaption(L"Ordner suchen");
    dlg.SetSelection(first.Path());
    std::vector<std::wstring> changes;
    RECT r{};
    std::wstring caption, status, statusAfter, selected;
    dlg.OnCreate = [&](TObject*) {
        HWND h = dlg.Handle();
        GetWindowRect(h, &r);
        caption = dlg.Caption();
        status = StatusLine(h);
        dlg.ShowSelectionInStatus = true;
        dlg.OnSelChanged = [&](TObject*, const std::wstring& path) { changes.push_back(Lower(path)); };
        dlg.SetSelection(ExcludeTrailingBackslash(second.Path()));
        statusAfter = Lower(StatusLine(h));
        Press(h, IDOK);
    };
    ASSERT_TRUE(dlg.Execute());
    EXPECT_EQ(caption, L"Ordner suchen");
    EXPECT_EQ(status, L"Bitte wählen");
    EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left)) / 2);
    EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top)) / 2);
    EXPECT_EQ(Lower(dlg.Selection()), Lower(second.Path()));
    ASSERT_FALSE(changes.empty()) << statusAfter;
    EXPECT_EQ(changes.back(), Lower(ExcludeTrailingBackslash(second.Path())));
    EXPECT_EQ(statusAfter, changes.back());
}

TEST(BrowseDirectoryDlg, FittingTheStatusLineEnds) {
    test::TTempFolder folder(L"browsefit");
    const std::wstring name(150, L'x');
    const std::wstring wide = folder.Path() + name;
    ASSERT_TRUE(CreateDirectoryW(wide.c_str(), nullptr));
    TBrowseDirectoryDlg dlg(nullptr);
    dlg.SetStatusText(wide);
    dlg.EnableOKButton = false;
    bool okEnabled = true;
    std::wstring folderStatus, textStatus;
    dlg.OnCreate = [&](TObject*) {
        okEnabled = IsWindowEnabled(GetDlgItem(dlg.Handle(), IDOK));
        folderStatus = StatusLine(dlg.Handle());
        dlg.SetStatusText(std::wstring(300, L'W'));
        textStatus = StatusLine(dlg.Handle());
        Press(dlg.Handle(), IDCANCEL);
    };
    EXPECT_FALSE(dlg.Execute());
    EXPECT_FALSE(okEnabled);
    EXPECT_EQ(folderStatus, name);
    ASSERT_GT(textStatus.size(), 3u);
    EXPECT_LT(textStatus.size(), 300u);
    EXPECT_EQ(textStatus.substr(textStatus.size() - 3), L"...");
}
