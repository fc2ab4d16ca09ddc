// What each reader does beyond plain extraction: its event order, its codes
// for damaged, protected and unsupported entries, volumes, and the entries it
// passes over.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "ArcTestFiles.h"
#include "ReadersTestFiles.h"
#include "archive/formats/UnARC.h"
#include "archive/formats/UnARJ.h"
#include "archive/formats/UnLHA.h"
#include "archive/formats/UnZoo.h"

using namespace velmora::arc;
using namespace readertest;
using Lines = std::vector<std::string>;

namespace {

template <typename Reader>
class ReaderRun {
public:
    ReaderRun(const std::wstring& archive, const std::wstring& spec = L"*.*")
        : scratch("formats"), log(scratch.Folder())
    {
        log.Attach(reader);
        reader.SetArchiveFile(archive);
        reader.SetFileSpec(spec);
        reader.SetExtractDir(scratch.Folder());
        reader.SetUseStoredDirs(true);
    }
    explicit ReaderRun(const char* fixture, const std::wstring& spec = L"*.*") : ReaderRun(Archive(fixture), spec) {}

    // The code Extract raised, or 0.
    int Extract()
    {
        try {
            reader.Extract();
        } catch (const velmora::Exception& e) {
            return ErrorCodeOf(e);
        }
        return 0;
    }
    std::filesystem::path Out(const std::string& name) const { return scratch.Path(name); }
    void Put(const std::string& name, const std::string& text) const { scratch.Write(name, arctest::Text(text)); }
    std::string Text(const std::string& name) const
    {
        const Bytes b = ReadBytes(Out(name));
        return std::string(b.begin(), b.end());
    }

    arctest::ScratchDir scratch;
    EventLog log;
    Reader reader;
};

}  // namespace

TEST(ReadersArj, BeginComesBeforeFileExistsAndADeclinedEntryIsLeftAlone)
{
    ReaderRun<TUnARJ> run("arj_m1.arj", L"*.txt");
    run.Put("readme.txt", "old");
    run.log.declineExists = {"readme.txt"};
    ASSERT_EQ(run.Extract(), 0);
    EXPECT_EQ(run.Text("readme.txt"), "old");
    EXPECT_EQ(run.log.lines, (Lines{"begin readme.txt 1", "exists readme.txt", "error 26900 readme.txt",
                                    "begin text.txt 1", "end text.txt ok", "error 26900 data.bin",
                                    "begin empty.txt 2", "end empty.txt ok", "begin tiny.txt 3", "end tiny.txt ok"}));
}

TEST(ReadersArj, NameWithoutWildcardsExtractsTheFirstMatchAndStops)
{
    ReaderRun<TUnARJ> run("arj_m4.arj", L"text.txt");
    ASSERT_EQ(run.Extract(), 0);
    EXPECT_EQ(run.log.lines, (Lines{"error 26900 readme.txt", "begin text.txt 1", "end text.txt ok"}));
    EXPECT_EQ(ReadBytes(run.Out("text.txt")), Input("text.txt"));
}

TEST(ReadersArj, ProtectedOldAndFutureEntriesRaiseThePartsCodes)
{
    struct Case {
        const char* archive;
        int code;
    };
    for (const Case& c : {Case{"arj_garbled.arj", 25190}, Case{"arj_m4v1.arj", 25200}, Case{"arj_needed.arj", 25302}}) {
        SCOPED_TRACE(c.archive);
        ReaderRun<TUnARJ> run(c.archive);
        EXPECT_EQ(run.Extract(), c.code);
        ASSERT_FALSE(run.log.lines.empty());
        EXPECT_EQ(run.log.lines.back().substr(0, 11), "error " + std::to_string(c.code));
    }
}

TEST(ReadersArj, WrongCrcIsReportedAndTheRunGoesOn)
{
    ReaderRun<TUnARJ> run("arj_badcrc.arj");
    ASSERT_EQ(run.Extract(), 0);
    EXPECT_EQ(Lines(run.log.lines.begin(), run.log.lines.begin() + 4),
              (Lines{"begin readme.txt 1", "error 25117 readme.txt", "end readme.txt crc", "begin data.bin 2"}));
    EXPECT_EQ(ReadBytes(run.Out("data.bin")), Input("data.bin"));
}

