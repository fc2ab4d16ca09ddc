#include <gtest/gtest.h>

#include <windows.h>

#include "mainwindow/StatusThreads.h"
#include "platform/rtl/FileSystem.h"

using namespace velmora;

namespace {

// A folder below the temporary folder, removed with its contents.
class TTree {
public:
    explicit TTree(const std::wstring& name)
        : m_root(TempDirectory() + name + L"." + std::to_wstring(GetCurrentProcessId()) + L"\\") {
        Remove(m_root);
        ForceDirectories(m_root);
    }
    ~TTree() { Remove(m_root); }
    const std::wstring& Root() const { return m_root; }
    void Folder(const std::wstring& name) const { ForceDirectories(m_root + name); }
    void File(const std::wstring& name, DWORD bytes) const {
        HANDLE h = CreateFileW((m_root + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        LARGE_INTEGER size;
        size.QuadPart = bytes;
        SetFilePointerEx(h, size, nullptr, FILE_BEGIN);
        SetEndOfFile(h);
        CloseHandle(h);
    }
    // Holes only: the file takes no room on the disk.
    void SparseFile(const std::wstring& name, LONGLONG bytes) const {
        HANDLE h = CreateFileW((m_root + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        DWORD returned = 0;
        DeviceIoControl(h, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &returned, nullptr);
        LARGE_INTEGER size;
        size.QuadPart = bytes;
        ASSERT_TRUE(SetFilePointerEx(h, size, nullptr, FILE_BEGIN));
        ASSERT_TRUE(SetEndOfFile(h));
        CloseHandle(h);
    }

private:
    static void Remove(const std::wstring& folder) {
        WIN32_FIND_DATAW entry;
        HANDLE find = FindFirstFileW((folder + L"*").c_str(), &entry);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                const std::wstring name = entry.cFileName;
                if (name == L"." || name == L"..")
                    continue;
                if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    Remove(folder + name + L"\\");
                else
                    DeleteFileW((folder + name).c_str());
            } while (FindNextFileW(find, &entry));
            FindClose(find);
        }
        RemoveDirectoryW(folder.c_str());
    }
    std::wstring m_root;
};

bool Never() { return false; }

}  // namespace

TEST(StatusTexts, AreTypedOutAsTheStatusLineShowsThem) {
    EXPECT_EQ(PathInfoText(0, 0), L"0 Eintraege belegen 0 Bytes");
    EXPECT_EQ(PathInfoText(12345, 3072), L"12345 Eintraege belegen 3.00 KBytes");
    EXPECT_EQ(QuickViewText(3, 2, 3072), L"3 Dateien und 2 Unterverzeichnisse belegen 3.00 KBytes");
    EXPECT_EQ(FreeSpaceText(512, 2048), L" 512 Bytes von 2.00 KBytes frei");
}

TEST(StatusTexts, AnArchiveShowsItsLowerCaseNameAndTheRoundedSaving) {
    // The status line's own test shows a whole text in the window; here the name and the rounding.
    TArchivDaten totals;
    totals.OrigGroesse = 3;
    totals.KompGroesse = 2;
    totals.Anzahl = 1;
    EXPECT_EQ(ArchiveStatusText(L"D:\\Pakete\\A.ARJ", totals),
              L"a.arj enthält 1 Dateien [3 Bytes gepackt auf 2 Bytes (33%)]");
    // Sizes beyond 32 bits neither wrap nor go negative.
    totals.OrigGroesse = 6LL << 30;
    totals.KompGroesse = 3LL << 30;
    EXPECT_EQ(ArchiveStatusText(L"gross.zip", totals),
              L"gross.zip enthält 1 Dateien [6.00 GBytes gepackt auf 3.00 GBytes (50%)]");
}

TEST(StatusCounting, ATreeCountsItsFilesFoldersAndBytesAtAllLevels) {
    TTree tree(L"statustree");
    tree.Folder(L"eins");
    tree.Folder(L"zwei");
    tree.File(L"a.txt", 1024);
    tree.File(L"eins\\b.txt", 1024);
    tree.File(L"zwei\\c.txt", 1024);
    TFolderTree totals;
    WalkFolderTree(tree.Root(), totals, Never);
    EXPECT_EQ(QuickViewText(totals.Files, totals.Folders, totals.Bytes),
              L"3 Dateien und 2 Unterverzeichnisse belegen 3.00 KBytes");
    const TFolderEntries top = CountFolderEntries(tree.Root(), Never);
    EXPECT_EQ(PathInfoText(top.Count, top.Bytes), L"3 Eintraege belegen 1.00 KBytes");
}

TEST(StatusCounting, AnEmptyOrMissingFolderCountsNothing) {
    TTree tree(L"statusempty");
    const TFolderEntries empty = CountFolderEntries(tree.Root(), Never);
    EXPECT_EQ(PathInfoText(empty.Count, empty.Bytes), L"0 Eintraege belegen 0 Bytes");
    const TFolderEntries missing = CountFolderEntries(tree.Root() + L"fehlt\\", Never);
    EXPECT_EQ(missing.Count, 0);
    TFolderTree totals;
    WalkFolderTree(tree.Root() + L"fehlt\\", totals, Never);
    EXPECT_EQ(totals.Files + totals.Folders + totals.Bytes, 0);
}

TEST(StatusCounting, AFiveGibibyteFileCountsInFull) {
    TTree tree(L"statusbig");
    tree.SparseFile(L"gross.bin", 5LL << 30);
    tree.File(L"klein.txt", 1);
    const TFolderEntries top = CountFolderEntries(tree.Root(), Never);
    EXPECT_EQ(top.Bytes, (5LL << 30) + 1);
    EXPECT_EQ(PathInfoText(top.Count, top.Bytes), L"2 Eintraege belegen 5.00 GBytes");
    TFolderTree totals;
    WalkFolderTree(tree.Root(), totals, Never);
    EXPECT_EQ(QuickViewText(totals.Files, totals.Folders, totals.Bytes),
              L"2 Dateien und 0 Unterverzeichnisse belegen 5.00 GBytes");
}

TEST(StatusCounting, AStopRequestEndsTheWalkAtTheNextFolder) {
    TTree tree(L"statusstop");
    tree.Folder(L"eins\\tief");
    tree.File(L"a.txt", 10);
    tree.File(L"eins\\tief\\b.txt", 10);
    int asked = 0;
    TFolderTree totals;
    // Go on for the top folder only.
    WalkFolderTree(tree.Root(), totals, [&] { return ++asked > 1; });
    EXPECT_EQ(totals.Files, 1);
    EXPECT_EQ(totals.Folders, 1);
    int entries = 0;
    const TFolderEntries some = CountFolderEntries(tree.Root(), [&] { return ++entries > 1; });
    EXPECT_EQ(some.Count, 1);
}
