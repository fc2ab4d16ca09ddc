// Loading the file data of a file list's entries: one pass over the folder,
// entries the pass misses, stopping, and the reader thread.

#include <gtest/gtest.h>

#include <atomic>
#include <set>

#include "foundation/TestFiles.h"
#include "panes/DateiListeDaten.h"
#include "platform/rtl/Strings.h"

using namespace velmora;
using velmora::test::TTempFolder;

namespace {

struct DateiListeDaten : ::testing::Test {
    TTempFolder folder{L"dldaten"};
    TEintragListe entries;

    void SetUp() override {
        folder.MakeFile(L"leer.txt");
        folder.MakeFile(L"zwei kb.dat", 2048);
        SetFileAttributesW(folder.MakeFile(L"versteckt.ini", 10).c_str(), FILE_ATTRIBUTE_HIDDEN);
        CreateDirectoryW((folder.Path() + L"Unterordner").c_str(), nullptr);
        for (const wchar_t* name : {L"leer.txt", L"zwei kb.dat", L"versteckt.ini", L"Unterordner", L"weg.txt"}) {
            entries.push_back(std::make_unique<TItemData>());
            entries.back()->Name = name;
        }
    }
    TItemData& Entry(int i) { return *entries[static_cast<size_t>(i)]; }
};

}  // namespace

TEST_F(DateiListeDaten, OnePassLoadsEveryEntryThatExists) {
    AlleDatenLaden(folder.Path(), entries, [] { return true; });
    EXPECT_TRUE(Entry(0).DatenGeladen);
    EXPECT_EQ(Entry(0).Groesse, 0);
    EXPECT_EQ(Entry(1).Groesse, 2048);
    EXPECT_FALSE(Entry(1).DosName.empty());  // "zwei kb.dat" is no 8.3 name
    EXPECT_TRUE(Entry(2).Attr & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_TRUE(Entry(3).Attr & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_GT(Entry(0).Datum, 40000.0);  // a date of this century, local time
    EXPECT_FALSE(Entry(4).DatenGeladen);
    EXPECT_FALSE(DatenLaden(Entry(4), folder.Path()));
}

TEST_F(DateiListeDaten, DataAlreadyLoadedAreKept) {
    Entry(1).Groesse = 7;
    Entry(1).DatenGeladen = true;
    AlleDatenLaden(folder.Path(), entries, [] { return true; });
    EXPECT_EQ(Entry(1).Groesse, 7);
    EXPECT_TRUE(DatenLaden(Entry(1), folder.Path()));
    EXPECT_EQ(Entry(1).Groesse, 7);
}

TEST_F(DateiListeDaten, OneEntryByItsName) {
    ASSERT_TRUE(DatenLaden(Entry(1), folder.Path()));
    EXPECT_EQ(Entry(1).Groesse, 2048);
    EXPECT_FALSE(Entry(0).DatenGeladen);
    TItemData parent;
    parent.Name = L"..";
    EXPECT_FALSE(DatenLaden(parent, folder.Path()));
    // Without a folder the entry's ID list is asked, and it has none.
    EXPECT_FALSE(DatenLaden(Entry(0), L""));
}

TEST_F(DateiListeDaten, StoppingEndsAtOnce) {
    int asked = 0;
    AlleDatenLaden(folder.Path(), entries, [&] { return ++asked < 2; });
    int loaded = 0;
    for (auto& e : entries) loaded += e->DatenGeladen ? 1 : 0;
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(loaded, 1);
}

TEST_F(DateiListeDaten, TheReaderThreadLoadsTheListAndCanBeStoppedBeforeItRuns) {
    {
        TReadFileDataThread reader(entries, folder.Path());
        reader.Resume();
        reader.WaitFor();
    }
    EXPECT_TRUE(Entry(0).DatenGeladen && Entry(1).DatenGeladen && Entry(2).DatenGeladen && Entry(3).DatenGeladen);
    TEintragListe other;
    other.push_back(std::make_unique<TItemData>());
    other.back()->Name = L"leer.txt";
    {
        TReadFileDataThread reader(other, folder.Path());
    }
    EXPECT_FALSE(other.back()->DatenGeladen);
}

// A folder read ahead: panes asking for it while it is wanted share the one
// pass, whatever the case of the name; once the system tells of a change after
// the pass began, the taker reads the folder again; a missing folder gives nothing.
TEST_F(DateiListeDaten, AFolderReadAheadIsSharedWhileWantedAndReadAgainAfterAChange) {
    std::atomic<int> listings{0};
    OrdnerLeseHook = [&](const std::wstring& Ordner) {
        if (Ordner == folder.Path())
            ++listings;
    };
    auto names = [](TOrdnerVorauslesen& ahead) {
        std::set<std::wstring> found;
        ahead.Durchgehen([&](const WIN32_FIND_DATAW& f) {
            found.insert(f.cFileName);
            return true;
        });
        return found;
    };
    const std::set<std::wstring> four{L"leer.txt", L"zwei kb.dat", L"versteckt.ini", L"Unterordner"};
    {
        auto first = TOrdnerVorauslesen::Fuer(folder.Path());
        auto second = TOrdnerVorauslesen::Fuer(AsciiUpper(folder.Path()));
        EXPECT_EQ(first, second);
        EXPECT_EQ(names(*first), four);
        EXPECT_EQ(names(*second), four);
        EXPECT_EQ(listings, 1);
    }
    {
        auto again = TOrdnerVorauslesen::Fuer(folder.Path());
        EXPECT_EQ(names(*again), four);
        EXPECT_EQ(listings, 2);  // the shared pass was no longer wanted
        folder.MakeFile(L"neu.txt");
        std::set<std::wstring> five = four;
        five.insert(L"neu.txt");
        // The system tells of the change a moment later.
        std::set<std::wstring> seen;
        for (int i = 0; i < 500 && seen != five; ++i) {
            seen = names(*again);
            if (seen != five)
                Sleep(10);
        }
        EXPECT_EQ(seen, five);
    }
    OrdnerLeseHook = nullptr;
    TOrdnerVorauslesen missing(folder.Path() + L"fehlt\\");
    EXPECT_TRUE(names(missing).empty());
}
