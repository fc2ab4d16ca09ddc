// The help file as built: its structure read back the way the viewer reads it,
// its topics against the text source, and a topic for every help context that
// the program's sources hand out.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <set>
#include <sstream>

#include "HelpContextScan.h"
#include "HelpFileReader.h"
#include "HelpSource.h"

namespace velmora::helptest {

// Names a scanned use in a failure message.
void PrintTo(const TContextUse& use, std::ostream* out) { *out << use.File << ":" << use.Line << " context " << use.Context; }

namespace {

const THelpFile& Help() {
    static const THelpFile file = ReadHelpFile(VELMORA_HELP_FILE);
    return file;
}

const helpgen::THelpBook& Source() {
    static const helpgen::THelpBook book = [] {
        std::ifstream in(VELMORA_SOURCE_DIR "/docs/help/Velmora-Hilfe.txt", std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return helpgen::ParseHelpSource(text.str());
    }();
    return book;
}

std::string PlainText(const helpgen::TParagraph& p) {
    std::string s;
    for (const helpgen::TRun& r : p.Runs) s += r.Text;
    return s;
}

// ---- structure

TEST(HelpFileStructure, TheDirectoryFindsEveryFileTheViewerReads) {
    for (const char* name : {"|SYSTEM", "|TOPIC", "|FONT", "|CONTEXT", "|CTXOMAP"})
        EXPECT_TRUE(Help().Files.count(name)) << name;
}

TEST(HelpFileStructure, TheTitleIsTheHelpFilesName) { EXPECT_EQ(Help().Title, "Velmora-Hilfe"); }

TEST(HelpFileStructure, TheViewersMainWindowIsCaptionedWithTheTitle) {
    EXPECT_EQ(Help().WindowCaptions.at("main"), "Velmora-Hilfe");
}

TEST(HelpFileStructure, TheContentsTopicIsTheFirstPage) {
    ASSERT_FALSE(Help().Pages.empty());
    EXPECT_EQ(Help().PageByOffset(Help().ContentsOffset), &Help().Pages.front());
}

TEST(HelpFileStructure, EveryTopicOfTheSourceIsAPageWithItsTitleAndText) {
    ASSERT_EQ(Help().Pages.size(), Source().Topics.size());
    for (size_t i = 0; i < Source().Topics.size(); ++i) {
        const helpgen::TTopic& topic = Source().Topics[i];
        const THelpPage& page = Help().Pages[i];
        EXPECT_EQ(page.Title, topic.Title) << "topic " << i;
        std::vector<std::string> expected;
        for (const helpgen::TParagraph& p : topic.Paragraphs) expected.push_back(PlainText(p));
        EXPECT_EQ(page.Paragraphs, expected) << topic.Title;
    }
}

TEST(HelpFileStructure, EachPageIsFoundByItsOwnTopicOffset) {
    for (const THelpPage& page : Help().Pages) EXPECT_EQ(Help().PageByOffset(page.Offset), &page) << page.Title;
}

TEST(HelpFileStructure, BrowsingForwardAndBackLeadsToTheNeighbourPages) {
    const auto& pages = Help().Pages;
    for (size_t i = 0; i < pages.size(); ++i) {
        EXPECT_EQ(pages[i].BrowseForward, i + 1 < pages.size() ? pages[i + 1].Offset : 0xFFFFFFFF) << pages[i].Title;
        EXPECT_EQ(pages[i].BrowseBack, i > 0 ? pages[i - 1].Offset : 0xFFFFFFFF) << pages[i].Title;
    }
}

TEST(HelpFileStructure, EveryContextStringLeadsThroughItsHashToItsTopic) {
    for (size_t i = 0; i < Source().Topics.size(); ++i) {
        const auto offset = Help().OffsetOfHash(helpgen::ContextHash(Source().Topics[i].ContextName));
        ASSERT_TRUE(offset) << Source().Topics[i].ContextName;
        EXPECT_EQ(Help().PageByOffset(*offset), &Help().Pages[i]) << Source().Topics[i].ContextName;
    }
}

TEST(HelpFileStructure, EveryJumpInTheTextLeadsToAnotherTopic) {
    size_t jumps = 0;
    for (const THelpPage& page : Help().Pages)
        for (std::int32_t hash : page.Jumps) {
            ++jumps;
            const auto offset = Help().OffsetOfHash(hash);
            ASSERT_TRUE(offset) << page.Title << ": jump " << hash;
            EXPECT_NE(Help().PageByOffset(*offset), &page) << page.Title;
        }
    EXPECT_GE(jumps, Help().Pages.size() / 2) << "the contents topic lists the topics";
}

TEST(HelpFileStructure, TheReaderRefusesAFileCutShort) {
    std::vector<std::uint8_t> bytes = Help().Bytes;
    bytes.resize(bytes.size() - 100);
    EXPECT_THROW(ParseHelpFile(bytes), THelpFormatError);
}

TEST(HelpFileStructure, TheReaderRefusesADirectoryWithoutItsTreeMagic) {
    std::vector<std::uint8_t> bytes = Help().Bytes;
    const size_t directory = bytes[4] | (bytes[5] << 8) | (bytes[6] << 16) | (static_cast<size_t>(bytes[7]) << 24);
    bytes[directory + 9] ^= 0xFF;
    EXPECT_THROW(ParseHelpFile(bytes), THelpFormatError);
}

// ---- the scan of the sources

std::vector<long> Contexts(const std::string& source) {
    std::vector<long> found;
    for (const TContextUse& use : ScanHelpContexts(source, "x.cpp")) found.push_back(use.Context);
    std::sort(found.begin(), found.end());
    return found;
}

TEST(HelpContextScan, FindsAssignmentsAndCallsWithANumber) {
    EXPECT_EQ(Contexts("HelpContext = 57;\nconstexpr int kHelpContext = 58;\nSetHelpContextAll(17);\n"
                       "dlg.SetHilfe(8);\nApplication->HelpContext(5);\nitem.HelpContext = row.HelpContext;\n"),
              (std::vector<long>{5, 8, 17, 57, 58}));
}

TEST(HelpContextScan, FindsTheLastArgumentOfAMessageBox) {
    EXPECT_EQ(Contexts("MessageDlg(L\"a, b (c)\", TMsgDlgType::mtError, {TMsgDlgBtn::mbOK}, 67);\n"
                       "MessageDlg(f(x, y), TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});\n"
                       "MessageDlgCaption(L\"T\", L\"x\", t, {TMsgDlgBtn::mbOK}, 0);\n"),
              (std::vector<long>{67}));
}

TEST(HelpContextScan, FindsTheHelpFieldOfTableRowsCountingMacroFields) {
    const std::string source =
        "#define ITEM(Name) &T::Name, L\"\" #Name\n"
        "struct TRow {\n  int Level; // 0, 1 or 2\n  TMenuItem T::*Item;\n  const wchar_t* Name;\n"
        "  const wchar_t* Caption;\n  TShortCut ShortCut;\n  int HelpContext;\n  THandler Handler;\n};\n"
        "const TRow kMenu[] = {\n  {0, ITEM(A), L\"&A, b\", Key(VK_F7), 2, &F::A},\n"
        "  {1, ITEM(B), L\"B\", 0, 0, nullptr},\n  {1, ITEM(C), L\"C\", Ctrl('N'), 31, nullptr},\n};\n";
    EXPECT_EQ(Contexts(source), (std::vector<long>{2, 31}));
}

TEST(HelpContextScan, ReportsATableHelpFieldThatIsNoNumber) {
    EXPECT_EQ(Contexts("struct TTexte { const wchar_t* Text; int ArchivHilfe; };\n"
                       "const TTexte kTexte[] = {{L\"a\", 70}, {L\"b\", kSomeContext}};\n"),
              (std::vector<long>{-1, 70}));
}

const std::vector<TContextUse>& SourceContexts() {
    static const std::vector<TContextUse> uses = ScanSourceTree(VELMORA_SOURCE_DIR "/src");
    return uses;
}

TEST(HelpContextScan, FindsTheContextsOfTheMainWindowTheDialogsAndTheAutostartManager) {
    std::set<long> found;
    for (const TContextUse& use : SourceContexts()) found.insert(use.Context);
    for (long context : {1L, 2L, 12L, 13L, 14L, 15L, 17L, 57L, 58L, 64L, 70L, 71L})
        EXPECT_TRUE(found.count(context)) << context;
}

// ---- a topic for every help context of the sources


class HelpContextOfTheSources : public testing::TestWithParam<TContextUse> {};

TEST_P(HelpContextOfTheSources, OpensAPageOfItsOwn) {
    const TContextUse& use = GetParam();
    ASSERT_GT(use.Context, 0) << use.File << ":" << use.Line << ": a help context that is no number";
    const auto mapped = Help().ContextMap.find(static_cast<std::uint32_t>(use.Context));
    ASSERT_NE(mapped, Help().ContextMap.end())
        << use.File << ":" << use.Line << ": help context " << use.Context
        << " has no topic in docs/help/Velmora-Hilfe.txt";
    const THelpPage* page = Help().PageByOffset(mapped->second);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->Offset, mapped->second) << "the context points into a topic instead of at its start";
    EXPECT_NE(page, &Help().Pages.front()) << "help context " << use.Context << " opens only the contents";
    EXPECT_GE(page->Paragraphs.size(), 2u) << page->Title << ": a title without text";
}

INSTANTIATE_TEST_SUITE_P(All, HelpContextOfTheSources, testing::ValuesIn(SourceContexts()),
                         [](const testing::TestParamInfo<TContextUse>& info) {
                             std::string name = info.param.File + "_" + std::to_string(info.param.Line) + "_" +
                                                std::to_string(info.param.Context < 0 ? 0 : info.param.Context);
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             return name;
                         });

TEST(HelpContextMap, EveryNumberOfTheSourceIsInTheMap) {
    for (const helpgen::TTopic& topic : Source().Topics)
        for (std::uint32_t id : topic.MapIds) EXPECT_TRUE(Help().ContextMap.count(id)) << id;
}

}  // namespace
}  // namespace velmora::helptest
