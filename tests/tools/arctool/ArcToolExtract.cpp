// arctool extract ARCHIVE FOLDER [--password P]: extracts every entry with the
// stored folders and dates, overwriting, and prints one line per matched
// entry: its path below FOLDER, a tab, and "ok" or the first code it got.

#include <map>
#include <memory>
#include <ostream>

#include "ArcTool.h"
#include "ArcToolReaders.h"
#include "archive/formats/UnZIP.h"
#include "platform/rtl/Strings.h"

using namespace velmora;
using namespace velmora::arc;

namespace arctool {

namespace {

// The entries in the order they were first heard of, with their outcome.
class Outcomes {
public:
    void Code(const std::wstring& name, int code)
    {
        auto& entry = Find(name);
        if (entry.code == 0)
            entry.code = code;
    }
    void End(const std::wstring& name, bool passed)
    {
        auto& entry = Find(name);
        if (!passed && entry.code == 0)
            entry.code = err::CrcError;
    }
    void Print(std::ostream& out) const
    {
        for (const auto& e : m_entries)
            out << PrintableName(e.name) << "\t" << (e.code ? std::to_string(e.code) : std::string("ok")) << "\n";
    }

private:
    struct Entry {
        std::wstring name;
        int code = 0;
    };
    Entry& Find(const std::wstring& name)
    {
        auto it = m_index.find(name);
        if (it != m_index.end())
            return m_entries[it->second];
        m_index[name] = m_entries.size();
        m_entries.push_back({name});
        return m_entries.back();
    }

    std::vector<Entry> m_entries;
    std::map<std::wstring, std::size_t> m_index;
};

std::wstring BelowFolder(const std::wstring& name, const std::wstring& folder)
{
    if (!folder.empty() && name.size() > folder.size() && SameTextAscii(name.substr(0, folder.size()), folder))
        return name.substr(folder.size());
    return name;
}

int RunExtract(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    std::vector<std::string> plain;
    std::string password;
    bool hasPassword = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--password" && i + 1 < args.size()) {
            password = args[++i];
            hasPassword = true;
        } else {
            plain.push_back(args[i]);
        }
    }
    if (plain.size() != 2)
        return Usage(err);

    // The extractor of the archive's own format.
    const std::unique_ptr<TUnBase> extractor = MakeExtractor(ArgToName(plain[0]));
    TUnBase& zip = *extractor;
    Outcomes outcomes;
    std::wstring archive = ArgToName(plain[0]);
    zip.OnError = [&](TArcBase*, const std::wstring& fn, const std::wstring& volume, int code) {
        // Reports about the archive or one of its volumes belong to no entry.
        if (fn != archive && volume == L"0")
            outcomes.Code(BelowFolder(fn, zip.ExtractDir()), code);
    };
    zip.OnEnd = [&](TArcBase*, const std::wstring& fn, bool passed) {
        outcomes.End(BelowFolder(fn, zip.ExtractDir()), passed);
    };
    zip.OnFileExists = [](TArcBase*, const std::wstring&, bool& accept) { accept = true; };
    int status = 0;
    try {
        zip.SetArchiveFile(archive);
        zip.SetExtractDir(ArgToName(plain[1]));
        zip.SetUseStoredDirs(true);
        zip.SetSetDateTo(TSetDate::OrigDate);
        if (hasPassword)
            zip.SetPasswords(TStringList{ArgToName(password)});
        zip.Extract();
    } catch (const E_RAISE& e) {
        // A failure inside an entry's decoding belongs to the entry in work.
        if (!zip.OutputName().empty() && e.Message() == std::to_wstring(e.Code()))
            outcomes.Code(BelowFolder(zip.OutputName(), zip.ExtractDir()), e.Code());
        err << "error\t" << e.Code() << "\t" << ToUtf8(ArcErrorText(e.Code())) << "\n";
        status = 1;
    } catch (const velmora::Exception& e) {
        err << "error\t0\t" << ToUtf8(e.Message()) << "\n";
        status = 1;
    }
    outcomes.Print(out);
    return status;
}

const Registration kExtract{{"extract", "extract ARCHIVE FOLDER [--password P]", &RunExtract}};

}  // namespace

}  // namespace arctool
