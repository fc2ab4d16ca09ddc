// The file routines act on exactly the names they are given, with the real shell
// on the fixture's scratch drive w: (and its small drive s:): never on a whole
// drive, never through a link written with a trailing separator, never two names
// onto one target, never a folder into itself, never leaving a partial copy
// under the real name, and the wipe deletes only what it overwrote in full. Each
// case compares listings of the trees by checksum before and after.

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

#include "FileRoutinesTestSupport.h"
#include "filetools/DateiRoutinen.h"
#include "foundation/FileOperator.h"
#include "foundation/TestFiles.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Testing.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/Strings.h"

using namespace velmora;
using namespace velmora::test;
using namespace velmora::gui;

namespace {

std::vector<std::wstring> DiskNames(const std::wstring& folder) {
    std::vector<std::wstring> names;
    for (const auto& [name, what] : Listing(folder))
        if (name.find(L'\\') == std::wstring::npos)
            names.push_back(name);
    return names;
}

// One folder of its own on the scratch drive per test, removed afterwards.
class FileCommandGuards : public ::testing::Test {
protected:
    void SetUp() override {
        if (FixtureFolder(L"gui").empty() || !DirectoryExists(L"w:\\lk"))
            GTEST_SKIP() << "needs the scratch drive w: of the fixture script (run through CTest)";
        m_outside = FixtureFolder(L"woutside");
        RemoveTree(kWork);
        ForceDirectories(kWork);
        m_routinen.SetNullSchreiber(&m_writer);
    }
    void TearDown() override { RemoveTree(kWork); }

    // The whole drive and the folder its link points to, as they are now.
    void Remember() {
        m_drive = Listing(L"w:\\");
        m_linked = Listing(m_outside);
        ASSERT_FALSE(m_linked.empty());
    }
    void ExpectUntouched() {
        EXPECT_EQ(Listing(L"w:\\"), m_drive);
        EXPECT_EQ(Listing(m_outside), m_linked);
    }
    std::wstring OnlyBox() const {
        EXPECT_EQ(m_boxes.Calls().size(), 1u);
        return m_boxes.Calls().empty() ? std::wstring() : m_boxes.Calls()[0].Text;
    }

