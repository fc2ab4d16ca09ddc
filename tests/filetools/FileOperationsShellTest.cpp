#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <algorithm>

#include "FileRoutinesTestSupport.h"
#include "autostart/starter/StartRecorder.h"
#include "filetools/DateiRoutinen.h"
#include "foundation/FileOperator.h"
#include "foundation/ShellLink.h"
#include "foundation/TestFiles.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Testing.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/Strings.h"

using namespace velmora;
using namespace velmora::test;
using namespace velmora::gui;

namespace {

std::wstring UnixToWindows(const std::wstring& path) {
    std::wstring windows = L"Z:" + path;
    std::replace(windows.begin(), windows.end(), L'/', L'\\');
    return windows;
}

std::wstring Environment(const wchar_t* name) {
    wchar_t buffer[1024];
    const DWORD n = GetEnvironmentVariableW(name, buffer, 1024);
    return n && n < 1024 ? std::wstring(buffer) : std::wstring();
}

FILETIME WriteTime(const std::wstring& name) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExW(name.c_str(), GetFileExInfoStandard, &data);
    return data.ftLastWriteTime;
}

// The real shell operation on a temporary tree.
class FileOperationsShellTest : public ::testing::Test {
protected:
    std::wstring Folder(const std::wstring& name) const {
        const std::wstring path = m_folder.Path() + name;
        CreateDirectoryW(path.c_str(), nullptr);
        return path;
    }

    TFileOperator m_operator{nullptr};
    TDateiRoutinen m_routinen{m_operator};
    TMessageBoxRecorder m_boxes;
    TTempFolder m_folder{L"shellops"};
};

TEST_F(FileOperationsShellTest, ANameWithACommaIsCopiedMovedAndDeletedAsOneName) {
    const std::wstring comma = m_folder.MakeFile(L"a,b.txt", 11);
    const std::wstring a = m_folder.MakeFile(L"a", 22), b = m_folder.MakeFile(L"b.txt", 33);
    const std::wstring copies = Folder(L"kopien"), moved = Folder(L"verschoben");

    m_routinen.CopyFiles(L"", copies, true, Records({comma}));
    EXPECT_EQ(ReadAll(copies + L"\\a,b.txt").size(), 11u);
    EXPECT_FALSE(FileExists(copies + L"\\a"));
    EXPECT_FALSE(FileExists(copies + L"\\b.txt"));

    m_routinen.MoveFiles(L"", moved, true, Records({comma}));
    EXPECT_FALSE(FileExists(comma));
    EXPECT_EQ(ReadAll(moved + L"\\a,b.txt").size(), 11u);

    m_routinen.DeleteFiles(Records({moved + L"\\a,b.txt", copies + L"\\a,b.txt"}), false, true, 1);
    EXPECT_FALSE(FileExists(moved + L"\\a,b.txt"));
    EXPECT_FALSE(FileExists(copies + L"\\a,b.txt"));
    EXPECT_EQ(ReadAll(a).size(), 22u);
    EXPECT_EQ(ReadAll(b).size(), 33u);
    EXPECT_TRUE(m_boxes.Calls().empty());
}

TEST_F(FileOperationsShellTest, SeveralFilesMoveIntoOneFolder) {
    const std::wstring x = m_folder.MakeFile(L"x.txt", 1), y = m_folder.MakeFile(L"y.txt", 2);
    const std::wstring target = Folder(L"ziel");
    m_routinen.MoveFiles(L"", target, true, Records({x, y}));
    EXPECT_FALSE(FileExists(x));
    EXPECT_FALSE(FileExists(y));
    EXPECT_TRUE(FileExists(target + L"\\x.txt"));
    EXPECT_TRUE(FileExists(target + L"\\y.txt"));
    EXPECT_TRUE(m_boxes.Calls().empty());
}

