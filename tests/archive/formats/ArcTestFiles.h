#pragma once
// Helpers of the archive library's tests: a scratch folder and the committed
// fixtures, named as the library's callers name files.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace arctest {

using Bytes = std::vector<std::uint8_t>;

// A file below tests/data/FOLDER, as a Windows name under Wine.
inline std::wstring TestDataFile(const std::string& folder, const std::string& relative) {
    std::wstring path =
        std::filesystem::path(std::string(VELMORA_SOURCE_DIR) + "/tests/data/" + folder + "/" + relative).wstring();
#ifdef _WIN32
    for (auto& c : path)
        if (c == L'/') c = L'\\';
    if (!path.empty() && path[0] == L'\\') path = L"Z:" + path;
#endif
    return path;
}

// A fixture below tests/data/archive.
inline std::wstring DataFile(const std::string& relative) { return TestDataFile("archive", relative); }

// A fresh folder per test program, removed at the end.
class ScratchDir {
public:
    explicit ScratchDir(const std::string& tag) {
        m_path = std::filesystem::temp_directory_path() / ("velmora-" + tag + "-" + std::to_string(Counter()++));
        std::filesystem::remove_all(m_path);
        std::filesystem::create_directories(m_path);
    }
    ~ScratchDir() {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    std::wstring Path(const std::string& name) const { return (m_path / name).wstring(); }
    std::wstring Write(const std::string& name, const Bytes& bytes) const {
        std::ofstream out(m_path / name, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return Path(name);
    }
    std::wstring Folder() const { return m_path.wstring(); }

private:
    static int& Counter() {
        static int n = 0;
        return n;
    }
    std::filesystem::path m_path;
};

inline void Put16(Bytes& b, std::size_t at, std::uint16_t v) {
    if (b.size() < at + 2) b.resize(at + 2);
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
inline void Put32(Bytes& b, std::size_t at, std::uint32_t v) {
    Put16(b, at, static_cast<std::uint16_t>(v));
    Put16(b, at + 2, static_cast<std::uint16_t>(v >> 16));
}
inline Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }
// A literal with its embedded NUL bytes, without the terminating one.
template <std::size_t N>
Bytes Bin(const char (&s)[N]) {
    return Bytes(s, s + N - 1);
}
inline Bytes Concat(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

}  // namespace arctest
