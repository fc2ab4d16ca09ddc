// Self-extracting programs back to plain archives: the bytes written, the
// proposed names, the messages (through the message-box hook) and the guard
// that keeps the program itself from being overwritten.

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <fstream>

#include "ArcTestFiles.h"
#include "ReadersTestFiles.h"
#include "archive/formats/UnSFX.h"

using namespace velmora::arc;
using namespace readertest;

namespace {

// Records every message box and answers from a script (No when it runs out).
class MessageRecorder {
public:
    MessageRecorder()
    {
        SetArcMessageBoxHook([this](const std::wstring& text, TArcMsgKind kind, TArcMsgButtons) {
            const wchar_t* names[] = {L"warning", L"information", L"question"};
            shown.push_back(std::wstring(names[static_cast<int>(kind)]) + L": " + text);
            if (answers.empty())
                return 7;
            const int answer = answers.front();
            answers.pop_front();
            return answer;
        });
    }
    ~MessageRecorder() { SetArcMessageBoxHook(nullptr); }

    std::vector<std::wstring> shown;
    std::deque<int> answers;
};

struct Conversion {
    const char* program;
    const char* extension;
    const char* expected;
};

}  // namespace

TEST(ReadersSfx, ProgramsBecomeThePlainArchivesTheyCarry)
{
    const Conversion cases[] = {
        {"sfx_zip.exe", ".ZIP", "sfx_zip_expected.zip"},
        {"sfx_zipdd.exe", ".ZIP", "sfx_zipdd_expected.zip"},
        {"sfx_arj.exe", ".ARJ", "sfx_arj_expected.arj"},
        {"sfx_arc.exe", ".ARC", "arcmix.arc"},
        {"sfx_rar.exe", ".RAR", "sfx_rar_expected.rar"},
    };
    for (const Conversion& c : cases) {
        SCOPED_TRACE(c.program);
        MessageRecorder messages;
        arctest::ScratchDir scratch("sfx");
        const std::wstring program = WindowsName(scratch.Write("PROG.EXE", ArchiveBytes(c.program)));
        TUnSFX sfx;
        sfx.SetArchiveFile(program);
        const std::wstring proposal = WindowsName(scratch.Path("PROG")) + std::wstring(c.extension, c.extension + 4);
        ASSERT_EQ(sfx.OutFilename(), proposal);
        ASSERT_TRUE(sfx.Activate());
        EXPECT_EQ(ReadBytes(scratch.Path(std::string("PROG") + c.extension)), ArchiveBytes(c.expected));
        EXPECT_TRUE(messages.shown.empty());
    }
}

TEST(ReadersSfx, AZipWithoutEndRecordShowsInvalidArchiveAndWritesNothing)
{
    MessageRecorder messages;
    arctest::ScratchDir scratch("sfx");
    TUnSFX sfx;
    sfx.SetArchiveFile(WindowsName(scratch.Write("NOEND.EXE", ArchiveBytes("sfx_noend.exe"))));
    EXPECT_FALSE(sfx.Activate());
    EXPECT_EQ(messages.shown, (std::vector<std::wstring>{L"warning: Invalid Archive."}));
    EXPECT_FALSE(std::filesystem::exists(scratch.Path("NOEND.ZIP")));
}

TEST(ReadersSfx, ArchiveFileMessages)
{
    MessageRecorder messages;
    arctest::ScratchDir scratch("sfx");
    TUnSFX sfx;
    const std::wstring missing = WindowsName(scratch.Path("MISSING.EXE"));
    sfx.SetArchiveFile(missing);
    sfx.SetArchiveFile(WindowsName(scratch.Write("TEXT.EXE", arctest::Text("no archive in here"))));
    sfx.SetArchiveFile(WindowsName(scratch.Write("PLAIN.ZIP", ArchiveBytes("sfx_zip_expected.zip"))));
    EXPECT_EQ(messages.shown, (std::vector<std::wstring>{L"warning: " + missing + L"\rFile not found.",
                                                        L"warning: Invalid Archive.",
                                                        L"warning: Unsupported or invalid archive type."}));
    EXPECT_TRUE(sfx.ArchiveFile().empty());
    EXPECT_TRUE(sfx.OutFilename().empty());
}

TEST(ReadersSfx, OutFilenameChoices)
{
    MessageRecorder messages;
    arctest::ScratchDir scratch("sfx");
    TUnSFX sfx;
    sfx.SetOutFilename(L"x.arj");
    EXPECT_TRUE(sfx.OutFilename().empty());

    const std::wstring program = WindowsName(scratch.Write("PROG.EXE", ArchiveBytes("sfx_arj.exe")));
    sfx.SetArchiveFile(program);
    const std::wstring proposal = WindowsName(scratch.Path("PROG.ARJ"));
    const std::wstring folder = WindowsName(scratch.Folder());

    sfx.SetOutFilename(folder);
    EXPECT_EQ(sfx.OutFilename(), proposal);
    sfx.SetOutFilename(L"OTHER.ARJ");
    EXPECT_EQ(sfx.OutFilename(), WindowsName(scratch.Path("OTHER.ARJ")));

    const std::wstring newFolder = WindowsName(scratch.Path("neu"));
    messages.answers = {6};
    sfx.SetOutFilename(newFolder + L"\\A.ARJ");
    EXPECT_TRUE(std::filesystem::is_directory(scratch.Path("neu")));
    EXPECT_EQ(sfx.OutFilename(), newFolder + L"\\A.ARJ");

    const std::wstring gone = WindowsName(scratch.Path("fehlt"));
    sfx.SetOutFilename(gone + L"\\B.ARJ");
    EXPECT_FALSE(std::filesystem::exists(scratch.Path("fehlt")));
    EXPECT_EQ(sfx.OutFilename(), ArcCurrentDirectory() + L"B.ARJ");

    EXPECT_EQ(messages.shown,
              (std::vector<std::wstring>{L"information: ArchiveFile must be defined.",
                                         L"information: " + folder + L" is an existing directory.",
                                         L"question: Directory not found, create?",
                                         L"question: Directory not found, create?"}));
}

