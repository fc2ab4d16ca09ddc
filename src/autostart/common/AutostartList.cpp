#include "AutostartList.h"

#include <algorithm>
#include <optional>

#include "foundation/DefaultUserStore.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/Strings.h"

namespace velmora {

namespace {

std::wstring EntryKey(const std::wstring& name) { return AutostartKey + L"\\" + name; }

// A position name: plain decimal digits, nothing else.
std::optional<long long> PositionOf(const std::wstring& name) {
    if (name.empty() || !std::all_of(name.begin(), name.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; }))
        return std::nullopt;
    return ParseInt(name);
}

// The subkey names in list order: numbered ones by their number, the rest after them.
std::vector<std::wstring> EntryNamesInOrder() {
    TStringList names;
    ListUserSubKeys(AutostartKey, names);
    std::vector<std::wstring> ordered(names.begin(), names.end());
    std::stable_sort(ordered.begin(), ordered.end(), [](const std::wstring& a, const std::wstring& b) {
        auto pa = PositionOf(a), pb = PositionOf(b);
        if (pa && pb) return *pa < *pb;
        return pa.has_value() && !pb.has_value();
    });
    return ordered;
}

TEintrag ReadEntry(const std::wstring& name) {
    const std::wstring key = EntryKey(name);
    TEintrag e;
    e.Beschreibung = RegReadUserValue(key, L"Beschreibung");
    e.Dateiname = RegReadUserValue(key, L"Dateiname");
    e.Parameter = RegReadUserValue(key, L"Parameter");
    e.Wartezeit = ParseWartezeit(RegReadUserValue(key, L"Wartezeit"));
    e.Aktion = ParseAktion(RegReadUserValue(key, L"Aktion"));
    return e;
}

}  // namespace

std::uint8_t ParseWartezeit(const std::wstring& text) {
    auto n = ParseInt(Trim(text));
    if (!n) return TEintrag::kDefaultWartezeit;
    return static_cast<std::uint8_t>(std::clamp<long long>(*n, TEintrag::kMinWartezeit, TEintrag::kMaxWartezeit));
}

std::uint8_t ParseAktion(const std::wstring& text) {
    auto n = ParseInt(Trim(text));
    return n && *n == TEintrag::kAktionStarten ? TEintrag::kAktionStarten : TEintrag::kAktionNichtStarten;
}

TEintragList LoadAutostartList() {
    TEintragList list;
    for (const auto& name : EntryNamesInOrder()) list.push_back(ReadEntry(name));
    return list;
}

void SaveAutostartList(const TEintragList& list) {
    TStringList old;
    ListUserSubKeys(AutostartKey, old);
    for (const auto& name : old) RegDeleteUserKey(AutostartKey, name);
    for (size_t i = 0; i < list.size(); ++i) {
        const TEintrag& e = list[i];
        const std::wstring key = EntryKey(std::to_wstring(i));
        RegWriteUserValue(key, L"Beschreibung", e.Beschreibung);
        RegWriteUserValue(key, L"Dateiname", e.Dateiname);
        RegWriteUserValue(key, L"Parameter", e.Parameter);
        RegWriteUserValue(key, L"Wartezeit", std::to_wstring(e.Wartezeit));
        RegWriteUserValue(key, L"Aktion", std::to_wstring(e.Aktion));
    }
}

}  // namespace velmora
