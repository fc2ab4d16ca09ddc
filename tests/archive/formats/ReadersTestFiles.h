#pragma once
// Helpers of the reader tests: the committed reader fixtures, the input files
// every entry must equal, and a recorder of the components' events.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "archive/formats/ArcBase.h"

namespace readertest {

using Bytes = std::vector<std::uint8_t>;

inline std::string DataRoot()
{
    return std::string(VELMORA_SOURCE_DIR) + "/tests/data/readers/";
}

// A name as the library's callers pass it: "\" separated (a drive letter
// in front under Wine; the native file layer maps the rest).
inline std::wstring WindowsName(const std::filesystem::path& path)
{
    std::wstring name = path.wstring();
    for (auto& c : name)
        if (c == L'/')
            c = L'\\';
#ifdef _WIN32
    if (!name.empty() && name[0] == L'\\')
        name = L"Z:" + name;
#endif
    return name;
}

inline std::wstring Archive(const std::string& name)
{
    return WindowsName(DataRoot() + "archives/" + name);
}

inline Bytes ReadBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

// An input file below tests/data/readers/input, "sub/note.txt" style.
inline Bytes Input(const std::string& name)
{
    return ReadBytes(DataRoot() + "input/" + name);
}

inline Bytes ArchiveBytes(const std::string& name)
{
    return ReadBytes(DataRoot() + "archives/" + name);
}

// Every event of a component as one line: "begin readme.txt 1",
// "exists readme.txt", "end readme.txt ok", "error 26900 readme.txt".
// Names are given relative to the scratch folder when they lie below it.
class EventLog {
public:
    explicit EventLog(std::wstring base) : m_base(std::move(base)) {}

    void Attach(velmora::arc::TZipCommon& c)
    {
        c.OnBegin = [this](velmora::arc::TArcBase*, const std::wstring& fn, int recNum, bool& extract) {
            lines.push_back("begin " + Short(fn) + " " + std::to_string(recNum));
            extract = !Contains(declineBegin, Short(fn));
        };
        c.OnFileExists = [this](velmora::arc::TArcBase*, const std::wstring& fn, bool& accept) {
            lines.push_back("exists " + Short(fn));
            accept = !Contains(declineExists, Short(fn));
        };
        c.OnEnd = [this](velmora::arc::TArcBase*, const std::wstring& fn, bool pass) {
            lines.push_back("end " + Short(fn) + (pass ? " ok" : " crc"));
        };
        c.OnError = [this](velmora::arc::TArcBase*, const std::wstring& fn, const std::wstring&, int code) {
            lines.push_back("error " + std::to_string(code) + " " + Short(fn));
        };
    }

    std::string Short(const std::wstring& name) const
    {
        std::string n = Plain(name);
        const std::string base = Plain(m_base);
        if (n.rfind(base, 0) == 0)
            n = n.substr(base.size());
        while (!n.empty() && n[0] == '/')
            n.erase(0, 1);
        return n;
    }

    std::vector<std::string> lines;
    std::vector<std::string> declineBegin;
    std::vector<std::string> declineExists;

private:
    // "/" separated, without a leading drive or separator.
    static std::string Plain(const std::wstring& name)
    {
        std::string out;
        for (wchar_t c : name)
            out += c == L'\\' ? '/' : static_cast<char>(c);
        if (out.size() >= 2 && out[1] == ':')
            out.erase(0, 2);
        while (!out.empty() && out[0] == '/')
            out.erase(0, 1);
        return out;
    }

    static bool Contains(const std::vector<std::string>& v, const std::string& s)
    {
        for (const auto& x : v)
            if (x == s)
                return true;
        return false;
    }

    std::wstring m_base;
};

}  // namespace readertest