TEST(ReadersArj, ChapterFolderAndVolumeLabelsArePassedOver)
{
    ReaderRun<TUnARJ> chapters("arj_chapters.arj");
    ASSERT_EQ(chapters.Extract(), 0);
    EXPECT_EQ(ReadBytes(chapters.Out("readme.txt")), Input("readme.txt"));
    EXPECT_EQ(ReadBytes(chapters.Out("tiny.txt")), Input("tiny.txt"));

    ReaderRun<TUnARJ> types("arj_types.arj");
    ASSERT_EQ(types.Extract(), 0);
    EXPECT_EQ(Lines(types.log.lines.begin(), types.log.lines.begin() + 3),
              (Lines{"error 26900 folder", "error 26900 LABEL", "begin empty.txt 1"}));
    EXPECT_FALSE(std::filesystem::exists(types.Out("folder")));
    EXPECT_EQ(ReadBytes(types.Out("tiny.txt")), Input("tiny.txt"));
}

TEST(ReadersArj, VolumesAreFollowedAndEachPartIsCheckedOnItsOwn)
{
    ReaderRun<TUnARJ> run("vol.arj");
    ASSERT_EQ(run.Extract(), 0);
    EXPECT_EQ(run.log.lines, (Lines{"begin text.txt 1", "error 25903 " + run.log.Short(Archive("vol.A01")),
                                    "error 25903 " + run.log.Short(Archive("vol.A02")), "end text.txt ok"}));
    EXPECT_EQ(ReadBytes(run.Out("text.txt")), Input("text.txt"));
}

TEST(ReadersArj, AnEntryPassedOverIsPassedOverInEveryVolume)
{
    ReaderRun<TUnARJ> run("vol.arj", L"other.txt");
    ASSERT_EQ(run.Extract(), 0);
    EXPECT_EQ(run.log.lines.front(), "error 26900 text.txt");
    EXPECT_EQ(run.log.lines.size(), 3u);
    EXPECT_FALSE(std::filesystem::exists(run.Out("text.txt")));
}

TEST(ReadersArj, AMissingVolumeRaisesFileNotFound)
{
    arctest::ScratchDir copy("volumes");
    const std::wstring first = copy.Write("vol.arj", ArchiveBytes("vol.arj"));
    copy.Write("vol.A01", ArchiveBytes("vol.A01"));
    ReaderRun<TUnARJ> run(WindowsName(first));
    EXPECT_EQ(run.Extract(), 25132);
}

TEST(ReadersLha, FileExistsComesBeforeBeginAndFoldersFollowTheExtendedHeaders)
{
    ReaderRun<TUnLHA> run("lh5_level1.lzh");
    run.Put("readme.txt", "old");
    ASSERT_EQ(run.Extract(), 0);
    EXPECT_EQ(Lines(run.log.lines.begin(), run.log.lines.begin() + 3),
              (Lines{"exists readme.txt", "begin readme.txt 1", "end readme.txt ok"}));
    EXPECT_EQ(run.log.lines.back(), "end sub/note.txt ok");
    EXPECT_EQ(ReadBytes(run.Out("readme.txt")), Input("readme.txt"));
}

TEST(ReadersLha, WithoutStoredFoldersEntriesLandInTheTargetFolder)
{
    ReaderRun<TUnLHA> run("lh1_level1.lzh", L"note.txt");
    run.reader.SetUseStoredDirs(false);
    ASSERT_EQ(run.Extract(), 0);
    EXPECT_EQ(ReadBytes(run.Out("note.txt")), Input("sub/note.txt"));
}

TEST(ReadersLha, UnsupportedMethodRaisesBeforeTheTargetIsTouched)
{
    ReaderRun<TUnLHA> run("lh6.lzh");
    run.Put("readme.txt", "old");
    EXPECT_EQ(run.Extract(), 25200);
    EXPECT_EQ(run.Text("readme.txt"), "old");
    EXPECT_EQ(run.log.lines, (Lines{"error 25200 readme.txt"}));
}

