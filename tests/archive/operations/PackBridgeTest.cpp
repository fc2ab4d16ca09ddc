// The outside packer operations against the host's real arj and arc, run
// through packbridge under the names the program declares: what our command
// lines make must be archives the packers themselves find sound and list as
// our reader does.

#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "PackerFixture.h"
#include "archive/operations/ZipRoutinen.h"
#include "foundation/AppExec.h"
#include "platform/gui/Testing.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/PathNames.h"
#include "platform/rtl/Strings.h"

using namespace velmora;
using namespace velmora::archive;
using packrectest::Exists;
using packrectest::ReadAll;
using packrectest::WriteFileText;
using packrectest::WinePath;
using W = std::vector<std::wstring>;

namespace {

class PackBridge : public ::testing::Test, protected packrectest::TOperationsUnderTest {
protected:
    PackBridge() : TOperationsUnderTest(L"packbridge") {}
    void SetUp() override {
        for (const char* tool : {"arj", "arc"})
            if (!Exists(WinePath((std::string("/usr/bin/") + tool).c_str())))
                GTEST_SKIP() << "the host has no " << tool << " (tools/setup.sh installs arj and arc)";
        arj = Install(L"arj.exe");
        arc = Install(L"arc.exe");
        routines.Packer.ArjPath = arj;
        routines.Packer.PkPakPath = routines.Packer.PkUnPakPath = arc;
        SetEnvironmentVariableW(L"PACKBRIDGE_LOG", Log().c_str());
        ForceDirectories(Work());
        // Three sources, one in a sub-folder, of different sizes.
        WriteFileText(Src() + L"a.txt", std::string(1000, 'a'));
        WriteFileText(Src() + L"b.txt", "bbbbbbbbbb\r\n");
        WriteFileText(Src() + L"docs\\c.txt", std::string(3000, 'c') + "xyz");
    }
    void TearDown() override {
        SetEnvironmentVariableW(L"PACKBRIDGE_LOG", nullptr);
        SetEnvironmentVariableW(L"PACKBRIDGE_OUT", nullptr);
        SetCurrentDirectoryW(L"C:\\");
    }

    std::wstring Install(const std::wstring& name) const {
        ForceDirectories(rec.Bin());
        const std::wstring path = rec.Bin() + name;
        CopyFileW(WinePath(VELMORA_PACKBRIDGE_EXE).c_str(), path.c_str(), FALSE);
        return path;
    }
    std::wstring Log() const { return rec.Folder.Path() + L"bridge.log"; }
    std::wstring Work() const { return rec.Folder.Path() + L"arbeit\\"; }
    std::wstring Src() const { return rec.Folder.Path() + L"quelle\\"; }
    TStringList Sources() const { return {Src() + L"a.txt", Src() + L"b.txt", Src() + L"docs\\c.txt"}; }

    // The statuses the bridge logged since the last call.
    W Statuses() {
        W statuses;
        std::istringstream in(ReadAll(Log()));
        std::string line;
        while (std::getline(in, line))
            if (line.rfind("status ", 0) == 0) statuses.push_back(FromUtf8(line.substr(7)));
        DeleteFileW(Log().c_str());
        return statuses;
    }
    // Runs a packer through the bridge in the work folder; its output.
    std::string Tool(const std::wstring& program, const W& words, const std::wstring& folder = L"") {
        const std::wstring out = rec.Folder.Path() + L"ausgabe.txt";
        SetEnvironmentVariableW(L"PACKBRIDGE_OUT", out.c_str());
        TAppExec run(nullptr);
        run.ExeName = program;
        for (const auto& w : words) run.ExeParams.Add(w);
        run.SetExePath(folder.empty() ? Work() : folder);
        run.Wait = true;
        run.Execute();
        SetEnvironmentVariableW(L"PACKBRIDGE_OUT", nullptr);
        const std::string text = ReadAll(out);
        DeleteFileW(out.c_str());
        return text;
    }
    // Names (lower-cased, "\") and sizes as our reader lists them.
    std::map<std::wstring, std::int64_t> Ours(std::uint8_t kind, const std::wstring& archive) {
        std::map<std::wstring, std::int64_t> rows;
        for (const auto& e : Listing(kind, archive)) rows[SystemLower(e->Name)] = e->Size;
        return rows;
    }