TEST_F(FileOperationsShellTest, ARecycledFileLandsInTheBuildFoldersTrash) {
    const std::wstring xdg = Environment(L"XDG_DATA_HOME");
    if (xdg.empty())
        GTEST_SKIP() << "XDG_DATA_HOME is not set (run through CTest)";
    const std::wstring trash = UnixToWindows(xdg) + L"\\Trash\\";
    const std::wstring name = L"papierkorb.txt";
    // The bin gives a taken name a suffix: empty it of earlier runs first.
    auto forget = [&] {
        DeleteFileW((trash + L"files\\" + name).c_str());
        DeleteFileW((trash + L"info\\" + name + L".trashinfo").c_str());
    };
    forget();
    const std::wstring f = m_folder.MakeFile(name, 17);
    m_routinen.DeleteFiles(Records({f}), false, true, 0);
    EXPECT_FALSE(FileExists(f));
    EXPECT_EQ(ReadAll(trash + L"files\\" + name).size(), 17u);
    forget();
}

// Write protection keeps a file from a delete for good, and the user is told which.
TEST_F(FileOperationsShellTest, AReadOnlyFileDeletedForGoodIsNamedNotLost) {
    const std::wstring f = m_folder.MakeFile(L"Schutz.txt", 5);
    SetFileAttributesW(f.c_str(), FILE_ATTRIBUTE_READONLY);
    m_routinen.DeleteFiles(Records({f}), false, false, 1);
    EXPECT_EQ(ReadAll(f).size(), 5u);
    ASSERT_EQ(m_boxes.Calls().size(), 1u);
    EXPECT_EQ(m_boxes.Calls()[0].Text, L"Folgende Dateien wurden nicht gelöscht:\r" + SystemLower(f));
}

TEST_F(FileOperationsShellTest, AForGoodDeleteLeavesFoldersHoldingFolderLinks) {
    const std::wstring base = FixtureFolder(L"gui");
    if (base.empty())
        GTEST_SKIP() << "needs the links of the fixture script (run through CTest)";
    m_routinen.DeleteFiles(Records({base + L"tree\\holder", base + L"tree\\own.txt"}), false, false, 1);
    EXPECT_EQ(ReadAll(base + L"outside\\folder\\inner.txt"), std::string(700, 'i'));
    EXPECT_FALSE(FileExists(base + L"tree\\own.txt"));
    EXPECT_TRUE(DirectoryExists(base + L"tree\\holder"));
    ASSERT_EQ(m_boxes.Calls().size(), 1u);
    EXPECT_EQ(m_boxes.Calls()[0].Text,
              L"Folgende Verzeichnisse enthalten Verknüpfungen auf andere Verzeichnisse und wurden deshalb nicht "
              L"endgültig gelöscht:\r" +
                  SystemLower(base + L"tree\\holder"));
}

