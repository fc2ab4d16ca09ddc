#include <gtest/gtest.h>

#include <vector>

#include "ArcTestFiles.h"
#include "archive/formats/ArcBase.h"
#include "platform/rtl/Strings.h"

using namespace velmora;
using namespace velmora::arc;
using namespace arctest;

namespace {

// Components that differ only in the class name that the type check reads.
class NamedComponent : public TUnBase {
public:
    explicit NamedComponent(std::wstring cls) : m_cls(std::move(cls)) {}
    std::wstring ClassName() const override { return m_cls; }

private:
    std::wstring m_cls;
};

struct ErrorLog {
    std::vector<int> codes;
    std::vector<std::wstring> names;
    void Bind(TZipCommon& c) {
        c.OnError = [this](TArcBase*, const std::wstring& fn, const std::wstring& vol, int code) {
            codes.push_back(code);
            names.push_back(fn + L"|" + vol);
        };
    }
};

// A program image of Size bytes, as its MZ header gives it.
Bytes Stub(std::size_t size) {
    Bytes b(size, 0x90);
    b[0] = 'M';
    b[1] = 'Z';
    Put16(b, 2, static_cast<std::uint16_t>(size % 512));
    Put16(b, 4, static_cast<std::uint16_t>((size + 511) / 512));
    return b;
}

Bytes ZipLocalStart() { return Concat(Bin("PK\x03\x04"), Bytes(26, 0)); }

// A comment-less ZIP of one entry whose offsets are all moved by OffsetBias.
Bytes MiniZip(std::uint32_t offsetBias) {
    Bytes zip = ZipLocalStart();
    std::uint32_t cd = static_cast<std::uint32_t>(zip.size());
    Bytes central(46, 0);
    Put32(central, 0, 0x02014B50);
    Put32(central, 42, offsetBias);
    zip = Concat(zip, central);
    Bytes end(22, 0);
    Put32(end, 0, 0x06054B50);
    Put32(end, 12, 46);
    Put32(end, 16, cd + offsetBias);
    return Concat(zip, end);
}

TArcType Detect(const std::wstring& file, std::uint32_t* start = nullptr) {
    NamedComponent lister(L"TArcLister");
    lister.SetArchiveFile(file);
    if (start) *start = lister.ArcStart();
    return lister.ArcType();
}

}  // namespace

TEST(ArcDetect, ShortAndMissingNames) {
    ScratchDir dir("detect");
    EXPECT_EQ(Detect(L""), TArcType::NA);
    EXPECT_EQ(Detect(dir.Write("five.bin", Bin("PK\x03\x04\x00"))), TArcType::FileError);
    EXPECT_EQ(Detect(dir.Write("text.txt", Text("Hello, world\r\n"))), TArcType::Unknown);
}

TEST(ArcDetect, TwoByteSignaturesNeedTheirFullMarks) {
    ScratchDir dir("marks");
    EXPECT_EQ(Detect(dir.Write("rabatt.txt", Text("Rabatt auf alles im Rahmen\r\n"))), TArcType::Unknown);
    EXPECT_EQ(Detect(dir.Write("zoll.txt", Text("ZOLL-Erklaerung fuer 2026 und mehr\r\n"))), TArcType::Unknown);
    EXPECT_EQ(Detect(dir.Write("rar4.rar", Bin("Rar!\x1A\x07\x00 and more bytes"))), TArcType::RAR);
    EXPECT_EQ(Detect(dir.Write("rar5.rar", Bin("Rar!\x1A\x07\x01\x00 and more"))), TArcType::RAR);
    Bytes zoo = Bin("ZOO 2.10 Archive.\x1A\x00\x00");
    Put32(zoo, 20, 0xFDC4A7DC);
    EXPECT_EQ(Detect(dir.Write("a.zoo", zoo)), TArcType::ZOO);
}

TEST(ArcDetect, ArcMarkWithAnyMethod) {
    ScratchDir dir("arcmark");
    for (std::uint8_t method = 1; method <= 11; ++method) {
        Bytes arc(40, 0);
        arc[0] = 26;
        arc[1] = method;
        EXPECT_EQ(Detect(dir.Write("m.arc", arc)), method >= 10 ? TArcType::PAK : TArcType::ARC) << int(method);
    }
    Bytes notArc(40, 0);
    notArc[0] = 26;
    notArc[1] = 12;
    EXPECT_EQ(Detect(dir.Write("m.arc", notArc)), TArcType::Unknown);
}