    const std::wstring kWork = L"w:\\arbeit\\";
    TFileOperator m_operator{nullptr};
    TDateiRoutinen m_routinen{m_operator};
    TRecordingWriter m_writer;
    TMessageBoxRecorder m_boxes;
    std::wstring m_outside;
    std::map<std::wstring, std::string> m_drive, m_linked;
};

TEST_F(FileCommandGuards, AWholeDriveIsNeitherDeletedNorMovedHoweverItIsWritten) {
    EXPECT_TRUE(WriteFileOf(kWork + L"a.txt", 40, 'a'));
    Remember();
    for (const wchar_t* name : {L"w:", L"w:\\", L"W:/", L"w:\\arbeit\\..", L"w:\\\\"}) {
        for (int mode : {0, 1, 2}) {
            m_boxes.Clear();
            m_routinen.DeleteFiles(Records({name}), false, false, mode);
            EXPECT_EQ(OnlyBox(), L"Ein ganzes Laufwerk kann nicht gelöscht werden:\rw:\\")
                << testing::PrintToString(std::wstring(name)) << " mode " << mode;
        }
        m_boxes.Clear();
        m_routinen.MoveFiles(L"", kWork, true, Records({name}));
        EXPECT_EQ(OnlyBox(), L"Ein ganzes Laufwerk kann nicht verschoben werden:\rw:\\");
    }
    // The silent delete of other callers refuses it without a box.
    m_boxes.Clear();
    m_routinen.DeleteFiles(Records({L"w:"}), false, true, 1);
    EXPECT_TRUE(m_boxes.Calls().empty());
    ExpectUntouched();
}

TEST_F(FileCommandGuards, ALinkWrittenWithATrailingSeparatorIsTheLinkNotItsTarget) {
    Remember();
    for (const wchar_t* name : {L"w:\\lk\\outlink\\", L"w:\\lk\\outlink/", L"w:\\lk\\"}) {
        m_boxes.Clear();
        m_routinen.DeleteFiles(Records({name}), false, false, 1);
        EXPECT_EQ(OnlyBox().find(L"Folgende Verzeichnisse enthalten Verknüpfungen auf andere Verzeichnisse"), 0u)
            << testing::PrintToString(std::wstring(name));
    }
    m_boxes.Clear();
    m_boxes.Answer(mrYes);
    m_routinen.DeleteFiles(Records({L"w:\\lk\\outlink\\"}), false, false, 2);
    ASSERT_EQ(m_boxes.Calls().size(), 2u);
    EXPECT_EQ(m_boxes.Calls()[1].Text,
              L"Die Datei\r\"w:\\lk\\outlink\"\rverweist auf eine andere Stelle und wurde nicht mit Nullbytes überschrieben.");
    EXPECT_TRUE(m_writer.Opened.empty());
    ExpectUntouched();
}

TEST_F(FileCommandGuards, TwoNamesLandingOnOneTargetAreRefusedForCopyAndMove) {
    ForceDirectories(kWork + L"s1");
    ForceDirectories(kWork + L"s2");
    ForceDirectories(kWork + L"ziel");
    EXPECT_TRUE(WriteFileOf(kWork + L"s1\\x.txt", 10, '1'));
    EXPECT_TRUE(WriteFileOf(kWork + L"s2\\X.TXT", 20, '2'));
    Remember();
    const TDateiListe list = Records({kWork + L"s1\\x.txt", kWork + L"s2\\X.TXT"});
    m_routinen.CopyFiles(L"", kWork + L"ziel", true, list);
    EXPECT_EQ(OnlyBox(), L"Folgende Dateien erhielten im Ziel denselben Namen und wurden deshalb nicht kopiert:\r"
                         L"w:\\arbeit\\s1\\x.txt\rw:\\arbeit\\s2\\x.txt");
    m_boxes.Clear();
    m_routinen.MoveFiles(L"", kWork + L"ziel\\", true, list);
    EXPECT_EQ(OnlyBox(), L"Folgende Dateien erhielten im Ziel denselben Namen und wurden deshalb nicht verschoben:\r"
                         L"w:\\arbeit\\s1\\x.txt\rw:\\arbeit\\s2\\x.txt");
    ExpectUntouched();
}

TEST_F(FileCommandGuards, AFolderIsNeverCopiedOrMovedIntoItselfNorAFileOntoItself) {
    ForceDirectories(kWork + L"Ordner\\unten");
    EXPECT_TRUE(WriteFileOf(kWork + L"Ordner\\f.txt", 30, 'f'));
    Remember();
    m_routinen.CopyFiles(L"", kWork + L"ordner\\unten", true, Records({kWork + L"Ordner"}));
    EXPECT_EQ(OnlyBox(), L"Folgende Verzeichnisse können nicht in sich selbst kopiert werden:\rw:\\arbeit\\ordner");
    m_boxes.Clear();
    m_routinen.MoveFiles(L"", kWork + L"Ordner\\", true, Records({kWork + L"Ordner"}));
    EXPECT_EQ(OnlyBox(), L"Folgende Verzeichnisse können nicht in sich selbst verschoben werden:\rw:\\arbeit\\ordner");
    m_boxes.Clear();
    m_routinen.CopyFiles(L"", kWork + L"Ordner", true, Records({kWork + L"Ordner\\f.txt"}));
    EXPECT_EQ(OnlyBox(), L"Folgende Dateien können nicht auf sich selbst kopiert werden:\rw:\\arbeit\\ordner\\f.txt");
    // The short form of the folder is the same folder.
    const std::wstring shortForm = ShortPathName(kWork + L"Ordner");
    if (!shortForm.empty()) {
        m_boxes.Clear();
        m_routinen.CopyFiles(L"", shortForm + L"\\unten", true, Records({kWork + L"Ordner"}));
        EXPECT_EQ(OnlyBox(), L"Folgende Verzeichnisse können nicht in sich selbst kopiert werden:\rw:\\arbeit\\ordner");
    }
    ExpectUntouched();
}

TEST_F(FileCommandGuards, TheWipeDeletesOnlyWhatItOverwroteInFull) {
    EXPECT_TRUE(WriteFileOf(kWork + L"kaputt.bin", 5000, 'k'));
    EXPECT_TRUE(WriteFileOf(kWork + L"gut.bin", 3000, 'g'));
    m_writer.FailWrite = [&](const std::wstring& file, size_t) { return SystemLower(file).ends_with(L"kaputt.bin"); };
    m_boxes.Answer(mrYes);
    m_routinen.DeleteFiles(Records({kWork + L"kaputt.bin", kWork + L"gut.bin"}), false, false, 2);
    EXPECT_EQ(ReadAll(kWork + L"kaputt.bin"), std::string(5000, 'k')) << "not overwritten, so not deleted";
    EXPECT_FALSE(FileExists(kWork + L"gut.bin"));
    ASSERT_EQ(m_boxes.Calls().size(), 2u);
    EXPECT_EQ(m_boxes.Calls()[1].Text,
              L"Beim Füllen der Datei\r\"w:\\arbeit\\kaputt.bin\"\rmit Nullbytes ist ein Fehler aufgetreten.");
}

TEST_F(FileCommandGuards, AMaskIsExpandedBeforeTheWipeAndOnlyItsFilesGo) {
    EXPECT_TRUE(WriteFileOf(kWork + L"m1.txt", 100, '1'));
    EXPECT_TRUE(WriteFileOf(kWork + L"m2.txt", 200, '2'));
    EXPECT_TRUE(WriteFileOf(kWork + L"bleibt.bin", 300, 'b'));
    m_boxes.Answer(mrYes);
    m_routinen.DeleteFiles(Records({kWork + L"*.txt"}), false, false, 2);
    ASSERT_EQ(m_writer.Opened.size(), 2u) << "each file overwritten before it goes";
    EXPECT_EQ(DiskNames(kWork), (std::vector<std::wstring>{L"bleibt.bin"}));
    EXPECT_EQ(ReadAll(kWork + L"bleibt.bin"), std::string(300, 'b'));
    EXPECT_EQ(m_boxes.Calls().size(), 1u);
}

TEST_F(FileCommandGuards, AFileWithAnotherNameIsNotZeroedAndGoesOnlyWhenTheUserSaysSo) {
    ForceDirectories(kWork + L"anderswo");
    const std::wstring own = kWork + L"doppelt.bin", other = kWork + L"anderswo\\zweiter.bin";
    EXPECT_TRUE(WriteFileOf(own, 4000, 'd'));
    ASSERT_TRUE(CreateHardLinkW(other.c_str(), own.c_str(), nullptr));
    m_boxes.Answer(mrYes);
    m_boxes.Answer(mrNo);
    m_routinen.DeleteFiles(Records({own}), false, false, 2);
    ASSERT_EQ(m_boxes.Calls().size(), 2u);
    EXPECT_EQ(m_boxes.Calls()[1].Text,
              L"Die Datei\r\"w:\\arbeit\\doppelt.bin\"\rhat weitere Namen, unter denen dieselben Daten stehen, und "
              L"wurde deshalb nicht mit Nullbytes überschrieben.\rSoll dieser Name trotzdem endgültig gelöscht werden?");
    EXPECT_EQ(ReadAll(own), std::string(4000, 'd'));
    EXPECT_EQ(ReadAll(other), std::string(4000, 'd'));

    m_boxes.Clear();
    m_boxes.Answer(mrYes);
    m_boxes.Answer(mrYes);
    m_routinen.DeleteFiles(Records({own}), false, false, 2);
    EXPECT_FALSE(FileExists(own));
    EXPECT_EQ(ReadAll(other), std::string(4000, 'd')) << "the other name keeps its data";
}

TEST_F(FileCommandGuards, AShortNameIsTheFileItselfAndIsWiped) {
    const std::wstring file = kWork + L"ein recht langer name.text";
    EXPECT_TRUE(WriteFileOf(file, 2500, 'n'));
    const std::wstring shortForm = ShortPathName(file);
    if (shortForm.empty() || SystemLower(shortForm) == SystemLower(file))
        GTEST_SKIP() << "the drive gives no short names";
    m_routinen.WipeFiles(Records({shortForm}));
    EXPECT_TRUE(m_boxes.Calls().empty()) << "no link elsewhere";
    EXPECT_EQ(ReadAll(file), std::string(2500, '\0'));
}

TEST_F(FileCommandGuards, RenameChangesTheNameOnlyAndCaseAloneToo) {
    ForceDirectories(kWork + L"ren");
    const std::wstring file = kWork + L"ren\\Brief.txt";
    EXPECT_TRUE(WriteFileOf(file, 12, 'r'));
    Remember();
    for (const wchar_t* bad : {L"..\\..\\weg.txt", L"sub/weg.txt", L"c:weg.txt"}) {
        m_boxes.Clear();
        EXPECT_FALSE(m_routinen.RenameFile(file, kWork + L"ren\\" + bad));
        EXPECT_EQ(OnlyBox(), L"Die Datei brief.txt konnte nicht\rwie gewünscht in " +
                                 SystemLower(kWork + L"ren\\" + bad) +
                                 L" umbenannt werden!\rVermutlich existiert bereits eine Datei mit identischem "
                                 L"Namen\roder der angegebene Name ist nicht erlaubt.");
    }
    ExpectUntouched();
    m_boxes.Clear();
    EXPECT_TRUE(m_routinen.RenameFile(file, kWork + L"ren\\BRIEF.txt"));
    WIN32_FIND_DATAW found;
    HANDLE h = FindFirstFileW((kWork + L"ren\\*.txt").c_str(), &found);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    FindClose(h);
    EXPECT_EQ(std::wstring(found.cFileName), L"BRIEF.txt");
    EXPECT_TRUE(m_boxes.Calls().empty());
}

TEST_F(FileCommandGuards, ACopyThatRunsOutOfSpaceLeavesNoPartialFileUnderTheRealName) {
    const std::wstring reason = NoSmallDriveReason();
    if (!reason.empty())
        GTEST_SKIP() << "no small drive here";
    const std::wstring gross = kWork + L"Gross.bin";
    EXPECT_TRUE(WriteFileOf(gross, 3 << 20, 'g'));
    DeleteFileW(L"s:\\gross.bin");
    m_routinen.CopyFiles(L"", L"s:\\", true, Records({gross}));
    EXPECT_EQ(OnlyBox(), L"Folgende Dateien wurden nicht vollständig kopiert:\rw:\\arbeit\\gross.bin");
    EXPECT_FALSE(FileExists(L"s:\\gross.bin")) << "the partial copy this run made is gone";

    // Over a file that was there before, the partial one is named.
    EXPECT_TRUE(WriteFileOf(L"s:\\Gross.bin", 10, 'x'));
    m_boxes.Clear();
    m_routinen.CopyFiles(L"", L"s:\\", true, Records({gross}));
    ASSERT_EQ(m_boxes.Calls().size(), 2u);
    EXPECT_EQ(m_boxes.Calls()[1].Text, L"Folgende Dateien im Ziel sind unvollständig:\rs:\\gross.bin");
    DeleteFileW(L"s:\\Gross.bin");
    EXPECT_EQ(ReadAll(gross).size(), 3u << 20) << "the source stays whole";
}

TEST_F(FileCommandGuards, TheWipeWarningForANameOver260CharactersSaysSoAndFitsTheScreen) {
    const std::wstring longName = kWork + std::wstring(120, L'a') + L"\\" + std::wstring(120, L'b') + L"\\datei.txt";
    m_routinen.WipeFiles(Records({longName}));
    const std::wstring text = OnlyBox();
    EXPECT_NE(text.find(L"Ihr Name ist länger als 260 Zeichen."), std::wstring::npos);
    size_t longest = 0;
    for (size_t start = 0; start <= text.size();) {
        const size_t end = std::min(text.find(L'\r', start), text.size());
        longest = std::max(longest, end - start);
        start = end + 1;
    }
    EXPECT_LE(longest, 120u) << "every line of the box fits the screen";
}

}  // namespace