TEST_F(FileOperationsShellTest, SetAttributesChangesOnlyTheNamedBits) {
    // Wine keeps the archive bit of a file set whatever one asks: the test
    // watches the other bits.
    constexpr DWORD watched = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    const std::wstring f = m_folder.MakeFile(L"attr.txt", 1);
    SetFileAttributesW(f.c_str(), FILE_ATTRIBUTE_HIDDEN);
    m_routinen.SetAttributes(f, 2, 2, 2, 1);
    EXPECT_EQ(GetFileAttributesW(f.c_str()) & watched, static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY));
    m_routinen.SetAttributes(f, 2, 2, 0, 2);
    EXPECT_EQ(GetFileAttributesW(f.c_str()) & watched, static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
    m_routinen.SetAttributes(f, 2, 2, 1, 0);
    EXPECT_EQ(GetFileAttributesW(f.c_str()) & watched, static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
    EXPECT_TRUE(m_boxes.Calls().empty());
    m_routinen.SetAttributes(m_folder.Path() + L"Fehlt.txt", 1, 2, 2, 2);
    ASSERT_EQ(m_boxes.Calls().size(), 1u);
    EXPECT_EQ(m_boxes.Calls()[0].Text, L"Beim Setzen der Attribute der Datei\r" + SystemLower(m_folder.Path()) +
                                           L"fehlt.txt\rist ein Fehler aufgetreten!\rBitte überprüfen Sie, ob die "
                                           L"Änderungen wie gewünscht vorgenommen wurden.");
}

TEST_F(FileOperationsShellTest, SetFileDateAsksForReadOnlyFilesAndPutsTheBitBack) {
    const std::wstring f = m_folder.MakeFile(L"Datum.txt", 1);
    const TDateTime when = *TryEncodeDateTime({2001, 5, 17, 10, 20, 31, 0});
    m_routinen.SetFileDate(f, when);
    FILETIME local;
    const FILETIME utc = WriteTime(f);
    FileTimeToLocalFileTime(&utc, &local);
    SYSTEMTIME st;
    FileTimeToSystemTime(&local, &st);
    EXPECT_EQ(st.wYear, 2001);
    EXPECT_EQ(st.wHour, 10);
    EXPECT_EQ(st.wMinute, 20);
    EXPECT_EQ(st.wSecond, 30);  // two-second steps

    SetFileAttributesW(f.c_str(), FILE_ATTRIBUTE_READONLY);
    const FILETIME before = WriteTime(f);
    m_boxes.Answer(mrNo);
    m_routinen.SetFileDate(f, when + 1);
    ASSERT_EQ(m_boxes.Calls().size(), 1u);
    EXPECT_EQ(m_boxes.Calls()[0].Text, L"\"" + SystemLower(f) +
                                           L"\"\rist schreibgeschützt. Soll ihr Datum trotzdem geändert werden?");
    EXPECT_EQ(CompareFileTime(&before, &utc), 0);
    const FILETIME unchanged = WriteTime(f);
    EXPECT_EQ(CompareFileTime(&before, &unchanged), 0);

    m_boxes.Answer(mrYes);
    m_routinen.SetFileDate(f, when + 1);
    const FILETIME after = WriteTime(f);
    EXPECT_NE(CompareFileTime(&before, &after), 0);
    EXPECT_NE(GetFileAttributesW(f.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
    EXPECT_EQ(m_boxes.Calls().size(), 2u);
}

TEST_F(FileOperationsShellTest, CreateDirectoryAndRenameFileTellWhatFailed) {
    const std::wstring made = m_folder.Path() + L"neu\\tiefer";
    EXPECT_TRUE(m_routinen.CreateDirectory(made));
    EXPECT_TRUE(DirectoryExists(made));
    EXPECT_FALSE(m_routinen.CreateDirectory(made));
    EXPECT_FALSE(m_routinen.CreateDirectory(m_folder.Path() + L"bad|name"));
    ASSERT_EQ(m_boxes.Calls().size(), 2u);
    EXPECT_EQ(m_boxes.Calls()[0].Text,
              L"Fehler beim Erstellen des gewünschten Verzeichnisses!\rDer angegebene Verzeichnisname existiert bereits.");
    EXPECT_EQ(m_boxes.Calls()[1].Text, L"Fehler beim Erstellen des gewünschten Verzeichnisses!\rDer angegebene "
                                       L"Verzeichnisname ist nicht zulässig oder existiert bereits.");

    m_boxes.Clear();
    const std::wstring one = m_folder.MakeFile(L"Eins.txt", 1), two = m_folder.MakeFile(L"zwei.txt", 2);
    EXPECT_FALSE(m_routinen.RenameFile(one, two));
    EXPECT_TRUE(m_routinen.RenameFile(one, m_folder.Path() + L"drei.txt"));
    ASSERT_EQ(m_boxes.Calls().size(), 1u);
    // Names in the program's boxes are lower-cased.
    EXPECT_EQ(m_boxes.Calls()[0].Text, L"Die Datei eins.txt konnte nicht\rwie gewünscht in " + SystemLower(two) +
                                           L" umbenannt werden!\rVermutlich existiert bereits eine Datei mit "
                                           L"identischem Namen\roder der angegebene Name ist nicht erlaubt.");
}

TEST_F(FileOperationsShellTest, CheckDriveAccessAsksUntilAbort) {
    if (FixtureFolder(L"gui").empty())
        GTEST_SKIP() << "needs the drive letter of the fixture script (run through CTest)";
    m_boxes.Answer(mrRetry);
    m_boxes.Answer(mrAbort);
    EXPECT_FALSE(m_routinen.CheckDriveAccess(L'n'));
    ASSERT_EQ(m_boxes.Calls().size(), 2u);
    EXPECT_EQ(m_boxes.Calls()[0].Text,
              L"Auf das Laufwerk n:\\ kann nicht zugegriffen werden!\rVermutlich ist kein Datenträger eingelegt.");
    EXPECT_EQ(m_boxes.Calls()[0].Buttons, (TMsgDlgButtons{TMsgDlgBtn::mbAbort, TMsgDlgBtn::mbRetry}));
    m_boxes.Clear();
    EXPECT_TRUE(m_routinen.CheckDriveAccess(L'c'));
    EXPECT_TRUE(m_routinen.CheckDriveAccess(L'\\'));
    EXPECT_TRUE(m_boxes.Calls().empty());
    float total = 0, free = 0;
    EXPECT_TRUE(m_routinen.GetDiskFree(L'c', total, free));
    EXPECT_GT(total, 0.0f);
    EXPECT_FALSE(m_routinen.GetDiskFree(L'\\', total, free));
    EXPECT_EQ(total, 0.0f);
}

TEST_F(FileOperationsShellTest, ACopyOntoAFullDriveIsNamed) {
    const std::wstring reason = NoSmallDriveReason();
    if (!reason.empty())
        GTEST_SKIP() << std::string(reason.begin(), reason.end());
    const std::wstring big = m_folder.MakeFile(L"gross.bin", 3 << 20);
    m_routinen.CopyFiles(L"", L"s:\\", true, Records({big}));
    ASSERT_EQ(m_boxes.Calls().size(), 1u);
    EXPECT_EQ(m_boxes.Calls()[0].Text, L"Folgende Dateien wurden nicht vollständig kopiert:\r" + SystemLower(big));
    EXPECT_EQ(ReadAll(big).size(), 3u << 20);
}

TEST_F(FileOperationsShellTest, ALockedSourceIsNamedAfterTheCopy) {
    const std::wstring f = m_folder.MakeFile(L"gesperrt.txt", 100);
    const std::wstring target = Folder(L"ziel");
    HANDLE lock = CreateFileW(f.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    m_routinen.CopyFiles(L"", target, true, Records({f}));
    CloseHandle(lock);
    // Nothing could be read: no copy, and the source is named.
    EXPECT_FALSE(FileExists(target + L"\\gesperrt.txt"));
    ASSERT_EQ(m_boxes.Calls().size(), 1u);
    EXPECT_EQ(m_boxes.Calls()[0].Text, L"Folgende Dateien wurden nicht vollständig kopiert:\r" + SystemLower(f));
    EXPECT_EQ(ReadAll(f).size(), 100u);
}

}  // namespace

namespace {

TEST_F(FileOperationsShellTest, PrintFileRunsThePrintVerbOrTellsThereIsNone) {
    const std::wstring log = m_folder.Path() + L"druck.log";
    TRegisteredFileType type(L"vdruck", L"Velmora Drucktest",
                             L"\"" + HostPathToWindows(VELMORA_STARTREC) + L"\" \"" + log + L"\" \"%1\"");
    const std::wstring doc = m_folder.MakeFile(L"Brief.vdruck", 4);
    TDateiListe list = Records({doc, m_folder.Path()});
    list[1]->Attr = FILE_ATTRIBUTE_DIRECTORY;
    HANDLE ran = CreateEventW(nullptr, TRUE, FALSE, kRecorderEvent);
    m_routinen.PrintFile(L"", list);
    EXPECT_EQ(WaitForSingleObject(ran, 20000), WAIT_OBJECT_0);
    CloseHandle(ran);
    EXPECT_NE(ReadAll(log).find("gestartet"), std::string::npos);
    EXPECT_NE(ReadAll(log).find("Brief.vdruck"), std::string::npos);
    EXPECT_TRUE(m_boxes.Calls().empty());

    const std::wstring plain = m_folder.MakeFile(L"Ohne.vkeindruck", 4);
    m_routinen.PrintFile(m_folder.Path(), Records({plain}));
    ASSERT_EQ(m_boxes.Calls().size(), 1u);
    EXPECT_EQ(m_boxes.Calls()[0].Text, L"Die Datei \"" + SystemLower(plain) + L"\" konnte nicht gedruckt werden!");
}

TEST_F(FileOperationsShellTest, AShortcutInTheStartupFolderIsFoundByItsLongNamedTarget) {
    wchar_t startup[MAX_PATH];
    ASSERT_TRUE(SHGetSpecialFolderPathW(nullptr, startup, CSIDL_STARTUP, TRUE));
    const std::wstring target = m_folder.MakeFile(L"Ein sehr langer Programmname.exe", 10);
    const std::wstring other = m_folder.MakeFile(L"Anderes Programm.exe", 10);
    const std::wstring link = std::wstring(startup) + L"\\velmora-test-" + std::to_wstring(GetCurrentProcessId()) +
                              L".lnk";
    CoInitialize(nullptr);
    ASSERT_TRUE(CreateShellLink(target, link, L"Test"));
    CoUninitialize();
    EXPECT_TRUE(m_routinen.IsInStartupFolder(target));
    EXPECT_TRUE(m_routinen.IsInStartupFolder(AsciiUpper(target)));
    EXPECT_FALSE(m_routinen.IsInStartupFolder(other));
    DeleteFileW(link.c_str());
    EXPECT_FALSE(m_routinen.IsInStartupFolder(target));
}

}  // namespace

namespace {

// Answers every dialog the shell opens in this thread with its button 2
// ("Abbrechen") and keeps its caption; no dialog can stay open.
class TCancelEveryDialog {
public:
    TCancelEveryDialog() {
        s_captions.clear();
        m_hook = SetWindowsHookExW(WH_CBT, Hook, nullptr, GetCurrentThreadId());
    }
    ~TCancelEveryDialog() { UnhookWindowsHookEx(m_hook); }
    static const std::vector<std::wstring>& Captions() { return s_captions; }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HCBT_ACTIVATE) {
            HWND dialog = reinterpret_cast<HWND>(wParam);
            wchar_t caption[256] = L"";
            GetWindowTextW(dialog, caption, 256);
            s_captions.push_back(caption);
            PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    HHOOK m_hook;
    static inline std::vector<std::wstring> s_captions;
};

TEST_F(FileOperationsShellTest, CancellingTheOverwriteQuestionFailsTheCopyAndKeepsTheTarget) {
    const std::wstring source = m_folder.MakeFile(L"neu.txt", 900);
    const std::wstring target = Folder(L"ziel");
    const std::wstring old = target + L"\\neu.txt";
    HANDLE h = CreateFileW(old.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(h, "alt", 3, &written, nullptr);
    CloseHandle(h);
    bool copied = true;
    {
        TCancelEveryDialog cancel;
        copied = m_routinen.CopyFilesForSync(source, old, false, false);
    }
    ASSERT_FALSE(TCancelEveryDialog::Captions().empty());
    EXPECT_EQ(TCancelEveryDialog::Captions()[0], L"Bestätigung: Datei überschreiben");
    EXPECT_FALSE(copied);
    EXPECT_EQ(ReadAll(old), "alt");
    EXPECT_TRUE(m_boxes.Calls().empty());
}

}  // namespace
