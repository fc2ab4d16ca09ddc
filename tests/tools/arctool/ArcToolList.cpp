// arctool list ARCHIVE: one line per listed entry, the totals and reports on
// standard error.

#include <cstdio>
#include <optional>

#include "ArcTool.h"
#include "archive/formats/ArcLister.h"
#include "platform/rtl/Strings.h"

using namespace velmora;
using namespace velmora::arc;

namespace arctool {

namespace {

int CrcDigits(TArcType t) {
    switch (t) {
    case TArcType::ARC: case TArcType::ArcExe: case TArcType::PAK: case TArcType::PakExe:
    case TArcType::LHA: case TArcType::LZH: case TArcType::ZOO:
        return 4;
    case TArcType::CAB: case TArcType::TAR:
        return 0;
    default:
        return 8;
    }
}

std::string DateText(TDateTime date) {
    if (date == 0) return "-";
    DateParts p = DecodeDateTime(date);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", p.year, p.month, p.day, p.hour, p.minute,
                  p.second);
    return text;
}

std::string EntryLine(const TArcLister& l) {
    std::string crc = "-";
    if (int digits = CrcDigits(l.ArcType())) {
        char hex[16];
        std::snprintf(hex, sizeof hex, "%0*lx", digits, static_cast<unsigned long>(l.FileCRC));
        crc = hex;
    }
    return PrintableName(l.FileName) + "\t" + std::to_string(l.UnpackedSize) + "\t" + std::to_string(l.PackedSize) +
           "\t" + crc + "\t" + ToUtf8(l.MethodName) + "\t" + DateText(l.FileDate) + "\t" +
           (l.IsFolder ? "dir" : "file");
}

// A report goes out once it is clear that no exception of the same code follows it:
// RaiseArcError fires OnError right before it raises.
class Reports {
public:
    explicit Reports(std::ostream& err) : m_err(err) {}
    void Add(int code) {
        Flush();
        m_pending = code;
    }
    void Flush() {
        if (m_pending) m_err << "report\t" << *m_pending << "\t" << ToUtf8(ArcErrorText(*m_pending)) << "\n";
        m_pending.reset();
    }
    void DropIfRaised(int code) {
        if (m_pending == code) m_pending.reset();
        Flush();
    }

private:
    std::ostream& m_err;
    std::optional<int> m_pending;
};

int RunList(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() != 1) return Usage(err);
    TArcLister lister;
    Reports reports(err);
    lister.OnError = [&](TArcBase*, const std::wstring&, const std::wstring&, int code) { reports.Add(code); };
    lister.OnRead = [&](TArcBase*, int) {
        reports.Flush();
        out << EntryLine(lister) << "\n";
    };
    lister.OnTotals = [&](TArcBase*, int count) {
        reports.Flush();
        err << "total\t" << count << "\t" << lister.UnpackedSize << "\t" << lister.PackedSize << "\t"
            << static_cast<int>(lister.Ratio) << "\n";
    };
    try {
        lister.SetArchiveFile(ArgToName(args[0]));
        lister.SetFileSpec(L"*.*");
        lister.Activate();
        reports.Flush();
        return 0;
    } catch (const E_RAISE& e) {
        reports.DropIfRaised(e.Code());
        err << "error\t" << e.Code() << "\t" << ToUtf8(e.Message()) << "\n";
    } catch (const velmora::Exception& e) {
        reports.Flush();
        err << "error\t0\t" << ToUtf8(e.Message()) << "\n";
    } catch (const std::exception& e) {
        reports.Flush();
        err << "error\t0\t" << e.what() << "\n";
    }
    return 1;
}

const Registration kList{{"list", "list ARCHIVE", &RunList}};

}  // namespace

}  // namespace arctool
