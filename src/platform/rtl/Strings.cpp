#include "Strings.h"

#include "Exceptions.h"

namespace velmora {

namespace {

// Appends one code point as UTF-16 (on Windows) or as one wide character (Linux).
void AppendCodePoint(std::wstring& out, char32_t cp) {
    if constexpr (sizeof(wchar_t) == 2) {
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<wchar_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<wchar_t>(0xDC00 + (cp & 0x3FF)));
            return;
        }
    }
    out.push_back(static_cast<wchar_t>(cp));
}

bool IsSpace(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }

}  // namespace

std::string ToUtf8(std::wstring_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t cp = static_cast<char32_t>(text[i]);
        if constexpr (sizeof(wchar_t) == 2) {
            if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < text.size()) {
                char32_t low = static_cast<char32_t>(text[i + 1]);
                if (low >= 0xDC00 && low < 0xE000) {
                    cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                    ++i;
                }
            }
        }
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

std::wstring FromUtf8(std::string_view text) {
    std::wstring out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        int extra = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
        if (extra < 0 || i + extra >= text.size() + (extra == 0 ? 1 : 0)) {
            out.push_back(L'\xFFFD');
            ++i;
            continue;
        }
        char32_t cp = extra == 0 ? c : (c & (0x3F >> extra));
        bool ok = true;
        for (int k = 1; k <= extra; ++k) {
            unsigned char cc = static_cast<unsigned char>(text[i + k]);
            if ((cc & 0xC0) != 0x80) { ok = false; break; }
            cp = (cp << 6) | (cc & 0x3F);
        }
        if (!ok) {
            out.push_back(L'\xFFFD');
            ++i;
            continue;
        }
        AppendCodePoint(out, cp);
        i += extra + 1;
    }
    return out;
}

std::wstring FromLatin1(std::string_view bytes) {
    std::wstring out;
    out.reserve(bytes.size());
    for (char c : bytes) out.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
    return out;
}

std::wstring AsciiLower(std::wstring_view text) {
    std::wstring out(text);
    for (auto& c : out)
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c + 32);
    return out;
}

std::wstring AsciiUpper(std::wstring_view text) {
    std::wstring out(text);
    for (auto& c : out)
        if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - 32);
    return out;
}

bool SameTextAscii(std::wstring_view a, std::wstring_view b) {
    return a.size() == b.size() && AsciiLower(a) == AsciiLower(b);
}

std::wstring Trim(std::wstring_view text) {
    size_t b = 0, e = text.size();
    while (b < e && IsSpace(text[b])) ++b;
    while (e > b && IsSpace(text[e - 1])) --e;
    return std::wstring(text.substr(b, e - b));
}

std::wstring TrimRight(std::wstring_view text) {
    size_t e = text.size();
    while (e > 0 && IsSpace(text[e - 1])) --e;
    return std::wstring(text.substr(0, e));
}

bool StartsWith(std::wstring_view text, std::wstring_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

bool EndsWith(std::wstring_view text, std::wstring_view suffix) {
    return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

std::vector<std::wstring> SplitString(std::wstring_view text, std::wstring_view separator) {
    std::vector<std::wstring> pieces;
    if (separator.empty()) {
        pieces.emplace_back(text);
        return pieces;
    }
    size_t start = 0;
    for (;;) {
        size_t pos = text.find(separator, start);
        if (pos == std::wstring_view::npos) {
            pieces.emplace_back(text.substr(start));
            return pieces;
        }
        pieces.emplace_back(text.substr(start, pos - start));
        start = pos + separator.size();
    }
}

std::optional<long long> ParseInt(std::wstring_view text) {
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == L'-' || text[i] == L'+')) {
        negative = text[i] == L'-';
        ++i;
    }
    if (i == text.size()) return std::nullopt;
    unsigned long long value = 0;
    for (; i < text.size(); ++i) {
        wchar_t c = text[i];
        if (c < L'0' || c > L'9') return std::nullopt;
        // Checked before multiplying: an unsigned wrap would let a long number through.
        if (value > (9223372036854775807ULL - static_cast<unsigned>(c - L'0')) / 10) return std::nullopt;
        value = value * 10 + static_cast<unsigned>(c - L'0');
    }
    long long v = static_cast<long long>(value);
    return negative ? -v : v;
}

long long StrToIntDef(std::wstring_view text, long long fallback) {
    auto v = ParseInt(text);
    return v ? *v : fallback;
}

long long StrToInt(std::wstring_view text) {
    auto v = ParseInt(text);
    if (!v) throw EConvertError(L"'" + std::wstring(text) + L"' ist kein gültiger Integerwert");
    return *v;
}

std::wstring IntToStr(long long value) { return std::to_wstring(value); }

}  // namespace velmora