TEST(ReadersLha, FolderAndLinkEntriesAreSkippedAndLz5IsNotTakenForLh5)
{
    ReaderRun<TUnLHA> all("lha_special.lzh");
    EXPECT_EQ(all.Extract(), 25200);
    EXPECT_EQ(all.log.lines, (Lines{"error 26900 sub/", "error 26900 link|readme.txt", "error 25200 lz5.txt"}));
    EXPECT_FALSE(std::filesystem::exists(all.Out("lz5.txt")));

    // The archive has no closing zero byte: the walk ends at its end.
    ReaderRun<TUnLHA> later("lha_special.lzh", L"*.txt");
    later.reader.SetFileSpec(L"runs.txt");
    ASSERT_EQ(later.Extract(), 0);
    EXPECT_EQ(ReadBytes(later.Out("sub/runs.txt")), Input("runs.txt"));

    ReaderRun<TUnLHA> bad("lha_special.lzh", L"badcrc.txt");
    ASSERT_EQ(bad.Extract(), 0);
    EXPECT_EQ(bad.log.lines, (Lines{"begin badcrc.txt 1", "error 25117 badcrc.txt", "end badcrc.txt crc"}));
}

TEST(ReadersArc, BeginBeforeFileExistsWithTheCountAsRecordNumber)
{
    ReaderRun<TUnARC> run("arcmix.arc", L"*.txt");
    run.Put("readme.txt", "old");
    run.log.declineExists = {"readme.txt"};
    ASSERT_EQ(run.Extract(), 0);
    EXPECT_EQ(run.log.lines, (Lines{"error 26900 data.bin", "begin empty.txt 0", "end empty.txt ok",
                                    "begin readme.txt 1", "exists readme.txt", "error 26900 readme.txt",
                                    "begin text.txt 1", "end text.txt ok", "begin tiny.txt 2", "end tiny.txt ok"}));
    EXPECT_EQ(run.Text("readme.txt"), "old");
}

TEST(ReadersArc, JunkPakMethodsAndWrongCrcs)
{
    ReaderRun<TUnARC> junk("junk11.arc");
    ASSERT_EQ(junk.Extract(), 0);
    EXPECT_EQ(junk.log.lines.back(), "error 25137 " + junk.log.Short(Archive("junk11.arc")));
    EXPECT_FALSE(std::filesystem::exists(junk.Out("RUNS.TXT")));

    ReaderRun<TUnARC> pak("pak10.arc");
    ASSERT_EQ(pak.Extract(), 0);
    EXPECT_EQ(pak.log.lines, (Lines{"error 25200 CRUSHED.TXT", "begin RUNS.TXT 0", "end RUNS.TXT ok"}));
    EXPECT_FALSE(std::filesystem::exists(pak.Out("CRUSHED.TXT")));

    ReaderRun<TUnARC> bad("badcrc.arc");
    EXPECT_EQ(bad.Extract(), 25117);
    EXPECT_EQ(bad.log.lines, (Lines{"begin RUNS.TXT 0", "error 25117 RUNS.TXT"}));
}

TEST(ReadersZoo, FileExistsBeforeBeginAndTheChainEndsAtTheTerminalEntry)
{
    ReaderRun<TUnZOO> run("zoo_methods.zoo", L"*.bin");
    run.Put("data.bin", "old");
    ASSERT_EQ(run.Extract(), 0);
    EXPECT_EQ(run.log.lines, (Lines{"exists data.bin", "begin data.bin 0", "end data.bin ok", "begin data2.bin 1",
                                    "end data2.bin ok"}));
}

TEST(ReadersZoo, DeletedUnknownAndDamagedEntries)
{
    ReaderRun<TUnZOO> run("zoo_special.zoo");
    ASSERT_EQ(run.Extract(), 0);
    EXPECT_EQ(run.log.lines, (Lines{"error 25200 odd.txt", "begin readme.txt 0", "end readme.txt ok",
                                    "begin badcrc.txt 1", "error 25117 badcrc.txt", "end badcrc.txt crc"}));
    EXPECT_FALSE(std::filesystem::exists(run.Out("old.txt")));
    EXPECT_EQ(ReadBytes(run.Out("readme.txt")), Input("readme.txt"));
}

