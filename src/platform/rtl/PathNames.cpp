#include "PathNames.h"

namespace velmora {

namespace {

// A name ends at its last "\", or behind the colon of a leading drive ("c:name").
// A colon anywhere else belongs to the name: Wine lists a Unix file "a:b.txt"
// under that very name.
size_t LastDelimiter(std::wstring_view path) {
    const size_t slash = path.rfind(L'\\');
    if (slash != std::wstring_view::npos) return slash;
    return path.size() >= 2 && path[1] == L':' ? 1 : std::wstring_view::npos;
}

}  // namespace

std::wstring IncludeTrailingBackslash(std::wstring_view path) {
    std::wstring out(path);
    if (out.empty() || out.back() != L'\\') out.push_back(L'\\');
    return out;
}

std::wstring ExcludeTrailingBackslash(std::wstring_view path) {
    std::wstring out(path);
    if (!out.empty() && out.back() == L'\\') out.pop_back();
    return out;
}

std::wstring ExtractFilePath(std::wstring_view path) {
    size_t p = LastDelimiter(path);
    return p == std::wstring_view::npos ? std::wstring() : std::wstring(path.substr(0, p + 1));
}

std::wstring ExtractFileDir(std::wstring_view path) {
    std::wstring dir = ExtractFilePath(path);
    if (dir.size() > 1 && dir.back() == L'\\' && dir[dir.size() - 2] != L':' &&
        dir[dir.size() - 2] != L'\\')
        dir.pop_back();
    return dir;
}

std::wstring ExtractFileName(std::wstring_view path) {
    size_t p = LastDelimiter(path);
    return std::wstring(p == std::wstring_view::npos ? path : path.substr(p + 1));
}

std::wstring ExtractFileExt(std::wstring_view path) {
    size_t p = path.find_last_of(L".\\:");
    if (p == std::wstring_view::npos || path[p] != L'.') return {};
    return std::wstring(path.substr(p));
}

std::wstring ChangeFileExt(std::wstring_view path, std::wstring_view ext) {
    size_t p = path.find_last_of(L".\\:");
    std::wstring base(p != std::wstring_view::npos && path[p] == L'.' ? path.substr(0, p) : path);
    return base + std::wstring(ext);
}

}  // namespace velmora