    std::wstring arj, arc;
};

// Names lower-cased with "\\" and sizes from a listing of the packer.
std::map<std::wstring, std::int64_t> Theirs(const std::string& listing, bool arj) {
    std::map<std::wstring, std::int64_t> rows;
    std::istringstream in(listing);
    std::string line;
    std::wstring pending;
    bool inTable = false;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (arj) {
            // "001) name", then " 11 UNIX  original compressed ..."
            if (line.size() > 5 && line[3] == ')' && isdigit(static_cast<unsigned char>(line[0]))) {
                pending = SystemLower(FromUtf8(line.substr(5)));
                for (auto& c : pending)
                    if (c == L'/') c = L'\\';
            } else if (!pending.empty()) {
                std::istringstream fields(line);
                std::string rev, os;
                std::int64_t size = -1;
                fields >> rev >> os >> size;
                rows[pending] = size;
                pending.clear();
            }
        } else {
            if (line.find_first_not_of(' ') != std::string::npos &&
                line.compare(line.find_first_not_of(' '), 4, "====") == 0) {
                inTable = !inTable;
                continue;
            }
            std::istringstream fields(line);
            std::string name;
            std::int64_t size = -1;
            if (inTable && fields >> name >> size) rows[SystemLower(FromUtf8(name))] = size;
        }
    }
    return rows;
}