TEST(ReadersZoo, AChainPointingBackEndsAndABadTagRaises)
{
    ReaderRun<TUnZOO> loop("zoo_loop.zoo");
    ASSERT_EQ(loop.Extract(), 0);
    EXPECT_EQ(loop.log.lines, (Lines{"begin readme.txt 0", "end readme.txt ok", "begin runs.txt 1", "end runs.txt ok"}));

    ReaderRun<TUnZOO> tag("zoo_badtag.zoo");
    EXPECT_EQ(tag.Extract(), 25108);
    EXPECT_EQ(ReadBytes(tag.Out("readme.txt")), Input("readme.txt"));
}

TEST(ReadersCommon, ArchivesOfAnotherKindAreRefusedBeforeAnythingIsOpened)
{
    TUnARJ arj;
    EXPECT_THROW(arj.SetArchiveFile(Archive("arcmix.arc")), E_RAISE);
    TUnZOO zoo;
    zoo.SetArchiveFile(Archive("arcmix.arc"));
    try {
        zoo.Extract();
        FAIL();
    } catch (const E_RAISE& e) {
        EXPECT_EQ(e.Code(), 25137);
    }
    TUnLHA lha;
    try {
        lha.Extract();
        FAIL();
    } catch (const E_RAISE& e) {
        EXPECT_EQ(e.Code(), 25138);
    }
}

TEST(ReadersCommon, ProgressComesInTheChosenStepsUpToTheWholeEntry)
{
    for (const char* archive : {"arj_m1.arj", "lh5_level0.lzh", "arcmix.arc", "zoo_methods.zoo"}) {
        SCOPED_TRACE(archive);
        std::unique_ptr<TUnBase> reader;
        const std::string name = archive;
        if (name.ends_with(".arj"))
            reader = std::make_unique<TUnARJ>();
        else if (name.ends_with(".lzh"))
            reader = std::make_unique<TUnLHA>();
        else if (name.ends_with(".arc"))
            reader = std::make_unique<TUnARC>();
        else
            reader = std::make_unique<TUnZOO>();
        arctest::ScratchDir scratch("progress");
        std::vector<int> steps;
        reader->SetArchiveFile(Archive(archive));
        reader->SetFileSpec(L"text.txt");
        reader->SetExtractDir(WindowsName(scratch.Folder()));
        reader->SetProgressNotify(TProgressNotify::TwentyFive);
        reader->OnProgress = [&](TArcBase*, const std::wstring&, std::uint8_t percent) { steps.push_back(percent); };
        reader->Extract();
        EXPECT_EQ(steps, (std::vector<int>{25, 50, 75, 100}));
    }
}

TEST(ReadersLha, AnUnpackedSizeFarBeyondThePackedDataEndsWithAnError)
{
    // The first entry of the level-0 fixture claims 2 GiB instead of 2000 bytes.
    Bytes lzh = ArchiveBytes("lh5_level0.lzh");
    arctest::Put32(lzh, 11, 0x7FFFFFFF);
    arctest::ScratchDir copy("huge");
    const std::wstring archive = WindowsName(copy.Write("huge.lzh", lzh));
    ReaderRun<TUnLHA> run(archive, L"readme.txt");
    EXPECT_EQ(run.Extract(), 25134);
    EXPECT_LT(std::filesystem::file_size(run.Out("readme.txt")), 1u << 20);
    // The failure reaches OnError, and the exception carries the code's text.
    ASSERT_FALSE(run.log.lines.empty());
    EXPECT_EQ(run.log.lines.back(), "error 25134 readme.txt");
    try {
        run.reader.Extract();
        ADD_FAILURE() << "no exception";
    } catch (const E_RAISE& e) {
        EXPECT_EQ(e.Message(), L"Error reading file or unexpected end of file");
    }
}