TEST(ArcDetect, ArchivesBehindProgramStubs) {
    ScratchDir dir("stubs");
    std::uint32_t start = 0;
    // The ARJ archive begins at its mark right behind the image.
    Bytes arj = Bin("\x60\xEA\x22\x00 rest of an arj main header");
    EXPECT_EQ(Detect(dir.Write("arj.exe", Concat(Stub(1000), arj)), &start), TArcType::ArjExe);
    EXPECT_EQ(start, 1001u);
    // An image of whole pages has a last-page count of 0.
    EXPECT_EQ(Detect(dir.Write("arj1024.exe", Concat(Stub(1024), arj)), &start), TArcType::ArjExe);
    EXPECT_EQ(start, 1025u);
    EXPECT_EQ(Detect(dir.Write("zip.exe", Concat(Stub(700), ZipLocalStart())), &start), TArcType::ZipExe);
    EXPECT_EQ(start, 701u);
    Bytes rar = Bin("Rar!\x1A\x07\x00\x00\x00\x00");
    EXPECT_EQ(Detect(dir.Write("rar.exe", Concat(Stub(600), rar)), &start), TArcType::RarExe);
    Bytes arc(30, 0);
    arc[0] = 26;
    arc[1] = 2;
    EXPECT_EQ(Detect(dir.Write("arc.exe", Concat(Stub(512), arc)), &start), TArcType::ArcExe);
    EXPECT_EQ(start, 513u);
    // The image runs past the end of the file.
    Bytes cut = Stub(2000);
    cut.resize(900);
    EXPECT_EQ(Detect(dir.Write("short.exe", cut)), TArcType::Unknown);
}

TEST(ArcDetect, BhTrailerAndZipEndRecord) {
    ScratchDir dir("trailers");
    std::uint32_t start = 0;
    Bytes bh(37, 0);
    Put32(bh, 0, 0x07054842);
    Bytes withLength = Concat(bh, Bytes(4, 0));
    Put32(withLength, 37, 41);
    EXPECT_EQ(Detect(dir.Write("bh.exe", Concat(Stub(800), withLength)), &start), TArcType::BHExe);
    EXPECT_EQ(start, 801u);
    // zip -A style: offsets count from the start of the file.
    // The image ends before the archive, as with a stub that carries data of its own.
    Bytes stub = Stub(300);
    Put16(stub, 2, 200);
    EXPECT_EQ(Detect(dir.Write("abs.exe", Concat(stub, MiniZip(300))), &start), TArcType::ZipExe);
    EXPECT_EQ(start, 301u);
    // Offsets relative to the archive behind a 27648-byte stub; MZ image says 512 bytes.
    Bytes big = Stub(27648);
    Put16(big, 2, 0);
    Put16(big, 4, 1);
    big[512] = 'x';
    EXPECT_EQ(Detect(dir.Write("rel.exe", Concat(big, MiniZip(0))), &start), TArcType::ZipExe);
    EXPECT_EQ(start, 27649u);
}

TEST(ArcComponents, TypeCheckByClassName) {
    ScratchDir dir("classes");
    std::wstring zip = dir.Write("a.zip", ZipLocalStart());
    NamedComponent unzip(L"TUnZIP"), unarj(L"TUnARJ"), lister(L"TArcLister");
    unzip.SetArchiveFile(zip);
    EXPECT_EQ(unzip.ArcType(), TArcType::ZIP);
    ErrorLog log;
    log.Bind(unarj);
    try {
        unarj.SetArchiveFile(zip);
        FAIL() << "no error";
    } catch (const E_RAISE& e) {
        EXPECT_EQ(e.Code(), 25202);
        EXPECT_EQ(e.Message(), L"Unknown file type");
    }
    EXPECT_EQ(unarj.ArcType(), TArcType::NA);
    EXPECT_EQ(unarj.ArchiveFile(), L"");
    ASSERT_EQ(log.codes, std::vector<int>{25202});
    EXPECT_EQ(log.names[0], zip + L"|0");
    // Clearing the name: the extractors refuse NA, the lister does not.
    EXPECT_THROW(unzip.SetArchiveFile(L""), E_RAISE);
    lister.SetArchiveFile(zip);
    EXPECT_NO_THROW(lister.SetArchiveFile(L""));
    EXPECT_EQ(lister.ArcType(), TArcType::NA);
}