TEST_F(PackBridge, ArjArchivesOurCommandLinesWriteAreSoundAndListAlike) {
    const std::wstring archive = Work() + L"t.arj";
    auto soundAs = [&](const char* step, const std::wstring& name) {
        SCOPED_TRACE(step);
        EXPECT_EQ(Statuses(), W{L"0"});
        const std::string listing = Tool(arj, {L"v", name});
        Tool(arj, {L"t", name});
        EXPECT_EQ(Statuses(), (W{L"0", L"0"}));
        EXPECT_EQ(Ours(ftArj, Work() + name), Theirs(listing, true));
    };
    auto sound = [&](const char* step) { soundAs(step, L"t.arj"); };
    routines.AddToArchive(archive, Sources(), ftArj, L"", false, false, 5, false, false, false, 0);
    sound("add without paths");
    EXPECT_EQ(Ours(ftArj, archive).size(), 3u);

    routines.AddToArchive(Work() + L"p.arj", Sources(), ftArj, L"", false, false, 1, false, true, false, 0);
    soundAs("add with paths", L"p.arj");
    const auto withPaths = Ours(ftArj, Work() + L"p.arj");
    ASSERT_EQ(withPaths.size(), 3u);
    EXPECT_NE(withPaths.begin()->first.find(L"quelle\\"), std::wstring::npos);

    // A newer a.txt freshens; a new d.txt only updates.
    WriteFileText(Src() + L"a.txt", std::string(2000, 'A'));
    WriteFileText(Src() + L"d.txt", "neu");
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER hourLater;
    hourLater.LowPart = now.dwLowDateTime;
    hourLater.HighPart = now.dwHighDateTime;
    hourLater.QuadPart += 36000000000ULL;
    const FILETIME later{hourLater.LowPart, hourLater.HighPart};
    for (const wchar_t* name : {L"a.txt", L"d.txt"}) {
        HANDLE h = CreateFileW((Src() + name).c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        SetFileTime(h, nullptr, nullptr, &later);
        CloseHandle(h);
    }
    routines.AddToArchive(archive, {Src() + L"a.txt", Src() + L"d.txt"}, ftArj, L"", false, false, 5, false, false,
                          false, 1);
    sound("freshen");
    EXPECT_EQ(Ours(ftArj, archive)[L"a.txt"], 2000);
    EXPECT_EQ(Ours(ftArj, archive).count(L"d.txt"), 0u);
    routines.AddToArchive(archive, {Src() + L"d.txt"}, ftArj, L"", false, false, 5, false, false, false, 2);
    sound("update");
    EXPECT_EQ(Ours(ftArj, archive).count(L"d.txt"), 1u);

    WriteFileText(Src() + L"e.txt", "weg damit");
    routines.AddToArchive(archive, {Src() + L"e.txt"}, ftArj, L"", false, false, 5, false, false, true, 0);
    sound("move");
    EXPECT_FALSE(Exists(Src() + L"e.txt"));

    routines.DeleteFromArchive(archive, {L"b.txt"});
    sound("delete");
    EXPECT_EQ(Ours(ftArj, archive).count(L"b.txt"), 0u);

    routines.TestArchive(archive, {L"a.txt", L"c.txt"}, L"");
    sound("test");
    routines.UpdateArchiveDate({archive});
    sound("archive date");
    EXPECT_TRUE(boxes.Calls().empty());
}

TEST_F(PackBridge, AWrongPasswordFailsTheTest) {
    const std::wstring archive = Work() + L"g.arj";
    routines.AddToArchive(archive, Sources(), ftArj, L"geheim", false, false, 5, false, false, false, 0);
    EXPECT_EQ(Statuses(), W{L"0"});
    routines.TestArchive(archive, {L"a.txt"}, L"geheim");
    EXPECT_EQ(Statuses(), W{L"0"});
    routines.TestArchive(archive, {L"a.txt"}, L"falsch");
    const W statuses = Statuses();
    ASSERT_EQ(statuses.size(), 1u);
    EXPECT_NE(statuses[0], L"0");
}

TEST_F(PackBridge, ARecursiveArjArchiveExtractsAsItsSourcesInEveryPathMode) {
    const std::wstring archive = Work() + L"r.arj";
    Tool(arj, {L"a", L"-r", archive, L"*.*"}, Src());
    ASSERT_EQ(Statuses(), W{L"0"});
    const TStringList all = {L"a.txt", L"b.txt", L"docs\\c.txt"};
    const std::string a = ReadAll(Src() + L"a.txt"), c = ReadAll(Src() + L"docs\\c.txt");
    const std::wstring t = rec.Folder.Path() + L"ziel";
    routines.ExtractFromArchive(archive, all, false, t + L"0", L"", 0, TZlOverwrite::zowAlways, 0, L"");
    EXPECT_EQ(ReadAll(t + L"0\\a.txt"), a);
    EXPECT_EQ(ReadAll(t + L"0\\c.txt"), c);
    routines.ExtractFromArchive(archive, {L"docs\\c.txt"}, false, t + L"1", L"", 1, TZlOverwrite::zowAlways, 0,
                                L"docs\\");
    EXPECT_EQ(ReadAll(t + L"1\\c.txt"), c);
    routines.ExtractFromArchive(archive, all, false, t + L"2", L"", 2, TZlOverwrite::zowAlways, 0, L"");
    EXPECT_EQ(ReadAll(t + L"2\\a.txt"), a);
    EXPECT_EQ(ReadAll(t + L"2\\docs\\c.txt"), c);
    EXPECT_EQ(Statuses(), (W{L"0", L"0", L"0"}));
    // With delete the packer takes out what it wrote itself.
    routines.ExtractFromArchive(archive, {L"docs\\c.txt"}, true, t + L"3", L"", 1, TZlOverwrite::zowAlways, 0,
                                L"");
    EXPECT_EQ(ReadAll(t + L"3\\docs\\c.txt"), c);
    EXPECT_EQ(Ours(ftArj, archive).count(L"docs\\c.txt"), 0u);
    EXPECT_EQ(Ours(ftArj, archive).size(), 2u);
}

TEST_F(PackBridge, ArcLosesEntriesByBatchedDeletesAndListsAlike) {
    W names;
    for (int i = 10; i < 22; ++i) {
        names.push_back(L"datei" + std::to_wstring(i) + L".txt");
        WriteFileText(Work() + names.back(), std::string(static_cast<size_t>(i * 7), 'z'));
    }
    W words = {L"a", L"t.arc"};
    words.insert(words.end(), names.begin(), names.end());
    Tool(arc, words);
    ASSERT_EQ(Statuses(), W{L"0"});
    TStringList gone;
    for (size_t i = 0; i < 10; ++i) gone.Add(names[i]);
    routines.DeleteFromArchive(Work() + L"t.arc", gone);
    EXPECT_EQ(Statuses(), (W{L"0", L"0"}));
    routines.TestArchive(Work() + L"t.arc", {names[10], names[11]}, L"");
    EXPECT_EQ(Statuses(), W{L"0"});
    const auto ours = Ours(ftArc, Work() + L"t.arc");
    EXPECT_EQ(ours.size(), 2u);
    EXPECT_EQ(ours, Theirs(Tool(arc, {L"l", L"t.arc"}), false));
}

}  // namespace