TEST(ReadersSfx, TheProgramBeingConvertedIsNeverWrittenOver)
{
    MessageRecorder messages;
    arctest::ScratchDir scratch("sfx");
    const Bytes original = ArchiveBytes("sfx_arj.exe");
    const std::wstring program = WindowsName(scratch.Write("PROG.EXE", original));
    TUnSFX sfx;
    sfx.SetArchiveFile(program);

    // The same file named with other letter case and a detour.
    std::wstring other = program;
    other.replace(other.size() - 8, 8, L"prog.exe");
    sfx.SetOutFilename(other);
    EXPECT_FALSE(sfx.Activate());
    EXPECT_EQ(ReadBytes(scratch.Path("PROG.EXE")), original);

    // A name chosen when the proposed output exists.
    scratch.Write("PROG.ARJ", arctest::Text("old"));
    sfx.SetOutFilename(L"");
    sfx.OnFileExists = [&](TArcBase*, const std::wstring&, bool& accept) {
        sfx.SetOutFilename(program);
        accept = true;
    };
    EXPECT_FALSE(sfx.Activate());
    EXPECT_EQ(ReadBytes(scratch.Path("PROG.EXE")), original);

    // The same file under another name altogether: a second link to it.
    std::filesystem::create_hard_link(scratch.Path("PROG.EXE"), scratch.Path("LINK.ARJ"));
    sfx.OnFileExists = nullptr;
    sfx.SetOutFilename(WindowsName(scratch.Path("LINK.ARJ")));
    EXPECT_FALSE(sfx.Activate());
    EXPECT_EQ(ReadBytes(scratch.Path("PROG.EXE")), original);
}

TEST(ReadersSfx, FullPathNamesCompareWhateverTheirSpelling)
{
    EXPECT_EQ(FullPathName(L"C:\\SFX\\..\\SFX\\.\\PROG.EXE"), L"C:\\SFX\\PROG.EXE");
    EXPECT_EQ(FullPathName(L"C:/a/b/../PROG.EXE"), L"C:\\a\\PROG.EXE");
}

#ifdef _WIN32
TEST(ReadersSfx, AtADriveRootTheProposalHasOneBackslash)
{
    MessageRecorder messages;
    const std::wstring program = L"C:\\VELMORA-SFX-TEST.EXE";
    {
        std::ofstream out(std::filesystem::path(program), std::ios::binary);
        const Bytes bytes = ArchiveBytes("sfx_arj.exe");
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    TUnSFX sfx;
    sfx.SetArchiveFile(program);
    EXPECT_EQ(sfx.OutFilename(), L"C:\\VELMORA-SFX-TEST.ARJ");
    std::filesystem::remove(std::filesystem::path(program));
}
#endif

TEST(ReadersSfx, BhAndPakProgramsAreCopiedFromTheArchiveStart)
{
    MessageRecorder messages;
    arctest::ScratchDir scratch("sfx");
    // An MZ image of 1000 bytes, then the archive.
    Bytes stub = ArchiveBytes("sfx_zip.exe");
    stub.resize(1000);
    // BH: found through the length in the last four bytes of the file.
    Bytes bh = arctest::Bin("BH\x05\x07");
    bh.resize(60, 'b');
    const std::uint32_t fromEnd = static_cast<std::uint32_t>(bh.size() + 4);
    for (int i = 0; i < 4; ++i)
        bh.push_back(static_cast<std::uint8_t>(fromEnd >> (8 * i)));
    Bytes junk(40, 'j');
    const Bytes pak = arctest::Concat(arctest::Bin("\x1a\x0aPAKED.TXT\0\0\0\0"), Bytes(40, 'p'));
    struct Case {
        const char* name;
        Bytes program;
        const char* output;
        Bytes expected;
    };
    const Case cases[] = {
        {"BH.EXE", arctest::Concat(arctest::Concat(stub, junk), bh), "BH.BH", bh},
        {"PAK.EXE", arctest::Concat(stub, pak), "PAK.PAK", pak},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TUnSFX sfx;
        sfx.SetArchiveFile(WindowsName(scratch.Write(c.name, c.program)));
        EXPECT_EQ(sfx.OutFilename(), WindowsName(scratch.Path(c.output)));
        ASSERT_TRUE(sfx.Activate());
        EXPECT_EQ(ReadBytes(scratch.Path(c.output)), c.expected);
    }
    EXPECT_TRUE(messages.shown.empty());
}