TEST(ArcComponents, MissingFileRaisesFileNotFound) {
    ScratchDir dir("missing");
    NamedComponent lister(L"TArcLister");
    ErrorLog log;
    log.Bind(lister);
    try {
        lister.SetArchiveFile(dir.Path("nothing.zip"));
        FAIL();
    } catch (const E_RAISE& e) {
        EXPECT_EQ(e.Message(), L"File not found");
    }
    EXPECT_EQ(log.codes, std::vector<int>{25132});
    EXPECT_EQ(lister.ArcType(), TArcType::NA);
    EXPECT_EQ(lister.ArchiveFile(), L"");
}

TEST(ArcComponents, DefaultsAndSetters) {
    NamedComponent c(L"TUnZOO");
    EXPECT_EQ(c.FileSpec(), L"*.*");
    EXPECT_EQ(c.ProgressNotify(), TProgressNotify::Ten);
    EXPECT_EQ(c.ProgressStep(), 10);
    EXPECT_EQ(c.SetDateTo(), TSetDate::OrigDate);
    EXPECT_FALSE(c.UseStoredDirs());
    c.SetExtractDir(L"C:/out/sub");
    EXPECT_EQ(c.ExtractDir(), L"C:\\out\\sub\\");
    c.SetExtractDir(L"");
    EXPECT_EQ(c.ExtractDir(), L"");
    c.SetFileSpec(L"docs/read me.txt");
    EXPECT_EQ(c.FileSpec(), L"docs\\read me.txt");
    c.SetSetDateTo(TSetDate::CurDate);
    EXPECT_EQ(SetWideDateFlag(), TSetDate::CurDate);
    c.SetSetDateTo(TSetDate::OrigDate);
}

TEST(ArcOutputName, StaysBelowTheTarget) {
    NamedComponent c(L"TUnARJ");
    ErrorLog log;
    log.Bind(c);
    c.SetExtractDir(L"C:\\out");
    struct Case {
        bool storedDirs;
        const wchar_t* entry;
        const wchar_t* target;
    } cases[] = {
        {false, L"docs/readme.txt", L"C:\\out\\readme.txt"},
        {true, L"docs/readme.txt", L"C:\\out\\docs\\readme.txt"},
        {true, L"..\\..\\WINDOWS\\x.dll", L"C:\\out\\WINDOWS\\x.dll"},
        {true, L"C:\\WINDOWS\\x.dll", L"C:\\out\\WINDOWS\\x.dll"},
        {true, L"\\\\server\\share\\dir\\x.dll", L"C:\\out\\dir\\x.dll"},
        {true, L"/etc/./passwd", L"C:\\out\\etc\\passwd"},
        {true, L"a/.../b/. ./c.txt", L"C:\\out\\a\\b\\c.txt"},
        {true, L"C:\\out\\sub\\x.txt", L"C:\\out\\sub\\x.txt"},
        {false, L"..\\x.txt", L"C:\\out\\x.txt"},
    };
    for (const auto& k : cases) {
        c.SetUseStoredDirs(k.storedDirs);
        ASSERT_TRUE(c.BuildOutputName(k.entry)) << ToUtf8(k.entry);
        EXPECT_EQ(c.OutputName(), k.target) << ToUtf8(k.entry);
    }
    EXPECT_TRUE(log.codes.empty());
    c.SetUseStoredDirs(true);
    for (const wchar_t* bad : {L"..\\..", L"dir\\", L"a\\b:stream\\c", L"x.txt:ads", L""}) {
        EXPECT_FALSE(c.BuildOutputName(bad)) << ToUtf8(bad);
        EXPECT_EQ(c.OutputName(), L"");
    }
    EXPECT_EQ(log.codes, std::vector<int>(5, 25138));
}

TEST(ArcOutputName, WithoutExtractDirTheArchiveFolderIsTheBase) {
    ScratchDir dir("outbase");
    std::wstring zip = dir.Write("a.zip", ZipLocalStart());
    NamedComponent c(L"TUnZIP");
    c.SetArchiveFile(zip);
    c.SetUseStoredDirs(true);
    ASSERT_TRUE(c.BuildOutputName(L"C:\\elsewhere\\x.txt"));
    std::wstring folder = dir.Folder();
    for (auto& ch : folder)
        if (ch == L'/') ch = L'\\';
    EXPECT_EQ(c.OutputName(), folder + L"\\elsewhere\\x.txt");
}
