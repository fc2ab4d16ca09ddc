#include "DefaultUserStore.h"

#include "RegistryEnhanced.h"
#include "platform/rtl/Strings.h"

namespace velmora {

namespace {

// One fresh component per call, on the users root, keyed below the maker's key.
TRegistryEnhanced StoreComponent(const std::wstring& subkey) {
    TRegistryEnhanced reg;
    reg.RootKey = TRootKey::hkUsers;
    reg.Key = HerstellerSchluessel + subkey;
    return reg;
}

}  // namespace

void RegWriteUserValue(const std::wstring& Subkey, const std::wstring& Name, const std::wstring& Value) {
    try {
        StoreComponent(Subkey).WriteValue(Name, Value);
    } catch (const ERegistryException&) {
        // A key that cannot be written leaves the store as it was; callers are not told.
    }
}

void RegReadUserValue(const std::wstring& Subkey, const std::wstring& Name, std::wstring& Value) {
    TRegVariant v;
    StoreComponent(Subkey).ReadValue(Name, v);
    if (auto* s = std::get_if<std::wstring>(&v)) Value = *s;
    else if (auto* i = std::get_if<std::int32_t>(&v)) Value = std::to_wstring(*i);
    else Value.clear();
}

std::wstring RegReadUserValue(const std::wstring& Subkey, const std::wstring& Name) {
    std::wstring value;
    RegReadUserValue(Subkey, Name, value);
    return value;
}

void RegDeleteUserValue(const std::wstring& Subkey, const std::wstring& Name) {
    StoreComponent(Subkey).DeleteValue(Name);
}

void RegRenameUserValue(const std::wstring& Subkey, const std::wstring& OldName, const std::wstring& NewName) {
    StoreComponent(Subkey).RenameValue(OldName, NewName);
}

void RegDeleteUserKey(const std::wstring& Subkey, const std::wstring& Name) {
    StoreComponent(Subkey).DeleteKey(Name);
}

void ListUserSubKeys(const std::wstring& Subkey, TStringList& List) {
    StoreComponent(Subkey).GetKeyNames(L"", List);
}

void WriteNumberedList(const std::wstring& Subkey, const TStringList& List) {
    size_t cut = Subkey.find_last_of(L'\\');
    if (cut == std::wstring::npos) RegDeleteUserKey(L"", Subkey);
    else RegDeleteUserKey(Subkey.substr(0, cut), Subkey.substr(cut + 1));
    int n = 0;
    for (const auto& entry : List) {
        if (entry.empty()) continue;
        RegWriteUserValue(Subkey, std::to_wstring(n++), entry);
    }
}

TStringList ReadNumberedList(const std::wstring& Subkey) { return StoreComponent(Subkey).ReadNumbered(); }

std::optional<TDialogPos> ParseDialogPos(const std::wstring& text) {
    size_t comma = text.find(L',');
    if (comma == std::wstring::npos) return std::nullopt;
    auto left = ParseInt(text.substr(0, comma));
    auto top = ParseInt(text.substr(comma + 1));
    if (!left || !top || *left < INT32_MIN || *left > INT32_MAX || *top < INT32_MIN || *top > INT32_MAX)
        return std::nullopt;
    return TDialogPos{static_cast<int>(*left), static_cast<int>(*top)};
}

std::optional<TDialogPos> ReadDialogPos(const std::wstring& Subkey, const std::wstring& Name) {
    return ParseDialogPos(RegReadUserValue(Subkey, Name));
}

void WriteDialogPos(const std::wstring& Subkey, const std::wstring& Name, TDialogPos pos) {
    RegWriteUserValue(Subkey, Name, std::to_wstring(pos.Left) + L"," + std::to_wstring(pos.Top));
}

std::optional<TDialogPos> ReadDlgPos(const std::wstring& DialogName) {
    return ReadDialogPos(DialogeSchluessel, DialogName + L"DlgPos");
}

void WriteDlgPos(const std::wstring& DialogName, TDialogPos pos) {
    WriteDialogPos(DialogeSchluessel, DialogName + L"DlgPos", pos);
}

std::vector<int> ParseColumnWidths(const std::wstring& text) {
    std::vector<int> widths;
    if (text.empty()) return widths;
    for (const auto& piece : SplitString(text, L",")) {
        auto w = ParseInt(piece);
        if (!w || *w < 0 || *w > 100000) return {};
        widths.push_back(static_cast<int>(*w));
    }
    return widths;
}

std::vector<int> ReadColumnWidths(const std::wstring& Name) {
    return ParseColumnWidths(RegReadUserValue(DialogeSchluessel, Name));
}

void WriteColumnWidths(const std::wstring& Name, const std::vector<int>& Widths) {
    std::wstring text;
    for (size_t i = 0; i < Widths.size(); ++i) {
        if (i) text += L",";
        text += std::to_wstring(Widths[i]);
    }
    RegWriteUserValue(DialogeSchluessel, Name, text);
}

}  // namespace velmora
