// MatchFileSpec: the entry-name match of every component of the library.

#include <vector>

#include "ArcShared.h"
#include "platform/rtl/Strings.h"

namespace velmora::arc {

namespace {

wchar_t Upper(wchar_t c) { return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - 32) : c; }

bool OnlyStars(std::wstring_view s) { return s.find_first_not_of(L'*') == std::wstring_view::npos; }

// "*" and "?" may stand on either side. Evaluated as a table from the ends of both
// texts towards their starts, so that no pattern of stars takes exponential time.
bool WildMatch(std::wstring_view a, std::wstring_view b) {
    const size_t n = a.size(), m = b.size();
    if (a.find_first_of(L"*?") == std::wstring_view::npos && b.find_first_of(L"*?") == std::wstring_view::npos) {
        if (n != m) return false;
        for (size_t i = 0; i < n; ++i)
            if (Upper(a[i]) != Upper(b[i])) return false;
        return true;
    }
    std::vector<char> next(m + 1), cur(m + 1);
    // Row i = n: the rest of b must be stars only.
    next[m] = 1;
    for (size_t j = m; j-- > 0;) next[j] = next[j + 1] && b[j] == L'*';
    for (size_t i = n; i-- > 0;) {
        cur[m] = next[m] && a[i] == L'*';
        for (size_t j = m; j-- > 0;) {
            bool ok;
            if (a[i] == L'*')
                ok = next[j] || cur[j + 1];
            else if (b[j] == L'*')
                ok = cur[j + 1] || next[j];
            else
                ok = (a[i] == L'?' || b[j] == L'?' || Upper(a[i]) == Upper(b[j])) && next[j + 1];
            cur[j] = ok;
        }
        std::swap(cur, next);
    }
    return next[0] != 0;
}

// The file-name parts compared as the component set always did: a trailing dot is
// dropped, and a name without a dot counts as "name.*" against a mask with ".*".
bool MatchNames(std::wstring a, std::wstring b) {
    if (!a.empty() && a.back() == L'.') a.pop_back();
    if (!b.empty() && b.back() == L'.') b.pop_back();
    if (a.find(L'.') == std::wstring::npos && b.find(L".*") != std::wstring::npos) a += L".*";
    if (b.find(L'.') == std::wstring::npos && a.find(L".*") != std::wstring::npos) b += L".*";
    if (a.empty() && b.empty()) return false;
    if (a.empty()) return OnlyStars(b);
    if (b.empty()) return OnlyStars(a);
    return WildMatch(a, b);
}

void Split(const std::wstring& text, std::wstring& folder, std::wstring& name) {
    size_t slash = text.rfind(L'\\');
    folder = slash == std::wstring::npos ? std::wstring() : text.substr(0, slash);
    name = slash == std::wstring::npos ? text : text.substr(slash + 1);
}

}  // namespace

bool MatchFileSpec(const std::wstring& mask, const std::wstring& name) {
    std::wstring maskFolder, maskName, entryFolder, entryName;
    std::wstring m = SlashToBackslash(mask), e = SlashToBackslash(name);
    // A folder entry ("docs\") is matched by its own name.
    while (e.size() > 1 && e.back() == L'\\') e.pop_back();
    Split(m, maskFolder, maskName);
    Split(e, entryFolder, entryName);
    if ((!m.empty() && maskName.empty()) || (!e.empty() && entryName.empty())) return false;
    // A pattern with a folder names entries of that folder only.
    if (m.find(L'\\') != std::wstring::npos && !WildMatch(maskFolder, entryFolder)) return false;
    return MatchNames(entryName, maskName);
}

}  // namespace velmora::arc
